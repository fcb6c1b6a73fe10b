// The main window as the hint pages' host: the pages 1024 ... 1078 in the side panel column.
#pragma once

namespace vlr {

class TForm1;

void InstallHintPages(TForm1& form);

// When a new text is started: the text's start page while the user wants it, otherwise the text
// panel of the text being typed.
void ShowTextStartHint(TForm1& form);

} // namespace vlr
