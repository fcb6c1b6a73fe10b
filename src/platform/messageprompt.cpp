// Message boxes for the prompts of model and rendering code.
#include "platform/messageprompt.h"

#include <QMessageBox>

namespace vlr {

PromptAnswer MessageBoxPrompt::Ask(PromptIcon icon, std::string_view text, PromptButtons buttons) {
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    switch (icon) {
    case PromptIcon::Warning:
        boxIcon = QMessageBox::Warning;
        break;
    case PromptIcon::Error:
        boxIcon = QMessageBox::Critical;
        break;
    case PromptIcon::Question:
        boxIcon = QMessageBox::Question;
        break;
    case PromptIcon::Information:
        break;
    }
    QMessageBox::StandardButtons standard = QMessageBox::Ok;
    switch (buttons) {
    case PromptButtons::YesNo:
        standard = QMessageBox::Yes | QMessageBox::No;
        break;
    case PromptButtons::YesNoCancel:
        standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    case PromptButtons::OkCancel:
        standard = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case PromptButtons::Cancel:
        standard = QMessageBox::Cancel;
        break;
    case PromptButtons::Ok:
        break;
    }
    QMessageBox box(boxIcon, QString::fromUtf8(kMessageBoxTitle),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), standard, parent_);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Cancel:
        return PromptAnswer::Cancel;
    default:
        return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::Cancel;
    }
}

} // namespace vlr
