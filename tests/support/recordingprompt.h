// A prompt that keeps every message and question it is given and acknowledges each with Ok.
#pragma once

#include "model/prompt.h"

#include <string>
#include <string_view>
#include <vector>

namespace vlr::test {

class RecordingPrompt : public Prompt {
public:
    PromptAnswer Ask(PromptIcon, std::string_view text, PromptButtons) override {
        asked.emplace_back(text);
        return PromptAnswer::Ok;
    }
    std::vector<std::string> asked;
};

} // namespace vlr::test
