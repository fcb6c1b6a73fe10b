// The line and shape panels wired to the main window: their panel codes, the active design they
// fine-tune, the panel history, the customizing pages and the colour dialog.
#pragma once

namespace vlr {

class TForm1;

// Sets the main window's hooks that make and refresh these panels.
void InstallSidePanels(TForm1& form);

} // namespace vlr
