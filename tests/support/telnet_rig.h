// Test rigs that put the device simulator at the far end of a telnet
// connection on a loopback TCP port.
#pragma once

#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device.h"
#include "link/exchange.h"
#include "link/network_login.h"
#include "link/telnet_link.h"
#include "tcp_server.h"

namespace setutily::testing {

// The passwords the simulator of these rigs expects.
inline constexpr char kSimLoginPassword[] = "pna-1234";
inline constexpr char kSimAdministratorPassword[] = "adm#9";

// A simulator served over telnet on 127.0.0.1 at a port the system chose.
class SimOnTcp {
 public:
  explicit SimOnTcp(bool waitForOptionAnswers = false);
  ~SimOnTcp();

  int Port() const { return server_.Port(); }
  // Runs fn with the device locked.
  void With(const std::function<void(morivex9sim::Device&)>& fn);
  std::vector<std::string> CommandLines();
  std::vector<morivex9sim::LogEntry> Log();
  void AddFault(const morivex9sim::Fault& fault);
  bool HungUp() const { return server_.HungUp(); }
  morivex9sim::TelnetRecord Record() { return server_.Record(); }

 private:
  morivex9sim::Device device_;
  morivex9sim::TcpServer server_;
};

// The simulator over telnet, a TelnetLink connected to it, a CommandExchange
// over the link and the login. The constructor connects and runs the login
// with the given passwords; opened tells whether it succeeded, and the
// device then sits at its command line.
class TelnetRig {
 public:
  TelnetRig() : TelnetRig(kSimLoginPassword, kSimAdministratorPassword) {}
  TelnetRig(const std::string& loginPassword, const std::string& administratorPassword,
            bool waitForOptionAnswers = false);

  SimOnTcp sim;
  TelnetLink link;
  CommandExchange exchange;
  NetworkLogin login{link, exchange};
  QStringList log;  // the login's log lines
  std::optional<NetworkLogin::Failure> failure;
  bool opened = false;
};

}  // namespace setutily::testing
