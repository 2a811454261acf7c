// morivex9-sim: stands in for a MORIVEX-9 at the far end of a serial line,
// on the home network (telnet on a loopback TCP port), or both.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "device.h"
#include "pty_server.h"
#include "tcp_server.h"

using morivex9sim::Device;
using morivex9sim::Fault;
using morivex9sim::PtyServer;
using morivex9sim::TcpServer;

namespace {

void Usage() {
  std::cerr <<
      "usage: morivex9-sim [--pty PATH] [--tcp PORT] [options]   (at least one of the two)\n"
      "  --pty PATH          make PATH a link to the simulated serial line\n"
      "  --baud N            pace the line at N bit/s (10 bits per byte)\n"
      "  --tcp PORT          serve telnet on 127.0.0.1:PORT (0 = any free port)\n"
      "  --login-password P  telnet login password (default: empty)\n"
      "  --admin-password P  password of the \"administrator\" account (default: empty)\n"
      "  --wait-for-options  prompt only after every telnet option request was answered\n"
      "  --state FILE        the device's flash: loaded at start, written by \"fromwr 15\"\n"
      "  --log FILE          append every received command line (OK/ERR/LOST) to FILE\n"
      "  --firmware VERSION  firmware number shown after \"Version \" (default 1.00)\n"
      "  --mac ADDRESS       MAC address (17 characters)\n"
      "  --model NAME        model name in the reply to ATI (default MORIVEX-9)\n"
      "  --command-line      start at the command line, as a run that never sent\n"
      "                      \"exit\" leaves the device\n"
      "  --fault FAULT       KIND[:VALUE][@PREFIX][#SKIP][xCOUNT], repeatable; KIND is one of\n"
      "                      silent, delay, cut, garbage, oversize, zero, hangup\n"
      "  --quiet             do not print received lines\n";
}

bool ParseFault(const std::string& text, Fault& fault) {
  std::string rest = text;
  auto take = [&rest](char sep) -> std::string {
    const auto at = rest.find(sep);
    if (at == std::string::npos) return {};
    std::string value = rest.substr(at + 1);
    rest.erase(at);
    return value;
  };
  const std::string count = take('x');
  const std::string skip = take('#');
  fault.match = take('@');
  const std::string value = take(':');
  static const std::pair<const char*, Fault::Kind> kKinds[] = {
      {"silent", Fault::kSilent}, {"delay", Fault::kDelay},       {"cut", Fault::kCut},
      {"garbage", Fault::kGarbage}, {"oversize", Fault::kOversize}, {"zero", Fault::kZeroByte},
      {"hangup", Fault::kHangUp}};
  bool known = false;
  for (const auto& [name, kind] : kKinds) {
    if (rest == name) {
      fault.kind = kind;
      known = true;
    }
  }
  if (!known) return false;
  fault.value = value.empty() ? 0 : std::atoi(value.c_str());
  fault.skip = skip.empty() ? 0 : std::atoi(skip.c_str());
  fault.count = count.empty() ? -1 : std::atoi(count.c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Device device;
  std::string ptyPath;
  int baud = 0;
  int tcpPort = -1;
  std::string loginPassword, adminPassword;
  bool waitForOptions = false;
  bool quiet = false;
  std::vector<std::string> args(argv + 1, argv + argc);
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= args.size()) {
        std::cerr << "morivex9-sim: " << arg << " needs a value\n";
        std::exit(2);
      }
      return args[++i];
    };
    if (arg == "--pty") ptyPath = value();
    else if (arg == "--baud") baud = std::atoi(value().c_str());
    else if (arg == "--tcp") {
      const std::string port = value();
      char* end = nullptr;
      const long number = std::strtol(port.c_str(), &end, 10);
      if (port.empty() || *end != '\0' || number < 0 || number > 65535) {
        std::cerr << "morivex9-sim: bad port \"" << port << "\"\n";
        return 2;
      }
      tcpPort = static_cast<int>(number);
    }
    else if (arg == "--login-password") loginPassword = value();
    else if (arg == "--admin-password") adminPassword = value();
    else if (arg == "--wait-for-options") waitForOptions = true;
    else if (arg == "--state") device.SetStateFile(value());
    else if (arg == "--log") device.SetLogFile(value());
    else if (arg == "--firmware") device.SetFirmware(value());
    else if (arg == "--mac") device.SetMac(value());
    else if (arg == "--model") device.SetModelName(value());
    else if (arg == "--quiet") quiet = true;
    else if (arg == "--command-line") device.SetCommandLine(true);
    else if (arg == "--fault") {
      Fault fault;
      const std::string text = value();
      if (!ParseFault(text, fault)) {
        std::cerr << "morivex9-sim: bad fault \"" << text << "\"\n";
        return 2;
      }
      device.AddFault(fault);
    } else if (arg == "-h" || arg == "--help") {
      Usage();
      return 0;
    } else {
      std::cerr << "morivex9-sim: unknown option " << arg << "\n";
      Usage();
      return 2;
    }
  }
  if (ptyPath.empty() && tcpPort < 0) {
    Usage();
    return 2;
  }

  // Wait for a termination signal in this thread; the server runs in its own.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  PtyServer server(device);
  TcpServer telnet(device, ptyPath.empty() ? TcpServer::DeviceAccess{}
                                           : [&server](const std::function<void(Device&)>& fn) {
                                               server.WithDevice(fn);
                                             });
  std::string error;
  if (!ptyPath.empty()) {
    server.SetBaud(baud);
    if (!server.Start(ptyPath, &error)) {
      std::cerr << "morivex9-sim: " << error << "\n";
      return 1;
    }
    std::cout << "morivex9-sim: serving " << server.TerminalPath() << " as " << ptyPath
              << (baud > 0 ? " at " + std::to_string(baud) + " bit/s" : std::string()) << std::endl;
  }
  if (tcpPort >= 0) {
    telnet.SetLoginPassword(loginPassword);
    telnet.SetAdministratorPassword(adminPassword);
    telnet.SetWaitForOptionAnswers(waitForOptions);
    if (!telnet.Start(tcpPort, &error)) {
      std::cerr << "morivex9-sim: " << error << "\n";
      server.Stop();
      return 1;
    }
    std::cout << "morivex9-sim: serving telnet on 127.0.0.1:" << telnet.Port() << std::endl;
  }
  // Both transports feed the same device under one lock (the telnet server
  // borrows the serial server's when both run).
  auto withDevice = [&](const std::function<void(Device&)>& fn) { telnet.WithDevice(fn); };

  std::size_t printed = 0;
  timespec tick{0, 100'000'000};
  for (;;) {
    const int sig = sigtimedwait(&signals, nullptr, &tick);
    if (!quiet) {
      withDevice([&](Device& d) {
        for (; printed < d.Log().size(); ++printed) {
          const auto& entry = d.Log()[printed];
          std::cout << (entry.lost ? "LOST " : entry.accepted ? "OK   " : "ERR  ") << entry.line
                    << std::endl;
        }
      });
    }
    if (sig > 0) break;
    if (!ptyPath.empty() && server.HungUp()) {
      std::cout << "morivex9-sim: line hung up" << std::endl;
      break;
    }
  }
  telnet.Stop();
  server.Stop();
  return 0;
}
