#include "app/file_locations.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/connection.h"
#include "app/help_file.h"

namespace setutily {

QString ProfilePath(const QString& currentDirectory, const QString& configHome) {
  const QString name = QString::fromLatin1(kProfileFileName);
  const QString here = QDir(currentDirectory).filePath(name);
  if (QFileInfo::exists(here)) return here;
  return UserProfilePath(configHome);
}

QString UserProfilePath(const QString& configHome) {
  return QDir(configHome).filePath(QStringLiteral("setutily/") +
                                   QString::fromLatin1(kProfileFileName));
}

bool MakePrivateFolder(const QString& folder) {
  const QString path = QDir::cleanPath(QDir(folder).absolutePath());
  // Each missing folder from the top down, made with mode 0700 from the
  // start, so that it is never open to others for a moment.
  qsizetype from = 1;
  while (true) {
    const qsizetype slash = path.indexOf(u'/', from);
    const QString part = slash < 0 ? path : path.left(slash);
    if (!QFileInfo(part).isDir()) ::mkdir(QFile::encodeName(part).constData(), 0700);
    if (slash < 0) break;
    from = slash + 1;
  }
  return QFileInfo(path).isDir();
}

QStringList HelpFolders(const QString& currentDirectory, const QString& programDirectory) {
  QStringList folders{currentDirectory,
                      QDir::cleanPath(programDirectory + QStringLiteral("/../share/setutily"))};
  for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
    const QString folder = QDir::cleanPath(data + QStringLiteral("/setutily"));
    if (!folders.contains(folder)) folders.append(folder);
  }
  return folders;
}

QString FindHelpFile(const QStringList& folders) {
  for (const QString& folder : folders) {
    const QString path = QDir(folder).filePath(QString::fromLatin1(kHelpFileName));
    if (QFileInfo(path).isFile()) return path;
  }
  return {};
}

}  // namespace setutily
