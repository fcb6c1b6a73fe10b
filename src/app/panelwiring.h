// The line and shape panels wired to the main window: their panel codes, the active design they
// fine-tune, the panel history, the customizing pages, the colour dialog, and the toolbar button
// and what-next row a panel's link lights.
#pragma once

namespace vlr {

class TForm1;

// Sets the main window's hooks that make and refresh these panels.
void InstallSidePanels(TForm1& form);

} // namespace vlr
