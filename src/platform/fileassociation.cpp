// The design file type on the user's desktop.
#include "platform/fileassociation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

namespace vlr {

namespace {

// The desktop's tools are small scripts; one that has not finished by then is taken as failed,
// so that a hanging tool cannot hold the program's start.
constexpr int kToolTimeoutMs = 15000;

// The files "make install" installs, built into the program.
constexpr const char* kTypeResource = ":/desktop/velloran-mime.xml";
constexpr const char* kIconResource = ":/desktop/velloran.svg";
constexpr const char* kEntryResource = ":/desktop/velloran.desktop";
constexpr const char* kTypeFile = "mime/packages/velloran.xml";
constexpr const char* kIconFile = "icons/hicolor/scalable/apps/velloran.svg";
constexpr const char* kEntryFolder = "applications";

QByteArray ResourceBytes(const char* resource) {
    QFile file(QString::fromLatin1(resource));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Replaces the file only once the new content is complete; the folders are made as needed.
bool WriteWholeFile(const QString& path, const QByteArray& content) {
    if (content.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath())) {
        return false;
    }
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit();
}

// Runs one of the desktop's tools on this user's folders; true when it ended with success.
bool RunTool(const DesktopIntegration& integration, const QString& program, const QStringList& arguments) {
    if (program.isEmpty()) {
        return false;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", integration.dataHome);
    if (!integration.configHome.isEmpty()) {
        environment.insert("XDG_CONFIG_HOME", integration.configHome);
    }
    QProcess tool;
    tool.setProcessEnvironment(environment);
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(program, arguments);
    if (!tool.waitForFinished(kToolTimeoutMs)) {
        tool.kill();
        tool.waitForFinished();
        return false;
    }
    return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

// The default application the user's mimeapps.list gives the design type, if any. The tool
// that records the default reports success even when it could not write the list, so the list
// itself is the proof.
QString RecordedDefault(const QString& configHome) {
    QFile list(QDir(configHome).filePath("mimeapps.list"));
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    const QString prefix = QString::fromLatin1(kDesignMimeType) + '=';
    bool inDefaults = false;
    while (!list.atEnd()) {
        const QString line = QString::fromUtf8(list.readLine()).trimmed();
        if (line.startsWith('[')) {
            inDefaults = line == "[Default Applications]";
        } else if (inDefaults && line.startsWith(prefix)) {
            return line.mid(prefix.size()).section(';', 0, 0).trimmed();
        }
    }
    return {};
}

bool RecordDefault(const DesktopIntegration& integration) {
    if (integration.configHome.isEmpty() ||
        !RunTool(integration, integration.xdgMime,
                 {"default", QString::fromLatin1(kDesktopEntryName), QString::fromLatin1(kDesignMimeType)})) {
        return false;
    }
    return RecordedDefault(integration.configHome) == QLatin1String(kDesktopEntryName);
}

} // namespace

DesktopIntegration DesktopIntegration::ForThisUser() {
    DesktopIntegration integration;
    integration.dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    integration.configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    integration.programPath = QCoreApplication::applicationFilePath();
    integration.xdgMime = QStandardPaths::findExecutable("xdg-mime");
    integration.updateMimeDatabase = QStandardPaths::findExecutable("update-mime-database");
    return integration;
}

QString QuoteExecArgument(const QString& argument) {
    // Characters that make the command line split or expand the argument unless it is quoted.
    static const QString kReserved = QStringLiteral(" \t\n\r\"'\\><~|&;$*?#()`");
    QString quoted = argument;
    bool needsQuotes = argument.isEmpty();
    for (QChar character : argument) {
        needsQuotes = needsQuotes || kReserved.contains(character);
    }
    if (needsQuotes) {
        quoted.clear();
        for (QChar character : argument) {
            if (character == '"' || character == '`' || character == '$' || character == '\\') {
                quoted += '\\';
            }
            quoted += character;
        }
        quoted = '"' + quoted + '"';
    }
    // A literal percent sign would start a field code.
    quoted.replace('%', QStringLiteral("%%"));
    // The command is a string value of the entry, whose own escapes apply on top of the quoting.
    QString escaped;
    for (QChar character : quoted) {
        switch (character.unicode()) {
        case '\\':
            escaped += QStringLiteral("\\\\");
            break;
        case '\n':
            escaped += QStringLiteral("\\n");
            break;
        case '\t':
            escaped += QStringLiteral("\\t");
            break;
        case '\r':
            escaped += QStringLiteral("\\r");
            break;
        default:
            escaped += character;
        }
    }
    return escaped;
}

QString DesktopEntryText(const QString& programPath) {
    QStringList lines = QString::fromUtf8(ResourceBytes(kEntryResource)).split('\n');
    for (QString& line : lines) {
        if (line.startsWith("Exec=")) {
            line = "Exec=" + QuoteExecArgument(programPath) + " -open %f";
        }
    }
    return lines.join('\n');
}

int RegisterAssociation(const DesktopIntegration& integration) {
    int code = kAssociationOk;
    auto step = [&code](bool succeeded, AssociationCode failure) {
        if (!succeeded) {
            code = failure;
        }
    };
    // A relative folder would put the files wherever the program was started.
    const bool haveDataHome = QDir::isAbsolutePath(integration.dataHome);
    const QDir data(integration.dataHome);

    const bool typeWritten =
        haveDataHome && WriteWholeFile(data.filePath(kTypeFile), ResourceBytes(kTypeResource));
    const bool iconWritten =
        haveDataHome && WriteWholeFile(data.filePath(kIconFile), ResourceBytes(kIconResource));
    step(typeWritten && iconWritten, kTypeNotWritten);

    const QString entryPath = data.filePath(QString(kEntryFolder) + '/' + kDesktopEntryName);
    step(haveDataHome && WriteWholeFile(entryPath, DesktopEntryText(integration.programPath).toUtf8()),
         kEntryNotWritten);

    // Without the tool there is no MIME database to bring up to date.
    if (!integration.updateMimeDatabase.isEmpty()) {
        step(haveDataHome && RunTool(integration, integration.updateMimeDatabase, {data.filePath("mime")}),
             kMimeDatabaseNotUpdated);
    }

    step(RecordDefault(integration), kDefaultNotRecorded);
    return code;
}

} // namespace vlr
