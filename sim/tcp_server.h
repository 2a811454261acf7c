// Serves a Device over telnet on a loopback TCP port, the way the device
// answers on the home network: option requests at connect, the login
// password, the administrator account with its password, then the same
// command line as over the serial line. Line ends go out as CR NUL and data
// bytes 255 are doubled. One session at a time; a worker thread does the
// I/O and the device is only touched under the server's lock.
#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "device.h"
#include "poll_worker.h"

namespace morivex9sim {

// What the telnet service saw, for tests and the console.
struct TelnetRecord {
  int connections = 0;
  std::vector<std::string> loginTries;          // lines typed at "Password: "
  std::vector<std::string> administratorTries;  // lines typed after "administrator"
  // Option answers from the client: (command byte, option byte).
  std::vector<std::pair<int, int>> optionAnswers;
  int logins = 0;          // sessions that reached the command line
  int closedByServer = 0;  // sessions the server ended (too many tries, exit, restart)
};

class TcpServer {
 public:
  // Runs a function with the device locked. A server that shares its device
  // with another transport takes that transport's access, so that one lock
  // guards the device; without one it uses a lock of its own.
  using DeviceAccess = std::function<void(const std::function<void(Device&)>&)>;

  explicit TcpServer(Device& device, DeviceAccess access = {});
  ~TcpServer();
  TcpServer(const TcpServer&) = delete;
  TcpServer& operator=(const TcpServer&) = delete;

  // Set before Start.
  void SetLoginPassword(std::string password) { loginPassword_ = std::move(password); }
  void SetAdministratorPassword(std::string password) { adminPassword_ = std::move(password); }
  // Prompt for the password only once every option request was answered,
  // as standard servers do (a client that never answers never gets a prompt).
  void SetWaitForOptionAnswers(bool wait) { waitForAnswers_ = wait; }

  // Listens on 127.0.0.1:port (0 = a free port chosen by the system) and
  // starts serving. Returns false with error set on failure.
  bool Start(int port, std::string* error);
  void Stop();
  int Port() const { return port_; }

  // True after a hang-up fault dropped a connection.
  bool HungUp() const { return hungUp_; }

  // Runs fn with the device locked (the worker thread feeds it meanwhile).
  void WithDevice(const std::function<void(Device&)>& fn);
  TelnetRecord Record();

 private:
  using Clock = std::chrono::steady_clock;
  enum class Phase { kNegotiating, kLoginPassword, kUser, kAdministratorPassword, kCommandLine };
  enum class Parse { kData, kIac, kOption, kSub, kSubIac };
  struct Pending {
    std::string bytes;
    Clock::time_point due;
  };
  struct Session {
    int fd = -1;
    Phase phase = Phase::kNegotiating;
    Parse parse = Parse::kData;
    int command = 0;
    bool lastWasCr = false;
    std::string line;
    std::set<int> awaited;  // our requests without an answer: option numbers
    int loginTries = 0;
    int administratorTries = 0;
    std::deque<Pending> output;
    bool closeWhenSent = false;
  };

  void Run();
  void Accept();
  void Greet();
  void HandleInput(const char* data, std::size_t size);
  void TakeOptionAnswer(int command, int option);
  void TakeText(const std::string& text);
  void TakeLoginLine(const std::string& line);
  void FeedDevice(const std::string& bytes);
  void Queue(std::string_view text, int delayMs = 0);
  void QueueRaw(std::string bytes);
  bool Flush(Clock::time_point now);
  void EndSession(bool byServer);

  Device& device_;
  DeviceAccess access_;
  std::mutex deviceMutex_;  // used when no access was given
  std::mutex recordMutex_;
  TelnetRecord record_;
  std::string loginPassword_;
  std::string adminPassword_;
  bool waitForAnswers_ = false;
  int listen_ = -1;
  int port_ = 0;
  PollWorker worker_;
  std::atomic<bool> hungUp_{false};
  Session session_;
};

}  // namespace morivex9sim
