// Driving a customisation page as a user does: clicks in the column of slots, typing, and units
// chosen from the keyboard.
#pragma once

#include "styles/slotpage.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace vlr::test {

inline void ClickSlot(TSlotPage& page, int slot) {
    QListWidget* column = page.SlotColumn();
    QTest::mouseClick(column->viewport(), Qt::LeftButton, {},
                      column->visualItemRect(column->item(slot)).center());
}

// Replaces the field's text key by key.
inline void Type(QLineEdit* field, const QString& text) {
    field->selectAll();
    QTest::keyClicks(field, text);
}

inline void ChooseUnit(QComboBox* box, int index) {
    QTest::keyClick(box, Qt::Key_Home);
    for (int step = 0; step < index; ++step) {
        QTest::keyClick(box, Qt::Key_Down);
    }
}

} // namespace vlr::test
