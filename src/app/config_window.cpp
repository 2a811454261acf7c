#include "app/config_window.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/whole_file.h"
#include "forms/busy_box.h"
#include "forms/form_parts.h"
#include "forms/messages.h"
#include "forms/session.h"
#include "settings/config_file.h"

namespace setutily {

namespace {

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

// Reads every category under the busy box, which names the category.
bool ReadDevice(ConfigWindowRun& run) {
  std::string failed;
  const int read = RunBusyWith(run.window, [&run, &failed](BusyBox& box) {
    return ReadConfig(run.session, run.categories,
                      [&box](int index, int count, const std::string& title) {
                        box.SetText(QStringLiteral("%1を読んでいます… (%2/%3)")
                                        .arg(Utf8(title)).arg(index + 1).arg(count));
                      },
                      &failed);
  });
  if (read == 1) return true;
  run.messages.Show(run.window,
                    QStringLiteral("%1の読込みに失敗しました。").arg(Utf8(failed)),
                    MessageIcon::kError);
  return false;
}

// The file's text, or a message and false.
bool LoadFile(ConfigWindowRun& run, const QString& path, QByteArray& text) {
  QString why;
  if (!ReadWholeFile(path, kConfigFileLimit, text, why)) {
    run.messages.Show(run.window, QStringLiteral("ファイルを読めません（%1）。\r\n%2").arg(why, path),
                      MessageIcon::kError);
    return false;
  }
  return true;
}

// Checks the file first (a bad file sends nothing, not even a read; a file
// of another model or firmware is taken only when the user says so), then
// reads the device and takes the file into the working copies.
bool TakeFile(ConfigWindowRun& run, const QString& path) {
  QByteArray text;
  if (!LoadFile(run, path, text)) return false;
  const std::string_view commands(text.constData(), static_cast<std::size_t>(text.size()));
  ConfigCheckOptions options;
  ConfigError error;
  bool usable = CheckConfig(run.categories, commands, options, error);
  if (!usable && error.otherDevice) {
    if (!run.messages.AskOkCancel(
            run.window, QStringLiteral("%1。\r\nこのファイルを使いますか？").arg(Utf8(error.reason)),
            DefaultAnswer::kCancel)) {
      return false;
    }
    options.anyModel = true;
    usable = CheckConfig(run.categories, commands, options, error);
  }
  if (!usable) {
    run.messages.Show(run.window,
                      QStringLiteral("設定ファイルを使えません。\r\n%1。\r\n何も送信していません。")
                          .arg(Utf8(ConfigErrorText(error))),
                      MessageIcon::kError);
    return false;
  }
  if (!ReadDevice(run)) return false;
  return TakeConfig(run.session, run.categories, commands, error);
}

// A window listing commands.
void ShowCommands(QWidget* parent, const QString& title, const QString& head,
                  const std::vector<std::string>& commands) {
  QDialog box(parent);
  box.setWindowTitle(title);
  auto* layout = new QVBoxLayout(&box);
  layout->addWidget(new QLabel(head, &box));
  auto* list = new QPlainTextEdit(&box);
  list->setObjectName(QStringLiteral("commands"));
  list->setAccessibleName(head);
  list->setReadOnly(true);
  QString text;
  for (const std::string& command : commands) text += FromDevice(command) + u'\n';
  list->setPlainText(text);
  list->setMinimumSize(520, 240);
  layout->addWidget(list);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  layout->addWidget(buttons);
  box.exec();
}

}  // namespace

void SaveConfigurationFile(ConfigWindowRun& run) {
  const QString path = run.chooseFile(run.window, true);
  if (path.isEmpty()) return;
  // A place that cannot take the file is told before the device is read.
  if (const QString why = WriteProblem(path); !why.isEmpty()) {
    run.messages.Show(run.window, QStringLiteral("ファイルに書き込めません（%1）。\r\n%2").arg(why, path),
                      MessageIcon::kError);
    return;
  }
  if (!ReadDevice(run)) return;
  const ConfigHeader header{"MORIVEX-9", run.identity.firmwareVersion, run.identity.macAddress,
                            run.now.toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString()};
  const std::string text = ConfigText(run.session, run.categories, header);
  QString why;
  if (!WriteWholeFile(path, QByteArray::fromStdString(text), why)) {
    run.messages.Show(run.window,
                      QStringLiteral("ファイルに書き込めません（%1）。\r\n"
                                     "元のファイルはそのままです。\r\n%2")
                          .arg(why, path),
                      MessageIcon::kError);
    return;
  }
  run.messages.Show(run.window, QStringLiteral("設定を保存しました。\r\n%1").arg(path),
                    MessageIcon::kInformation);
}

void CompareConfigurationFile(ConfigWindowRun& run) {
  const QString path = run.chooseFile(run.window, false);
  if (path.isEmpty() || !TakeFile(run, path)) return;
  const std::vector<std::string> commands = PendingConfig(run.session, run.categories);
  if (commands.empty()) {
    run.messages.Show(run.window, QStringLiteral("機器の設定はファイルと同じです。"),
                      MessageIcon::kInformation);
    return;
  }
  ShowCommands(run.window, QStringLiteral("設定の比較"),
               QStringLiteral("復元すると次の%1個のコマンドを送信します。").arg(commands.size()),
               commands);
}

void RestoreConfigurationFile(ConfigWindowRun& run) {
  const QString path = run.chooseFile(run.window, false);
  if (path.isEmpty() || !TakeFile(run, path)) return;
  const std::size_t count = PendingConfig(run.session, run.categories).size();
  if (count == 0) {
    run.messages.Show(run.window, QStringLiteral("機器の設定はファイルと同じです。"),
                      MessageIcon::kInformation);
    return;
  }
  if (!run.messages.AskOkCancel(run.window,
                                QStringLiteral("%1個のコマンドを送信して設定を復元します。\r\n"
                                               "よろしいですか？")
                                    .arg(count))) {
    return;
  }
  ApplyResult result;
  RunBusyWith(run.window, [&run, &result](BusyBox& box) {
    result = ApplyConfig(run.session, run.categories,
                         [&box](int, int, const std::string& title) {
                           box.SetText(QStringLiteral("%1を書き込んでいます…").arg(Utf8(title)));
                         });
    return result.ok ? 1 : 0;
  });
  RunState& state = run.session.state;
  if (!result.ok) {
    // What was sent is on the device; the store at exit keeps it.
    if (result.sent > 0) ++state.pendingChangeCount;
    run.messages.Show(run.window,
                      QStringLiteral("%1の書込みに失敗しました。%2個のコマンドを送信済みです。")
                          .arg(Utf8(result.failedTitle)).arg(result.sent),
                      MessageIcon::kError);
    return;
  }
  // The device keeps what was restored at once (a new router address makes
  // it store and restart by itself).
  if (!state.rebootOnClose &&
      RunBusy(run.window, [&run] { return StoreSettings(run.session); },
              QStringLiteral("設定を保存しています…")) == 0) {
    ++state.pendingChangeCount;  // tried again at exit
    run.messages.Show(run.window, QString::fromUtf16(kWriteFailedText), MessageIcon::kError);
    return;
  }
  run.messages.Show(run.window,
                    QStringLiteral("設定を復元しました（%1個のコマンド）。").arg(result.sent),
                    MessageIcon::kInformation);
}

QString ChooseConfigurationFile(QWidget* parent, bool forSaving) {
  const QString filter = QStringLiteral("設定ファイル (*.txt *.conf);;すべてのファイル (*)");
  return forSaving ? QFileDialog::getSaveFileName(parent, QStringLiteral("設定の保存"),
                                                  QStringLiteral("morivex9.txt"), filter)
                   : QFileDialog::getOpenFileName(parent, QStringLiteral("設定ファイルを開く"),
                                                  QString(), filter);
}

}  // namespace setutily
