// Names, layout classes and descriptions of the design types.
#include "settings/designtype.h"

#include "model/itemrecord.h"

#include <cstdlib>

namespace vlr {

namespace {

const DesignTypeInfo kDesignTypes[11] = {
    {"Illustrations", LayoutClass::Sheet, 1,
     "'Illustrations' include posters, flyers, charts, photo books and other designs that are printed on "
     "the whole sheet of paper."},
    {"Postcards", LayoutClass::Card, 3,
     "'Postcards' include postcards, greeting cards, rotary cards, name badges, and other designs that are "
     "printed in rows and columns on a sheet of pre-cut paper."},
    {"Greeting Cards", LayoutClass::Card, 4,
     "'Greeting Cards' include any cards that have one or more folds, either horizontal or vertical, that "
     "are printed in rows and columns on a sheet of pre-cut paper."},
    {"Business Cards", LayoutClass::Card, 5,
     "'Business Cards' include business cards, either horizontal or vertical, simple or folding, that are "
     "printed in rows and columns on a sheet of pre-cut paper."},
    {"Labels", LayoutClass::Card, 7,
     "'Labels' include mailing and other labels that are printed in rows and columns on a sheet of paper."},
    {"CD/DVD Labels", LayoutClass::Sheet, 0,
     "'CD/DVD Labels' have circular shapes and are printed on a sheet of pre-cut paper or foil, and then "
     "applied on the surface of CDs or DVDs."},
    {"Jewel Case Inserts", LayoutClass::Sheet, 0,
     "'Jewel Case Inserts' include front and back case designs that are printed on a sheet of pre-cut "
     "paper, and then inserted into CD or DVD jewel cases."},
    {"DVD Case Inserts", LayoutClass::Sheet, 0,
     "'DVD Case Inserts' include front and back case designs that are printed on a sheet of pre-cut paper, "
     "and then inserted into DVD cases."},
    {"Digital Images", LayoutClass::Digital, 8,
     "'Digital Images' include Web and email pictures that are published or sent over the Internet."},
    {"Brochures", LayoutClass::Sheet, 2,
     "'Brochures' include designs and publications that are printed on a sheet of paper and then folded."},
    {"Tent Cards", LayoutClass::Card, 6,
     "'Tent Cards' include any cards that fold in the middle to stand upright."},
};

} // namespace

int32_t DesignTypeOf(const ItemRecord& header) {
    // In 64 bits: the absolute value of the smallest int32 is not an int32.
    const int64_t type = std::llabs(int64_t{header.designType});
    return type <= 11 && IsDesignType(static_cast<int32_t>(type)) ? static_cast<int32_t>(type) : 0;
}

const DesignTypeInfo* DesignTypeInfoOf(int32_t type) {
    return IsDesignType(type) ? &kDesignTypes[type - 1] : nullptr;
}

bool IsCardType(int32_t type) {
    const DesignTypeInfo* info = DesignTypeInfoOf(type);
    return info && info->layout == LayoutClass::Card;
}

} // namespace vlr
