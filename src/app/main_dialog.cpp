#include "app/main_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "forms/busy_box.h"
#include "app/config_window.h"
#include "app/connection_dialog.h"
#include "forms/form.h"
#include "forms/help.h"
#include "forms/form_parts.h"
#include "forms/messages.h"
#include "app/version_box.h"
#include "forms/category_menu.h"
#include "settings/config_file.h"
#include "text/encoding.h"

namespace setutily {

namespace {

// The category buttons in the window's order: resource id and caption.
struct ButtonInfo {
  int id;
  const char16_t* caption;
};
constexpr ButtonInfo kHomePnaButtons[] = {{1001, u"簡単設定"}, {1538, u"詳細設定"}};
constexpr ButtonInfo kCategoryButtons[] = {
    {1539, u"アナログ設定"}, {1540, u"デジタル設定"}, {1541, u"着信制御設定"}, {1087, u"短縮番号設定"}};

constexpr int kResetId = 32771;
constexpr int kClockId = 32777;
constexpr int kHelpId = 32774;
constexpr int kVersionId = 32773;

const char16_t kWrongDevice[] = u"MORIVEX-9が接続されていません。";
const char16_t kStoring[] = u"設定を本体に保存しています…";

// A one-line label that takes no width of its own: it shows as much of its
// text as the layout gives it room for, cut in the middle.
class ElidedLabel : public QLabel {
 public:
  explicit ElidedLabel(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setMinimumHeight(fontMetrics().height());
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width()));
  }
};

// Waits ms milliseconds with the event loop running.
void Pause(int ms) {
  if (ms <= 0) return;
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace

// Marks a command as running: the buttons and maintenance commands are
// disabled meanwhile, and close requests wait until it has ended.
class MainDialog::Operation {
 public:
  explicit Operation(MainDialog& dialog) : dialog_(dialog) {
    ++dialog_.operations_;
    dialog_.UpdateCommandStates();
  }
  ~Operation() {
    --dialog_.operations_;
    dialog_.UpdateCommandStates();
    dialog_.ScheduleIdleWork();
  }
  Operation(const Operation&) = delete;
  Operation& operator=(const Operation&) = delete;

 private:
  MainDialog& dialog_;
};

MainDialog::MainDialog(MainDialogSetup setup, QWidget* parent)
    : QDialog(parent),
      setup_(std::move(setup)),
      profile_(setup_.profilePath),
      session_(exchange_, setup_.messages, setup_.help) {
  setWindowTitle(QStringLiteral("MORIVEX-9 設定ユーティリティ"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  session_.timing = setup_.timing;
  BuildWindow();
  session_.appendLog = [this](const QString& text) { AppendLog(text); };
  if (setup_.categories) categories_ = setup_.categories(session_);
  for (const CategoryLaunch& category : categories_) {
    QPushButton* button = categoryButtons_.value(category.buttonId);
    if (button == nullptr) continue;
    connect(button, &QPushButton::clicked, this, [this, &category] { Launch(category); });
  }
  connect(&exchange_, &CommandExchange::BusyChanged, this, [this](bool) {
    UpdateCommandStates();
    ScheduleIdleWork();
  });
  connect(&serial_, &ByteTransport::LinkLost, this, &MainDialog::OnLinkLost);

  // Without debug mode the log pane stays hidden and the window is only as
  // tall as its buttons.
  debugMode_ = DebugModeOn(profile_);
  logGroup_->setVisible(debugMode_);
  UpdateCommandStates();
  if (const QScreen* screen = this->screen()) move(screen->availableGeometry().topLeft());
}

MainDialog::~MainDialog() {
  exchange_.SetTransport(nullptr);
  network_.reset();
}

void MainDialog::BuildWindow() {
  auto* outer = new QVBoxLayout(this);
  outer->setSizeConstraint(QLayout::SetFixedSize);
  BuildMenu();
  outer->setMenuBar(findChild<QMenuBar*>());

  auto makeButton = [](int id, const char16_t* caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf16(caption), parent);
    button->setObjectName(QString::number(id));
    button->setAutoDefault(true);  // Enter presses the focused button
    button->setMinimumSize(150, 34);
    return button;
  };

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(12);
  grid->setVerticalSpacing(10);
  auto* homePna = new QGroupBox(QStringLiteral("ＨｏｍｅＰＮＡ設定"), this);
  auto* homePnaLayout = new QHBoxLayout(homePna);
  homePnaLayout->setSpacing(12);
  for (const auto& info : kHomePnaButtons) {
    QPushButton* button = makeButton(info.id, info.caption, homePna);
    homePnaLayout->addWidget(button);
    categoryButtons_.insert(info.id, button);
  }
  grid->addWidget(homePna, 0, 0, 1, 2);
  int index = 0;
  for (const auto& info : kCategoryButtons) {
    QPushButton* button = makeButton(info.id, info.caption, this);
    grid->addWidget(button, 1 + index / 2, index % 2);
    categoryButtons_.insert(info.id, button);
    ++index;
  }
  QPushButton* quit = makeButton(1590, u"終了", this);
  grid->addWidget(quit, 3, 1);
  grid->setContentsMargins(6, 0, 6, 6);
  outer->addLayout(grid);
  connect(quit, &QPushButton::clicked, this, &MainDialog::RequestClose);

  logGroup_ = new QGroupBox(QStringLiteral("デバック"), this);
  auto* logLayout = new QVBoxLayout(logGroup_);
  logPane_ = new QPlainTextEdit(logGroup_);
  logPane_->setObjectName(QStringLiteral("1091"));
  logPane_->setReadOnly(true);
  logPane_->setLineWrapMode(QPlainTextEdit::NoWrap);
  logPane_->setMaximumBlockCount(kLogLines);
  logPane_->setFixedHeight(160);
  logLayout->addWidget(logPane_);
  outer->addWidget(logGroup_);

  // The status line: the link above, the changes still to be stored below,
  // both cut to the window's width (which the buttons set), so the window
  // keeps its size whatever they say.
  auto* status = new QStatusBar(this);
  status->setObjectName(QStringLiteral("StatusLine"));
  status->setSizeGripEnabled(false);
  auto* lines = new QWidget(status);
  auto* linesLayout = new QVBoxLayout(lines);
  linesLayout->setContentsMargins(0, 0, 0, 0);
  linesLayout->setSpacing(0);
  linkStatus_ = new ElidedLabel(lines);
  linkStatus_->setObjectName(QStringLiteral("StatusLink"));
  linkStatus_->setAccessibleName(QStringLiteral("接続"));
  pendingStatus_ = new ElidedLabel(lines);
  pendingStatus_->setObjectName(QStringLiteral("StatusPending"));
  pendingStatus_->setAccessibleName(QStringLiteral("本体に保存していない変更"));
  linesLayout->addWidget(linkStatus_);
  linesLayout->addWidget(pendingStatus_);
  status->addWidget(lines, 1);
  outer->addWidget(status);
  AssignAccessibleNames(this);
}

void MainDialog::BuildMenu() {
  auto* bar = new QMenuBar(this);
  auto addAction = [this](QAction* action, int id, auto slot) {
    action->setObjectName(QString::number(id));
    connect(action, &QAction::triggered, this, slot);
    return action;
  };
  QMenu* file = bar->addMenu(QStringLiteral("ﾌｧｲﾙ"));
  resetAction_ = addAction(file->addAction(QStringLiteral("初期化")), kResetId,
                           &MainDialog::FactoryReset);
  file->addSeparator();
  for (auto [caption, slot] :
       {std::pair{u"設定のバックアップ…", &MainDialog::SaveConfiguration},
        std::pair{u"バックアップとの比較…", &MainDialog::CompareConfiguration},
        std::pair{u"バックアップからの復元…", &MainDialog::RestoreConfiguration}}) {
    QAction* action = file->addAction(QString::fromUtf16(caption));
    connect(action, &QAction::triggered, this, slot);
    configActions_ << action;
  }
  clockAction_ = addAction(bar->addAction(QStringLiteral("日時設定")), kClockId,
                           &MainDialog::SetDeviceClock);
  QMenu* help = bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ"));
  addAction(help->addAction(QStringLiteral("ﾍﾙﾌﾟ")), kHelpId, &MainDialog::ShowHelp);
  addAction(help->addAction(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報")), kVersionId,
            &MainDialog::ShowVersionBox);
}

// ---------------------------------------------------------------- start-up

bool MainDialog::Start() {
  session_.state.connectionState = ConnectionState::kNone;
  if (const auto problem = profile_.Check(); problem != ProfileFile::Problem::kNone) {
    // Told before the dialog shows the defaults in place of the file's values.
    setup_.messages.Show(this,
                         ProfileFile::ProblemText(problem) +
                             QStringLiteral("\r\n接続設定は既定の値で表示します。"),
                         MessageIcon::kWarning);
  }
  return Connect();
}

bool MainDialog::Connect() {
  // One dialog for every attempt: after a failure it shows the user's
  // choices again, to be corrected.
  ConnectionPortDialog dialog(profile_, setup_.messages, this, setup_.serialPorts);
  for (;;) {
    if (dialog.exec() != QDialog::Accepted) return Fail(QString());
    const QString problem = OpenLink(dialog.Settings());
    if (problem.isEmpty()) break;
    if (endingBySignal_) return Fail(QString());
    setup_.messages.Show(this, problem, MessageIcon::kError);
    // An identified device leaves its command line as at exit.
    LeaveDevice();
    DropLink();
  }
  UpdateCommandStates();
  return true;
}

bool MainDialog::Fail(const QString& message) {
  if (!message.isEmpty() && !endingBySignal_) {
    setup_.messages.Show(this, message, MessageIcon::kError);
  }
  ExitSequence();
  return false;
}

QString MainDialog::OpenLink(const ConnectionSettings& settings) {
  identity_ = DeviceIdentity{};
  session_.state.networkMode = settings.networkMode != 0;
  const QString problem = session_.state.networkMode ? OpenNetwork(settings) : OpenSerial(settings);
  if (!problem.isEmpty()) return problem;
  if (!FirmwareSupported(identity_.firmwareVersion)) {
    return QStringLiteral("ファームウェア %1では、ご使用になれません。\r\n\r\n"
                          "Version 1.00 以降へバージョンアップしてください。")
        .arg(FromDevice(identity_.firmwareVersion));
  }
  return {};
}

QString MainDialog::OpenSerial(const ConnectionSettings& settings) {
  const QString& path = settings.devicePath;
  if (serial_.Open(path) != kSerialOpened) {
    AppendLog(QStringLiteral("COM%1: %2\r\n").arg(settings.portNumber).arg(serial_.LastError()));
    return PortOpenFailureMessage(settings.portNumber, path, serial_.LastFailure(),
                                  serial_.LockHolder());
  }
  exchange_.SetTransport(&serial_);
  IdentifyResult identified = IdentifyResult::kNoAnswer;
  RunBusy(
      this,
      [&] {
        Pause(session_.timing.settleMs);
        identified = IdentifyDevice(exchange_, session_.timing, identity_, session_.replyText);
        return 1;
      },
      QString::fromUtf16(kIdentifyingText));
  switch (identified) {
    case IdentifyResult::kNoAnswer:
      return NotConnectedMessage(settings);
    case IdentifyResult::kWrongDevice:
      return QString::fromUtf16(kWrongDevice);
    case IdentifyResult::kIdentified:
      break;
  }
  AppendLog(QStringLiteral("com open\r\n"));
  session_.state.connectionState = ConnectionState::kLinkOpen;
  linkDescription_ = LinkDescription(settings, path);
  return {};
}

QString MainDialog::OpenNetwork(const ConnectionSettings& settings) {
  NetworkOpenResult result;
  if (setup_.openNetwork) {
    result = setup_.openNetwork(NetworkOpenRequest{
        settings, profile_, session_, this, [this](const QString& text) { AppendLog(text); }});
  }
  if (result.transport == nullptr) {
    return result.failureMessage.isEmpty() ||
                   result.failureMessage == QString::fromUtf16(kNotConnectedText)
               ? NotConnectedMessage(settings)
               : result.failureMessage;
  }
  network_ = std::move(result.transport);
  exchange_.SetTransport(network_.get());
  connect(network_.get(), &ByteTransport::LinkLost, this, &MainDialog::OnLinkLost);
  session_.state.connectionState = ConnectionState::kLoggedIn;
  linkDescription_ = LinkDescription(settings, QString());
  return {};
}

// ---------------------------------------------------------------- log

void MainDialog::AppendLog(const QString& text) {
  logText_ += text;
  ++appendCount_;
  // The text keeps the latest lines, as the pane does: once it holds twice
  // the pane's lines (or characters enough for them), the older half goes.
  logLines_ += text.count(u'\n');
  if (logLines_ > 2 * kLogLines || logText_.size() > 2 * kLogCharacters) {
    qsizetype cut = 0;
    for (int excess = logLines_ - kLogLines; excess > 0; --excess) {
      cut = logText_.indexOf(u'\n', cut) + 1;
    }
    if (logText_.size() - cut > kLogCharacters) {
      // Too many characters even so: cut at the first line that starts
      // within the last kLogCharacters (or mid-line when there is none).
      cut = logText_.size() - kLogCharacters;
      const qsizetype next = logText_.indexOf(u'\n', cut - 1);
      if (next >= 0 && next + 1 < logText_.size()) cut = next + 1;
    }
    logText_.remove(0, cut);
    logLines_ = static_cast<int>(logText_.count(u'\n'));
  }
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  logPane_->moveCursor(QTextCursor::End);
  logPane_->insertPlainText(shown);
  logPane_->verticalScrollBar()->setValue(logPane_->verticalScrollBar()->maximum());
}

// ---------------------------------------------------------------- state

bool MainDialog::LinkOpen() const {
  return exchange_.Transport() != nullptr && exchange_.Transport()->IsOpen();
}

bool MainDialog::Connected() const {
  const RunState& state = session_.state;
  const ConnectionState wanted =
      state.networkMode ? ConnectionState::kLoggedIn : ConnectionState::kLinkOpen;
  const bool ready = state.connectionState == wanted;
  return ready && LinkOpen();
}

bool MainDialog::Idle() const { return operations_ == 0 && !exchange_.IsBusy(); }

void MainDialog::UpdateCommandStates() {
  const bool ready = Connected() && Idle() && !exitStarted_;
  for (auto it = categoryButtons_.cbegin(); it != categoryButtons_.cend(); ++it) {
    bool built = false;
    for (const auto& category : categories_) built = built || category.buttonId == it.key();
    it.value()->setEnabled(ready && built);
  }
  resetAction_->setEnabled(ready);
  clockAction_->setEnabled(ready);
  for (QAction* action : configActions_) {
    action->setEnabled(ready && static_cast<bool>(setup_.configCategories));
  }
  // A disabled button says why.
  QString why;
  if (!Connected()) {
    why = QStringLiteral("機器が接続されていないため使用できません。");
  } else if (!ready) {
    why = QStringLiteral("処理中です。しばらくお待ちください。");
  }
  for (QPushButton* button : categoryButtons_) button->setToolTip(why);
  RefreshStatusLine();
}

QString MainDialog::StatusLinkText() const { return linkStatus_->text(); }
QString MainDialog::StatusPendingText() const { return pendingStatus_->text(); }

void MainDialog::RefreshStatusLine() {
  linkStatus_->setText(LinkOpen() && !linkDescription_.isEmpty() ? linkDescription_
                                                                 : QStringLiteral("未接続"));
  const int pending = session_.state.pendingChangeCount;
  pendingStatus_->setText(pending > 0 ? QStringLiteral("本体に保存していない変更: %1").arg(pending)
                                      : QString());
  // A long device path is cut short in the line and shown whole in the
  // tooltip.
  linkStatus_->setToolTip(linkStatus_->text());
}

void MainDialog::OnLinkLost() {
  // A link closed on purpose (or already given up) tells nothing.
  if (exitStarted_ || session_.state.connectionState == ConnectionState::kNone) return;
  AppendLog(QStringLiteral("link lost\r\n"));
  linkLostNotice_ = true;
  UpdateCommandStates();
  ScheduleIdleWork();
}

QString MainDialog::LinkLostMessage() const {
  QString text = QStringLiteral("MORIVEX-9との接続が切れました。");
  if (!linkDescription_.isEmpty()) text += QStringLiteral("（%1）").arg(linkDescription_);
  const int pending = session_.state.pendingChangeCount;
  if (pending > 0) {
    text += QStringLiteral(
                "\r\n登録した変更 %1 件は本体に送りましたが、まだ本体に保存していません。"
                "\r\n接続し直して終了すると保存します（MORIVEX-9の電源を切ると失われます）。")
                .arg(pending);
  }
  return text;
}

// ---------------------------------------------------------------- closing

void MainDialog::RequestClose() {
  if (exitStarted_) return;
  closeRequested_ = true;
  ScheduleIdleWork();
}

namespace {
// How often a run ending by signal looks for a modal window to close.
constexpr int kModalCloseMs = 50;
}  // namespace

void MainDialog::EndBySignal() {
  if (exitStarted_ || endingBySignal_) return;
  endingBySignal_ = true;
  AppendLog(QStringLiteral("signal: closing without storing\r\n"));
  exchange_.Hold(true);
  // Whatever modal window the running command opens (a form, a menu, a
  // question, a message) is closed as if cancelled, until the run is over.
  auto* closer = new QTimer(this);
  connect(closer, &QTimer::timeout, this, [this] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != this) modal->close();
  });
  closer->start(kModalCloseMs);
  RequestClose();
}

void MainDialog::ScheduleIdleWork() {
  if ((!closeRequested_ && !linkLostNotice_) || exitStarted_ || !Idle()) return;
  // Posted, so the command or event that asked for it finishes first.
  QTimer::singleShot(0, this, &MainDialog::RunIdleWork);
}

void MainDialog::RunIdleWork() {
  if (exitStarted_ || !Idle()) return;
  if (linkLostNotice_) {
    linkLostNotice_ = false;
    // A device that restarts (factory reset, new router address) may drop
    // the connection right after its answer; the run is ending anyway.
    if (session_.state.rebootOnClose) {
      DropLink();
    } else {
      Operation operation(*this);
      const QString message = LinkLostMessage();
      DropLink();  // nothing more is sent on it, not even at exit
      if (closeRequested_) {
        setup_.messages.Show(this, message, MessageIcon::kError);
      } else {
        setup_.messages.Show(this,
                             message + QStringLiteral("\r\n\r\n接続ポート設定を開きます。"),
                             MessageIcon::kError);
        // Connected again, the run goes on (what is still to be stored
        // is stored at exit); "終了" there ends it.
        if (!Connect()) return;
      }
    }
  }
  if (closeRequested_ && Idle()) ExitSequence();
}

void MainDialog::closeEvent(QCloseEvent* event) {
  if (exitDone_) {
    event->accept();
    return;
  }
  event->ignore();
  RequestClose();
}

void MainDialog::reject() { RequestClose(); }  // Escape

void MainDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A position given before the window exists places its content; under a
  // window manager the title bar would then be off the screen. On the first
  // show the window exists but is not mapped yet: place the frame instead
  // (with the window's final size, so showing it keeps that placement).
  if (framePlaced_ || windowHandle() == nullptr) return;
  framePlaced_ = true;
  if (const QScreen* screen = this->screen()) {
    windowHandle()->resize(size());
    windowHandle()->setFramePosition(screen->availableGeometry().topLeft());
  }
}

void MainDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    event->accept();
    ShowHelp();
    return;
  }
  QDialog::keyPressEvent(event);
}

int MainDialog::SendLocked(std::string_view command, int timeoutMs, int terminatorType) {
  setEnabled(false);
  const int result = exchange_.SendAndWait(command, &session_.replyText, timeoutMs, terminatorType);
  setEnabled(true);
  return result;
}

void MainDialog::ExitSequence() {
  if (exitStarted_) return;
  exitStarted_ = true;
  closeRequested_ = false;
  {
    Operation operation(*this);
    exchange_.Hold(false);
    LeaveDevice();
    session_.state.rebootOnClose = false;
    CloseLink();
  }
  exitDone_ = true;
  QDialog::done(QDialog::Accepted);
}

void MainDialog::LeaveDevice() {
  RunState& state = session_.state;
  if (state.connectionState == ConnectionState::kNone) return;
  // Make the device keep this run's changes, then leave its command line
  // (over the network the connection simply ends). A run ended by a signal
  // stores nothing.
  if (state.pendingChangeCount != 0 && !endingBySignal_) {
    const int stored = RunBusy(
        this,
        [this] {
          return exchange_.SendAndWait("fromwr 15\r", &session_.replyText,
                                       session_.timing.storeMs, kTerminatorWriteOk);
        },
        QString::fromUtf16(kStoring));
    if (stored == 0) {
      // The device may have stored them and lost only its answer.
      setup_.messages.Show(this, QString::fromUtf8(kStoreUnconfirmed.data(), std::ssize(kStoreUnconfirmed)), MessageIcon::kError);
    } else {
      state.pendingChangeCount = 0;  // the device keeps them now
      RefreshStatusLine();
    }
  }
  if (!state.networkMode && !state.rebootOnClose &&
      SendLocked("exit\r", session_.timing.exitMs, kTerminatorOk) == 0) {
    setup_.messages.Show(this, QStringLiteral("正常に終了できませんでした。"), MessageIcon::kError);
  }
}

void MainDialog::CloseLink() {
  exchange_.SetTransport(nullptr);
  serial_.Close();
  network_.reset();  // a network transport closes its connection when destroyed
}

void MainDialog::DropLink() {
  session_.state.connectionState = ConnectionState::kNone;
  CloseLink();
  linkDescription_.clear();
  UpdateCommandStates();
}

// ---------------------------------------------------------------- commands

void MainDialog::Launch(const CategoryLaunch& category) {
  if (!Idle() || !Connected() || exitStarted_) return;
  // Once the command has ended and the buttons are enabled again, the focus
  // returns to the button that started it.
  struct FocusBack {
    QPointer<QPushButton> button;
    ~FocusBack() {
      if (button != nullptr) button->setFocus();
    }
  } focusBack{categoryButtons_.value(category.buttonId)};
  Operation operation(*this);
  session_.readFailure = {};
  const int read = category.read ? RunBusy(this, category.read) : 0;
  if (read != 1) {
    AppendLog(category.readError);
    // Told whatever the log pane shows; the window is usable again. A lost
    // link, or a run ending, is told on its own.
    if (linkLostNotice_ || !LinkOpen() || endingBySignal_) return;
    const QPushButton* button = categoryButtons_.value(category.buttonId);
    setup_.messages.Show(this,
                         QStringLiteral("%1の読込みに失敗しました。\r\n%2")
                             .arg(button != nullptr ? button->text() : QString(),
                                  QString::fromStdString(ReadFailureText(session_.readFailure)))
                             .trimmed(),
                         MessageIcon::kError);
    return;
  }
  AppendLog(category.readOk);
  AppendLog(category.view);
  const bool confirmed = category.show ? category.show(this) : false;
  if (confirmed && category.write) {
    WriteOutcome outcome;
    RunBusy(this, [&] {
      outcome = category.write();
      return 1;
    });
    TellWriteOutcome(this, session_, outcome, category.writeOk, category.writeError);
  }
  // A write that makes the device restart ends the run.
  if (session_.state.rebootOnClose) RequestClose();
}

void MainDialog::FactoryReset() {
  if (!Idle() || !Connected() || exitStarted_) return;
  Operation operation(*this);
  if (!setup_.messages.AskOkCancel(
          this, QStringLiteral("工場出荷時へ初期化します。\r\n"
                               "初期化後、MORIVEX-9をリブートし設定ユーティリティを終了します。\r\n"
                               "よろしいですか？"),
          DefaultAnswer::kCancel)) {
    return;
  }
  if (SendLocked("restart\r", session_.timing.commandMs, kTerminatorPrompt) == 0) {
    setup_.messages.Show(this, QStringLiteral("初期化に失敗しました。"), MessageIcon::kError);
    return;
  }
  AppendLog(QStringLiteral("init ok\r\n"));
  // The device restarts with factory settings: there is nothing left to
  // store and no command line to leave.
  session_.state.rebootOnClose = true;
  session_.state.pendingChangeCount = 0;
  RequestClose();
}

void MainDialog::SetDeviceClock() {
  if (!Idle() || !Connected() || exitStarted_) return;
  Operation operation(*this);
  if (!setup_.messages.AskOkCancel(
          this, QStringLiteral("パソコンから日時を取得しMORIVEX-9へ登録します。\r\n"
                               "よろしいですか？"))) {
    return;
  }
  const auto commands = ClockCommands(setup_.clock());
  if (SendLocked(commands[0], session_.timing.commandMs, kTerminatorPrompt) == 0) return;
  if (SendLocked(commands[1], session_.timing.commandMs, kTerminatorPrompt) == 0) return;
  SendLocked(commands[2], session_.timing.commandMs, kTerminatorPrompt);
}

void MainDialog::SaveConfiguration() { RunConfiguration(&SaveConfigurationFile); }
void MainDialog::CompareConfiguration() { RunConfiguration(&CompareConfigurationFile); }
void MainDialog::RestoreConfiguration() { RunConfiguration(&RestoreConfigurationFile); }

void MainDialog::RunConfiguration(void (*task)(ConfigWindowRun&)) {
  if (!Idle() || !Connected() || exitStarted_ || !setup_.configCategories) return;
  {
    Operation operation(*this);
    ConfigWindowRun run{this,         session_,
                        setup_.messages, identity_,
                        setup_.configCategories(),
                        setup_.chooseFile ? setup_.chooseFile : ChooseConfigurationFile,
                        {},
                        {}};
    if (setup_.configHeader) {
      run.header = [this] { return setup_.configHeader(session_, identity_); };
    }
    if (setup_.differences) {
      run.differences = [this] { return setup_.differences(session_); };
    }
    task(run);
  }
  // A restored router address makes the device restart: the run ends.
  if (session_.state.rebootOnClose) RequestClose();
}

void MainDialog::ShowHelp() { setup_.help.Show(this, kHelpContext); }

void MainDialog::ShowVersionBox() {
  VersionBox box(FromDevice(identity_.firmwareVersion), FromDevice(identity_.macAddress), this);
  box.exec();
}

}  // namespace setutily
