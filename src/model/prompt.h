// Questions and messages that model and rendering code put to the user. The editor shows them
// as message boxes; the batch tool and the tests answer them without a window.
#pragma once

#include <string_view>

namespace vlr {

enum class PromptIcon { Information, Warning, Error, Question };
enum class PromptButtons { Ok, Cancel, YesNo, YesNoCancel, OkCancel };
enum class PromptAnswer { Ok, Yes, No, Cancel };

class Prompt {
public:
    virtual ~Prompt();
    // Shows text (UTF-8, lines separated by '\n') with the given buttons and returns the answer.
    // A message with one button (Ok or Cancel) only informs.
    virtual PromptAnswer Ask(PromptIcon icon, std::string_view text, PromptButtons buttons) = 0;
};

// Answers every question with the same answer and acknowledges every message; for callers
// without a user (importing in the background, fuzzing).
class FixedAnswerPrompt : public Prompt {
public:
    explicit FixedAnswerPrompt(PromptAnswer questionAnswer) : questionAnswer_(questionAnswer) {}
    PromptAnswer Ask(PromptIcon icon, std::string_view text, PromptButtons buttons) override;

private:
    PromptAnswer questionAnswer_;
};

} // namespace vlr
