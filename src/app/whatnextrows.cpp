// The what-next box's suggestion rows.
#include "app/whatnextrows.h"

#include "panels/picturebutton.h"

#include <QBoxLayout>
#include <QTimer>

#include <algorithm>

namespace vlr {

void AddSuggestionRows(WhatNextRows& rows, QBoxLayout& box) {
    for (TPictureButton*& button : rows.buttons) {
        button = new TPictureButton(QString(), ButtonStyle::Suggestion, box.parentWidget());
        button->setFixedHeight(20);
        button->hide();
        box.addWidget(button);
    }
}

void FillSuggestionRows(WhatNextRows& rows, const std::vector<int>& offered) {
    if (rows.busy) {
        return;
    }
    rows.busy = true;
    for (TPictureButton* button : rows.buttons) {
        button->hide();
    }
    rows.shown = VisibleSuggestions(offered);
    for (size_t row = 0; row < rows.shown.size(); ++row) {
        TPictureButton* button = rows.buttons[row];
        button->setText(QString::fromStdString(SuggestionText(rows.shown[row])));
        button->setLook(ButtonLook::Plain);
        button->show();
    }
    rows.busy = false;
}

void HighlightSuggestionRow(WhatNextRows& rows, int row, QTimer& timer) {
    for (int other = 1; other <= kSuggestionRows; ++other) {
        rows.buttons[static_cast<size_t>(other - 1)]->setLook(other == row ? ButtonLook::Highlighted
                                                                           : ButtonLook::Plain);
    }
    timer.start();
}

void PlainSuggestionRows(WhatNextRows& rows, int fromRow) {
    for (int row = std::max(fromRow, 1); row <= kSuggestionRows; ++row) {
        rows.buttons[static_cast<size_t>(row - 1)]->setLook(ButtonLook::Plain);
    }
}

std::optional<int> TakeSuggestion(WhatNextRows& rows, int row) {
    if (row < 1 || row > static_cast<int>(rows.shown.size())) {
        return std::nullopt;
    }
    rows.buttons[static_cast<size_t>(row - 1)]->hide();
    return rows.shown[static_cast<size_t>(row - 1)];
}

} // namespace vlr
