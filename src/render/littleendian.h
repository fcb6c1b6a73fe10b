// Numbers read from picture headers: little-endian (and the odd big-endian) fields at a byte
// offset, 0 when the field lies beyond the bytes, so a cut-off header reads as empty fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vlr {

inline uint32_t Little16(std::span<const uint8_t> bytes, size_t at) {
    return at + 2 <= bytes.size() && at + 2 > at ? uint32_t{bytes[at]} | uint32_t{bytes[at + 1]} << 8 : 0;
}
inline uint32_t Little32(std::span<const uint8_t> bytes, size_t at) {
    return at + 4 <= bytes.size() && at + 4 > at ? Little16(bytes, at) | Little16(bytes, at + 2) << 16 : 0;
}
inline uint32_t Big32(std::span<const uint8_t> bytes, size_t at) {
    return at + 4 <= bytes.size() && at + 4 > at ? uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 |
                                                       uint32_t{bytes[at + 2]} << 8 | bytes[at + 3]
                                                 : 0;
}

} // namespace vlr
