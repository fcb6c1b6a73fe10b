// Design files: the records of a design in list order, each body followed by the data its kind
// needs (text, points, gridlines, the encoded picture). No file header and no count.
#pragma once

#include "model/itemrecord.h"
#include "model/prompt.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vlr {

inline constexpr const char* kInvalidFileQuestion = "Not a valid Velloran file. Attempt to open it anyway?";
inline constexpr const char* kNewerVersionWarning =
    "This file was created on a newer version of Velloran software.\n"
    "Update your software. Otherwise, this file might not display correctly.";

enum class ReadStatus {
    Ok,
    NoFile,     // the path is empty or names no file
    IoError,    // the file could not be opened or read; message says why
    Declined,   // the first record failed the validity check and the user said No
    NotADesign, // no complete record, or no document header
};

struct ReadResult {
    ReadStatus status = ReadStatus::Ok;
    std::string message; // for IoError: the operating system's reason
    bool ok() const { return status == ReadStatus::Ok; }
};

// Reads a design file into target, replacing its records only on success; on failure target is
// unchanged. The validity question and the newer-version warning go through prompt. Integer
// coordinates are derived at target.screen.
ReadResult ReadDesign(std::string_view path, ItemList& target, Prompt& prompt);
// The same reader over bytes in memory.
ReadResult ReadDesignFromMemory(std::span<const uint8_t> bytes, ItemList& target, Prompt& prompt);

// Writes the live design to path. The previous file keeps its content until the new one is
// complete on disk. False when the list has no header, when a text is too long to be read back,
// or on any input/output error; the design's modified flag is cleared only on success.
// error, when given, receives the reason of a failure in the operating system's words.
bool WriteDesign(std::string_view path, ItemList& list, std::string* error = nullptr);
// The same writer into memory (the bytes a file would hold).
bool WriteDesignToMemory(ItemList& list, std::vector<uint8_t>& out);

} // namespace vlr
