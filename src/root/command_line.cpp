#include "root/command_line.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHostAddress>
#include <QStandardPaths>
#include <QTextStream>
#include <algorithm>

#include "app/file_locations.h"
#include "app/profile.h"
#include "link/serial_link.h"
#include "link/telnet_link.h"
#include "root/config_command.h"

namespace setutily {

namespace {

using Option = CommandLineOption;

constexpr Option kOptions[] = {
    {"dump", nullptr, "FILE", "read every setting of the device into FILE (a backup)"},
    {"diff", nullptr, "FILE", "print the commands --apply FILE would send (status 3 when any)"},
    {"apply", nullptr, "FILE", "send what differs from FILE, then store it in the device"},
    {"no-store", nullptr, nullptr, "with --apply: do not store (\"fromwr 15\")"},
    {"json", nullptr, nullptr,
     "with --diff or --apply: print the result as one JSON object on standard output"},
    {"any-model", nullptr, nullptr,
     "with --diff or --apply: take a file of another model or firmware"},
    {"any-device", nullptr, nullptr,
     "with --apply: take a backup of another device (another MAC address)"},
    {"port", nullptr, "COMn", "reach the device on COM port n (the settings file's [DEVICE])"},
    {"device", nullptr, "PATH", "reach the device on this serial device"},
    {"network", nullptr, "HOST[:PORT]",
     "reach the device over the network (an address, a host name, [IPv6]:PORT)"},
    {"settings", nullptr, "FILE",
     "the settings file with the network passwords and COM ports (default: "
     "~/.config/setutily/setutily.ini); the passwords may also come from "
     "SETUTILY_LOGIN_PASSWORD and SETUTILY_ADMIN_PASSWORD"},
    {"list-ports", nullptr, nullptr,
     "show the devices COM1-COM9 lead to and the serial ports found"},
    {"version", nullptr, nullptr, "print the version and exit"},
    {"help", "h", nullptr, "print this help and exit"},
};

// Options that each stand for a command of their own; at most one is given.
constexpr struct {
  const char* name;
  CommandLine::Action action;
} kCommands[] = {
    {"version", CommandLine::Action::kVersion},
    {"list-ports", CommandLine::Action::kListPorts},
    {"dump", CommandLine::Action::kDump},
    {"diff", CommandLine::Action::kDiff},
    {"apply", CommandLine::Action::kApply},
};

// Options that choose the link; at most one, and only with a device command.
constexpr const char* kLinkOptions[] = {"port", "device", "network"};

const Option* FindOption(const QString& name, bool shortForm) {
  const auto it = std::find_if(std::begin(kOptions), std::end(kOptions), [&](const Option& o) {
    const char* own = shortForm ? o.shortName : o.name;
    return own != nullptr && name == QLatin1String(own);
  });
  return it == std::end(kOptions) ? nullptr : it;
}

CommandLine UsageError(const QString& why) {
  CommandLine line;
  line.action = CommandLine::Action::kUsageError;
  line.error = why;
  return line;
}

// text broken into lines of at most width characters at blanks (a longer
// word stands alone), each but the first indented by indent blanks.
QString Wrapped(const QString& text, int indent, int width) {
  QString out, line;
  for (const QString& word : text.simplified().split(u' ', Qt::SkipEmptyParts)) {
    if (!line.isEmpty() && indent + line.size() + 1 + word.size() > width) {
      out += line + u'\n' + QString(indent, u' ');
      line.clear();
    }
    line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
  }
  return out + line;
}

QString HelpText(const CommandEnvironment& environment) {
  constexpr int kWidth = 79, kHelpColumn = 28;
  QString text = QStringLiteral(
      "Usage: setutily [OPTION]\n"
      "The MORIVEX-9 configuration utility. Without an option it opens its window:\n"
      "the connection dialog, then the main window.\n"
      "  setutily --dump FILE | --diff FILE | --apply FILE [--no-store] [--json]\n"
      "           --port COMn | --device PATH | --network HOST[:PORT]\n"
      "back up, compare and restore the device's settings without a display.\n\nOptions:\n");
  for (const Option& option : kOptions) {
    QString left = option.shortName != nullptr
                       ? QStringLiteral("  -%1, --%2").arg(QLatin1String(option.shortName),
                                                         QLatin1String(option.name))
                       : QStringLiteral("      --%1").arg(QLatin1String(option.name));
    if (option.valueName != nullptr) left += u' ' + QLatin1String(option.valueName);
    text += left.leftJustified(kHelpColumn - 1) + u' ' +
            Wrapped(QLatin1String(option.help), kHelpColumn, kWidth) + u'\n';
  }
  const QString profile = ProfilePath(environment.currentDirectory, environment.configHome);
  const QString help = FindHelpFile(HelpFolders(environment.currentDirectory,
                                                environment.programDirectory));
  text += QStringLiteral(
              "\nFiles:\n"
              "  setutily.ini    the connection settings of the window: setutily.ini in the\n"
              "                  current directory when there is one, otherwise\n"
              "                  ~/.config/setutily/setutily.ini\n"
              "                  now: %1\n"
              "                  --dump, --diff and --apply use\n"
              "                  ~/.config/setutily/setutily.ini or --settings FILE\n"
              "  MORIVEX-9.hlp   the help: MORIVEX-9.hlp in the current directory, otherwise\n"
              "                  the installed one in share/setutily\n"
              "                  now: %2\n"
              "\nFILE '-' is standard output for --dump, standard input for --diff and --apply.\n"
              "\nExit status:\n")
              .arg(profile, help.isEmpty() ? QStringLiteral("(not found)") : help);
  for (const ExitStatusMeaning& status : kExitStatuses) {
    const QString shown =
        status.shown != nullptr ? QLatin1String(status.shown) : QString::number(status.status);
    text += QStringLiteral("  ") + shown.leftJustified(6) +
            Wrapped(QLatin1String(status.meaning), 8, kWidth) + u'\n';
  }
  return text + QStringLiteral("\nSee setutily(1).\n");
}

// path: the settings file whose [DEVICE] section is shown.
void ListPorts(const CommandEnvironment& environment, const QString& path, QTextStream& out) {
  const QMap<int, QString> stored = ProfileFile(path).ComPortOverrides();
  const std::vector<SerialPortEntry> ports = ListSerialPorts(environment.ports);
  out << "Settings file: " << path << (QFileInfo::exists(path) ? "" : " (not there yet)") << '\n';
  out << "COM ports:\n";
  for (int n = 1; n <= 9; ++n) {
    const QString device = ComPortDevicePath(n, stored);
    const auto entry = std::find_if(ports.begin(), ports.end(),
                                    [&](const SerialPortEntry& port) { return port.path == device; });
    out << "  COM" << n << "  ";
    if (entry != ports.end()) {
      out << SerialPortText(*entry);
    } else {
      out << device << (QFileInfo::exists(device) ? "" : "  (not found)");
    }
    out << '\n';
  }
  out << "Serial ports on this computer:" << (ports.empty() ? " none found" : "") << '\n';
  for (const SerialPortEntry& port : ports) out << "  " << SerialPortText(port) << '\n';
  out << QStringLiteral(
      "A COM port is led to one of them in the connection dialog (\"割り当て\"), or with\n"
      "COMn=PATH in the [DEVICE] section of the settings file.\n");
}

}  // namespace

std::span<const CommandLineOption> CommandLineOptions() { return kOptions; }

CommandLine ParseCommandLine(const QStringList& arguments) {
  CommandLine line;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    const bool longForm = argument.startsWith(QStringLiteral("--")) && argument.size() > 2;
    const bool shortForm = argument.size() == 2 && argument[0] == u'-' && argument[1] != u'-';
    if (!longForm && !shortForm) {
      return UsageError(QStringLiteral("unexpected argument '%1'").arg(argument));
    }
    QString name = argument.mid(longForm ? 2 : 1);
    QString value;
    const qsizetype equals = longForm ? name.indexOf(u'=') : -1;
    if (equals >= 0) {
      value = name.mid(equals + 1);
      name.truncate(equals);
    }
    const Option* option = FindOption(name, shortForm);
    if (option == nullptr) return UsageError(QStringLiteral("unknown option '%1'").arg(argument));
    if (option->valueName == nullptr && equals >= 0) {
      return UsageError(QStringLiteral("option '--%1' takes no value").arg(name));
    }
    if (option->valueName != nullptr && equals < 0) {
      if (i + 1 >= arguments.size()) {
        return UsageError(QStringLiteral("option '--%1' needs a value (%2)")
                              .arg(QLatin1String(option->name), QLatin1String(option->valueName)));
      }
      value = arguments[++i];
    }
    line.values.insert(QLatin1String(option->name), value);
  }
  if (line.values.contains(QStringLiteral("help"))) {
    line.action = CommandLine::Action::kHelp;
    return line;
  }
  QStringList commands;
  for (const auto& command : kCommands) {
    if (!line.values.contains(QLatin1String(command.name))) continue;
    commands << QStringLiteral("--") + QLatin1String(command.name);
    line.action = command.action;
  }
  if (commands.size() > 1) {
    return UsageError(QStringLiteral("%1 cannot be used together").arg(commands.join(u' ')));
  }
  const bool device = line.action == CommandLine::Action::kDump ||
                      line.action == CommandLine::Action::kDiff ||
                      line.action == CommandLine::Action::kApply;
  QStringList links;
  for (const char* name : kLinkOptions) {
    if (line.values.contains(QLatin1String(name))) links << QStringLiteral("--") + QLatin1String(name);
  }
  if (links.size() > 1) {
    return UsageError(QStringLiteral("%1 cannot be used together").arg(links.join(u' ')));
  }
  if (!links.isEmpty() && !device) {
    return UsageError(QStringLiteral("%1 goes with --dump, --diff or --apply").arg(links.first()));
  }
  // Options that go with some commands only.
  const struct {
    const char* name;
    std::initializer_list<CommandLine::Action> actions;
    const char* with;
  } kQualifiers[] = {
      {"no-store", {CommandLine::Action::kApply}, "--apply"},
      {"any-device", {CommandLine::Action::kApply}, "--apply"},
      {"any-model", {CommandLine::Action::kApply, CommandLine::Action::kDiff}, "--diff or --apply"},
      {"json", {CommandLine::Action::kApply, CommandLine::Action::kDiff}, "--diff or --apply"},
      {"settings",
       {CommandLine::Action::kDump, CommandLine::Action::kDiff, CommandLine::Action::kApply,
        CommandLine::Action::kListPorts},
       "--dump, --diff, --apply or --list-ports"},
  };
  for (const auto& qualifier : kQualifiers) {
    if (line.values.contains(QLatin1String(qualifier.name)) &&
        std::find(qualifier.actions.begin(), qualifier.actions.end(), line.action) ==
            qualifier.actions.end()) {
      return UsageError(QStringLiteral("--%1 goes with %2")
                            .arg(QLatin1String(qualifier.name), QLatin1String(qualifier.with)));
    }
  }
  for (const char* name : {"dump", "diff", "apply", "device", "settings"}) {
    const QLatin1String option(name);
    if (line.values.contains(option) && line.values.value(option).isEmpty()) {
      return UsageError(QStringLiteral("option '--%1' needs a value").arg(option));
    }
  }
  // No link is taken for granted: a device command names its own.
  if (device && links.isEmpty()) {
    return UsageError(QStringLiteral("--%1 needs --port COMn, --device PATH or --network HOST[:PORT]")
                          .arg(commands.first().mid(2)));
  }
  if (line.values.contains(QStringLiteral("port")) &&
      ComPortNumber(line.values.value(QStringLiteral("port"))) == 0) {
    return UsageError(QStringLiteral("not a COM port (COM1-COM9): '%1'")
                          .arg(line.values.value(QStringLiteral("port"))));
  }
  if (line.values.contains(QStringLiteral("network"))) {
    const QString target = line.values.value(QStringLiteral("network"));
    QString address;
    quint16 port = 0;
    if (!SplitNetworkTarget(target, address, port)) {
      return UsageError(QStringLiteral("not HOST[:PORT] (an IPv4 address, a host name or "
                                       "[an IPv6 address], a port 1-65535): '%1'")
                            .arg(target));
    }
  }
  return line;
}

int ComPortNumber(const QString& name) {
  if (!name.startsWith(QStringLiteral("COM"), Qt::CaseInsensitive) || name.size() != 4) return 0;
  const int number = name.at(3).digitValue();
  return number >= 1 && number <= 9 ? number : 0;
}

namespace {

// A host name: dot-separated labels of letters, digits and hyphens (not at
// a label's ends), at most 63 characters each and 253 in all.
bool HostName(const QString& name) {
  if (name.isEmpty() || name.size() > 253) return false;
  for (const QString& label : name.split(u'.')) {
    if (label.isEmpty() || label.size() > 63 || label.startsWith(u'-') || label.endsWith(u'-')) {
      return false;
    }
    for (const QChar c : label) {
      if (!(c.isDigit() || c == u'-' || (c.unicode() < 128 && c.isLetter()))) return false;
    }
  }
  // Digits and dots alone are meant as an IPv4 address, which it is not then.
  return std::any_of(name.begin(), name.end(), [](QChar c) { return c.isLetter(); });
}

}  // namespace

bool SplitNetworkTarget(const QString& target, QString& address, quint16& port) {
  port = 0;
  QString host = target;
  QString portText;
  bool bracketed = false;
  if (target.startsWith(u'[')) {  // "[IPv6]" or "[IPv6]:PORT"
    const qsizetype close = target.indexOf(u']');
    if (close < 0) return false;
    host = target.mid(1, close - 1);
    const QString rest = target.mid(close + 1);
    if (!rest.isEmpty()) {
      if (!rest.startsWith(u':')) return false;
      portText = rest.mid(1);
      if (portText.isEmpty()) return false;
    }
    bracketed = true;
  } else if (target.count(u':') == 1) {  // "HOST:PORT"; more colons: a bare IPv6 address
    const qsizetype colon = target.indexOf(u':');
    host = target.left(colon);
    portText = target.mid(colon + 1);
    if (portText.isEmpty()) return false;
  }
  if (!portText.isEmpty()) {
    bool ok = false;
    const uint number = portText.toUInt(&ok);
    if (!ok || number < 1 || number > 65535 || !portText.at(0).isDigit()) return false;
    port = static_cast<quint16>(number);
  }
  address = host;
  const QHostAddress ip(host);
  const bool ipv6 = !ip.isNull() && ip.protocol() == QAbstractSocket::IPv6Protocol;
  if (bracketed || host.contains(u':')) return ipv6;
  quint32 ipv4 = 0;
  return ParseDottedIpv4(host.toStdString(), &ipv4) || HostName(host);
}

CommandEnvironment SystemCommandEnvironment() {
  CommandEnvironment environment;
  environment.currentDirectory = QDir::currentPath();
  environment.configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  environment.programDirectory = QCoreApplication::applicationDirPath();
  return environment;
}

int RunCommand(const CommandLine& line, const CommandEnvironment& environment, QTextStream& out,
               QTextStream& err) {
  switch (line.action) {
    case CommandLine::Action::kHelp:
      out << HelpText(environment);
      return kExitDone;
    case CommandLine::Action::kVersion:
      out << "setutily " << ProgramVersion() << '\n';
      return kExitDone;
    case CommandLine::Action::kListPorts:
      ListPorts(environment,
                line.values.contains(QStringLiteral("settings"))
                    ? line.values.value(QStringLiteral("settings"))
                    : ProfilePath(environment.currentDirectory, environment.configHome),
                out);
      return kExitDone;
    case CommandLine::Action::kDump:
      return RunConfigCommand(ConfigAction::kDump, line.values, environment, environment.timing,
                              out, err);
    case CommandLine::Action::kDiff:
      return RunConfigCommand(ConfigAction::kDiff, line.values, environment, environment.timing,
                              out, err);
    case CommandLine::Action::kApply:
      return RunConfigCommand(ConfigAction::kApply, line.values, environment, environment.timing,
                              out, err);
    case CommandLine::Action::kUsageError:
      err << "setutily: " << line.error << "\nTry 'setutily --help'.\n";
      return kExitUsage;
    case CommandLine::Action::kOpenWindow:
      break;
  }
  err << "setutily: this command needs the window\n";
  return kExitFailed;
}

QString ProgramVersion() { return QStringLiteral(SETUTILY_VERSION); }

}  // namespace setutily
