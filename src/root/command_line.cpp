#include "root/command_line.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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
    {"diff", nullptr, "FILE", "print the commands --apply FILE would send"},
    {"apply", nullptr, "FILE", "send what differs from FILE, then store it in the device"},
    {"no-store", nullptr, nullptr, "with --apply: do not store (\"fromwr 15\")"},
    {"any-model", nullptr, nullptr,
     "with --diff or --apply: take a file of another model or firmware"},
    {"port", nullptr, "COMn", "reach the device on COM port n (setutily.ini's [DEVICE])"},
    {"device", nullptr, "PATH", "reach the device on this serial device"},
    {"network", nullptr, "ADDRESS[:PORT]",
     "reach the device over the network (passwords: setutily.ini, or\n"
     "                           SETUTILY_LOGIN_PASSWORD and SETUTILY_ADMIN_PASSWORD)"},
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

QString HelpText(const CommandEnvironment& environment) {
  QString text = QStringLiteral(
      "Usage: setutily [OPTION]\n"
      "The MORIVEX-9 configuration utility. Without an option it opens its window:\n"
      "the connection dialog, then the main window.\n"
      "  setutily --dump FILE | --diff FILE | --apply FILE [--no-store]\n"
      "           [--port COMn | --device PATH | --network ADDRESS[:PORT]]\n"
      "back up, compare and restore the device's settings without a display.\n\nOptions:\n");
  for (const Option& option : kOptions) {
    QString left = option.shortName != nullptr
                       ? QStringLiteral("  -%1, --%2").arg(QLatin1String(option.shortName),
                                                         QLatin1String(option.name))
                       : QStringLiteral("      --%1").arg(QLatin1String(option.name));
    if (option.valueName != nullptr) left += u' ' + QLatin1String(option.valueName);
    text += left.leftJustified(24) + u' ' + QLatin1String(option.help) + u'\n';
  }
  const QString profile = ProfilePath(environment.currentDirectory, environment.configHome);
  const QString help = FindHelpFile(HelpFolders(environment.currentDirectory,
                                                environment.programDirectory));
  text += QStringLiteral(
              "\nFiles:\n"
              "  setutily.ini    the connection settings: setutily.ini in the current\n"
              "                  directory when there is one, otherwise\n"
              "                  ~/.config/setutily/setutily.ini\n"
              "                  now: %1\n"
              "  MORIVEX-9.hlp   the help: MORIVEX-9.hlp in the current directory, otherwise\n"
              "                  the installed one in share/setutily\n"
              "                  now: %2\n"
              "\nFILE '-' is standard output for --dump, standard input for --diff and --apply.\n"
              "Exit status: 0 done, 1 failed, 2 wrong command line, file or target,\n"
              "128+N ended by signal N (130 SIGINT, 143 SIGTERM, 129 SIGHUP). See setutily(1).\n")
              .arg(profile, help.isEmpty() ? QStringLiteral("(not found)") : help);
  return text;
}

void ListPorts(const CommandEnvironment& environment, QTextStream& out) {
  const QString path = ProfilePath(environment.currentDirectory, environment.configHome);
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
  if (line.values.contains(QStringLiteral("no-store")) &&
      line.action != CommandLine::Action::kApply) {
    return UsageError(QStringLiteral("--no-store goes with --apply"));
  }
  if (line.values.contains(QStringLiteral("any-model")) &&
      line.action != CommandLine::Action::kApply && line.action != CommandLine::Action::kDiff) {
    return UsageError(QStringLiteral("--any-model goes with --diff or --apply"));
  }
  for (const char* name : {"dump", "diff", "apply", "device"}) {
    const QLatin1String option(name);
    if (line.values.contains(option) && line.values.value(option).isEmpty()) {
      return UsageError(QStringLiteral("option '--%1' needs a value").arg(option));
    }
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
      return UsageError(
          QStringLiteral("not ADDRESS[:PORT] (a dotted IPv4 address, a port 1-65535): '%1'")
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

bool SplitNetworkTarget(const QString& target, QString& address, quint16& port) {
  const qsizetype colon = target.lastIndexOf(u':');
  address = colon >= 0 ? target.left(colon) : target;
  port = 0;
  if (colon >= 0) {
    bool ok = false;
    const uint number = target.mid(colon + 1).toUInt(&ok);
    if (!ok || number < 1 || number > 65535 || !target.at(colon + 1).isDigit()) return false;
    port = static_cast<quint16>(number);
  }
  quint32 ip = 0;
  return ParseDottedIpv4(address.toStdString(), &ip);
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
      ListPorts(environment, out);
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
