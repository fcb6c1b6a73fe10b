// The 448-byte body of an item record, laid out exactly as it is stored in a design file:
// packed little-endian fields, so a body is read and written as one block of bytes.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace vlr {

static_assert(std::endian::native == std::endian::little,
              "item bodies are stored little-endian and mapped directly onto memory");

// A field of type T stored without alignment (doubles sit at odd offsets in a body). Reads and
// writes go through memcpy, which compilers turn into single unaligned loads and stores.
template <typename T> struct Unaligned {
    unsigned char bytes[sizeof(T)];

    operator T() const {
        T value;
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }
    Unaligned& operator=(T value) {
        std::memcpy(bytes, &value, sizeof(T));
        return *this;
    }
    Unaligned& operator+=(T delta) { return *this = static_cast<T>(T(*this) + delta); }
    Unaligned& operator-=(T delta) { return *this = static_cast<T>(T(*this) - delta); }
};

using Int32Field = Unaligned<int32_t>;
using DoubleField = Unaligned<double>;
using ByteField = uint8_t;

// A face name: one length byte, then up to 32 single-byte characters.
struct FontNameField {
    uint8_t length;
    char chars[32];
};

using Int32x3Field = std::array<Int32Field, 3>;
using Double12Field = std::array<DoubleField, 12>;
template <size_t N> using BytesField = std::array<uint8_t, N>;
using Bytes30Field = BytesField<30>;
using Bytes116Field = BytesField<116>;
using Bytes120Field = BytesField<120>;

// Field tables: offset, type, name. The same tables declare the body below and drive the field
// listing of inspection tools, so a field's name and offset are written down once.

// Offsets 0 ... 115 are shared by every record class.
#define VLR_COMMON_FIELDS(F)                                                                                 \
    F(0, Int32Field, recordClass)                                                                            \
    F(4, Int32Field, kind)                                                                                   \
    F(8, Int32Field, reserved8)                                                                              \
    F(12, Int32Field, docNumber)                                                                             \
    F(16, Int32Field, x1)                                                                                    \
    F(20, Int32Field, y1)                                                                                    \
    F(24, Int32Field, x2)                                                                                    \
    F(28, Int32Field, y2)                                                                                    \
    F(32, Int32Field, boundLeft)                                                                             \
    F(36, Int32Field, boundRight)                                                                            \
    F(40, Int32Field, boundTop)                                                                              \
    F(44, Int32Field, boundBottom)                                                                           \
    F(48, Int32Field, spanX)                                                                                 \
    F(52, Int32Field, spanY)                                                                                 \
    F(56, Int32Field, spanLength)                                                                            \
    F(60, Int32Field, magic)                                                                                 \
    F(64, ByteField, selected)                                                                               \
    F(65, ByteField, suspended)                                                                              \
    F(66, ByteField, deleted)                                                                                \
    F(67, ByteField, mark)                                                                                   \
    F(68, Int32Field, zOrder)                                                                                \
    F(72, DoubleField, worldX1)                                                                              \
    F(80, DoubleField, worldY1)                                                                              \
    F(88, DoubleField, worldX2)                                                                              \
    F(96, DoubleField, worldY2)                                                                              \
    F(104, DoubleField, direction)                                                                           \
    F(112, Int32Field, tailLength)

// Offsets 116 ... 447 of drawable items and history records (class 0); line-pattern
// definitions and picture data use them too where their own fields leave room.
#define VLR_ITEM_FIELDS(F)                                                                                   \
    F(116, Int32Field, reservedColor)                                                                        \
    F(120, Int32Field, color)                                                                                \
    F(124, Int32Field, penWidthPx)                                                                           \
    F(128, Int32Field, fontSize)                                                                             \
    F(132, Int32Field, textColor)                                                                            \
    F(136, Int32Field, escapement)                                                                           \
    F(140, Int32Field, fontWeight)                                                                           \
    F(144, ByteField, italic)                                                                                \
    F(145, ByteField, underline)                                                                             \
    F(146, ByteField, strikeOut)                                                                             \
    F(147, ByteField, alignment)                                                                             \
    F(148, FontNameField, fontName)                                                                          \
    F(181, Int32Field, charset)                                                                              \
    F(185, Int32Field, textAngle)                                                                            \
    F(189, Int32Field, reserved253)                                                                          \
    F(193, Int32Field, reserved257)                                                                          \
    F(197, DoubleField, lineWeight)                                                                          \
    F(205, DoubleField, lineWeightBase)                                                                      \
    F(213, Int32Field, dashPattern)                                                                          \
    F(217, Int32Field, fillColor)                                                                            \
    F(221, DoubleField, fixedAngle)                                                                          \
    F(229, Int32Field, historyState)                                                                         \
    F(233, Int32Field, zChange)                                                                              \
    F(237, Int32Field, serial)                                                                               \
    F(241, Int32Field, undoStep)                                                                             \
    F(245, Int32Field, replaces)                                                                             \
    F(249, Int32Field, vertexCount)                                                                          \
    F(253, Int32Field, baseX1)                                                                               \
    F(257, Int32Field, baseY1)                                                                               \
    F(261, Int32Field, baseX2)                                                                               \
    F(265, Int32Field, baseY2)                                                                               \
    F(269, Int32Field, reserved333)                                                                          \
    F(273, Int32Field, shapeMode)                                                                            \
    F(277, DoubleField, tension)                                                                             \
    F(285, Int32Field, clipShape)                                                                            \
    F(289, Int32Field, pictureId)                                                                            \
    F(293, Int32Field, srcLeft)                                                                              \
    F(297, Int32Field, srcTop)                                                                               \
    F(301, Int32Field, srcRight)                                                                             \
    F(305, Int32Field, srcBottom)                                                                            \
    F(309, DoubleField, scaleX)                                                                              \
    F(317, DoubleField, scaleY)                                                                              \
    F(325, DoubleField, rotation)                                                                            \
    F(333, DoubleField, rotationBase)                                                                        \
    F(341, Int32Field, saturation)                                                                           \
    F(345, Int32Field, contrast)                                                                             \
    F(349, Int32Field, lightness)                                                                            \
    F(353, Int32x3Field, reserved417)                                                                        \
    F(365, Int32Field, mirrorX)                                                                              \
    F(369, Int32Field, mirrorY)                                                                              \
    F(373, Int32Field, turnAngle)                                                                            \
    F(377, DoubleField, pictureScale)                                                                        \
    F(385, Int32Field, pictureSpanX)                                                                         \
    F(389, Int32Field, pictureSpanY)                                                                         \
    F(393, Int32Field, groupId)                                                                              \
    F(397, Int32Field, reserved461)                                                                          \
    F(401, Int32Field, reserved465)                                                                          \
    F(405, Int32Field, legacyTailA)                                                                          \
    F(409, Int32Field, legacyTailB)                                                                          \
    F(413, ByteField, hasFrame)                                                                              \
    F(414, ByteField, shadowElevation)                                                                       \
    F(415, ByteField, shadowFade)                                                                            \
    F(416, ByteField, shadowLightness)                                                                       \
    F(417, ByteField, surface)                                                                               \
    F(418, Bytes30Field, unused418)

// Offsets 116 ... 447 of the document header.
#define VLR_HEADER_FIELDS(F)                                                                                 \
    F(116, DoubleField, zoom)                                                                                \
    F(124, Int32Field, units)                                                                                \
    F(128, DoubleField, pxPerUnitX)                                                                          \
    F(136, DoubleField, pxPerUnitY)                                                                          \
    F(144, Int32Field, pageReserved144)                                                                      \
    F(148, DoubleField, canvasLeft)                                                                          \
    F(156, DoubleField, canvasTop)                                                                           \
    F(164, DoubleField, canvasWidth)                                                                         \
    F(172, DoubleField, canvasHeight)                                                                        \
    F(180, ByteField, modified)                                                                              \
    F(181, DoubleField, gridDensityX)                                                                        \
    F(189, DoubleField, gridDensityY)                                                                        \
    F(197, ByteField, showGridX)                                                                             \
    F(198, ByteField, anchorsX)                                                                              \
    F(199, ByteField, snapX)                                                                                 \
    F(200, ByteField, showGridY)                                                                             \
    F(201, ByteField, anchorsY)                                                                              \
    F(202, ByteField, snapY)                                                                                 \
    F(203, Int32Field, designType)                                                                           \
    F(207, Int32Field, orientation)                                                                          \
    F(211, Int32Field, presetIndex)                                                                          \
    F(215, DoubleField, paperWidth)                                                                          \
    F(223, DoubleField, paperHeight)                                                                         \
    F(231, DoubleField, cardWidth)                                                                           \
    F(239, DoubleField, cardHeight)                                                                          \
    F(247, DoubleField, leftMargin)                                                                          \
    F(255, DoubleField, topMargin)                                                                           \
    F(263, DoubleField, rightMargin)                                                                         \
    F(271, DoubleField, bottomMargin)                                                                        \
    F(279, DoubleField, rowGap)                                                                              \
    F(287, DoubleField, columnGap)                                                                           \
    F(295, DoubleField, spare1)                                                                              \
    F(303, DoubleField, spare2)                                                                              \
    F(311, Int32Field, rows)                                                                                 \
    F(315, Int32Field, columns)                                                                              \
    F(319, ByteField, rowFold)                                                                               \
    F(320, ByteField, columnFold)                                                                            \
    F(321, ByteField, historySaved)                                                                          \
    F(322, ByteField, openedFlag)                                                                            \
    F(323, Int32Field, fileVersion)                                                                          \
    F(327, ByteField, lightDirection)                                                                        \
    F(328, Bytes120Field, headerUnused328)

// Offsets 116 ... 215 of a line-pattern definition: the segment lengths in millimetres and the
// number of segments in use. The rest of the record keeps the item layout.
#define VLR_PATTERN_FIELDS(F)                                                                                \
    F(116, Double12Field, segmentLengths)                                                                    \
    F(212, Int32Field, segmentCount)

// Offset 116 of picture data and of the picture editor's clip outlines: the editor's scale.
#define VLR_SCALE_FIELDS(F) F(116, DoubleField, scale)

#define VLR_DECLARE_FIELD(offset, type, name) type name;

struct ItemBody {
    VLR_COMMON_FIELDS(VLR_DECLARE_FIELD)
    // What follows offset 116 depends on the record class. Every member is made of bytes, so
    // each view reads the same stored bytes.
    union {
        struct {
            VLR_ITEM_FIELDS(VLR_DECLARE_FIELD)
        };
        struct {
            VLR_HEADER_FIELDS(VLR_DECLARE_FIELD)
        };
        struct {
            VLR_PATTERN_FIELDS(VLR_DECLARE_FIELD)
        };
        struct {
            VLR_SCALE_FIELDS(VLR_DECLARE_FIELD)
        };
    };
};

inline constexpr size_t kBodySize = 448;
static_assert(sizeof(ItemBody) == kBodySize);
static_assert(alignof(ItemBody) == 1);

// The face name as text; a length byte above 32 reads as 32.
std::string GetFontName(const ItemBody& body);
// Stores up to 32 characters of name and clears the unused characters.
void SetFontName(ItemBody& body, std::string_view name);

// The body's stored bytes.
std::array<uint8_t, kBodySize> BodyBytes(const ItemBody& body);
void SetBodyBytes(ItemBody& body, const uint8_t* bytes);

} // namespace vlr
