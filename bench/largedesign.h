// The large design the file benchmarks read and write: 100,000 items of mixed kinds, texts and
// point lists, with ten embedded pictures of 64 KB (about 67 MB as a file).
#pragma once

#include <cstdint>
#include <vector>

namespace vlr::bench {

// The design file's bytes, made once per run and kept.
const std::vector<uint8_t>& LargeDesignBytes();
// The same bytes made anew, for a caller that does not keep them.
std::vector<uint8_t> MakeLargeDesignBytes();

} // namespace vlr::bench
