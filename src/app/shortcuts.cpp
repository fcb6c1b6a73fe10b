// The keys desktop users expect beside the program's own.
#include "app/shortcuts.h"

#include "app/mainwindow.h"
#include "panels/wheel.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <cmath>

namespace vlr {

namespace {

QString ZoomEntryPath(double zoom) {
    return "Zoom/" + QString::number(std::lround(zoom * 100.0)) + "%";
}

void AddMnemonicsTo(const QList<QAction*>& actions) {
    QSet<QChar> taken;
    for (QAction* action : actions) {
        if (action->isSeparator() || action->text().isEmpty()) {
            continue;
        }
        action->setText(WithMnemonic(action->text(), taken));
        if (QMenu* menu = action->menu()) {
            AddMnemonicsTo(menu->actions());
        }
    }
}

} // namespace

QString WithMnemonic(const QString& caption, QSet<QChar>& taken) {
    for (int i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (caption[i + 1] != '&') {
                taken.insert(caption[i + 1].toLower());
                return caption;
            }
            ++i;
        }
    }
    auto free = [&](int i) { return caption[i].isLetterOrNumber() && !taken.contains(caption[i].toLower()); };
    int chosen = -1;
    for (int i = 0; i < caption.size() && chosen < 0; ++i) {
        const bool wordStart = i == 0 || caption[i - 1].isSpace();
        if (wordStart && free(i)) {
            chosen = i;
        }
    }
    for (int i = 0; i < caption.size() && chosen < 0; ++i) {
        if (free(i)) {
            chosen = i;
        }
    }
    if (chosen < 0) {
        return caption;
    }
    taken.insert(caption[chosen].toLower());
    return caption.left(chosen) + '&' + caption.mid(chosen);
}

QString MenuText(const QString& text) {
    return QString(text).replace('&', "&&");
}

QString PlainCaption(const QString& caption) {
    QString plain;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) {
            ++i;
        }
        plain += caption[i];
    }
    return plain;
}

void AddMnemonics(QMenuBar* bar) {
    AddMnemonicsTo(bar->actions());
}

void AddStandardShortcuts(TForm1& form) {
    // The program's own key stays first: it is the one the menu shows.
    const struct {
        const char* path;
        QList<QKeySequence> keys;
    } extra[] = {
        {"Edit/Cut", {QKeySequence("Ctrl+Del"), QKeySequence("Ctrl+X")}},
        {"Edit/Copy", {QKeySequence("Ctrl+Ins"), QKeySequence("Ctrl+C")}},
        {"Edit/Paste", {QKeySequence("Shift+Ins"), QKeySequence("Ctrl+V")}},
        {"Edit/Redo", {QKeySequence("Ctrl+Alt+Z"), QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")}},
        {"File/Exit", {QKeySequence("Ctrl+Q")}},
    };
    for (const auto& entry : extra) {
        if (QAction* action = form.Action(entry.path)) {
            action->setShortcuts(entry.keys);
        }
    }
    // Zooming by keys walks the Zoom menu's entries, as choosing them does.
    auto zoomKey = [&form](const QList<QKeySequence>& keys, int notches) {
        auto* action = new QAction(&form);
        action->setShortcuts(keys);
        QObject::connect(action, &QAction::triggered, &form, [&form, notches] {
            const double zoom = notches == 0 ? 1.0 : StepZoom(form.params().zoom, notches);
            if (QAction* entry = form.Action(ZoomEntryPath(zoom))) {
                entry->trigger();
            }
        });
        form.addAction(action);
    };
    zoomKey({QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")}, 1);
    zoomKey({QKeySequence("Ctrl+-")}, -1);
    zoomKey({QKeySequence("Ctrl+0")}, 0);
}

} // namespace vlr
