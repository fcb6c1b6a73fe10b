// The program's icon for its windows: the same business card as the icon the desktop shows,
// drawn by the program itself so that no picture format plug-in is needed for it.
#pragma once

#include <QIcon>

namespace vlr {

QIcon ProgramIcon();

} // namespace vlr
