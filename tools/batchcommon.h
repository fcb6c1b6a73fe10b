// What the batch tool's commands that write a file share: exit codes, the design reader they
// are handed, the options every one of them takes and the GUI application they draw under.
#pragma once

#include "model/itemrecord.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

class QImage;

namespace vlr::batch {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNotADesign = 3;

// Reads a design as the other commands do (force: open files that fail the validity check);
// returns 0 or the exit code, having told the user why.
using DesignReader = std::function<int(const std::string& path, ItemList& design, bool force)>;

// A decimal number within lowest ... highest, the whole argument and nothing else; none otherwise
// (NaN and infinities included).
std::optional<double> Number(const char* text, double lowest, double highest);

// The resolution options accept: from one dot per inch to ten thousand.
inline constexpr double kLowestDpi = 1.0;
inline constexpr double kHighestDpi = 10000.0;

// The design, the file written and the options every writing command takes.
struct FileOptions {
    std::string design;
    std::string output;
    std::optional<double> screenDpi;
    bool force = false;
};

// Reads argv[2] onwards: "-o OUT", "--screen-dpi N", "--force" and the design's path (the first
// argument that is not an option) into files, and every other argument through own(index),
// which takes it and any value (leaving index on the last argument used) and returns false
// when it is wrong. False on wrong usage or when the output, or the design where one is
// required, is missing.
bool ParseArguments(int argc, char** argv, FileOptions& files, const std::function<bool(int& index)>& own,
                    bool designRequired = true);
// Takes the number after the option at index into value; false when it is missing or outside
// lowest ... highest.
bool TakeNumber(int argc, char** argv, int& index, double lowest, double highest,
                std::optional<double>& value);

// An empty design whose world coordinates become pixels at the given screen resolution (the
// design resolution when none).
ItemList EmptyDesign(std::optional<double> screenDpi);

// Tells the user and returns kExitFailed.
int Fail(const QString& message);

// Runs work under a GUI application (fonts, image plugins and printers need one), on the offscreen
// platform unless the environment names another, so no display is needed.
int WithGuiApplication(char* program, const std::function<int()>& work);

// The picture as a PNG file; the file is replaced only once the whole picture is written. Returns
// kExitOk or, having told the user, kExitFailed.
int WritePng(const QImage& image, const std::string& path, const QString& what);

} // namespace vlr::batch
