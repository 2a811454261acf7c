// Where the program finds its files on Linux.
//
// setutily.ini: the one in the current directory when there is one (a demo
// folder, a setup kept beside the program), otherwise the user's own in the
// configuration folder, ~/.config/setutily/setutily.ini, in a folder only the
// user can enter since the file holds passwords.
//
// MORIVEX-9.hlp: the current directory first, then the installed copy in
// share/setutily beside the program's bin folder, then setutily/ in the
// user's and the system's data folders (~/.local/share, XDG_DATA_DIRS).
#pragma once

#include <QString>
#include <QStringList>

namespace setutily {

// The settings file for a run started in currentDirectory; configHome is the
// user's configuration folder ($XDG_CONFIG_HOME, normally ~/.config).
QString ProfilePath(const QString& currentDirectory, const QString& configHome);
// The user's own settings file, configHome/setutily/setutily.ini: the one
// the commands of the command line use unless told otherwise.
QString UserProfilePath(const QString& configHome);

// Creates folder and any missing parents; the folders it creates are open
// to their owner only. False when folder is not there afterwards.
bool MakePrivateFolder(const QString& folder);

// The folders searched for the help file, in order; programDirectory is the
// folder of the running program.
QStringList HelpFolders(const QString& currentDirectory, const QString& programDirectory);

// The first help file in folders, or empty when none holds one.
QString FindHelpFile(const QStringList& folders);

}  // namespace setutily
