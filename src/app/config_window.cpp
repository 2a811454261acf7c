#include "app/config_window.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/compare_rows.h"
#include "app/whole_file.h"
#include "forms/busy_box.h"
#include "forms/form_parts.h"
#include "forms/messages.h"
#include "forms/session.h"
#include "settings/config_file.h"
#include "text/encoding.h"

namespace setutily {

namespace {

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

// Reads every category under the busy box, which names the category.
bool ReadDevice(ConfigWindowRun& run) {
  std::string failed;
  run.session.readFailure = {};
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
                    QStringLiteral("%1の読込みに失敗しました。\r\n%2")
                        .arg(Utf8(failed), Utf8(ReadFailureText(run.session.readFailure))),
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
// reads the device and takes the file into the working copies (lines: its
// command lines as taken).
bool TakeFile(ConfigWindowRun& run, const QString& path, std::vector<ConfigLine>* lines = nullptr) {
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
  return TakeConfig(run.session, run.categories, commands, error, ConfigRules::kWholeRecords,
                    lines);
}

// The group marked to be sent last (a new router address: the device
// restarts) when a restore would send something for it.
const ConfigGroup* RestartingGroup(ConfigWindowRun& run) {
  std::vector<std::string> commands;
  for (const ConfigCategory& category : run.categories) {
    for (const ConfigGroup& group : category.groups) {
      if (!group.last) continue;
      commands.clear();
      group.pending(run.session, commands);
      if (!commands.empty()) return &group;
    }
  }
  return nullptr;
}

std::vector<CompareRow> Rows(ConfigWindowRun& run) {
  return CompareRows(run.session, run.categories,
                     run.differences ? run.differences() : DifferenceList{});
}

}  // namespace

void ShowCompareView(QWidget* parent, const std::vector<CompareRow>& rows) {
  MakeCompareView(parent, rows)->exec();
}

std::unique_ptr<QDialog> MakeCompareView(QWidget* parent, const std::vector<CompareRow>& rows) {
  auto dialog = std::make_unique<QDialog>(parent);
  QDialog& box = *dialog;
  box.setObjectName(QStringLiteral("CompareView"));
  box.setWindowTitle(QStringLiteral("バックアップとの比較"));
  box.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  auto* layout = new QVBoxLayout(&box);
  int commands = 0;
  for (const CompareRow& row : rows) commands += static_cast<int>(row.commands.size());
  auto* head = new QLabel(QStringLiteral("本体の設定とファイルの設定で、次の%1項目が異なります。"
                                         "復元すると%2個のコマンドを送信します。")
                              .arg(rows.size()).arg(commands),
                          &box);
  head->setWordWrap(true);
  layout->addWidget(head);
  auto* table = new QTreeWidget(&box);
  table->setObjectName(QStringLiteral("differences"));
  table->setAccessibleName(QStringLiteral("異なる設定"));
  table->setHeaderLabels({QStringLiteral("画面"), QStringLiteral("項目"),
                          QStringLiteral("本体の値"), QStringLiteral("ファイルの値")});
  table->setRootIsDecorated(true);
  table->setUniformRowHeights(false);
  table->setAlternatingRowColors(true);
  for (const CompareRow& row : rows) {
    auto* item = new QTreeWidgetItem(table, {row.form, row.caption, row.device, row.file});
    for (int column = 0; column < 4; ++column) item->setToolTip(column, item->text(column));
    // The commands as a detail, under the row.
    for (const QString& command : row.commands) {
      auto* detail = new QTreeWidgetItem(item, {QStringLiteral("コマンド: ") + command});
      detail->setFirstColumnSpanned(true);
    }
  }
  for (int column = 0; column < 4; ++column) table->resizeColumnToContents(column);
  layout->addWidget(table, 1);
  auto* showCommands = new QCheckBox(QStringLiteral("送信するコマンドも表示する"), &box);
  showCommands->setObjectName(QStringLiteral("showCommands"));
  QObject::connect(showCommands, &QCheckBox::toggled, table, [table](bool on) {
    if (on) {
      table->expandAll();
    } else {
      table->collapseAll();
    }
  });
  layout->addWidget(showCommands);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &box);
  buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("閉じる"));
  buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("2"));
  QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
  layout->addWidget(buttons);
  // Wide enough for the columns, within the screen.
  QSize wanted(table->header()->length() + 48, 420);
  if (const QScreen* screen = box.screen()) {
    wanted = wanted.boundedTo(screen->availableGeometry().size() - QSize(40, 80));
  }
  box.resize(wanted.expandedTo(QSize(560, 300)));
  return dialog;
}

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
  const ConfigHeader header =
      run.header ? run.header()
                 : ConfigHeader{"MORIVEX-9", DeviceToUtf8(run.identity.firmwareVersion),
                                DeviceToUtf8(run.identity.macAddress)};
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
  run.messages.Show(run.window, QStringLiteral("設定のバックアップを作成しました。\r\n%1").arg(path),
                    MessageIcon::kInformation);
}

void CompareConfigurationFile(ConfigWindowRun& run) {
  const QString path = run.chooseFile(run.window, false);
  if (path.isEmpty() || !TakeFile(run, path)) return;
  const std::vector<CompareRow> rows = Rows(run);
  if (rows.empty()) {
    run.messages.Show(run.window, QStringLiteral("機器の設定はファイルと同じです。"),
                      MessageIcon::kInformation);
    return;
  }
  ShowCompareView(run.window, rows);
}

void RestoreConfigurationFile(ConfigWindowRun& run) {
  const QString path = run.chooseFile(run.window, false);
  std::vector<ConfigLine> lines;
  if (path.isEmpty() || !TakeFile(run, path, &lines)) return;
  const std::size_t count = PendingConfig(run.session, run.categories).size();
  if (count == 0) {
    run.messages.Show(run.window, QStringLiteral("機器の設定はファイルと同じです。"),
                      MessageIcon::kInformation);
    return;
  }
  // A new router address makes the device restart, which ends the run: the
  // question says so and starts on "キャンセル", as the router form's does.
  const ConfigGroup* restarting = RestartingGroup(run);
  QString question = QStringLiteral("%1個のコマンドを送信して設定を復元します。\r\n").arg(count);
  if (restarting != nullptr) {
    question += QStringLiteral("%1が変更されます。\r\n"
                               "復元後、MORIVEX-9をリブートし設定ユーティリティを終了します。\r\n")
                    .arg(Utf8(restarting->title));
  }
  question += QStringLiteral("よろしいですか？");
  if (!run.messages.AskOkCancel(run.window, question,
                                restarting != nullptr ? DefaultAnswer::kCancel
                                                      : DefaultAnswer::kOk)) {
    return;
  }
  ApplyResult result;
  RunBusyWith(run.window, [&run, &result, &lines](BusyBox& box) {
    result = ApplyConfig(run.session, run.categories,
                         [&box](int, int, const std::string& title) {
                           box.SetText(QStringLiteral("%1を書き込んでいます…").arg(Utf8(title)));
                         },
                         lines);
    return result.ok ? 1 : 0;
  });
  RunState& state = run.session.state;
  if (!result.AllTaken()) {
    // Nothing is stored unless every setting sent is on the device; what
    // it took stays until it restarts.
    QStringList told;
    if (!result.ok) told << Utf8(ApplyFailureText(result));
    // A box as tall as the screen at most.
    constexpr std::size_t kLinesTold = 20;
    for (std::size_t i = 0; i < result.refused.size() && i < kLinesTold; ++i) {
      told << Utf8(RefusedLineText(result.refused[i]));
    }
    if (result.refused.size() > kLinesTold) {
      told << QStringLiteral("ほか%1個の設定も受け付けられませんでした。")
                  .arg(result.refused.size() - kLinesTold);
    }
    told << QStringLiteral("設定は保存していません（MORIVEX-9を再起動すると元の設定に戻ります）。");
    run.messages.Show(run.window, told.join(QStringLiteral("\r\n")), MessageIcon::kError);
    return;
  }
  // The device keeps what was restored at once (a new router address makes
  // it store and restart by itself).
  if (!state.rebootOnClose &&
      RunBusy(run.window, [&run] { return StoreSettings(run.session); },
              QStringLiteral("設定を保存しています…")) == 0) {
    ++state.pendingChangeCount;  // tried again at exit
    run.messages.Show(run.window,
                      QString::fromUtf8(kStoreUnconfirmed.data(), std::ssize(kStoreUnconfirmed)) +
                          QStringLiteral("\r\n終了するときにもう一度保存します。"),
                      MessageIcon::kError);
    return;
  }
  run.messages.Show(run.window,
                    QStringLiteral("設定を復元しました（%1個のコマンド）。").arg(result.sent),
                    MessageIcon::kInformation);
}

QString ChooseConfigurationFile(QWidget* parent, bool forSaving) {
  const QString filter = QStringLiteral("設定ファイル (*.txt *.conf);;すべてのファイル (*)");
  return forSaving ? QFileDialog::getSaveFileName(parent, QStringLiteral("設定のバックアップ"),
                                                  QStringLiteral("morivex9.txt"), filter)
                   : QFileDialog::getOpenFileName(parent, QStringLiteral("バックアップファイルを開く"),
                                                  QString(), filter);
}

}  // namespace setutily
