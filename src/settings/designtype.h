// The eleven design types: what a design is (cards repeated on a sheet, a whole sheet, a picture
// measured in pixels), its name and the description the type chooser shows.
#pragma once

#include <cstdint>

namespace vlr {

struct ItemRecord;

namespace DesignType {
inline constexpr int32_t Illustrations = 1;
inline constexpr int32_t Postcards = 2;
inline constexpr int32_t GreetingCards = 3;
inline constexpr int32_t BusinessCards = 4;
inline constexpr int32_t Labels = 5;
inline constexpr int32_t CdDvdLabels = 6;
inline constexpr int32_t JewelCaseInserts = 7;
inline constexpr int32_t DvdCaseInserts = 8;
inline constexpr int32_t DigitalImages = 9;
inline constexpr int32_t Brochures = 10;
inline constexpr int32_t TentCards = 11;
} // namespace DesignType

// Card types: the canvas is one card, printing repeats it over the rows and columns of the sheet.
// Sheet types: the canvas is the whole sheet. Digital: a picture measured in pixels.
enum class LayoutClass { Sheet, Card, Digital };

struct DesignTypeInfo {
    const char* name;
    LayoutClass layout;
    int chooserPosition; // 1 = first row of the type chooser; 0 = not offered
    const char* description;
};

constexpr bool IsDesignType(int32_t type) {
    return type >= 1 && type <= 11;
}
// The design type of a document header: its stored value is read as its absolute value, and
// anything then outside 1 ... 11 (the smallest int32 included) gives 0, no type. The stored
// bytes stay as they were read.
int32_t DesignTypeOf(const ItemRecord& header);
// Types outside 1 ... 11 give nullptr.
const DesignTypeInfo* DesignTypeInfoOf(int32_t type);
bool IsCardType(int32_t type);

} // namespace vlr
