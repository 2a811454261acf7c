// The backup's speed: every category read for a configuration file over a
// serial line paced at 115200 bit/s, against the wire time of its bytes
// (target: at most 1.02 of it), and the utility's processor time for it.
//
//   build/bin/config_bench
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

#include "device.h"
#include "link/exchange.h"
#include "paced_device.h"
#include "root/config_categories.h"
#include "settings/config_file.h"

using namespace setutily;

namespace {

double ThreadCpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  constexpr int kBaud = 115200;
  QTemporaryDir dir;
  morivex9sim::Device device;
  device.SetCommandLine(true);
  morivex9sim::PtyServer server(device);
  SerialLink link;
  if (!OpenPacedDevice(server, link, dir, kBaud)) return 1;
  std::size_t received = 0;
  QObject::connect(&link, &ByteTransport::BytesReceived,
                   [&received](const QByteArray& bytes) { received += bytes.size(); });
  CommandExchange exchange;
  exchange.SetTransport(&link);
  DeviceContext context(exchange);
  const std::vector<ConfigCategory> categories = BuildConfigCategories();

  for (int run = 0; run < 3; ++run) {
    received = 0;
    server.WithDevice([](morivex9sim::Device& d) { d.ClearLog(); });
    QElapsedTimer clock;
    clock.start();
    const double cpuBefore = ThreadCpuSeconds();
    if (ReadConfig(context, categories, {}, nullptr) != 1) {
      std::fprintf(stderr, "the read failed\n");
      return 1;
    }
    const std::string text = ConfigText(context, categories, {"MORIVEX-9", "", ""});
    const double cpu = ThreadCpuSeconds() - cpuBefore;
    const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    std::size_t sent = 0;
    std::size_t commands = 0;
    server.WithDevice([&](morivex9sim::Device& d) {
      for (const auto& entry : d.Log()) {
        sent += entry.line.size() + 1;
        ++commands;
      }
    });
    const double wire = static_cast<double>(sent + received) * 10.0 / kBaud;
    std::printf(
        "dump of %zu categories: %zu show commands, %zu bytes on the line, %.3f s elapsed / "
        "%.3f s wire time = %.4f; utility processor time %.1f ms; file %zu bytes\n",
        categories.size(), commands, sent + received, elapsed, wire, elapsed / wire, cpu * 1e3,
        text.size());
  }
  return 0;
}
