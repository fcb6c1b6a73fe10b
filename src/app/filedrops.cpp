// Files dropped on the main window.
#include "app/filedrops.h"

#include "app/mainwindow.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace vlr {

namespace {

QStringList LocalFiles(const QMimeData* data) {
    QStringList files;
    if (data && data->hasUrls()) {
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) {
                files << url.toLocalFile();
            }
        }
    }
    return files;
}

} // namespace

FileDrops::FileDrops(TForm1& form) : QObject(&form), form_(form) {
    form_.setAcceptDrops(true);
    form_.installEventFilter(this);
}

bool FileDrops::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &form_) {
        return false;
    }
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDropEvent*>(event);
        if (!LocalFiles(drag->mimeData()).isEmpty()) {
            drag->acceptProposedAction();
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList files = LocalFiles(drop->mimeData());
        if (files.isEmpty()) {
            return false;
        }
        drop->acceptProposedAction();
        // Opened after the drop has ended, so that the program the files came from is released
        // before a message box or the picture editor shows.
        QTimer::singleShot(0, &form_, [this, files] {
            for (const QString& file : files) {
                if (form_.hooks.files.openDocument) {
                    form_.hooks.files.openDocument(file);
                }
            }
        });
        return true;
    }
    return false;
}

} // namespace vlr
