// The read-back's cost: what reading the written groups' pages again adds to
// a write, per category, over a serial line paced at 115200 bit/s (target:
// under one second for the router category written whole).
//
// Each category is written whole: the store is emptied and the device's own
// settings taken from its backup, so every group sends (values the device
// already holds, so it takes them all) and is read back. The device's lists
// are full (the host table with long names), so their pages are as long as
// they get. The time of each
// exchange is split into setting commands and the show commands of the
// read-backs. The router address (after which the device restarts) is left
// out.
//
//   build/bin/read_back_bench
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "device.h"
#include "link/exchange.h"
#include "paced_device.h"
#include "root/config_categories.h"
#include "settings/config_file.h"

using namespace setutily;

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  constexpr int kBaud = 115200;
  QTemporaryDir dir;
  morivex9sim::Device device;
  device.SetCommandLine(true);
  for (int n = 1; n <= 32; ++n) {
    const std::string number = std::to_string(n);
    device.Set("nat." + number, "192.168.0." + number + ",203.0.113." + number);
    if (n <= 20) {
      device.Set("host." + number, "192.168.1." + number + ",host-" + number + std::string(50, 'a'));
      device.Set("shortnum." + number, "03-5555-" + std::to_string(1000 + n));
    }
  }
  morivex9sim::PtyServer server(device);
  SerialLink link;
  if (!OpenPacedDevice(server, link, dir, kBaud)) return 1;
  CommandExchange exchange;
  exchange.SetTransport(&link);
  // The time of every exchange, in order (the device logs one line each).
  std::vector<double> times;
  QElapsedTimer clock;
  QObject::connect(&exchange, &CommandExchange::BusyChanged, [&](bool busy) {
    if (busy) {
      clock.start();
    } else {
      times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
  });
  const std::vector<ConfigCategory> all = BuildConfigCategories();
  DeviceContext reader(exchange);
  if (ReadConfig(reader, all, {}, nullptr) != 1) {
    std::fprintf(stderr, "the read failed\n");
    return 1;
  }
  const std::string backup = ConfigText(reader, all, {"MORIVEX-9", "", ""});

  for (const ConfigCategory& whole : all) {
    ConfigCategory category = whole;
    std::erase_if(category.groups, [](const ConfigGroup& group) { return group.last; });
    DeviceContext context(exchange);
    ConfigError problem;
    if (!TakeConfig(context, all, backup, problem)) {
      std::fprintf(stderr, "the backup was refused: %s\n", ConfigErrorText(problem).c_str());
      return 1;
    }
    server.WithDevice([](morivex9sim::Device& d) { d.ClearLog(); });
    times.clear();
    const ApplyResult result = ApplyConfig(context, {category}, {});
    double shows = 0, settings = 0;
    int pages = 0, commands = 0;
    server.WithDevice([&](morivex9sim::Device& d) {
      const auto& log = d.Log();
      for (std::size_t i = 0; i < log.size() && i < times.size(); ++i) {
        if (log[i].line.rfind("show ", 0) == 0) {
          shows += times[i];
          std::printf("  %s %.1f ms\n", log[i].line.c_str(), times[i] * 1e3);
          ++pages;
        } else {
          settings += times[i];
          ++commands;
        }
      }
    });
    std::printf("%s: %d setting commands %.3f s, read-back of %d pages %.3f s (%.1f ms a page)%s\n",
                category.title.c_str(), commands, settings, pages, shows,
                pages > 0 ? shows * 1e3 / pages : 0.0,
                result.AllTaken() ? "" : " (not all taken)");
  }
  return 0;
}
