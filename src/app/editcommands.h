// The Edit menu's commands on the active design: undo and redo, clearing the history, cut, copy
// and paste through the application's copy list, joining and splitting groups.
#pragma once

namespace vlr {

class TForm1;

// Connects the commands to the main window's menus.
void InstallEditCommands(TForm1& form);

} // namespace vlr
