// Questions put to the user from code that has no windows.
#include "model/prompt.h"

namespace vlr {

Prompt::~Prompt() = default;

PromptAnswer FixedAnswerPrompt::Ask(PromptIcon, std::string_view, PromptButtons buttons) {
    if (buttons == PromptButtons::Ok) {
        return PromptAnswer::Ok;
    }
    return buttons == PromptButtons::Cancel ? PromptAnswer::Cancel : questionAnswer_;
}

} // namespace vlr
