// Questions put to the user from code that has no windows.
#include "model/prompt.h"

namespace vlr {

Prompt::~Prompt() = default;

PromptAnswer FixedAnswerPrompt::Ask(PromptIcon, std::string_view, PromptButtons buttons) {
    return buttons == PromptButtons::Ok ? PromptAnswer::Ok : questionAnswer_;
}

} // namespace vlr
