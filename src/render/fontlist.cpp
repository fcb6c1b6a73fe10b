// The installed font families with their character sets.
#include "render/fontlist.h"

#include <QFont>
#include <QRawFont>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <utility>

namespace vlr {

namespace {

using WritingSystem = QFontDatabase::WritingSystem;

// What a family must offer for each character set: a writing system of the font system, and for
// the Latin sets beyond Western a letter only those sets need.
struct CharsetTest {
    int32_t charset;
    WritingSystem writingSystem;
    char16_t letter; // 0: the writing system alone decides
};

constexpr std::array<CharsetTest, 13> kCharsetTests = {{
    {Charset::Western, QFontDatabase::Latin, 0},
    {Charset::CentralEuropean, QFontDatabase::Latin, u'\u0151'}, // o with double acute
    {Charset::Cyrillic, QFontDatabase::Cyrillic, 0},
    {Charset::Greek, QFontDatabase::Greek, 0},
    {Charset::Turkish, QFontDatabase::Latin, u'\u011F'}, // g with breve
    {Charset::Hebrew, QFontDatabase::Hebrew, 0},
    {Charset::Arabic, QFontDatabase::Arabic, 0},
    {Charset::Baltic, QFontDatabase::Latin, u'\u0173'}, // u with ogonek
    {Charset::ShiftJis, QFontDatabase::Japanese, 0},
    {Charset::Thai, QFontDatabase::Thai, 0},
    {Charset::ChineseSimplified, QFontDatabase::SimplifiedChinese, 0},
    {Charset::Korean, QFontDatabase::Korean, 0},
    {Charset::ChineseTraditional, QFontDatabase::TraditionalChinese, 0},
}};

std::vector<int32_t> CharsetsOf(const QString& family, const QList<WritingSystem>& writingSystems) {
    std::vector<int32_t> charsets;
    QRawFont raw; // loaded only when a Latin letter has to be looked up
    bool loaded = false;
    for (const CharsetTest& test : kCharsetTests) {
        if (!writingSystems.contains(test.writingSystem)) {
            continue;
        }
        if (test.letter != 0) {
            if (!loaded) {
                raw = QRawFont::fromFont(QFont(family), QFontDatabase::Latin);
                loaded = true;
            }
            if (!raw.isValid() || !raw.supportsCharacter(QChar(test.letter))) {
                continue;
            }
        }
        charsets.push_back(test.charset);
    }
    return charsets;
}

// Merges b into a, keeping the order of kCharsetTests.
void MergeCharsets(std::vector<int32_t>& a, const std::vector<int32_t>& b) {
    std::vector<int32_t> merged;
    for (const CharsetTest& test : kCharsetTests) {
        const auto has = [&test](const std::vector<int32_t>& list) {
            return std::find(list.begin(), list.end(), test.charset) != list.end();
        };
        if (has(a) || has(b)) {
            merged.push_back(test.charset);
        }
    }
    a = std::move(merged);
}

} // namespace

QString FamilyWithoutFoundry(const QString& family) {
    static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^\\]]*\\]\\s*$"));
    QString name = family;
    name.remove(foundry);
    return name;
}

std::vector<FontFamily> InstalledFontFamilies() {
    std::vector<FontFamily> families;
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family) || !QFontDatabase::isScalable(family)) {
            continue;
        }
        const QList<WritingSystem> writingSystems = QFontDatabase::writingSystems(family);
        std::vector<int32_t> charsets = CharsetsOf(family, writingSystems);
        const QString name = FamilyWithoutFoundry(family);
        auto same = std::find_if(families.begin(), families.end(), [&name](const FontFamily& known) {
            return known.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (same == families.end()) {
            families.push_back({name, writingSystems, std::move(charsets)});
            continue;
        }
        for (WritingSystem system : writingSystems) {
            if (!same->writingSystems.contains(system)) {
                same->writingSystems.append(system);
            }
        }
        MergeCharsets(same->charsets, charsets);
    }
    return families;
}

} // namespace vlr
