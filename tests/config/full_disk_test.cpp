// A full disk under every file the program writes: the write is refused
// with its reason and the old file stays as it was.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QTextStream>
#include <functional>

#include "app/profile.h"
#include "root/command_line.h"
#include "root/config_categories.h"
#include "support/shell_rig.h"
#include "support/small_disk.h"

namespace setutily {
namespace {

TEST(FullDisk, EveryWrittenFileKeepsItsOldContentAndTellsWhy) {
  testing::SmallDisk disk;
  if (!disk.Mounted()) GTEST_SKIP() << testing::kNeedsRoot;
  testing::ShellRig rig;
  rig.configCategories = BuildConfigCategories;
  rig.chooseFile = [&disk](QWidget*, bool) { return disk.Path(QStringLiteral("window.txt")); };
  ASSERT_TRUE(rig.Start());
  testing::SimOnPty sim;  // the command line's own device (the window holds the other)

  const struct {
    const char* file;
    std::function<QString(const QString& path)> write;  // what the user is told
  } writers[] = {
      {"dump.txt",
       [&rig, &sim](const QString& path) {
         CommandEnvironment environment;
         environment.currentDirectory = rig.dir.path();
         environment.timing = testing::FastTiming();
         QString out, err;
         QTextStream o(&out), e(&err);
         const int status = RunCommand(
             ParseCommandLine({"--dump", path, "--device", sim.LinkPath()}), environment, o, e);
         return QStringLiteral("%1 %2").arg(status).arg(err);
       }},
      {"setutily.ini",
       [](const QString& path) {
         QString error;
         ProfileFile(path).WriteString(QStringLiteral("OPTION"), QStringLiteral("DATA1"),
                                       QStringLiteral("secret"), &error);
         return error;
       }},
      {"window.txt",
       [&rig](const QString&) {
         for (QAction* action : rig.window->findChildren<QAction*>()) {
           if (action->text() == QStringLiteral("設定のバックアップ…")) action->trigger();
         }
         return rig.messages.Texts().value(rig.messages.Texts().size() - 1);
       }},
  };
  const QByteArray old = "[OPTION]\nDATA1=old\n; " + QByteArray(3000, 'o') + "\n";
  const auto bytes = [&disk](const char* name) {
    QFile file(disk.Path(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  };
  for (const auto& writer : writers) {
    QFile file(disk.Path(QLatin1String(writer.file)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
  }
  disk.Fill();
  for (const auto& writer : writers) {
    SCOPED_TRACE(writer.file);
    const QString told = writer.write(disk.Path(QLatin1String(writer.file)));
    EXPECT_TRUE(told.contains(QStringLiteral("空き容量がありません"))) << told.toStdString();
    EXPECT_EQ(bytes(writer.file), old);
  }
  const QStringList left = QDir(disk.Path(QString())).entryList(QDir::Files | QDir::Hidden);
  EXPECT_EQ(left.size(), 4) << left.join(' ').toStdString();  // no temporary file is left
}

}  // namespace
}  // namespace setutily
