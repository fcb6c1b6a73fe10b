// velloran-batch render: a design's page drawn on white, as the document window draws it with
// every shadow and 3-D surface, written as a PNG picture without a display.
#pragma once

#include "batchcommon.h"

namespace vlr::batch {

inline constexpr const char* kRenderUsage =
    "       velloran-batch render FILE -o OUT.png [--zoom Z | --dpi D] [--screen-dpi N] [--force]\n";

// The picture is the page alone, design point (0, 0) at its top-left pixel: at zoom Z (1 unless
// given, 0.01 ... 100) the page's pixel size at that zoom; at D dots per inch (1 ... 10000) the
// page's size in inches times D, pages measured in pixels counting N of them to the inch (the
// screen resolution, 96 unless given). argv[1] is the command. Exit codes: 0 written, 1 the file
// could not be read or the picture not made, 2 wrong usage, 3 not a valid design.
int RunRenderCommand(int argc, char** argv, const DesignReader& read);

} // namespace vlr::batch
