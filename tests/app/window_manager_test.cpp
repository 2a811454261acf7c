// The main window under a real window manager: its frame, title bar
// included, starts at the screen's top-left corner. The test starts a
// virtual X server and openbox, a light window manager, which runs this test
// again on that display; it is skipped where either program is missing.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>

#include "app/main_dialog.h"
#include "support/ui_helpers.h"

namespace setutily {
namespace {

constexpr char kTestName[] = "WindowManager.MainWindowFrameStartsAtTheScreenCorner";

// On the X display: show the main window and look at where the frame went.
void CheckFrameOnThisDisplay() {
  testing::RecordingMessages messages;
  testing::RecordingHelp help;
  MainDialog window(
      MainDialogSetup(QDir(QDir::tempPath()).filePath("setutily.ini"), messages, help));
  window.show();
  // The frame is known once the window manager has decorated the window.
  ASSERT_TRUE(testing::WaitUntil(
      [&] { return window.frameGeometry().top() < window.geometry().top(); }, 10000))
      << "the window manager did not frame the window";
  const QRect area = window.screen()->availableGeometry();
  testing::WaitUntil([&] { return window.frameGeometry().topLeft() == area.topLeft(); }, 2000);
  EXPECT_EQ(window.frameGeometry().topLeft(), area.topLeft());
  EXPECT_GT(window.geometry().top(), area.top());  // the title bar is on screen
}

struct Program {
  QProcess process;
  ~Program() {
    if (process.state() == QProcess::NotRunning) return;
    process.terminate();
    if (!process.waitForFinished(3000)) process.kill();
    process.waitForFinished(3000);
  }
};

TEST(WindowManager, MainWindowFrameStartsAtTheScreenCorner) {
  if (QGuiApplication::platformName() == QLatin1String("xcb")) {
    CheckFrameOnThisDisplay();
    return;
  }
  const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
  const QString manager = QStandardPaths::findExecutable(QStringLiteral("openbox"));
  if (xvfb.isEmpty() || manager.isEmpty()) GTEST_SKIP() << "needs Xvfb and openbox";

  // The server picks a free display and writes its number to standard output.
  Program server;
  server.process.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"),
                              QStringLiteral("-screen"), QStringLiteral("0"),
                              QStringLiteral("1366x768x24"), QStringLiteral("-nolisten"),
                              QStringLiteral("tcp")});
  ASSERT_TRUE(server.process.waitForReadyRead(10000)) << "Xvfb did not start";
  const QString display = QLatin1Char(':') + QString::fromLatin1(server.process.readLine().trimmed());

  // The window manager starts the check once it manages the screen; the
  // check's output comes through the manager's.
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("DISPLAY"), display);
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  Program windowManager;
  windowManager.process.setProcessEnvironment(environment);
  windowManager.process.setProcessChannelMode(QProcess::MergedChannels);
  windowManager.process.start(
      manager, {QStringLiteral("--startup"),
                QStringLiteral("'%1' --gtest_filter=%2")
                    .arg(QCoreApplication::applicationFilePath(), QLatin1String(kTestName))});
  QString output;
  while (!output.contains(QStringLiteral(" ran.")) &&
         windowManager.process.waitForReadyRead(30000)) {
    output += QString::fromLocal8Bit(windowManager.process.readAll());
  }
  EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}

}  // namespace
}  // namespace setutily
