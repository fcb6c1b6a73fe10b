// Layout checks and the small accessors of the stored item body.
#include "model/itembody.h"

#include <algorithm>

namespace vlr {

// Every field sits at its stored offset.
#define VLR_CHECK_OFFSET(offset, type, name) static_assert(offsetof(ItemBody, name) == (offset), #name);
VLR_COMMON_FIELDS(VLR_CHECK_OFFSET)
VLR_ITEM_FIELDS(VLR_CHECK_OFFSET)
VLR_HEADER_FIELDS(VLR_CHECK_OFFSET)
VLR_PATTERN_FIELDS(VLR_CHECK_OFFSET)
VLR_SCALE_FIELDS(VLR_CHECK_OFFSET)
#undef VLR_CHECK_OFFSET

std::string GetFontName(const ItemBody& body) {
    size_t length = std::min<size_t>(body.fontName.length, sizeof body.fontName.chars);
    return std::string(body.fontName.chars, length);
}

void SetFontName(ItemBody& body, std::string_view name) {
    size_t length = std::min(name.size(), sizeof body.fontName.chars);
    std::memset(body.fontName.chars, 0, sizeof body.fontName.chars);
    std::memcpy(body.fontName.chars, name.data(), length);
    body.fontName.length = static_cast<uint8_t>(length);
}

std::array<uint8_t, kBodySize> BodyBytes(const ItemBody& body) {
    std::array<uint8_t, kBodySize> bytes;
    std::memcpy(bytes.data(), &body, kBodySize);
    return bytes;
}

void SetBodyBytes(ItemBody& body, const uint8_t* bytes) {
    ItemBody loaded;
    std::memcpy(&loaded, bytes, kBodySize);
    body = loaded;
}

} // namespace vlr
