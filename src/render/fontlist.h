// The installed font families offered for texts, each with the character sets it can show.
#pragma once

#include <QFontDatabase>
#include <QList>
#include <QString>

#include <cstdint>
#include <vector>

namespace vlr {

// Character-set numbers kept in texts and settings.
namespace Charset {
inline constexpr int32_t None = 0; // "n/a": the platform default
inline constexpr int32_t Western = 1;
inline constexpr int32_t CentralEuropean = 238;
inline constexpr int32_t Cyrillic = 204;
inline constexpr int32_t Greek = 161;
inline constexpr int32_t Turkish = 162;
inline constexpr int32_t Hebrew = 177;
inline constexpr int32_t Arabic = 178;
inline constexpr int32_t Baltic = 186;
inline constexpr int32_t ShiftJis = 128;
inline constexpr int32_t Thai = 222;
inline constexpr int32_t ChineseSimplified = 134;
inline constexpr int32_t Korean = 129;
inline constexpr int32_t ChineseTraditional = 136;
} // namespace Charset

struct FontFamily {
    QString name; // without a foundry suffix
    QList<QFontDatabase::WritingSystem> writingSystems;
    // In the order the text panel lists them: Western, Central European, Cyrillic, Greek,
    // Turkish, Hebrew, Arabic, Baltic, Japanese, Thai, Chinese simplified, Korean, Chinese
    // traditional.
    std::vector<int32_t> charsets;
};

// "Nimbus Sans [urw]" -> "Nimbus Sans": the font system names a family once per foundry when two
// foundries install it.
QString FamilyWithoutFoundry(const QString& family);

// The scalable, public families in the font system's order, each name once; the writing systems
// and character sets of a family installed by several foundries are those of all of them.
std::vector<FontFamily> InstalledFontFamilies();

} // namespace vlr
