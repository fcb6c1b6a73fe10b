// What the picture decoders promise on any input, checked by the damaged-picture tests and the
// fuzzer alike.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vlr::test {

// Decodes the stream with the format code and JPEG reduction; a decoded raster is RGB32 and
// within the size cap, and orienting, adjusting and resampling it stays within its bounds.
// Returns "" when the promise holds, otherwise what broke; decoded reports whether a raster came out.
std::string CheckDecodePromise(std::span<const uint8_t> stream, int32_t format, int32_t reduction,
                               bool* decoded = nullptr);

} // namespace vlr::test
