#include "support/sim_harness.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace setutily::testing {

SimOnPty::SimOnPty(int baud) : server_(device_) {
  server_.SetBaud(baud);
  std::string error;
  const bool started = server_.Start(LinkPath().toStdString(), &error);
  EXPECT_TRUE(started) << error;
}

SimOnPty::~SimOnPty() { server_.Stop(); }

QString SimOnPty::LinkPath() const { return dir_.filePath(QStringLiteral("ttyMORIVEX")); }

void SimOnPty::With(const std::function<void(morivex9sim::Device&)>& fn) {
  server_.WithDevice(fn);
}

std::vector<std::string> SimOnPty::CommandLines() {
  std::vector<std::string> lines;
  With([&](morivex9sim::Device& d) { lines = d.CommandLines(); });
  return lines;
}

std::vector<morivex9sim::LogEntry> SimOnPty::Log() {
  std::vector<morivex9sim::LogEntry> log;
  With([&](morivex9sim::Device& d) { log = d.Log(); });
  return log;
}

void SimOnPty::AddFault(const morivex9sim::Fault& fault) {
  With([&](morivex9sim::Device& d) { d.AddFault(fault); });
}

SerialRig::SerialRig(bool commandLine, int baud) : sim(baud) {
  sim.With([&](morivex9sim::Device& d) { d.SetCommandLine(commandLine); });
  opened = link.Open(sim.LinkPath()) == kSerialOpened;
  EXPECT_TRUE(opened) << link.LastError().toStdString();
  exchange.SetTransport(&link);
}

InProcessTransport::InProcessTransport(morivex9sim::Device& device, QObject* parent)
    : ByteTransport(parent), device_(device) {}

qint64 InProcessTransport::Send(const QByteArray& bytes) {
  if (!open_ || bytes.isEmpty()) return 0;
  const auto outputs = device_.Receive(std::string_view(bytes.constData(), bytes.size()));
  for (const auto& out : outputs) {
    if (!out.bytes.empty()) {
      const QByteArray data(out.bytes.data(), static_cast<qsizetype>(out.bytes.size()));
      QTimer::singleShot(out.delayMs, this, [this, data] {
        if (open_) emit BytesReceived(data);
      });
    }
    if (out.hangUp) {  // after the bytes, if any (a restarting device answers first)
      QTimer::singleShot(out.bytes.empty() ? 0 : out.delayMs, this, [this] {
        open_ = false;
        emit LinkLost();
      });
      break;
    }
  }
  return bytes.size();
}

void InProcessTransport::Inject(const QByteArray& bytes) { emit BytesReceived(bytes); }

InProcessRig::InProcessRig() {
  device.SetCommandLine(true);
  exchange.SetTransport(&transport);
}

}  // namespace setutily::testing
