// The promise the design-file reader keeps for any input, checked by the corpus tests and by
// the fuzzer: it fails cleanly, leaving the target as it was, or it reads a design whose saved
// form reads back and saves again to the same bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vlr::test {

// Empty when the promise holds for these bytes; otherwise what went wrong.
std::string CheckReadDesignPromise(std::span<const uint8_t> bytes);

} // namespace vlr::test
