// The font list: one entry per family, with the character sets its fonts can show.
#include "render/fontlist.h"

#include <QFontDatabase>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace vlr {
namespace {

TEST(FontList, FoundrySuffixesAreDropped) {
    EXPECT_EQ(FamilyWithoutFoundry(QStringLiteral("Nimbus Sans [urw]")), QStringLiteral("Nimbus Sans"));
    EXPECT_EQ(FamilyWithoutFoundry(QStringLiteral("C059 [UKWN]")), QStringLiteral("C059"));
    EXPECT_EQ(FamilyWithoutFoundry(QStringLiteral("DejaVu Sans")), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(FamilyWithoutFoundry(QStringLiteral("Odd [name] here")), QStringLiteral("Odd [name] here"));
}

TEST(FontList, EachFamilyOnceWithItsCharacterSetsInPanelOrder) {
    const std::vector<FontFamily> families = InstalledFontFamilies();
    ASSERT_FALSE(families.empty());
    constexpr std::array<int32_t, 13> order = {1, 238, 204, 161, 162, 177, 178, 186, 128, 222, 134, 129, 136};
    for (size_t i = 0; i < families.size(); ++i) {
        const FontFamily& family = families[i];
        EXPECT_FALSE(family.name.endsWith(']')) << family.name.toStdString();
        for (size_t j = i + 1; j < families.size(); ++j) {
            EXPECT_NE(family.name.compare(families[j].name, Qt::CaseInsensitive), 0)
                << family.name.toStdString();
        }
        EXPECT_EQ(family.writingSystems.contains(QFontDatabase::Latin),
                  std::find(family.charsets.begin(), family.charsets.end(), Charset::Western) !=
                      family.charsets.end());
        auto rank = [&order](int32_t charset) {
            return std::find(order.begin(), order.end(), charset) - order.begin();
        };
        EXPECT_TRUE(std::is_sorted(family.charsets.begin(), family.charsets.end(),
                                   [&rank](int32_t a, int32_t b) { return rank(a) < rank(b); }));
    }

    // A family two foundries install is listed once, under its plain name.
    const QStringList installed = QFontDatabase::families();
    const auto suffixed = std::find_if(installed.begin(), installed.end(), [](const QString& name) {
        return name.endsWith(']') && !QFontDatabase::isPrivateFamily(name) && QFontDatabase::isScalable(name);
    });
    if (suffixed != installed.end()) {
        const QString plain = FamilyWithoutFoundry(*suffixed);
        EXPECT_EQ(std::count_if(families.begin(), families.end(),
                                [&plain](const FontFamily& f) { return f.name == plain; }),
                  1);
    }

    // A font with Cyrillic and Greek letters offers both sets, and the wider Latin ones.
    const auto dejaVu = std::find_if(families.begin(), families.end(), [](const FontFamily& f) {
        return f.name == QStringLiteral("DejaVu Sans");
    });
    if (dejaVu == families.end()) {
        GTEST_SKIP() << "DejaVu Sans is not installed";
    }
    for (int32_t charset : {Charset::Western, Charset::CentralEuropean, Charset::Cyrillic, Charset::Greek,
                            Charset::Turkish, Charset::Baltic}) {
        EXPECT_NE(std::find(dejaVu->charsets.begin(), dejaVu->charsets.end(), charset),
                  dejaVu->charsets.end())
            << charset;
    }
}

} // namespace
} // namespace vlr
