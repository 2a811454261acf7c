// The worker thread of a simulator transport: it sleeps in ppoll on the
// transport's descriptors plus a wake-up pipe, so that Stop can end it at
// any moment.
#pragma once

#include <poll.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace morivex9sim {

class PollWorker {
 public:
  using Clock = std::chrono::steady_clock;

  PollWorker() = default;
  ~PollWorker() { Stop(); }
  PollWorker(const PollWorker&) = delete;
  PollWorker& operator=(const PollWorker&) = delete;

  // Creates the wake-up pipe and runs body on the worker thread; body loops
  // until Stopping(). Returns false with error set when the pipe fails.
  bool Start(std::function<void()> body, std::string* error);
  // Ends the loop, joins the thread and closes the pipe.
  void Stop();
  bool Stopping() const { return stop_; }

  // Waits until one of fds (the caller's; the wake-up pipe is added) is
  // ready, Stop is called, or `until` has come (Clock::time_point::max()
  // waits without limit). Returns ppoll's result for fds; -1 with EINTR is
  // left to the caller to retry.
  int Wait(pollfd* fds, nfds_t count, Clock::time_point until);

 private:
  std::thread thread_;
  std::atomic<bool> stop_{false};
  int wakeRead_ = -1, wakeWrite_ = -1;
};

}  // namespace morivex9sim
