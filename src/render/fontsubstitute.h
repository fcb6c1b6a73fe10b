// Free faces that stand in for the common faces of stored designs on a machine that lacks them.
//
// Most stand-ins come from the font system itself: with the packages that scripts/install-deps.sh
// installs, fontconfig resolves "Arial", "Helvetica", "Times New Roman", "Courier New",
// "Calibri", "Cambria", "Arial Narrow", "Palatino Linotype", "Bookman Old Style",
// "Century Schoolbook" and "Comic Sans MS" to faces of the same widths (Liberation, Carlito,
// Caladea, the URW base faces, Comic Neue). For the faces it does not know it falls back to its
// default face, which for some of them is plainly the wrong kind of letter (a proportional face
// for a monospaced one, a sans face for a serif one, a symbol face for a heavy sans one). The
// table of FaceFamilies names the closest free face for those.
#pragma once

#include <QString>
#include <QStringList>

namespace vlr {

// The families to ask the font system for, in order: the face itself (used whenever it is
// installed) and, for a face of the table, its stand-in. Names compare without regard to case.
QStringList FaceFamilies(const QString& face);

// The installed family that draws face: the face itself, its stand-in, or what the font system
// falls back to, without a foundry suffix.
QString DrawingFamily(const QString& face);

} // namespace vlr
