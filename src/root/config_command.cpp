#include "root/config_command.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>
#include <memory>

#include "app/compare_rows.h"
#include "app/connection.h"
#include "app/file_locations.h"
#include "app/identify.h"
#include "app/network_open.h"
#include "app/profile.h"
#include "app/whole_file.h"
#include "forms/form_parts.h"
#include "forms/help.h"
#include "forms/messages.h"
#include "forms/session.h"
#include "link/serial_link.h"
#include "root/config_categories.h"
#include "root/config_report.h"
#include "root/setting_forms.h"
#include "root/command_line.h"
#include "root/signal_watch.h"
#include "settings/config_file.h"
#include "text/encoding.h"

namespace setutily {

namespace {

// Without a window, messages go to standard error and questions are
// declined; there is no help to show.
class StreamMessages final : public Messages {
 public:
  explicit StreamMessages(QTextStream& err) : err_(err) {}
  void Show(QWidget*, const QString& text, MessageIcon) override {
    QString line = text;
    err_ << "setutily: " << line.replace(QStringLiteral("\r\n"), QStringLiteral(" ")) << '\n';
  }
  bool AskOkCancel(QWidget*, const QString&, DefaultAnswer) override { return false; }

 private:
  QTextStream& err_;
};

class NoHelp final : public HelpViewer {
 public:
  void Show(QWidget*, int) override {}
};

void Pause(int ms) {
  if (ms <= 0) return;
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

// The device's address as --network takes it: an IPv6 address in brackets,
// the port after a colon (none when it is the settings file's or telnet's).
QString HostAndPort(const QString& host, quint16 port) {
  const QString shown = host.contains(u':') ? u'[' + host + u']' : host;
  return port == 0 ? shown : shown + u':' + QString::number(port);
}

// The link to the device, opened from the command line's choice or the
// settings file's, and the device identified (serial) or logged in to
// (network).
class DeviceRun {
 public:
  // profile: the settings file (passwords, the COM ports' devices).
  DeviceRun(const QString& profile, const LinkTiming& timing, QTextStream& err)
      : profile_(profile), messages_(err), session_(exchange_, messages_, help_) {
    session_.timing = timing;
  }
  ~DeviceRun() { Close(); }

  Session& RunSession() { return session_; }
  const DeviceIdentity& Identity() const { return identity_; }
  // Why Open failed.
  const QString& Failure() const { return failure_; }

  // Opens the link the options name (checked by the parser): kExitDone, or
  // kExitUnreachable or kExitLoginRefused with Failure() set (empty when a
  // stop signal ended the opening).
  int Open(const QMap<QString, QString>& values) {
    ConnectionSettings settings = LoadConnectionSettings(profile_);
    quint16 port = 0;
    if (values.contains(QStringLiteral("network"))) {
      settings.networkMode = 1;
      SplitNetworkTarget(values.value(QStringLiteral("network")), settings.address, port);
    } else if (values.contains(QStringLiteral("device"))) {
      settings.networkMode = 0;
      settings.devicePath = values.value(QStringLiteral("device"));
    } else if (values.contains(QStringLiteral("port"))) {
      settings.networkMode = 0;
      settings.portNumber = ComPortNumber(values.value(QStringLiteral("port")));
      settings.devicePath = ComPortDevicePath(settings.portNumber, profile_.ComPortOverrides());
    }
    const QString login = qEnvironmentVariable("SETUTILY_LOGIN_PASSWORD");
    const QString admin = qEnvironmentVariable("SETUTILY_ADMIN_PASSWORD");
    if (!login.isEmpty()) settings.loginPassword = login;
    if (!admin.isEmpty()) settings.adminPassword = admin;
    return settings.networkMode != 0 ? OpenNetwork(settings, port) : OpenSerial(settings);
  }

  // Once a stop signal came, no new exchange starts; the one in progress
  // finishes.
  void StopOn(SignalWatch* watch) {
    if (watch == nullptr) return;
    QObject::connect(watch, &SignalWatch::Caught, &exchange_, [this] { exchange_.Hold(true); });
    if (watch->Signal() != 0) exchange_.Hold(true);
  }

  // Leaves the device's command line (serial) and closes the link.
  void Close() {
    if (closed_) return;
    closed_ = true;
    exchange_.Hold(false);  // a stopped run still leaves the command line
    RunState& state = session_.state;
    if (state.connectionState != ConnectionState::kNone && !state.networkMode &&
        !state.rebootOnClose) {
      std::string reply;
      exchange_.SendAndWait("exit\r", &reply, session_.timing.exitMs, kTerminatorOk);
    }
    exchange_.SetTransport(nullptr);
    serial_.Close();
    network_.reset();
  }

 private:
  int OpenSerial(const ConnectionSettings& settings) {
    const QString path = settings.devicePath.isEmpty()
                             ? ComPortDevicePath(settings.portNumber, profile_.ComPortOverrides())
                             : settings.devicePath;
    if (serial_.Open(path) != kSerialOpened) {
      failure_ = PortOpenFailureMessage(settings.portNumber, path, serial_.LastFailure(),
                                        serial_.LockHolder())
                     .replace(QStringLiteral("\r\n"), QStringLiteral(" ")) +
                 QStringLiteral(" (") + serial_.LastError() + u')';
      return kExitUnreachable;
    }
    exchange_.SetTransport(&serial_);
    Pause(session_.timing.settleMs);
    if (IdentifyDevice(exchange_, session_.timing, identity_, session_.replyText) !=
        IdentifyResult::kIdentified) {
      // Stopped: the caller tells.
      if (!exchange_.Held()) {
        failure_ = QStringLiteral("MORIVEX-9が接続されていません（%1）。").arg(path);
      }
      return kExitUnreachable;
    }
    if (!FirmwareSupported(identity_.firmwareVersion)) {
      failure_ = QString::fromUtf16(u"ファームウェア ") + FromDevice(identity_.firmwareVersion) +
                 QString::fromUtf16(u"では、ご使用になれません。");
      return kExitUnreachable;
    }
    session_.state.connectionState = ConnectionState::kLinkOpen;
    return kExitDone;
  }

  int OpenNetwork(const ConnectionSettings& settings, quint16 port) {
    session_.state.networkMode = true;
    NetworkOpenResult result = OpenTelnetConnection(NetworkOpenRequest{
        settings, profile_, session_, nullptr, [](const QString&) {}, port, true});
    if (result.transport == nullptr) {
      session_.state.connectionState = ConnectionState::kNone;
      if (!exchange_.Held()) {
        // Not reached: say where it was looked for, as the address was given.
        const bool notReached = result.failureMessage.isEmpty() ||
                                result.failureMessage == QString::fromUtf16(kNotConnectedText);
        failure_ = notReached ? QString::fromUtf16(kNotConnectedText) + u' ' +
                                    QStringLiteral("%1 に接続できませんでした。")
                                        .arg(HostAndPort(settings.address, port))
                              : QString(result.failureMessage)
                                    .replace(QStringLiteral("\r\n"), QStringLiteral(" "));
      }
      return result.loginRefused ? kExitLoginRefused : kExitUnreachable;
    }
    network_ = std::move(result.transport);
    exchange_.SetTransport(network_.get());
    session_.state.connectionState = ConnectionState::kLoggedIn;
    return kExitDone;
  }

  ProfileFile profile_;
  CommandExchange exchange_;
  SerialLink serial_;
  std::unique_ptr<ByteTransport> network_;
  StreamMessages messages_;
  NoHelp help_;
  Session session_;
  DeviceIdentity identity_;
  QString failure_;
  bool closed_ = false;
};

// The file checked whole (header, every line through the tables, end line,
// settings given twice) before the device is touched: a bad file sends
// nothing. Returns why it is refused; empty when it is taken.
QString FileProblem(const std::vector<ConfigCategory>& categories, const QByteArray& text,
                    const ConfigCheckOptions& options) {
  ConfigError error;
  if (CheckConfig(categories, std::string_view(text.constData(), text.size()), options, error)) {
    return {};
  }
  return Utf8(ConfigErrorText(error)) +
         (error.otherDevice ? QStringLiteral("（--any-model で使えます）") : QString());
}

ConfigProgress Progress(QTextStream& err, const char16_t* doing) {
  return [&err, doing](int index, int count, const std::string& title) {
    err << QString::fromUtf16(doing).arg(Utf8(title)).arg(index + 1).arg(count) << '\n';
    err.flush();
  };
}

// A MAC address as its twelve hexadecimal digits in capitals, whatever
// separates them; empty when it is not one.
QString MacKey(const std::string& mac) {
  QString digits;
  for (const QChar c : QString::fromStdString(mac)) {
    if (c == u':' || c == u'-' || c == u'.' || c == u' ') continue;
    const QChar digit = c.toUpper();
    if (!digit.isDigit() && (digit < u'A' || digit > u'F')) return {};
    digits += digit;
  }
  return digits.size() == 12 ? digits : QString();
}

// What the device did with the commands of an --apply: those it answered,
// in sending order. The device's answers tell no more yet; the read-back
// after the writes will tell the ones it did not take.
// What --json tells of an apply: every line of the file the device
// answered, and those it did not take with the value it kept.
ApplyOutcome OutcomeOf(const ApplyResult& result) {
  ApplyOutcome outcome;
  for (const AppliedLine& line : result.lines) {
    switch (line.outcome) {
      case LineOutcome::kTaken:
      case LineOutcome::kSent:
        outcome.commands.push_back({line.command, true, {}});
        break;
      case LineOutcome::kRefused:
        outcome.commands.push_back({line.command, false, DeviceToUtf8(line.deviceCommand)});
        break;
      case LineOutcome::kSame:
      case LineOutcome::kUnanswered:  // its fate is not known: the error says so
      case LineOutcome::kUnsent:
        break;
    }
  }
  return outcome;
}

// The run behind RunConfigCommand; report receives what --json tells.
int RunConfig(ConfigAction action, const QMap<QString, QString>& values,
              const CommandEnvironment& environment, const LinkTiming& timing, QTextStream& out,
              QTextStream& err, ConfigReport& report) {
  // Why the run failed, told on standard error and in the report.
  const auto fail = [&err, &report](int status, const QString& message) {
    err << "setutily: " << message << '\n';
    report.error = message;
    return status;
  };
  const QString key = action == ConfigAction::kDump   ? QStringLiteral("dump")
                      : action == ConfigAction::kDiff ? QStringLiteral("diff")
                                                      : QStringLiteral("apply");
  const QString path = values.value(key);
  report.filePath = path;
  const bool standard = path == QStringLiteral("-");  // standard input or output
  const std::vector<ConfigCategory> categories = BuildConfigCategories();
  QByteArray text;
  if (action == ConfigAction::kDump) {
    // A place that cannot take the file is told before the device is read.
    if (const QString why = standard ? QString() : WriteProblem(path); !why.isEmpty()) {
      return fail(kExitUsage, QStringLiteral("%1 に書き込めません（%2）").arg(path, why));
    }
  } else {
    QString why;
    QFile input;
    const bool read =
        !standard ? ReadWholeFile(path, kConfigFileLimit, text, why)
        : environment.standardInput != nullptr
            ? ReadToEnd(*environment.standardInput, kConfigFileLimit, text, why)
            : (input.open(stdin, QIODevice::ReadOnly) &&
               ReadToEnd(input, kConfigFileLimit, text, why));
    if (!read) {
      return fail(kExitUsage, QStringLiteral("%1 を読めません（%2）")
                                  .arg(standard ? QStringLiteral("標準入力") : path, why));
    }
    if (const QString problem =
            FileProblem(categories, text, {values.contains(QStringLiteral("any-model"))});
        !problem.isEmpty()) {
      return fail(kExitUsage, problem);
    }
    report.file = ConfigFileHeader(std::string_view(text.constData(), text.size()));
  }

  // The settings file the options name, or the user's own: never one that
  // happens to lie in the current folder.
  const bool named = values.contains(QStringLiteral("settings"));
  const QString profile =
      named ? values.value(QStringLiteral("settings")) : UserProfilePath(environment.configHome);
  if (named && !QFileInfo::exists(profile)) {
    return fail(kExitUsage, QStringLiteral("設定ファイル %1 がありません。").arg(profile));
  }
  if (const ProfileFile::Problem problem = ProfileFile(profile).Check();
      problem != ProfileFile::Problem::kNone) {
    return fail(kExitUsage, QStringLiteral("設定ファイル %1 を使えません（%2）")
                                .arg(profile, ProfileFile::ProblemText(problem)));
  }

  SignalWatch* const stop = environment.stopSignals;
  const auto stopped = [stop] { return stop != nullptr ? stop->Signal() : 0; };
  DeviceRun run(profile, timing, err);
  // What a run stopped by a signal says last.
  const auto stoppedRun = [&](const QString& what) {
    run.Close();
    fail(kExitSignalBase + stopped(),
         QStringLiteral("%1 で中断しました。").arg(SignalName(stopped())) + what);
    return kExitSignalBase + stopped();
  };
  const QString nothingSent = action == ConfigAction::kDump
                                  ? QStringLiteral("ファイルは書いていません。")
                                  : QStringLiteral("設定は何も送信していません。");
  run.StopOn(stop);
  const int opened = run.Open(values);
  if (stopped() != 0) return stoppedRun(nothingSent);
  if (opened != kExitDone) return fail(opened, run.Failure());
  Session& session = run.RunSession();
  std::string failed;
  session.readFailure = {};
  const int read =
      ReadConfig(session, categories, Progress(err, u"%1を読んでいます… (%2/%3)"), &failed);
  if (stopped() != 0) return stoppedRun(nothingSent);
  if (read != 1) {
    return fail(kExitFailed, QStringLiteral("%1の読込みに失敗しました。").arg(Utf8(failed)) +
                                 Utf8(ReadFailureText(session.readFailure)) + nothingSent);
  }
  const ConfigHeader device = DeviceHeader(session, run.Identity());
  report.device = device;

  if (action == ConfigAction::kDump) {
    const QByteArray file = QByteArray::fromStdString(ConfigText(session, categories, device));
    run.Close();
    if (standard) {
      out << QString::fromUtf8(file);
      out.flush();
      if (out.status() != QTextStream::Ok) {
        return fail(kExitFailed, QStringLiteral("標準出力に書き込めません。"));
      }
      return kExitDone;
    }
    QString why;
    if (!WriteWholeFile(path, file, why)) {
      return fail(kExitFailed,
                  QStringLiteral("%1 に書き込めません（%2）。元のファイルはそのままです。").arg(path, why));
    }
    err << QStringLiteral("%1 に保存しました。").arg(path) << '\n';
    return kExitDone;
  }

  // A backup names its device: --apply takes it only on that one.
  const QString fileMac = MacKey(report.file.mac);
  const bool otherDevice = !fileMac.isEmpty() && fileMac != MacKey(device.mac);
  if (otherDevice && action == ConfigAction::kApply &&
      !values.contains(QStringLiteral("any-device"))) {
    return fail(kExitUsage,
                (device.mac.empty()
                     ? QStringLiteral("機器のMACアドレスが分からないため、ファイル（MACアドレス %1）が"
                                      "この機器のものか確かめられません。")
                           .arg(Utf8(report.file.mac))
                     : QStringLiteral("ファイルは別の機器（MACアドレス %1）のものです。"
                                      "この機器は %2 です。")
                           .arg(Utf8(report.file.mac), Utf8(device.mac))) +
                    QStringLiteral("何も送信していません（--any-device で使えます）。"));
  }

  ConfigError error;
  std::vector<ConfigLine> lines;
  TakeConfig(session, categories, std::string_view(text.constData(), text.size()), error,
             ConfigRules::kWholeRecords, &lines);
  const std::vector<std::string> pending = PendingConfig(session, categories);
  // Each difference named as the forms name it, passwords hidden.
  report.differences = CompareRows(session, categories, FormDifferences(session),
                                   QString::fromUtf16(kHiddenPassword));
  const QStringList shown = HiddenCommands(pending, *report.differences);
  if (action == ConfigAction::kDiff) {
    // With --json the commands are for the person watching.
    QTextStream& lines = values.contains(QStringLiteral("json")) ? err : out;
    for (const QString& command : shown) lines << command << '\n';
    err << QStringLiteral("違い: %1個のコマンド").arg(pending.size()) << '\n';
    if (otherDevice) {
      err << QStringLiteral("注意: ファイルは別の機器（MACアドレス %1）のものです。")
                 .arg(Utf8(report.file.mac))
          << '\n';
    }
    return pending.empty() ? kExitDone : kExitDifferent;
  }
  const bool noStore = values.contains(QStringLiteral("no-store"));
  if (noStore && RestartPending(session, categories)) {
    return fail(kExitUsage,
                QStringLiteral("--no-store では適用できません: ファイルのルータアドレスが機器と違います。"
                               "新しいアドレスを受けた MORIVEX-9 は、すべての設定を保存して再起動します。"
                               "何も送信していません。"));
  }

  const ApplyResult result =
      ApplyConfig(session, categories, Progress(err, u"%1を書き込んでいます… (%2/%3)"), lines);
  report.apply = OutcomeOf(result);
  if (stopped() != 0) {
    // What was being checked when the signal came is not known.
    return stoppedRun(
        QStringLiteral("%1個のコマンドに応答がありました。保存していません。").arg(result.sent));
  }
  // Nothing is stored unless every setting sent is on the device.
  if (!result.AllTaken()) {
    for (const RefusedLine& refused : result.refused) {
      err << "setutily: " << Utf8(RefusedLineText(refused)) << '\n';
    }
    return fail(kExitFailed,
                (result.ok ? QString() : Utf8(ApplyFailureText(result))) +
                    (result.refused.empty()
                         ? QStringLiteral("保存していません。")
                         : QStringLiteral("受け付けられなかった設定があるため、保存していません"
                                          "（MORIVEX-9を再起動すると元の設定に戻ります）。")));
  }
  err << QStringLiteral("%1個のコマンドを送信し、機器の設定を確認しました。").arg(result.sent)
      << '\n';
  const QString sentText =
      QStringLiteral("%1個のコマンドを確認済みです。保存していません。").arg(result.sent);
  if (session.state.rebootOnClose) {
    report.apply->stored = true;  // the device stores everything as it restarts
    err << QStringLiteral("新しいルータアドレスで MORIVEX-9 が再起動します（設定はすべて保存されます）。")
        << '\n';
    return kExitDone;
  }
  if (!noStore && result.sent > 0) {
    if (StoreSettings(session) != 1) {
      if (stopped() != 0) return stoppedRun(sentText);
      return fail(kExitFailed, Utf8(std::string(kStoreUnconfirmed)));
    }
    report.apply->stored = true;
    err << QStringLiteral("設定を保存しました。") << '\n';
  }
  if (stopped() != 0) return stoppedRun(QStringLiteral("その前に送信と保存は終わっています。"));
  return kExitDone;
}

}  // namespace

int RunConfigCommand(ConfigAction action, const QMap<QString, QString>& values,
                     const CommandEnvironment& environment, const LinkTiming& timing,
                     QTextStream& out, QTextStream& err) {
  ConfigReport report;
  report.command = action == ConfigAction::kApply ? QStringLiteral("apply") : QStringLiteral("diff");
  report.status = RunConfig(action, values, environment, timing, out, err, report);
  if (action != ConfigAction::kDump && values.contains(QStringLiteral("json"))) {
    out << QString::fromUtf8(ReportJson(report));
    out.flush();
  }
  return report.status;
}

}  // namespace setutily
