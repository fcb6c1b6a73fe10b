// The keys desktop users expect beside the program's own: an underlined letter in every fixed
// menu entry (Alt+F opens File), the common edit, undo, exit and zoom keys.
#pragma once

#include <QSet>
#include <QString>

class QMenuBar;

namespace vlr {

class TForm1;

// The caption with a mnemonic on the first letter not taken yet, preferring the first letters
// of its words; the letter is added to taken. A caption that has one, or has no free letter,
// is returned as it is.
QString WithMnemonic(const QString& caption, QSet<QChar>& taken);
// A text shown as a menu entry as it is: an ampersand of a file name is not a mnemonic.
QString MenuText(const QString& text);
// The caption without its mnemonic mark, as it reads.
QString PlainCaption(const QString& caption);

// Gives each menu of the bar and every entry with a caption a mnemonic, unique in its menu.
void AddMnemonics(QMenuBar* bar);

// The common keys beside the program's: Ctrl+X, Ctrl+C, Ctrl+V, Ctrl+Shift+Z, Ctrl+Y, Ctrl+Q,
// Ctrl+plus, Ctrl+minus and Ctrl+0. Ctrl+A keeps its own meaning on the canvas.
void AddStandardShortcuts(TForm1& form);

} // namespace vlr
