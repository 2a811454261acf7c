#include "tcp_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace morivex9sim {

namespace {

constexpr unsigned char kSe = 240, kNop = 241, kSb = 250, kWill = 251, kWont = 252, kDo = 253,
                        kDont = 254, kIac = 255;
constexpr int kMaxLoginLine = 256;
constexpr int kMaxTries = 3;

// Keys of the requests awaiting an answer: our WILL x is answered by DO or
// DONT x, our DO x by WILL or WONT x.
constexpr int kOurWill = 0;
constexpr int kOurDo = 256;

// Options requested at connect, the way a standard server opens a session:
// it echoes and suppresses go-ahead, offers its status, and asks for the
// terminal type, speed, environment, window size and flow control.
struct Request {
  unsigned char command;
  unsigned char option;
};
constexpr Request kGreeting[] = {
    {kWill, 1},  {kWill, 3},  {kWill, 5},  {kDo, 24}, {kDo, 32},
    {kDo, 39},   {kDo, 31},   {kDo, 33},
};

constexpr char kUserPrompt[] = "\r\nMORIVEX-9> ";

}  // namespace

TcpServer::TcpServer(Device& device, DeviceAccess access)
    : device_(device), access_(std::move(access)) {}

TcpServer::~TcpServer() { Stop(); }

bool TcpServer::Start(int port, std::string* error) {
  auto fail = [&](const std::string& what) {
    if (error != nullptr) *error = what + ": " + std::strerror(errno);
    Stop();
    return false;
  };
  if (port < 0 || port > 65535) {
    errno = EINVAL;
    return fail("port " + std::to_string(port));
  }
  listen_ = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listen_ < 0) return fail("socket");
  const int on = 1;
  setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(listen_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    return fail("bind 127.0.0.1:" + std::to_string(port));
  }
  if (listen(listen_, 4) != 0) return fail("listen");
  socklen_t length = sizeof address;
  if (getsockname(listen_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return fail("getsockname");
  }
  port_ = ntohs(address.sin_port);
  if (!worker_.Start([this] { Run(); }, error)) {
    Stop();
    return false;
  }
  return true;
}

void TcpServer::Stop() {
  worker_.Stop();
  if (session_.fd >= 0) EndSession(false);
  if (listen_ >= 0) close(listen_);
  listen_ = -1;
}

void TcpServer::WithDevice(const std::function<void(Device&)>& fn) {
  if (access_) {
    access_(fn);
    return;
  }
  std::lock_guard<std::mutex> lock(deviceMutex_);
  fn(device_);
}

TelnetRecord TcpServer::Record() {
  std::lock_guard<std::mutex> lock(recordMutex_);
  return record_;
}

void TcpServer::Run() {
  char buffer[4096];
  while (!worker_.Stopping()) {
    bool wantWrite = false;
    if (session_.fd >= 0) {
      wantWrite = Flush(Clock::now());
      if (session_.fd >= 0 && session_.output.empty() && session_.closeWhenSent) EndSession(true);
    }
    Clock::time_point next = Clock::time_point::max();
    if (session_.fd >= 0 && !session_.output.empty() && !wantWrite) next = session_.output.front().due;
    pollfd fds[2] = {{listen_, POLLIN, 0}, {-1, 0, 0}};
    if (session_.fd >= 0) {
      fds[1] = {session_.fd, static_cast<short>(POLLIN | (wantWrite ? POLLOUT : 0)), 0};
    }
    const int ready = worker_.Wait(fds, 2, next);
    if (ready < 0) {
      if (errno == EINTR) continue;
      break;
    }
    // The session first: a client that closed and connects again at once
    // finds its old session ended, not "active".
    if (fds[1].fd >= 0 && fds[1].fd == session_.fd && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
      const ssize_t n = recv(session_.fd, buffer, sizeof buffer, 0);
      if (n > 0) {
        HandleInput(buffer, static_cast<std::size_t>(n));
      } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
        EndSession(false);  // the client went away
      }
    }
    if (fds[0].revents & POLLIN) Accept();
  }
}

void TcpServer::Accept() {
  const int fd = accept4(listen_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
  if (fd < 0) return;
  if (session_.fd >= 0) {
    // One session at a time, like the device.
    static constexpr char kBusy[] = "\r\0Another session is active.\r\0\n";
    [[maybe_unused]] auto n = send(fd, kBusy, sizeof kBusy - 1, MSG_NOSIGNAL);
    close(fd);
    return;
  }
  session_ = Session{};
  session_.fd = fd;
  {
    std::lock_guard<std::mutex> lock(recordMutex_);
    ++record_.connections;
  }
  Greet();
}

void TcpServer::Greet() {
  std::string requests;
  for (const auto& request : kGreeting) {
    requests += static_cast<char>(kIac);
    requests += static_cast<char>(request.command);
    requests += static_cast<char>(request.option);
    session_.awaited.insert((request.command == kWill ? kOurWill : kOurDo) + request.option);
  }
  requests += static_cast<char>(kIac);
  requests += static_cast<char>(kNop);
  QueueRaw(std::move(requests));
  if (!waitForAnswers_) {
    session_.phase = Phase::kLoginPassword;
    Queue("\r\nMORIVEX-9\r\n\r\nPassword: ");
  }
}

void TcpServer::HandleInput(const char* data, std::size_t size) {
  std::string text;
  for (std::size_t i = 0; i < size && session_.fd >= 0; ++i) {
    const auto byte = static_cast<unsigned char>(data[i]);
    switch (session_.parse) {
      case Parse::kData:
        if (byte == kIac) {
          session_.parse = Parse::kIac;
        } else if (session_.lastWasCr && (byte == '\0' || byte == '\n')) {
          session_.lastWasCr = false;  // the CR already ended the line
        } else {
          text += static_cast<char>(byte);
          session_.lastWasCr = byte == '\r';
        }
        break;
      case Parse::kIac:
        session_.parse = Parse::kData;
        if (byte == kIac) {
          text += static_cast<char>(byte);
          session_.lastWasCr = false;
        } else if (byte >= kWill) {
          session_.command = byte;
          session_.parse = Parse::kOption;
        } else if (byte == kSb) {
          session_.parse = Parse::kSub;
        }
        break;
      case Parse::kOption:
        session_.parse = Parse::kData;
        if (!text.empty()) {
          TakeText(text);
          text.clear();
        }
        TakeOptionAnswer(session_.command, byte);
        break;
      case Parse::kSub:
        if (byte == kIac) session_.parse = Parse::kSubIac;
        break;
      case Parse::kSubIac:
        session_.parse = byte == kSe ? Parse::kData : Parse::kSub;
        break;
    }
  }
  if (!text.empty() && session_.fd >= 0) TakeText(text);
}

void TcpServer::TakeOptionAnswer(int command, int option) {
  {
    std::lock_guard<std::mutex> lock(recordMutex_);
    record_.optionAnswers.emplace_back(command, option);
  }
  if (command == kDo || command == kDont) session_.awaited.erase(kOurWill + option);
  if (command == kWill || command == kWont) session_.awaited.erase(kOurDo + option);
  if (session_.phase == Phase::kNegotiating && session_.awaited.empty()) {
    session_.phase = Phase::kLoginPassword;
    Queue("\r\nMORIVEX-9\r\n\r\nPassword: ");
  }
}

void TcpServer::TakeText(const std::string& text) {
  for (std::size_t i = 0; i < text.size() && session_.fd >= 0; ++i) {
    if (session_.phase == Phase::kCommandLine) {
      FeedDevice(text.substr(i));
      return;
    }
    const char c = text[i];
    if (session_.phase == Phase::kNegotiating) continue;  // nobody is listening yet
    if (c == '\r' || c == '\n') {
      std::string line;
      line.swap(session_.line);
      TakeLoginLine(line);
    } else if (session_.line.size() < kMaxLoginLine) {
      session_.line += c;
    }
  }
}

void TcpServer::TakeLoginLine(const std::string& line) {
  // A password line: recorded, then accepted or refused; the third refusal
  // ends the session, the others prompt again.
  auto password = [&](std::vector<std::string> TelnetRecord::*tries, const std::string& expected,
                      int& refusals, const char* refusal, const char* prompt) {
    {
      std::lock_guard<std::mutex> lock(recordMutex_);
      (record_.*tries).push_back(line);
    }
    if (line == expected) return true;
    Queue(refusal);
    if (++refusals >= kMaxTries) {
      session_.closeWhenSent = true;
    } else {
      Queue(prompt);
    }
    return false;
  };
  switch (session_.phase) {
    case Phase::kLoginPassword:
      if (password(&TelnetRecord::loginTries, loginPassword_, session_.loginTries,
                   "\r\nLogin incorrect\r\n", "Password: ")) {
        session_.phase = Phase::kUser;
        Queue(kUserPrompt);
      }
      return;
    case Phase::kUser:
      if (line == "administrator") {
        session_.phase = Phase::kAdministratorPassword;
        Queue(line + "\r\nPassword:");
      } else if (line.empty()) {
        Queue(kUserPrompt);
      } else {
        Queue(line + "\r\n% Unknown command" + kUserPrompt);
      }
      return;
    case Phase::kAdministratorPassword:
      if (password(&TelnetRecord::administratorTries, adminPassword_, session_.administratorTries,
                   "\r\n% Authentication failed\r\n", "Password:")) {
        session_.phase = Phase::kCommandLine;
        WithDevice([](Device& device) { device.SetCommandLine(true); });
        {
          std::lock_guard<std::mutex> lock(recordMutex_);
          ++record_.logins;
        }
        Queue("\r\n# ");
      }
      return;
    case Phase::kNegotiating:
    case Phase::kCommandLine:
      return;
  }
}

void TcpServer::FeedDevice(const std::string& bytes) {
  std::vector<Output> outputs;
  bool stillCommandLine = true;
  WithDevice([&](Device& device) {
    outputs = device.Receive(bytes);
    stillCommandLine = device.InCommandLine();
  });
  for (auto& out : outputs) {
    if (out.hangUp && out.bytes.empty()) {
      hungUp_ = true;
      EndSession(true);
      return;
    }
    if (!out.bytes.empty()) Queue(out.bytes, out.delayMs);
    if (out.hangUp) {  // a restarting device: its answer, then nothing more
      session_.closeWhenSent = true;
      return;
    }
  }
  // "exit" leaves the command line and "restart" reboots the device: either
  // way the session ends once the answer is out.
  if (!stillCommandLine) session_.closeWhenSent = true;
}

void TcpServer::Queue(std::string_view text, int delayMs) {
  std::string bytes;
  bytes.reserve(text.size() + 16);
  for (const char c : text) {
    bytes += c;
    if (c == '\r') bytes += '\0';
    if (static_cast<unsigned char>(c) == kIac) bytes += static_cast<char>(kIac);
  }
  session_.output.push_back({std::move(bytes), Clock::now() + std::chrono::milliseconds(delayMs)});
}

void TcpServer::QueueRaw(std::string bytes) {
  session_.output.push_back({std::move(bytes), Clock::now()});
}

bool TcpServer::Flush(Clock::time_point now) {
  while (session_.fd >= 0 && !session_.output.empty()) {
    Pending& front = session_.output.front();
    if (front.due > now) return false;
    const ssize_t n = send(session_.fd, front.bytes.data(), front.bytes.size(), MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK) return true;
      EndSession(false);
      return false;
    }
    front.bytes.erase(0, static_cast<std::size_t>(n));
    if (!front.bytes.empty()) return true;
    session_.output.pop_front();
  }
  return false;
}

void TcpServer::EndSession(bool byServer) {
  if (session_.fd >= 0) close(session_.fd);
  session_ = Session{};
  if (byServer) {
    std::lock_guard<std::mutex> lock(recordMutex_);
    ++record_.closedByServer;
  }
}

}  // namespace morivex9sim
