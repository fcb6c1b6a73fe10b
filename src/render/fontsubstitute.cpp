// The stand-in table for faces the font system does not resolve well.
#include "render/fontsubstitute.h"

#include "render/fontlist.h"

#include <QFont>
#include <QFontInfo>

#include <array>

namespace vlr {

namespace {

struct StandIn {
    const char* face;
    const char* standIn;
};

// Each stand-in keeps the kind of letter: proportional or monospaced, serif or sans, upright or
// script. Verdana and Tahoma are wide humanist sans faces like DejaVu Sans (the font system's
// default today, named so that another default does not take their place).
constexpr std::array<StandIn, 12> kStandIns = {{
    {"Verdana", "DejaVu Sans"},
    {"Tahoma", "DejaVu Sans"},
    {"Trebuchet MS", "DejaVu Sans"},
    {"Segoe UI", "DejaVu Sans"},
    {"Georgia", "DejaVu Serif"},
    {"Lucida Console", "DejaVu Sans Mono"},
    {"Consolas", "DejaVu Sans Mono"},
    {"Century Gothic", "URW Gothic"}, // geometric sans of the same widths
    {"Book Antiqua", "P052"},         // the same design family as Palatino
    {"Garamond", "P052"},
    {"Impact", "Nimbus Sans Narrow"}, // otherwise a dingbat face
    {"Monotype Corsiva", "Z003"},     // a chancery script
}};

} // namespace

QStringList FaceFamilies(const QString& face) {
    const QString trimmed = face.trimmed();
    for (const StandIn& entry : kStandIns) {
        if (trimmed.compare(QLatin1String(entry.face), Qt::CaseInsensitive) == 0) {
            return {trimmed, QString::fromLatin1(entry.standIn)};
        }
    }
    return {trimmed};
}

QString DrawingFamily(const QString& face) {
    // Asked for as the canvas asks for it, so that the answer is the face the text is drawn in.
    QFont font;
    font.setFamilies(FaceFamilies(face));
    return FamilyWithoutFoundry(QFontInfo(font).family());
}

} // namespace vlr
