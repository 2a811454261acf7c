#include "poll_worker.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

namespace morivex9sim {

bool PollWorker::Start(std::function<void()> body, std::string* error) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_NONBLOCK | O_CLOEXEC) != 0) {
    if (error != nullptr) *error = std::string("pipe: ") + std::strerror(errno);
    return false;
  }
  wakeRead_ = pipeFds[0];
  wakeWrite_ = pipeFds[1];
  stop_ = false;
  thread_ = std::thread(std::move(body));
  return true;
}

void PollWorker::Stop() {
  stop_ = true;
  if (wakeWrite_ >= 0) {
    const char byte = 1;
    [[maybe_unused]] auto n = write(wakeWrite_, &byte, 1);
  }
  if (thread_.joinable()) thread_.join();
  for (int* fd : {&wakeRead_, &wakeWrite_}) {
    if (*fd >= 0) close(*fd);
    *fd = -1;
  }
}

int PollWorker::Wait(pollfd* fds, nfds_t count, Clock::time_point until) {
  timespec timeout{};
  timespec* timeoutPtr = nullptr;
  if (until != Clock::time_point::max()) {
    const auto wait = std::max<Clock::duration>(until - Clock::now(), Clock::duration::zero());
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
    timeout.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
    timeout.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    timeoutPtr = &timeout;
  }
  std::vector<pollfd> all(fds, fds + count);
  all.push_back({wakeRead_, POLLIN, 0});
  const int ready = ppoll(all.data(), all.size(), timeoutPtr, nullptr);
  if (ready < 0) return ready;
  if (all.back().revents & POLLIN) {
    char buffer[64];
    while (read(wakeRead_, buffer, sizeof buffer) > 0) {
    }
  }
  for (nfds_t i = 0; i < count; ++i) fds[i].revents = all[i].revents;
  return ready;
}

}  // namespace morivex9sim
