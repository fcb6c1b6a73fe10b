// Questions and messages as the platform's message boxes, with the program's title.
#pragma once

#include "model/prompt.h"

class QWidget;

namespace vlr {

// The title of the program's message boxes.
inline constexpr const char* kMessageBoxTitle = "Velloran Business Cards";

class MessageBoxPrompt : public Prompt {
public:
    explicit MessageBoxPrompt(QWidget* parent = nullptr) : parent_(parent) {}
    PromptAnswer Ask(PromptIcon icon, std::string_view text, PromptButtons buttons) override;

private:
    QWidget* parent_;
};

} // namespace vlr
