// One running program per user: a second start hands the files it was asked to open to the
// program that is already running, through a local socket, and ends.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace vlr {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The socket's name, per user; the environment variable VELLORAN_INSTANCE_KEY overrides it.
    static QString DefaultKey();

    explicit SingleInstance(QString key = DefaultKey(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // Hands paths to a running program; true when one took them (this process should end).
    // When none took them, the start-up lock stays held until Listen, so that a program starting
    // at the same moment waits and then hands its files to this one.
    bool HandOffToRunningInstance(const QStringList& paths);
    // Becomes the running program and listens for hand-offs; false when that fails.
    bool Listen();

Q_SIGNALS:
    // A second start asked to open path, a file that exists.
    void openRequested(const QString& path);
    // A second start handed over (with or without files): the running program comes forward.
    void activated();

private:
    QString key_;
    QLocalServer server_;
    std::unique_ptr<QLockFile> startLock_;
};

// The files named after "-open" on a command line.
QStringList FilesToOpen(const QStringList& arguments);

} // namespace vlr
