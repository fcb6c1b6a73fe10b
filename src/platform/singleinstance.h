// One running program per user and display: a second start hands the files it was asked to open
// to the program that is already running there, through a local socket, and ends.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <memory>

namespace vlr {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The socket's name: "velloran-" and the display the program shows on (the desktop session
    // without one), so that a program on another display or session is a program of its own.
    // The environment variable VELLORAN_INSTANCE_KEY overrides it.
    static QString DefaultKey();
    // The name for a platform ("xcb", "wayland", "offscreen" ...) in an environment.
    static QString KeyFor(const QString& platform, const QProcessEnvironment& environment);
    // Where the socket of a key lives: a key that is not an absolute path goes into the user's
    // runtime folder (XDG_RUNTIME_DIR, or the private folder Qt makes when that is unset). Empty
    // when that folder is not private to the user: no hand-off is offered or taken then.
    static QString SocketPath(const QString& key);

    explicit SingleInstance(QString key = DefaultKey(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // Hands paths to a running program of this user; true when one took them (this process
    // should end). When none took them, the start-up lock stays held until Listen, so that a
    // program starting at the same moment waits and then hands its files to this one.
    bool HandOffToRunningInstance(const QStringList& paths);
    // Becomes the running program and listens for hand-offs; false when that fails. A socket left
    // behind is removed only when nothing answers on it: a busy running program keeps its own.
    bool Listen();

Q_SIGNALS:
    // A second start asked to open path, a file that exists.
    void openRequested(const QString& path);
    // A second start handed over (with or without files): the running program comes forward.
    void activated();

private:
    void LockStart();

    QString path_;
    QLocalServer server_;
    std::unique_ptr<QLockFile> startLock_;
};

// The files named after "-open" on a command line.
QStringList FilesToOpen(const QStringList& arguments);

} // namespace vlr
