// The design file type registered with the user's own desktop, so that a design file opened from
// a file manager starts the program with "-open FILE" (and a running program takes the file
// over): a desktop entry, the shared-mime-info type "application/x-velloran" for "*.vlrn" with
// the program's icon, and the entry as the user's default application for that type. The files
// are the ones "make install" installs, written under the user's data folder.
#pragma once

#include <QString>

namespace vlr {

inline constexpr const char* kDesignMimeType = "application/x-velloran";
inline constexpr const char* kDesktopEntryName = "velloran.desktop";

// The registration result codes of the steps that can fail here; 0 when every step succeeded,
// otherwise the code of the last step that failed. The steps run in this order.
enum AssociationCode : int {
    kAssociationOk = 0,
    kTypeNotWritten = 31,         // the type (with its icon) under mime/packages
    kEntryNotWritten = 33,        // the desktop entry with the open command
    kMimeDatabaseNotUpdated = 37, // the user's MIME database, when its tool is present
    kDefaultNotRecorded = 30,     // the entry as the default application of the type
};

// Where the association goes and which tools record it.
struct DesktopIntegration {
    QString dataHome;           // the user's data folder ($XDG_DATA_HOME, else ~/.local/share)
    QString configHome;         // where the default application is recorded ($XDG_CONFIG_HOME)
    QString programPath;        // the program that opens design files
    QString xdgMime;            // the tool that records the default application; empty: absent
    QString updateMimeDatabase; // the tool that rebuilds the MIME database; empty: absent

    // The running program, this user's folders and the tools found on the search path.
    static DesktopIntegration ForThisUser();
};

// Writes the association; returns the result code. Every step runs, also after one failed.
int RegisterAssociation(const DesktopIntegration& integration);

// The desktop entry, with programPath as the command that opens the files.
QString DesktopEntryText(const QString& programPath);
// One argument of a desktop entry's command line, quoted where the entry's rules ask for it.
QString QuoteExecArgument(const QString& argument);

} // namespace vlr
