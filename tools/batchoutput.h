// velloran-batch sheet, export and test-page: the printed sheet of a design as a PDF or PNG file,
// the exported picture as JPEG, bitmap or icon, and the printer calibration's test page, without a
// display.
#pragma once

#include "batchcommon.h"

namespace vlr::batch {

inline constexpr const char* kOutputUsage =
    "       velloran-batch sheet FILE -o OUT.pdf|OUT.png [--dpi D] [--select TEXT] [--printer NAME] "
    "[--screen-dpi N] [--force]\n"
    "       velloran-batch export FILE -o OUT.jpg|OUT.bmp|OUT.ico [--smooth] [--screen-dpi N] [--force]\n"
    "       velloran-batch test-page [FILE] -o OUT.pdf [--printer NAME] [--screen-dpi N] [--force]\n";

// "sheet": the sheet as printing composes it (no unprintable edges), at D dots per inch (600
// unless given), with the positions TEXT switches off ("x"); a PDF of the design's paper with the
// sheet embedded losslessly, or the composed picture as PNG.
// "export": the exact export, or with --smooth the preview's picture; the type follows the
// extension as in the editor.
// "test-page": the printer calibration's test page as a PDF of the design's paper with its card
// positions (US Letter without a design).
// --printer NAME corrects a PDF sheet or test page by the calibration the editor stored for the
// printer NAME ("PDF file" for files); without it nothing is corrected.
// argv[1] is the command. Exit codes: 0 written, 1 the design could not be read or the file not
// made, 2 wrong usage.
int RunOutputCommand(int argc, char** argv, const DesignReader& read);

} // namespace vlr::batch
