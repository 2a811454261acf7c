// Test rigs that put the device simulator at the far end of a real link.
#pragma once

#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device.h"
#include "link/exchange.h"
#include "link/serial_link.h"
#include "link/transport.h"
#include "pty_server.h"

namespace setutily::testing {

// A simulator served on a real pseudo-terminal, reachable through a
// symbolic link in a private temporary directory.
class SimOnPty {
 public:
  explicit SimOnPty(int baud = 0);
  ~SimOnPty();

  QString LinkPath() const;
  // Runs fn with the device locked.
  void With(const std::function<void(morivex9sim::Device&)>& fn);
  std::vector<std::string> CommandLines();
  std::vector<morivex9sim::LogEntry> Log();
  void AddFault(const morivex9sim::Fault& fault);
  bool HungUp() const { return server_.HungUp(); }

 private:
  QTemporaryDir dir_;
  morivex9sim::Device device_;
  morivex9sim::PtyServer server_;
};

// The simulator on a pseudo-terminal plus an open SerialLink and a
// CommandExchange over it. With commandLine set, the device starts at its
// command line, as after "ATT1".
class SerialRig {
 public:
  explicit SerialRig(bool commandLine = true, int baud = 0);
  SimOnPty sim;
  SerialLink link;
  CommandExchange exchange;
  bool opened = false;
};

// A transport that hands bytes straight to an in-process device and
// delivers its replies from the event loop (honouring delay and hang-up
// faults): fast, for tests that do not need a real line.
class InProcessTransport : public ByteTransport {
  Q_OBJECT
 public:
  explicit InProcessTransport(morivex9sim::Device& device, QObject* parent = nullptr);
  bool IsOpen() const override { return open_; }
  qint64 Send(const QByteArray& bytes) override;
  void Close() { open_ = false; }
  // Bytes that arrive unasked, as from a device talking on its own.
  void Inject(const QByteArray& bytes);

 private:
  morivex9sim::Device& device_;
  bool open_ = true;
};

// A device already at its command line, an in-process transport and an
// exchange, for fast tests of read and write routines.
struct InProcessRig {
  InProcessRig();
  morivex9sim::Device device;
  InProcessTransport transport{device};
  CommandExchange exchange;
};

}  // namespace setutily::testing
