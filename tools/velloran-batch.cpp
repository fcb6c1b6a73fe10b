// velloran-batch: the headless command line. Reads, inspects and writes designs without a
// display.
#include "batchoutput.h"
#include "designjson.h"
#include "model/designfile.h"
#include "model/prompt.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitReadFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNotADesign = 3;

const std::string kUsage = std::string("usage: velloran-batch info FILE [--screen-dpi N] [--force]\n"
                                       "       velloran-batch copy IN OUT [--screen-dpi N] [--force]\n") +
                           vlr::batch::kOutputUsage;

// Without a user: the validity question is answered No unless --force was given; warnings
// go to stderr.
class BatchPrompt : public vlr::Prompt {
public:
    explicit BatchPrompt(bool force) : force_(force) {}
    vlr::PromptAnswer Ask(vlr::PromptIcon, std::string_view text, vlr::PromptButtons buttons) override {
        if (buttons == vlr::PromptButtons::Ok) {
            std::cerr << "velloran-batch: warning: " << text << '\n';
            return vlr::PromptAnswer::Ok;
        }
        std::cerr << "velloran-batch: " << text << (force_ ? " Yes (--force)\n" : " No\n");
        return force_ ? vlr::PromptAnswer::Yes : vlr::PromptAnswer::No;
    }

private:
    bool force_;
};

struct Options {
    std::vector<std::string> files;
    std::optional<double> screenDpi;
    bool force = false;
};

std::optional<Options> ParseOptions(int argc, char** argv, int first) {
    Options options;
    for (int i = first; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--force") {
            options.force = true;
        } else if (argument == "--screen-dpi") {
            if (++i >= argc) {
                return std::nullopt;
            }
            double dpi = 0.0;
            const char* text = argv[i];
            auto [end, error] = std::from_chars(text, text + std::strlen(text), dpi);
            if (error != std::errc() || *end != '\0' || !std::isfinite(dpi) || dpi < 1.0 || dpi > 10000.0) {
                return std::nullopt;
            }
            options.screenDpi = dpi;
        } else if (argument.starts_with("--")) {
            return std::nullopt;
        } else {
            options.files.push_back(argument);
        }
    }
    return options;
}

vlr::ItemList NewList(const Options& options) {
    if (options.screenDpi) {
        return vlr::ItemList(vlr::ScreenResolution(*options.screenDpi, *options.screenDpi));
    }
    return vlr::ItemList();
}

// Reads a design and reports a failure on stderr; returns the exit code.
int Read(const std::string& path, vlr::ItemList& list, const Options& options) {
    BatchPrompt prompt(options.force);
    vlr::ReadResult result = vlr::ReadDesign(path, list, prompt);
    switch (result.status) {
    case vlr::ReadStatus::Ok:
        return kExitOk;
    case vlr::ReadStatus::NoFile:
    case vlr::ReadStatus::IoError:
        std::cerr << "velloran-batch: cannot read " << path << ": " << result.message << '\n';
        return kExitReadFailed;
    case vlr::ReadStatus::Declined:
        std::cerr << "velloran-batch: " << path << " is not a valid design file\n";
        return kExitNotADesign;
    case vlr::ReadStatus::NotADesign:
        std::cerr << "velloran-batch: " << path << " is not a design: " << result.message << '\n';
        return kExitNotADesign;
    }
    return kExitReadFailed;
}

int Info(const Options& options) {
    if (options.files.size() != 1) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    vlr::ItemList list = NewList(options);
    if (int code = Read(options.files[0], list, options); code != kExitOk) {
        return code;
    }
    vlr::WriteDesignJson(std::cout, list);
    return kExitOk;
}

int Copy(const Options& options) {
    if (options.files.size() != 2) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    vlr::ItemList list = NewList(options);
    if (int code = Read(options.files[0], list, options); code != kExitOk) {
        return code;
    }
    if (!vlr::WriteDesign(options.files[1], list)) {
        std::cerr << "velloran-batch: cannot write " << options.files[1] << '\n';
        return kExitReadFailed;
    }
    return kExitOk;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    std::string command = argv[1];
    if (command == "sheet" || command == "export") {
        return vlr::batch::RunOutputCommand(argc, argv,
                                            [](const std::string& path, vlr::ItemList& list, bool force) {
                                                Options options;
                                                options.force = force;
                                                return Read(path, list, options);
                                            });
    }
    std::optional<Options> options = ParseOptions(argc, argv, 2);
    if (!options) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    if (command == "info") {
        return Info(*options);
    }
    if (command == "copy") {
        return Copy(*options);
    }
    std::cerr << kUsage;
    return kExitUsage;
}
