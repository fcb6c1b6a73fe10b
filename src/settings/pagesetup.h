// Page setups as kept for new files and edited by the page-setup pages: one block of dimension
// texts per measuring unit, read as numbers only through ParseMeasure.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vlr {

inline constexpr int kDesignTypeCount = 11;

// The dimensions of a page setup in one unit, as typed or written by a preset.
struct miry_t {
    int32_t preset = -1; // quick-select entry the values came from; -1 or past the list: none
    std::string paperWidth, paperHeight;
    std::string cardWidth, cardHeight;
    std::string leftMargin, topMargin, rightMargin, bottomMargin;
    std::string rows, columns;
    std::string rowGap, columnGap;
    std::string spare1, spare2;
    uint8_t rowFold = 0;
    uint8_t columnFold = 0;
    friend bool operator==(const miry_t&, const miry_t&) = default;
};

struct pageset_t {
    int32_t orientation = 1;    // 1 portrait, 2 landscape
    int32_t units = 3;          // 1 pixels, 2 millimetres, 3 inches
    std::array<miry_t, 3> dims; // index = units - 1
    friend bool operator==(const pageset_t&, const pageset_t&) = default;
};

// One page setup per design type, indexed by design type - 1.
using pagesetArr_t = std::array<pageset_t, kDesignTypeCount>;

} // namespace vlr
