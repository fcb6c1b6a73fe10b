// The faces of stored designs resolve to free faces of the same kind and widths.
#include "render/fontsubstitute.h"

#include "render/fontlist.h"

#include <QFont>
#include <QFontInfo>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace vlr {
namespace {

TEST(FaceFamilies, StandInsFollowTheFaceForFacesOfTheTableOnly) {
    EXPECT_EQ(FaceFamilies(QStringLiteral("Verdana")), (QStringList{"Verdana", "DejaVu Sans"}));
    EXPECT_EQ(FaceFamilies(QStringLiteral("lucida console")),
              (QStringList{"lucida console", "DejaVu Sans Mono"}));
    EXPECT_EQ(FaceFamilies(QStringLiteral(" Impact ")), (QStringList{"Impact", "Nimbus Sans Narrow"}));
    // Faces the font system maps to faces of the same widths itself are asked for alone, so its
    // own mapping decides.
    EXPECT_EQ(FaceFamilies(QStringLiteral("Arial")), QStringList{"Arial"});
    EXPECT_EQ(FaceFamilies(QString()), QStringList{QString()});
}

// The family the font system gives for a face, without a foundry suffix.
QFontInfo Resolved(const QString& face) {
    QFont font;
    font.setFamilies(FaceFamilies(face));
    font.setPixelSize(40);
    return QFontInfo(font);
}

TEST(FaceFamilies, CommonFacesResolveToTheirFreeCounterparts) {
    // Where the face itself is installed it is used; otherwise the free face beside it.
    const std::vector<std::pair<QString, QString>> expected = {
        {"Arial", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
        {"Calibri", "Carlito"},
        {"Cambria", "Caladea"},
        {"Verdana", "DejaVu Sans"},
        {"Tahoma", "DejaVu Sans"},
        {"Georgia", "DejaVu Serif"},
        {"Lucida Console", "DejaVu Sans Mono"},
        {"Century Gothic", "URW Gothic"},
        {"Book Antiqua", "P052"},
        {"Palatino Linotype", "P052"},
        {"Bookman Old Style", "URW Bookman"},
        {"Arial Narrow", "Nimbus Sans Narrow"},
        {"Impact", "Nimbus Sans Narrow"},
    };
    for (const auto& [face, free] : expected) {
        const QString family = FamilyWithoutFoundry(Resolved(face).family());
        EXPECT_TRUE(family == face || family == free) << face.toStdString() << " -> " << family.toStdString();
    }
}

TEST(FaceFamilies, MonospacedFacesStayMonospaced) {
    for (const char* face : {"Courier New", "Lucida Console", "Consolas"}) {
        EXPECT_TRUE(Resolved(QString::fromLatin1(face)).fixedPitch()) << face;
    }
    EXPECT_FALSE(Resolved(QStringLiteral("Verdana")).fixedPitch());
}

} // namespace
} // namespace vlr
