// Ties the output commands to the program: the File menu's Print, Print Preview, Export and
// Screenshot, the pages they open on the dialog hosts, the preview's deferred print and export,
// and the document window's deferred print after Prepare Print.
#pragma once

#include "output/outputdocument.h"

namespace vlr {

class DesignView;
class OutputCommands;
class TDialogHost;
class TForm1;

// A document window as the output commands see it; a window that keeps no print-area selection
// (not a design canvas) has none and prints at once.
OutputDocument OutputDocumentOf(DesignView& view, OutputCommands& commands);

void InstallOutputCommands(TForm1& form1, TDialogHost& formX, TDialogHost& formY, OutputCommands& commands);

} // namespace vlr
