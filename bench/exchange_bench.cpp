// Speed of the command exchange against the simulator over a real
// pseudo-terminal:
//   1. exchanges per second without line pacing, and the processor time the
//      utility's thread spends per exchange (median, microseconds);
//   2. processor time used while one exchange waits 2 s for a reply that
//      never comes (as a share of those 2 s);
//   3. with 115200 bit/s pacing, the time of 17 show-like exchanges divided
//      by the wire time of their bytes.
#include <time.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "device.h"
#include "link/exchange.h"
#include "link/serial_link.h"
#include "pty_server.h"

using namespace setutily;

namespace {

double CpuSeconds(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// A device with show commands whose replies are as long as the longest
// category pages (about 40 labelled lines).
void AddShowPages(morivex9sim::Device& device) {
  for (int page = 1; page <= 17; ++page) {
    device.AddShow("show bench " + std::to_string(page), [page](const morivex9sim::Device&) {
      std::string body;
      for (int line = 0; line < 14 + page; ++line) {
        body += "setting label " + std::to_string(line) + ": " + std::to_string(line * 37 % 100) +
                "\r\n";
      }
      return body;
    });
  }
}

struct Rig {
  explicit Rig(int baud) : server(device) {
    AddShowPages(device);
    device.SetCommandLine(true);
    server.SetBaud(baud);
    std::string error;
    const QString path = dir.filePath("tty");
    if (!server.Start(path.toStdString(), &error) || link.Open(path) != kSerialOpened) {
      std::fprintf(stderr, "cannot start the simulator: %s\n", error.c_str());
      std::exit(1);
    }
    exchange.SetTransport(&link);
  }
  QTemporaryDir dir;
  morivex9sim::Device device;
  morivex9sim::PtyServer server;
  SerialLink link;
  CommandExchange exchange;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  std::string reply;

  // 1. Throughput and per-exchange overhead without pacing.
  {
    Rig rig(0);
    constexpr int kCount = 2000;
    std::vector<double> cpu;
    cpu.reserve(kCount);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kCount; ++i) {
      const double before = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
      if (rig.exchange.SendAndWait("show bench 3\r", &reply, 3000, kTerminatorPrompt) != 1) {
        std::fprintf(stderr, "exchange %d failed\n", i);
        return 1;
      }
      cpu.push_back((CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - before) * 1e6);
    }
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    std::sort(cpu.begin(), cpu.end());
    std::printf("exchanges per second (pty, no pacing, %zu-byte replies): %.0f\n", reply.size(),
                kCount / seconds);
    std::printf("utility processor time per exchange (median): %.1f us\n", cpu[cpu.size() / 2]);
  }

  // 2. Processor time while waiting for a reply that never comes.
  {
    Rig rig(0);
    rig.device.AddFault({morivex9sim::Fault::kSilent, 0, "show", -1});
    const double before = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    QElapsedTimer clock;
    clock.start();
    const int result = rig.exchange.SendAndWait("show bench 1\r", &reply, 2000, kTerminatorPrompt);
    const double wall = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    const double used = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - before;
    std::printf("processor time during a 2 s unanswered wait: %.2f ms = %.3f%% (result %d, %.3f s)\n",
                used * 1e3, used / wall * 100.0, result, wall);
  }

  // 3. Paced line: elapsed time over wire time for 17 show-like exchanges.
  {
    constexpr int kBaud = 115200;
    Rig rig(kBaud);
    std::size_t bytes = 0;
    QElapsedTimer clock;
    clock.start();
    for (int page = 1; page <= 17; ++page) {
      const std::string command = "show bench " + std::to_string(page) + "\r";
      if (rig.exchange.SendAndWait(command, &reply, 10000, kTerminatorPrompt) != 1) {
        std::fprintf(stderr, "paced exchange %d failed\n", page);
        return 1;
      }
      bytes += command.size() + reply.size();
    }
    const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    const double wire = static_cast<double>(bytes) * 10.0 / kBaud;
    std::printf("paced at %d bit/s: 17 exchanges, %zu bytes, %.3f s elapsed / %.3f s wire time = %.4f\n",
                kBaud, bytes, elapsed, wire, elapsed / wire);
  }
  return 0;
}
