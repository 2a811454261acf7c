#include "root/config_command.h"

#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QTextStream>
#include <QTimer>
#include <memory>

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

// The link to the device, opened from the command line's choice or the
// settings file's, and the device identified (serial) or logged in to
// (network).
class DeviceRun {
 public:
  DeviceRun(const CommandEnvironment& environment, const LinkTiming& timing, QTextStream& err)
      : profile_(ProfilePath(environment.currentDirectory, environment.configHome)),
        messages_(err),
        session_(exchange_, messages_, help_),
        err_(err) {
    session_.timing = timing;
  }
  ~DeviceRun() { Close(); }

  Session& RunSession() { return session_; }
  const DeviceIdentity& Identity() const { return identity_; }

  // Opens the link (the options were checked by the parser); false with a
  // message on standard error.
  bool Open(const QMap<QString, QString>& values) {
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
  bool OpenSerial(const ConnectionSettings& settings) {
    const QString path = settings.devicePath.isEmpty()
                             ? ComPortDevicePath(settings.portNumber, profile_.ComPortOverrides())
                             : settings.devicePath;
    if (serial_.Open(path) != kSerialOpened) {
      QString message = PortOpenFailureMessage(settings.portNumber, path, serial_.LastFailure(),
                                               serial_.LockHolder());
      err_ << "setutily: " << message.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
           << " (" << serial_.LastError() << ")\n";
      return false;
    }
    exchange_.SetTransport(&serial_);
    Pause(session_.timing.settleMs);
    if (IdentifyDevice(exchange_, session_.timing, identity_, session_.replyText) !=
        IdentifyResult::kIdentified) {
      if (exchange_.Held()) return false;  // stopped: the caller tells
      err_ << "setutily: " << QString::fromUtf16(u"MORIVEX-9が接続されていません。") << '\n';
      return false;
    }
    if (!FirmwareSupported(identity_.firmwareVersion)) {
      err_ << "setutily: " << QString::fromUtf16(u"ファームウェア ")
           << FromDevice(identity_.firmwareVersion)
           << QString::fromUtf16(u"では、ご使用になれません。") << '\n';
      return false;
    }
    session_.state.connectionState = ConnectionState::kLinkOpen;
    return true;
  }

  bool OpenNetwork(const ConnectionSettings& settings, quint16 port) {
    session_.state.networkMode = true;
    NetworkOpenResult result = OpenTelnetConnection(
        NetworkOpenRequest{settings, profile_, session_, nullptr, [](const QString&) {}, port});
    if (result.transport == nullptr) {
      session_.state.connectionState = ConnectionState::kNone;
      if (exchange_.Held()) return false;
      err_ << "setutily: "
           << (result.failureMessage.isEmpty() ? QString::fromUtf16(kNotConnectedText)
                                               : result.failureMessage)
           << '\n';
      return false;
    }
    network_ = std::move(result.transport);
    exchange_.SetTransport(network_.get());
    session_.state.connectionState = ConnectionState::kLoggedIn;
    return true;
  }

  ProfileFile profile_;
  CommandExchange exchange_;
  SerialLink serial_;
  std::unique_ptr<ByteTransport> network_;
  StreamMessages messages_;
  NoHelp help_;
  Session session_;
  DeviceIdentity identity_;
  QTextStream& err_;
  bool closed_ = false;
};

// The file checked whole (header, every line through the tables, end line,
// settings given twice) before the device is touched: a bad file sends
// nothing.
bool CheckFile(const std::vector<ConfigCategory>& categories, const QByteArray& text,
               const ConfigCheckOptions& options, QTextStream& err) {
  ConfigError error;
  if (CheckConfig(categories, std::string_view(text.constData(), text.size()), options, error)) {
    return true;
  }
  err << "setutily: " << Utf8(ConfigErrorText(error))
      << (error.otherDevice ? QStringLiteral("（--any-model で使えます）") : QString()) << '\n';
  return false;
}

// What a run stopped by a signal says last.
int Stopped(int signal, const QString& what, QTextStream& err) {
  err << "setutily: " << QStringLiteral("%1 で中断しました。").arg(SignalName(signal)) << what
      << '\n';
  return kExitSignalBase + signal;
}

ConfigProgress Progress(QTextStream& err, const char16_t* doing) {
  return [&err, doing](int index, int count, const std::string& title) {
    err << QString::fromUtf16(doing).arg(Utf8(title)).arg(index + 1).arg(count) << '\n';
    err.flush();
  };
}

}  // namespace

int RunConfigCommand(ConfigAction action, const QMap<QString, QString>& values,
                     const CommandEnvironment& environment, const LinkTiming& timing,
                     QTextStream& out, QTextStream& err) {
  const QString key = action == ConfigAction::kDump   ? QStringLiteral("dump")
                      : action == ConfigAction::kDiff ? QStringLiteral("diff")
                                                      : QStringLiteral("apply");
  const QString path = values.value(key);
  const bool standard = path == QStringLiteral("-");  // standard input or output
  const std::vector<ConfigCategory> categories = BuildConfigCategories();
  QByteArray text;
  if (action == ConfigAction::kDump) {
    // A place that cannot take the file is told before the device is read.
    if (const QString why = standard ? QString() : WriteProblem(path); !why.isEmpty()) {
      err << "setutily: " << QStringLiteral("%1 に書き込めません（%2）").arg(path, why) << '\n';
      return kExitUsage;
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
      err << "setutily: "
          << QStringLiteral("%1 を読めません（%2）")
                 .arg(standard ? QStringLiteral("標準入力") : path, why)
          << '\n';
      return kExitUsage;
    }
    if (!CheckFile(categories, text, {values.contains(QStringLiteral("any-model"))}, err)) {
      return kExitUsage;
    }
  }

  SignalWatch* const stop = environment.stopSignals;
  const auto stopped = [stop] { return stop != nullptr ? stop->Signal() : 0; };
  const QString nothingSent = action == ConfigAction::kDump
                                  ? QStringLiteral("ファイルは書いていません。")
                                  : QStringLiteral("設定は何も送信していません。");
  DeviceRun run(environment, timing, err);
  run.StopOn(stop);
  const bool opened = run.Open(values);
  if (stopped() != 0) {
    run.Close();
    return Stopped(stopped(), nothingSent, err);
  }
  if (!opened) return kExitFailed;
  Session& session = run.RunSession();
  std::string failed;
  session.readFailure = {};
  const int read =
      ReadConfig(session, categories, Progress(err, u"%1を読んでいます… (%2/%3)"), &failed);
  if (stopped() != 0) {
    run.Close();
    return Stopped(stopped(), nothingSent, err);
  }
  if (read != 1) {
    err << "setutily: " << QStringLiteral("%1の読込みに失敗しました。").arg(Utf8(failed))
        << Utf8(ReadFailureText(session.readFailure)) << nothingSent << '\n';
    return kExitFailed;
  }

  if (action == ConfigAction::kDump) {
    const DeviceIdentity& identity = run.Identity();
    const auto orDash = [](const std::string& value) {
      return value.empty() ? std::string("—") : DeviceToUtf8(value);
    };
    const QByteArray file = QByteArray::fromStdString(
        ConfigText(session, categories,
                   {"MORIVEX-9", orDash(identity.firmwareVersion), orDash(identity.macAddress),
                    QDateTime::currentDateTime()
                        .toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                        .toStdString()}));
    run.Close();
    if (standard) {
      out << QString::fromUtf8(file);
      out.flush();
      if (out.status() != QTextStream::Ok) {
        err << "setutily: " << QStringLiteral("標準出力に書き込めません。") << '\n';
        return kExitFailed;
      }
      return kExitDone;
    }
    QString why;
    if (!WriteWholeFile(path, file, why)) {
      err << "setutily: "
          << QStringLiteral("%1 に書き込めません（%2）。元のファイルはそのままです。").arg(path, why)
          << '\n';
      return kExitFailed;
    }
    err << QStringLiteral("%1 に保存しました。").arg(path) << '\n';
    return kExitDone;
  }

  ConfigError error;
  std::vector<ConfigLine> lines;
  TakeConfig(session, categories, std::string_view(text.constData(), text.size()), error,
             ConfigRules::kWholeRecords, &lines);
  const std::vector<std::string> pending = PendingConfig(session, categories);
  if (action == ConfigAction::kDiff) {
    for (const std::string& command : pending) out << FromDevice(command) << '\n';
    err << QStringLiteral("違い: %1個のコマンド").arg(pending.size()) << '\n';
    return kExitDone;
  }
  const bool noStore = values.contains(QStringLiteral("no-store"));
  if (noStore && RestartPending(session, categories)) {
    err << "setutily: "
        << QStringLiteral("--no-store では適用できません: ファイルのルータアドレスが機器と違います。"
                          "新しいアドレスを受けた MORIVEX-9 は、すべての設定を保存して再起動します。"
                          "何も送信していません。")
        << '\n';
    return kExitUsage;
  }

  const ApplyResult result =
      ApplyConfig(session, categories, Progress(err, u"%1を書き込んでいます… (%2/%3)"), lines);
  if (stopped() != 0) {
    run.Close();
    // What was being checked when the signal came is not known.
    return Stopped(
        stopped(),
        QStringLiteral("%1個のコマンドに応答がありました。保存していません。").arg(result.sent),
        err);
  }
  // Nothing is stored unless every setting sent is on the device.
  if (!result.AllTaken()) {
    if (!result.ok) err << "setutily: " << Utf8(ApplyFailureText(result)) << '\n';
    for (const RefusedLine& refused : result.refused) {
      err << "setutily: " << Utf8(RefusedLineText(refused)) << '\n';
    }
    err << "setutily: "
        << (result.refused.empty()
                ? QStringLiteral("保存していません。")
                : QStringLiteral("受け付けられなかった設定があるため、保存していません"
                                 "（MORIVEX-9を再起動すると元の設定に戻ります）。"))
        << '\n';
    return kExitFailed;
  }
  err << QStringLiteral("%1個のコマンドを送信し、機器の設定を確認しました。").arg(result.sent)
      << '\n';
  const QString sentText =
      QStringLiteral("%1個のコマンドを確認済みです。保存していません。").arg(result.sent);
  if (session.state.rebootOnClose) {
    err << QStringLiteral("新しいルータアドレスで MORIVEX-9 が再起動します（設定はすべて保存されます）。")
        << '\n';
    return kExitDone;
  }
  if (!noStore && result.sent > 0) {
    if (StoreSettings(session) != 1) {
      if (stopped() != 0) {
        run.Close();
        return Stopped(stopped(), sentText, err);
      }
      err << "setutily: " << Utf8(std::string(kStoreUnconfirmed)) << '\n';
      return kExitFailed;
    }
    err << QStringLiteral("設定を保存しました。") << '\n';
  }
  if (stopped() != 0) {
    run.Close();
    return Stopped(stopped(), QStringLiteral("その前に送信と保存は終わっています。"), err);
  }
  return kExitDone;
}

}  // namespace setutily
