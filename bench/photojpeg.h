// The photograph the picture benchmarks work on, made once per run.
#pragma once

#include <cstdint>
#include <vector>

namespace vlr::bench {

// A photograph-like 4000 x 3000 picture (12 megapixels): slow colour waves with fine grain,
// written at quality 90 by Qt's JPEG writer.
const std::vector<uint8_t>& PhotoJpeg();
// The same kind of picture at another size, made on every call.
std::vector<uint8_t> PhotoJpeg(int width, int height);

} // namespace vlr::bench
