#include "root/config_command.h"

#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>
#include <QTimer>
#include <memory>

#include "app/connection.h"
#include "app/file_locations.h"
#include "app/identify.h"
#include "app/network_open.h"
#include "app/profile.h"
#include "forms/form_parts.h"
#include "forms/help.h"
#include "forms/messages.h"
#include "forms/session.h"
#include "link/serial_link.h"
#include "root/config_categories.h"
#include "root/command_line.h"
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

  // Opens the link; false with a message on standard error.
  bool Open(const QMap<QString, QString>& values) {
    ConnectionSettings settings = LoadConnectionSettings(profile_);
    quint16 port = 0;
    if (values.contains(QStringLiteral("network"))) {
      settings.networkMode = 1;
      const QString target = values.value(QStringLiteral("network"));
      const qsizetype colon = target.lastIndexOf(u':');
      settings.address = colon >= 0 ? target.left(colon) : target;
      if (colon >= 0) {
        bool ok = false;
        const uint number = target.mid(colon + 1).toUInt(&ok);
        if (!ok || number < 1 || number > 65535) {
          err_ << "setutily: not a TCP port: " << target.mid(colon + 1) << '\n';
          return false;
        }
        port = static_cast<quint16>(number);
      }
    } else if (values.contains(QStringLiteral("device"))) {
      settings.networkMode = 0;
      settings.devicePath = values.value(QStringLiteral("device"));
    } else if (values.contains(QStringLiteral("port"))) {
      settings.networkMode = 0;
      const QString name = values.value(QStringLiteral("port"));
      bool ok = false;
      const int number = name.startsWith(QStringLiteral("COM"), Qt::CaseInsensitive)
                             ? name.mid(3).toInt(&ok)
                             : 0;
      if (!ok || number < 1 || number > 9) {
        err_ << "setutily: not a COM port (COM1-COM9): " << name << '\n';
        return false;
      }
      settings.portNumber = number;
      settings.devicePath = ComPortDevicePath(number, profile_.ComPortOverrides());
    }
    const QString login = qEnvironmentVariable("SETUTILY_LOGIN_PASSWORD");
    const QString admin = qEnvironmentVariable("SETUTILY_ADMIN_PASSWORD");
    if (!login.isEmpty()) settings.loginPassword = login;
    if (!admin.isEmpty()) settings.adminPassword = admin;
    return settings.networkMode != 0 ? OpenNetwork(settings, port) : OpenSerial(settings);
  }

  // Leaves the device's command line (serial) and closes the link.
  void Close() {
    if (closed_) return;
    closed_ = true;
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
    if (path.isEmpty() || serial_.Open(path) != kSerialOpened) {
      err_ << "setutily: " << QString::fromUtf16(u"指定したポートがオープンできません。") << ' '
           << path << ": " << serial_.LastError() << '\n';
      return false;
    }
    exchange_.SetTransport(&serial_);
    Pause(session_.timing.settleMs);
    if (IdentifyDevice(exchange_, session_.timing, identity_, session_.replyText) !=
        IdentifyResult::kIdentified) {
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
      err_ << "setutily: "
           << (result.failureMessage.isEmpty() ? QString::fromUtf16(kNotConnectedText)
                                               : result.failureMessage)
           << '\n';
      session_.state.connectionState = ConnectionState::kNone;
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

// The file's commands checked through every table before the device is
// touched: a bad file sends nothing.
bool CheckFile(const std::vector<ConfigCategory>& categories, const QByteArray& text,
               QTextStream& err) {
  CommandExchange none;
  DeviceContext scratch(none);
  ConfigError error;
  if (TakeConfig(scratch, categories, std::string_view(text.constData(), text.size()), error)) {
    return true;
  }
  err << "setutily: " << QStringLiteral("%1行目: ").arg(error.line) << Utf8(error.reason) << '\n';
  return false;
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
  const std::vector<ConfigCategory> categories = BuildConfigCategories();
  QByteArray text;
  if (action != ConfigAction::kDump) {
    QFile file(path);
    if (file.size() > (1 << 20) || !file.open(QIODevice::ReadOnly)) {
      err << "setutily: cannot read " << path << '\n';
      return kExitUsage;
    }
    text = file.readAll();
    if (!CheckFile(categories, text, err)) return kExitUsage;
  }

  DeviceRun run(environment, timing, err);
  if (!run.Open(values)) return kExitFailed;
  Session& session = run.RunSession();
  std::string failed;
  if (ReadConfig(session, categories, Progress(err, u"%1を読んでいます… (%2/%3)"), &failed) != 1) {
    err << "setutily: " << QStringLiteral("%1の読込みに失敗しました。").arg(Utf8(failed)) << '\n';
    return kExitFailed;
  }

  if (action == ConfigAction::kDump) {
    const DeviceIdentity& identity = run.Identity();
    const auto orDash = [](const std::string& value) {
      return value.empty() ? std::string("—") : DeviceToUtf8(value);
    };
    const std::string file =
        ConfigText(session, categories,
                   {"MORIVEX-9", orDash(identity.firmwareVersion), orDash(identity.macAddress),
                    QDateTime::currentDateTime()
                        .toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                        .toStdString()});
    QSaveFile save(path);
    if (!save.open(QIODevice::WriteOnly) ||
        save.write(file.data(), static_cast<qint64>(file.size())) !=
            static_cast<qint64>(file.size()) ||
        !save.commit()) {
      err << "setutily: cannot write " << path << '\n';
      return kExitUsage;
    }
    err << QStringLiteral("%1 に保存しました。").arg(path) << '\n';
    return kExitDone;
  }

  ConfigError error;
  TakeConfig(session, categories, std::string_view(text.constData(), text.size()), error);
  const std::vector<std::string> pending = PendingConfig(session, categories);
  if (action == ConfigAction::kDiff) {
    for (const std::string& command : pending) out << FromDevice(command) << '\n';
    err << QStringLiteral("違い: %1個のコマンド").arg(pending.size()) << '\n';
    return kExitDone;
  }

  const ApplyResult result =
      ApplyConfig(session, categories, Progress(err, u"%1を書き込んでいます… (%2/%3)"));
  if (!result.ok) {
    err << "setutily: "
        << QStringLiteral("%1の書込みに失敗しました。%2個のコマンドを送信済みです。保存していません。")
               .arg(Utf8(result.failedTitle))
               .arg(result.sent)
        << '\n';
    return kExitFailed;
  }
  err << QStringLiteral("%1個のコマンドを送信しました。").arg(result.sent) << '\n';
  if (session.state.rebootOnClose) {
    err << QStringLiteral("新しいルータアドレスで MORIVEX-9 が再起動します。") << '\n';
    return kExitDone;
  }
  if (!values.contains(QStringLiteral("no-store")) && result.sent > 0) {
    if (StoreSettings(session) != 1) {
      err << "setutily: " << QString::fromUtf16(kWriteFailedText) << '\n';
      return kExitFailed;
    }
    err << QStringLiteral("設定を保存しました。") << '\n';
  }
  return kExitDone;
}

}  // namespace setutily
