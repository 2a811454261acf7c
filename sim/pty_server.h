// Serves a Device on a pseudo-terminal, the way the device sits at the far
// end of a serial cable. A worker thread reads what the utility writes,
// feeds the device and writes its replies back, optionally paced at a line
// speed. The device is only touched under the server's lock.
#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "device.h"
#include "poll_worker.h"

namespace morivex9sim {

class PtyServer {
 public:
  explicit PtyServer(Device& device);
  ~PtyServer();
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  // Line speed in bit/s for pacing (10 bits per byte, both directions);
  // 0 sends and takes bytes as fast as the terminal allows. Set before Start.
  void SetBaud(int baud) { baud_ = baud; }

  // Creates the pseudo-terminal, makes linkPath a symbolic link to its
  // terminal side (replacing an existing link) and starts serving.
  // An empty linkPath creates no link. Returns false with error set on failure.
  bool Start(const std::string& linkPath, std::string* error);
  void Stop();

  // The terminal device the utility opens (e.g. /dev/pts/5).
  const std::string& TerminalPath() const { return terminal_; }
  // True after the line was dropped (a hang-up fault, a restarting device).
  bool HungUp() const { return hungUp_; }

  // Runs fn with the device locked (the worker thread feeds it meanwhile).
  void WithDevice(const std::function<void(Device&)>& fn);

 private:
  using Clock = std::chrono::steady_clock;
  struct Pending {
    std::string bytes;
    Clock::time_point due;  // when its first byte may go out
    bool hangUpAfter = false;  // the device restarts once these bytes are out
  };

  void Run();
  void HandleInput(const char* data, std::size_t size, Clock::time_point now);
  void FeedDevice(const std::string& bytes);
  bool FlushOutput(Clock::time_point now);
  // After a restarting device's last reply: true once the utility has read
  // it (or gave it a second), so that the hang-up does not discard it.
  bool ReplyTaken(Clock::time_point now);
  void HangUp();

  Device& device_;
  std::mutex mutex_;
  int baud_ = 0;
  int master_ = -1;
  int slaveHold_ = -1;
  std::string terminal_, link_;
  PollWorker worker_;
  std::atomic<bool> hungUp_{false};
  std::deque<Pending> input_;   // paced input not yet "arrived"
  std::deque<Pending> output_;  // replies waiting to go out
  Clock::time_point inputFree_{};   // when the line is free for the next input byte
  Clock::time_point outputFree_{};  // when the line is free for the next output byte
  bool hangUpWhenRead_ = false;      // a restart's reply is out; drop once it is read
  Clock::time_point hangUpBy_{};     // ... or at this time at the latest
};

}  // namespace morivex9sim
