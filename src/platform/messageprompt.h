// Questions and messages as the platform's message boxes, with the program's title.
#pragma once

#include "model/prompt.h"

class QWidget;

namespace vlr {

class MessageBoxPrompt : public Prompt {
public:
    explicit MessageBoxPrompt(QWidget* parent = nullptr) : parent_(parent) {}
    PromptAnswer Ask(PromptIcon icon, std::string_view text, PromptButtons buttons) override;

private:
    QWidget* parent_;
};

} // namespace vlr
