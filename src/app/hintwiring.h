// The main window as the hint pages' host: the pages 1024 ... 1078 in the side panel column.
#pragma once

namespace vlr {

class TForm1;

void InstallHintPages(TForm1& form);

} // namespace vlr
