#include "pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace morivex9sim {

namespace {

using Clock = std::chrono::steady_clock;

std::chrono::nanoseconds ByteTime(int baud) {
  // One start bit, eight data bits, one stop bit.
  return baud > 0 ? std::chrono::nanoseconds(10'000'000'000LL / baud) : std::chrono::nanoseconds(0);
}

}  // namespace

PtyServer::PtyServer(Device& device) : device_(device) {}

PtyServer::~PtyServer() { Stop(); }

bool PtyServer::Start(const std::string& linkPath, std::string* error) {
  auto fail = [&](const std::string& what) {
    if (error != nullptr) *error = what + ": " + std::strerror(errno);
    return false;
  };
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master_ < 0) return fail("posix_openpt");
  if (grantpt(master_) != 0 || unlockpt(master_) != 0) return fail("grantpt/unlockpt");
  const char* name = ptsname(master_);
  if (name == nullptr) return fail("ptsname");
  terminal_ = name;
  // Hold the terminal side open so that the line stays up while the utility
  // closes and reopens it, and put it in raw mode: nothing is echoed or
  // translated by the terminal driver itself.
  slaveHold_ = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (slaveHold_ < 0) return fail("open " + terminal_);
  termios tio{};
  if (tcgetattr(slaveHold_, &tio) == 0) {
    cfmakeraw(&tio);
    cfsetispeed(&tio, B115200);
    cfsetospeed(&tio, B115200);
    tcsetattr(slaveHold_, TCSANOW, &tio);
  }
  if (!linkPath.empty()) {
    unlink(linkPath.c_str());
    if (symlink(name, linkPath.c_str()) != 0) return fail("symlink " + linkPath);
    link_ = linkPath;
  }
  return worker_.Start([this] { Run(); }, error);
}

void PtyServer::Stop() {
  worker_.Stop();
  for (int* fd : {&master_, &slaveHold_}) {
    if (*fd >= 0) close(*fd);
    *fd = -1;
  }
  if (!link_.empty()) {
    unlink(link_.c_str());
    link_.clear();
  }
}

void PtyServer::WithDevice(const std::function<void(Device&)>& fn) {
  std::lock_guard<std::mutex> lock(mutex_);
  fn(device_);
}

void PtyServer::Run() {
  char buffer[4096];
  while (!worker_.Stopping()) {
    const auto now = Clock::now();
    // Deliver paced input whose wire time has passed.
    while (!input_.empty() && input_.front().due <= now) {
      FeedDevice(input_.front().bytes);
      input_.pop_front();
    }
    if (hungUp_) break;
    const bool wantWrite = FlushOutput(Clock::now());
    if (hungUp_) break;
    if (hangUpWhenRead_ && ReplyTaken(Clock::now())) {
      HangUp();
      break;
    }

    // Sleep until input arrives, the next paced byte is due, or we are woken.
    Clock::time_point next = Clock::time_point::max();
    if (!input_.empty()) next = std::min(next, input_.front().due);
    if (!output_.empty() && !wantWrite) next = std::min(next, std::max(output_.front().due, outputFree_));
    // The terminal side gives no notice when it has been read: look again shortly.
    if (hangUpWhenRead_) next = std::min(next, Clock::now() + std::chrono::milliseconds(2));
    pollfd fds[1] = {{master_, static_cast<short>(POLLIN | (wantWrite ? POLLOUT : 0)), 0}};
    const int ready = worker_.Wait(fds, 1, next);
    if (ready < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[0].revents & POLLIN) {
      const ssize_t n = read(master_, buffer, sizeof buffer);
      if (n > 0) HandleInput(buffer, static_cast<std::size_t>(n), Clock::now());
    }
  }
}

void PtyServer::HandleInput(const char* data, std::size_t size, Clock::time_point now) {
  if (baud_ <= 0) {
    FeedDevice(std::string(data, size));
    return;
  }
  // Each byte "arrives" when it would have crossed the line.
  const auto byteTime = ByteTime(baud_);
  inputFree_ = std::max(inputFree_, now);
  for (std::size_t i = 0; i < size; ++i) {
    inputFree_ += byteTime;
    input_.push_back({std::string(1, data[i]), inputFree_});
  }
}

void PtyServer::FeedDevice(const std::string& bytes) {
  if (hangUpWhenRead_) return;  // the device is restarting and hears nothing
  std::vector<Output> outputs;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    outputs = device_.Receive(bytes);
  }
  const auto now = Clock::now();
  for (auto& out : outputs) {
    if (out.hangUp && out.bytes.empty()) {
      HangUp();
      return;
    }
    if (out.bytes.empty()) continue;
    output_.push_back(
        {std::move(out.bytes), now + std::chrono::milliseconds(out.delayMs), out.hangUp});
    if (out.hangUp) return;
  }
}

bool PtyServer::FlushOutput(Clock::time_point now) {
  const auto byteTime = ByteTime(baud_);
  while (!output_.empty()) {
    Pending& front = output_.front();
    if (front.due > now) return false;
    std::size_t allowed = front.bytes.size();
    if (baud_ > 0) {
      outputFree_ = std::max(outputFree_, front.due);
      if (outputFree_ > now) return false;
      // Bytes whose slot on the line has begun by now.
      allowed = std::min<std::size_t>(
          front.bytes.size(), static_cast<std::size_t>((now - outputFree_) / byteTime) + 1);
    }
    const ssize_t n = write(master_, front.bytes.data(), allowed);
    if (n < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK) return true;
      if (errno == EIO) return false;  // nobody reads the line right now
      return false;
    }
    if (baud_ > 0) outputFree_ += byteTime * n;
    front.bytes.erase(0, static_cast<std::size_t>(n));
    if (front.bytes.empty()) {
      if (front.hangUpAfter) {
        hangUpWhenRead_ = true;
        hangUpBy_ = now + std::chrono::seconds(1);
        output_.clear();
        return false;
      }
      output_.pop_front();
    }
    if (static_cast<std::size_t>(n) < allowed) return true;
  }
  return false;
}

bool PtyServer::ReplyTaken(Clock::time_point now) {
  if (slaveHold_ < 0 || now >= hangUpBy_) return true;
  // Polling the terminal side first moves what the master wrote into its
  // input queue, so "nothing to read" means the utility has read it all.
  pollfd terminal{slaveHold_, POLLIN, 0};
  return poll(&terminal, 1, 0) == 0;
}

void PtyServer::HangUp() {
  hungUp_ = true;
  output_.clear();
  input_.clear();
  if (master_ >= 0) close(master_);
  if (slaveHold_ >= 0) close(slaveHold_);
  master_ = -1;
  slaveHold_ = -1;
}

}  // namespace morivex9sim
