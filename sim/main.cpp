// morivex9-sim: stands in for a MORIVEX-9 at the far end of a serial line,
// on the home network (telnet on a loopback TCP port), or both. Its options
// are the table in sim_options.cpp.
#include <csignal>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "device.h"
#include "pty_server.h"
#include "sim_options.h"
#include "tcp_server.h"

using morivex9sim::Device;
using morivex9sim::PtyServer;
using morivex9sim::TcpServer;

int main(int argc, char** argv) {
  Device device;
  morivex9sim::SimSetup setup(device);
  std::string error;
  if (!morivex9sim::ParseSimCommandLine(std::vector<std::string>(argv + 1, argv + argc), setup,
                                        error)) {
    std::cerr << "morivex9-sim: " << error << "\nTry 'morivex9-sim --help'.\n";
    return morivex9sim::kSimExitUsage;
  }
  if (setup.help) {
    morivex9sim::PrintSimHelp(std::cout);
    return morivex9sim::kSimExitDone;
  }
  const std::string& ptyPath = setup.ptyPath;
  const int baud = setup.baud;

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
  if (!ptyPath.empty()) {
    server.SetBaud(baud);
    if (!server.Start(ptyPath, &error)) {
      std::cerr << "morivex9-sim: " << error << "\n";
      return morivex9sim::kSimExitFailed;
    }
    std::cout << "morivex9-sim: serving " << server.TerminalPath() << " as " << ptyPath
              << (baud > 0 ? " at " + std::to_string(baud) + " bit/s" : std::string()) << std::endl;
  }
  if (setup.tcpPort >= 0) {
    telnet.SetLoginPassword(setup.loginPassword);
    telnet.SetAdministratorPassword(setup.adminPassword);
    telnet.SetWaitForOptionAnswers(setup.waitForOptions);
    if (!telnet.Start(setup.tcpPort, &error)) {
      std::cerr << "morivex9-sim: " << error << "\n";
      server.Stop();
      return morivex9sim::kSimExitFailed;
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
    if (!setup.quiet) {
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
  return morivex9sim::kSimExitDone;
}
