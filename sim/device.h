// The device simulator's model of the MORIVEX-9: AT-command mode, the command
// line, a settings store with its "flash" state file, a command log and
// fault injection. It is pure logic: bytes in, bytes out. The transports
// (pseudo-terminal, telnet, in-process) carry its output to the utility.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morivex9sim {

// One received command line and whether the device accepted it.
struct LogEntry {
  std::string line;
  bool accepted = true;
  bool lost = false;         // dropped by a fault: the device never saw it
  bool commandLine = false;  // received at the command line (not in AT mode)
};

// A fault applied to the reply of matching command lines.
struct Fault {
  enum Kind {
    kSilent,    // the line is lost: not executed, not answered
    kDelay,     // answer after `value` milliseconds
    kCut,       // send only the first `value` bytes of the reply
    kGarbage,   // send `value` bytes of noise instead of the reply
    kOversize,  // put `value` bytes of filler before the reply's end-marker
    kZeroByte,  // put a zero byte just before the reply's end-marker
    kHangUp,    // drop the line instead of answering
  };
  Kind kind = kSilent;
  int value = 0;
  std::string match;  // applies to lines starting with this text; empty = every line
  int count = -1;     // how many replies it affects; -1 = all
  int skip = 0;       // matching lines to let through before it applies
};

// What a transport does with one reply.
struct Output {
  std::string bytes;
  int delayMs = 0;
  // Drop the line once bytes (if any) have gone out: a hang-up fault clears
  // the bytes, a restarting device answers first.
  bool hangUp = false;
};

class Device;

// Handles one command line whose pattern matched; captures hold the texts
// that stood in the pattern's placeholders. Returns false to reject the
// command; error then holds the reason shown to the user of the terminal.
using CommandHandler =
    std::function<bool(Device& device, const std::vector<std::string>& captures,
                       std::string& reply, std::string& error)>;

// Builds the body of a show reply (the lines between the echo and the
// prompt, each ending in "\r\n").
using ShowHandler = std::function<std::string(const Device& device)>;

class Device {
 public:
  Device();

  // ---- feeding ----
  // Bytes from the utility; returns what the device sends back for every
  // line completed by these bytes (faults applied). Several lines in one
  // call produce several outputs, in order.
  std::vector<Output> Receive(std::string_view bytes);
  // Convenience for tests: concatenation of all output bytes, faults ignored
  // except their effect on the bytes.
  std::string ReceiveText(std::string_view bytes);

  // ---- identity ----
  void SetFirmware(std::string version) { firmware_ = std::move(version); }
  const std::string& Firmware() const { return firmware_; }
  void SetMac(std::string mac) { mac_ = std::move(mac); }
  const std::string& Mac() const { return mac_; }
  // Replaces the model name in the reply to "ATI" (to stand in for another device).
  void SetModelName(std::string name) { model_ = std::move(name); }

  // ---- modes ----
  bool InCommandLine() const { return commandLine_; }
  void SetCommandLine(bool on) { commandLine_ = on; }

  // ---- settings store ----
  // Factory settings of every category; the running store starts from them.
  void AddDefault(const std::string& key, const std::string& value);
  std::string Get(const std::string& key) const;
  long long GetNumber(const std::string& key) const;
  void Set(const std::string& key, const std::string& value);
  const std::map<std::string, std::string>& Settings() const { return store_; }
  // Back to factory settings (the running store and, when set, the flash file).
  void FactoryReset();

  // The flash: SaveFlash writes the running store to the state file, which is
  // loaded by LoadFlash (and by SetStateFile when the file exists).
  void SetStateFile(std::string path);
  bool SaveFlash();
  bool LoadFlash();
  int FlashWrites() const { return flashWrites_; }

  // The device clock as last set ("YYYY/MM/DD", "HH:MM:SS", weekday 0-6).
  std::string ClockDate() const { return clockDate_; }
  std::string ClockTime() const { return clockTime_; }
  int ClockWeekday() const { return clockWeekday_; }
  void SetClock(std::string date, std::string time, int weekday);

  // Called by a command handler: once its reply is out the device restarts
  // (it leaves the command line and drops the line; Output::hangUp).
  void RestartAfterReply() { restartAfterReply_ = true; }

  // ---- command log ----
  const std::vector<LogEntry>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }
  // Also append every logged line to this file ("OK  line" / "ERR line").
  void SetLogFile(std::string path) { logFile_ = std::move(path); }
  // Command-line lines only (no AT commands, no empty lines), in order.
  std::vector<std::string> CommandLines() const;

  // ---- faults ----
  void AddFault(Fault fault) { faults_.push_back(std::move(fault)); }
  void ClearFaults() { faults_.clear(); }

  // ---- command-line vocabulary ----
  // pattern: literal text with placeholders %d (an optionally signed decimal
  // number), %w (one word, no blanks), %s (any text, possibly empty, up to
  // what follows in the pattern). Patterns are tried in the order added.
  void AddCommand(std::string pattern, CommandHandler handler);
  void AddShow(std::string command, ShowHandler handler);
  // Takes a show command away, as a firmware without it: the device then
  // answers it with its error line. False when there is no such command.
  bool RemoveShow(const std::string& command);

  // Frequently used setting commands.
  // A choice: the %w word must be one of keywords; its index is stored.
  void AddChoice(std::string pattern, std::string key, std::vector<std::string> keywords);
  // A choice whose keywords store codes of their own: (keyword, stored code).
  using Codes = std::vector<std::pair<std::string, std::string>>;
  void AddCodedChoice(std::string pattern, std::string key, Codes codes);
  // The code of keyword in codes; false (error set) when it has none.
  static bool FindCode(const Codes& codes, const std::string& keyword, std::string& code,
                       std::string& error);
  // A number in [min, max] (%d).
  void AddNumber(std::string pattern, std::string key, long long min, long long max);
  // A text (%s) accepted by check (no check when empty).
  void AddText(std::string pattern, std::string key,
               std::function<bool(std::string_view)> check = {});

  // Lines "label value\r\n" for (label, key) pairs, in order.
  std::string LabelLines(const std::vector<std::pair<std::string, std::string>>& lines) const;

  // Matches line against pattern; on success fills captures.
  static bool Match(std::string_view pattern, std::string_view line,
                    std::vector<std::string>& captures);

 private:
  Output HandleLine(const std::string& line);
  std::string HandleAt(const std::string& line, bool& accepted);
  std::string HandleCommandLine(const std::string& line, bool& accepted);
  void ApplyFaults(const std::string& line, Output& out);
  void Record(const std::string& line, bool accepted, bool commandLine);

  std::string firmware_ = "1.00";
  std::string mac_ = "00:80:6D:12:34:56";
  std::string model_ = "MORIVEX-9";
  bool commandLine_ = false;
  bool restartAfterReply_ = false;
  std::string pending_;
  std::map<std::string, std::string> defaults_;
  std::map<std::string, std::string> store_;
  std::string stateFile_;
  int flashWrites_ = 0;
  std::string clockDate_, clockTime_;
  int clockWeekday_ = -1;
  std::vector<LogEntry> log_;
  std::string logFile_;
  std::vector<Fault> faults_;
  struct Command {
    std::string pattern;
    CommandHandler handler;
  };
  std::vector<Command> commands_;
  std::map<std::string, ShowHandler> shows_;
};

// Registers every category's show replies, setting commands and factory
// settings. Each category lives in its own file under sim/categories/.
void RegisterCategories(Device& device);

// Valid characters of a telephone number text on the device.
bool IsPhoneText(std::string_view text);

}  // namespace morivex9sim
