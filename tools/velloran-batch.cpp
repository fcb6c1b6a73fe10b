// velloran-batch: the headless command line. Reads, inspects and writes designs without a
// display.
#include "batchoutput.h"
#include "batchrender.h"
#include "designjson.h"
#include "model/designfile.h"
#include "model/prompt.h"
#include "platform/largepages.h"

#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

using vlr::batch::kExitFailed;
using vlr::batch::kExitNotADesign;
using vlr::batch::kExitOk;
using vlr::batch::kExitUsage;

const std::string kUsage = std::string("usage: velloran-batch info FILE [--screen-dpi N] [--force]\n"
                                       "       velloran-batch copy IN OUT [--screen-dpi N] [--force]\n") +
                           vlr::batch::kOutputUsage + vlr::batch::kRenderUsage;

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
            options.screenDpi = vlr::batch::Number(argv[i], vlr::batch::kLowestDpi, vlr::batch::kHighestDpi);
            if (!options.screenDpi) {
                return std::nullopt;
            }
        } else if (argument.starts_with("--")) {
            return std::nullopt;
        } else {
            options.files.push_back(argument);
        }
    }
    return options;
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
        return kExitFailed;
    case vlr::ReadStatus::Declined:
        std::cerr << "velloran-batch: " << path << " is not a valid design file\n";
        return kExitNotADesign;
    case vlr::ReadStatus::NotADesign:
        std::cerr << "velloran-batch: " << path << " is not a design: " << result.message << '\n';
        return kExitNotADesign;
    }
    return kExitFailed;
}

int Info(const Options& options) {
    if (options.files.size() != 1) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    vlr::ItemList list = vlr::batch::EmptyDesign(options.screenDpi);
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
    vlr::ItemList list = vlr::batch::EmptyDesign(options.screenDpi);
    if (int code = Read(options.files[0], list, options); code != kExitOk) {
        return code;
    }
    if (!vlr::WriteDesign(options.files[1], list)) {
        std::cerr << "velloran-batch: cannot write " << options.files[1] << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace

int main(int argc, char** argv) {
    vlr::UseLargePagesForTheHeap(); // before the design's records are made
    if (argc < 2) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    std::string command = argv[1];
    const vlr::batch::DesignReader read = [](const std::string& path, vlr::ItemList& list, bool force) {
        Options options;
        options.force = force;
        return Read(path, list, options);
    };
    if (command == "sheet" || command == "export" || command == "test-page") {
        return vlr::batch::RunOutputCommand(argc, argv, read);
    }
    if (command == "render") {
        return vlr::batch::RunRenderCommand(argc, argv, read);
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
