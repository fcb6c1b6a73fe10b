// A document window as printing, the preview and the export see it.
#pragma once

#include "model/itemrecord.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

namespace vlr {

struct OutputDocument {
    int32_t docNumber = 0;
    QString caption; // the print job's title
    ItemList* items = nullptr;
    // The card positions that do not print, kept by the window while it is open.
    std::string* selection = nullptr;
    // Prints the design once the dialog host that asked has closed (the window's one-shot timer).
    std::function<void()> printLater;
};

// The open document window with a number, if there still is one.
using DocumentLookup = std::function<std::optional<OutputDocument>(int32_t docNumber)>;

} // namespace vlr
