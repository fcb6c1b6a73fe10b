// The toolbar and the Insert panel wired to the main window: their buttons and rows run the
// main window's commands on the active design, and the zoom they choose reaches the Zoom menu
// and the design.
#pragma once

class QWidget;

namespace vlr {

class TForm1;
class TProcs;
class TToolbox;

void ConnectToolbar(TForm1& form, TProcs& toolbar);
// The Insert panel in the side column: its rows switch the panel through the deferred command,
// its link opens the page setup of the active design.
TToolbox* CreateInsertPanel(TForm1& form, QWidget* parent);

} // namespace vlr
