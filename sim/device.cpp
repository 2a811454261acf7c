#include "device.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace morivex9sim {

namespace {

constexpr std::size_t kMaxLine = 1024;

std::string Upper(std::string_view text) {
  std::string out(text);
  for (auto& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// Where the reply's end-marker starts: the command prompt or the AT "OK".
std::size_t MarkerStart(const std::string& bytes) {
  for (std::string_view marker : {std::string_view("\r\n# "), std::string_view("\r\nOK\r\n")}) {
    if (bytes.size() >= marker.size() &&
        std::string_view(bytes).substr(bytes.size() - marker.size()) == marker) {
      return bytes.size() - marker.size();
    }
  }
  return bytes.size();
}

}  // namespace

bool IsPhoneText(std::string_view text) {
  return text.find_first_not_of("0123456789()-#*") == std::string_view::npos;
}

Device::Device() {
  // Core command-line commands.
  AddCommand("fromwr 15", [](Device& d, const auto&, std::string& reply, std::string& error) {
    if (!d.SaveFlash()) {
      error = "flash write failed";
      return false;
    }
    reply = "Write OK\r\n";
    return true;
  });
  AddCommand("restart", [](Device& d, const auto&, std::string& reply, std::string&) {
    d.FactoryReset();
    reply = "Restarting with factory settings...\r\n";
    return true;
  });
  AddCommand("date %d/%d/%d", [](Device& d, const auto& c, std::string&, std::string& error) {
    const int month = std::atoi(c[1].c_str());
    const int day = std::atoi(c[2].c_str());
    if (c[0].size() != 4 || c[1].size() != 2 || c[2].size() != 2 || month < 1 || month > 12 ||
        day < 1 || day > 31) {
      error = "invalid date";
      return false;
    }
    d.clockDate_ = c[0] + "/" + c[1] + "/" + c[2];
    return true;
  });
  AddCommand("time %d:%d:%d", [](Device& d, const auto& c, std::string&, std::string& error) {
    const int h = std::atoi(c[0].c_str());
    const int m = std::atoi(c[1].c_str());
    const int s = std::atoi(c[2].c_str());
    if (c[0].size() != 2 || c[1].size() != 2 || c[2].size() != 2 || h > 23 || m > 59 || s > 59 ||
        h < 0 || m < 0 || s < 0) {
      error = "invalid time";
      return false;
    }
    d.clockTime_ = c[0] + ":" + c[1] + ":" + c[2];
    return true;
  });
  AddCommand("youbi %d", [](Device& d, const auto& c, std::string&, std::string& error) {
    const int day = std::atoi(c[0].c_str());
    if (c[0].size() != 1 || day < 0 || day > 6) {
      error = "invalid day of week";
      return false;
    }
    d.clockWeekday_ = day;
    return true;
  });
  RegisterCategories(*this);
}

// ---------------------------------------------------------------- feeding

std::vector<Output> Device::Receive(std::string_view bytes) {
  std::vector<Output> outputs;
  for (const char c : bytes) {
    if (c == '\r') {
      Output out = HandleLine(pending_);
      pending_.clear();
      outputs.push_back(std::move(out));
    } else if (c == '\n' || c == '\0') {
      // Line feeds (CR LF) and telnet's CR NUL padding end nothing.
    } else if (pending_.size() < kMaxLine) {
      pending_.push_back(c);
    }
  }
  return outputs;
}

std::string Device::ReceiveText(std::string_view bytes) {
  std::string all;
  for (const auto& out : Receive(bytes)) all += out.bytes;
  return all;
}

Output Device::HandleLine(const std::string& line) {
  bool accepted = true;
  Output out;
  const bool wasCommandLine = commandLine_;
  // A fault that drops the line means the device never saw it.
  for (auto& fault : faults_) {
    if (fault.kind != Fault::kSilent || fault.count == 0) continue;
    if (!fault.match.empty() && !StartsWith(line, fault.match)) continue;
    if (fault.skip > 0) {
      --fault.skip;
      continue;
    }
    if (fault.count > 0) --fault.count;
    if (!logFile_.empty()) {
      std::ofstream(logFile_, std::ios::app) << "LOST " << line << "\n";
    }
    log_.push_back({line, false, true, commandLine_});
    return out;
  }
  restartAfterReply_ = false;
  out.bytes = wasCommandLine ? HandleCommandLine(line, accepted) : HandleAt(line, accepted);
  if (restartAfterReply_ && accepted) {
    commandLine_ = false;
    out.hangUp = true;
  }
  restartAfterReply_ = false;
  Record(line, accepted, wasCommandLine);
  ApplyFaults(line, out);
  return out;
}

std::string Device::HandleAt(const std::string& line, bool& accepted) {
  const std::string echo = line + "\r";
  const std::string command = Upper(line);
  if (command.empty()) return "";
  if (command == "ATI") return echo + "\r\n" + model_ + " ISDN TA/ROUTER\r\n\r\nOK\r\n";
  if (command == "AT%I2") return echo + "\r\nVersion " + firmware_ + "\r\n\r\nOK\r\n";
  if (command == "AT%M") return echo + "\r\n" + mac_ + "\r\n\r\nOK\r\n";
  if (command == "AT") return echo + "\r\nOK\r\n";
  if (command == "ATT1") {
    commandLine_ = true;
    return echo + "\r\n# ";
  }
  accepted = false;
  return echo + "\r\nERROR\r\n";
}

std::string Device::HandleCommandLine(const std::string& line, bool& accepted) {
  const std::string echo = line + "\r\n";
  if (line.empty()) return "\r\n# ";
  if (line == "exit") {
    commandLine_ = false;
    return echo + "\r\nOK\r\n";
  }
  if (const auto show = shows_.find(line); show != shows_.end()) {
    return echo + show->second(*this) + "# ";
  }
  std::vector<std::string> captures;
  for (const auto& command : commands_) {
    if (!Match(command.pattern, line, captures)) continue;
    std::string reply, error;
    const bool ok = command.handler(*this, captures, reply, error);
    if (ok) {
      if (line == "restart") commandLine_ = false;  // the device reboots
      return echo + reply + "# ";
    }
    accepted = false;
    return echo + "% Error: " + (error.empty() ? "invalid value" : error) + "\r\n# ";
  }
  accepted = false;
  return echo + "% Error: unknown command\r\n# ";
}

void Device::ApplyFaults(const std::string& line, Output& out) {
  for (auto& fault : faults_) {
    if (fault.kind == Fault::kSilent || fault.count == 0) continue;
    if (!fault.match.empty() && !StartsWith(line, fault.match)) continue;
    if (fault.skip > 0) {
      --fault.skip;
      continue;
    }
    if (fault.count > 0) --fault.count;
    switch (fault.kind) {
      case Fault::kDelay:
        out.delayMs += fault.value;
        break;
      case Fault::kCut:
        if (out.bytes.size() > static_cast<std::size_t>(std::max(fault.value, 0))) {
          out.bytes.resize(static_cast<std::size_t>(std::max(fault.value, 0)));
        }
        break;
      case Fault::kGarbage: {
        std::string noise;
        unsigned state = 12345u;
        for (int i = 0; i < fault.value; ++i) {
          state = state * 1103515245u + 12345u;
          // Printable noise and high bytes; never a CR, so no end-marker forms.
          noise.push_back(static_cast<char>(0x21 + (state >> 16) % 0xDE));
        }
        out.bytes = noise;
        break;
      }
      case Fault::kOversize: {
        std::string filler;
        static constexpr std::string_view kLine = "0123456789abcdefghijklmnopqrstuvwxyz filler\r\n";
        while (filler.size() < static_cast<std::size_t>(fault.value)) filler += kLine;
        filler.resize(static_cast<std::size_t>(std::max(fault.value, 0)));
        out.bytes.insert(MarkerStart(out.bytes), filler);
        break;
      }
      case Fault::kZeroByte:
        out.bytes.insert(MarkerStart(out.bytes), 1, '\0');
        break;
      case Fault::kHangUp:
        out.hangUp = true;
        out.bytes.clear();
        break;
      case Fault::kSilent:
        break;
    }
  }
}

void Device::Record(const std::string& line, bool accepted, bool commandLine) {
  log_.push_back({line, accepted, false, commandLine});
  if (!logFile_.empty()) {
    std::ofstream(logFile_, std::ios::app) << (accepted ? "OK  " : "ERR ") << line << "\n";
  }
}

std::vector<std::string> Device::CommandLines() const {
  std::vector<std::string> lines;
  for (const auto& entry : log_) {
    if (entry.commandLine && !entry.lost && !entry.line.empty()) lines.push_back(entry.line);
  }
  return lines;
}

// ---------------------------------------------------------------- store

void Device::AddDefault(const std::string& key, const std::string& value) {
  defaults_[key] = value;
  store_[key] = value;
}

std::string Device::Get(const std::string& key) const {
  const auto it = store_.find(key);
  return it == store_.end() ? std::string() : it->second;
}

long long Device::GetNumber(const std::string& key) const {
  return std::strtoll(Get(key).c_str(), nullptr, 10);
}

void Device::Set(const std::string& key, const std::string& value) { store_[key] = value; }

void Device::FactoryReset() {
  store_ = defaults_;
  if (!stateFile_.empty()) SaveFlash();
}

void Device::SetClock(std::string date, std::string time, int weekday) {
  clockDate_ = std::move(date);
  clockTime_ = std::move(time);
  clockWeekday_ = weekday;
}

void Device::SetStateFile(std::string path) {
  stateFile_ = std::move(path);
  LoadFlash();
}

bool Device::SaveFlash() {
  ++flashWrites_;
  if (stateFile_.empty()) return true;
  const std::string temp = stateFile_ + ".tmp";
  {
    std::ofstream out(temp, std::ios::trunc);
    if (!out) return false;
    for (const auto& [key, value] : store_) out << key << "=" << value << "\n";
    if (!out) return false;
  }
  return std::rename(temp.c_str(), stateFile_.c_str()) == 0;
}

bool Device::LoadFlash() {
  if (stateFile_.empty()) return false;
  std::ifstream in(stateFile_);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    store_[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return true;
}

// ---------------------------------------------------------------- vocabulary

void Device::AddCommand(std::string pattern, CommandHandler handler) {
  commands_.push_back({std::move(pattern), std::move(handler)});
}

void Device::AddShow(std::string command, ShowHandler handler) {
  shows_[std::move(command)] = std::move(handler);
}

bool Device::RemoveShow(const std::string& command) { return shows_.erase(command) != 0; }

void Device::AddChoice(std::string pattern, std::string key, std::vector<std::string> keywords) {
  Codes codes;
  for (std::size_t i = 0; i < keywords.size(); ++i) {
    codes.emplace_back(keywords[i], std::to_string(i));
  }
  AddCodedChoice(std::move(pattern), std::move(key), std::move(codes));
}

bool Device::FindCode(const Codes& codes, const std::string& keyword, std::string& code,
                      std::string& error) {
  const auto it = std::find_if(codes.begin(), codes.end(),
                               [&](const auto& entry) { return entry.first == keyword; });
  if (it == codes.end()) {
    error = "unknown keyword \"" + keyword + "\"";
    return false;
  }
  code = it->second;
  return true;
}

void Device::AddCodedChoice(std::string pattern, std::string key, Codes codes) {
  AddCommand(std::move(pattern),
             [key = std::move(key), codes = std::move(codes)](
                 Device& d, const std::vector<std::string>& c, std::string&, std::string& error) {
               std::string code;
               if (!FindCode(codes, c.back(), code, error)) return false;
               d.Set(key, code);
               return true;
             });
}

void Device::AddNumber(std::string pattern, std::string key, long long min, long long max) {
  AddCommand(std::move(pattern), [key = std::move(key), min, max](
                                     Device& d, const std::vector<std::string>& c, std::string&,
                                     std::string& error) {
    const std::string& text = c.back();
    if (text.size() > 12) {
      error = "value out of range";
      return false;
    }
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value < min || value > max) {
      error = "value out of range (" + std::to_string(min) + "-" + std::to_string(max) + ")";
      return false;
    }
    d.Set(key, std::to_string(value));
    return true;
  });
}

void Device::AddText(std::string pattern, std::string key,
                     std::function<bool(std::string_view)> check) {
  AddCommand(std::move(pattern), [key = std::move(key), check = std::move(check)](
                                     Device& d, const std::vector<std::string>& c, std::string&,
                                     std::string& error) {
    if (check && !check(c.back())) {
      error = "invalid text";
      return false;
    }
    d.Set(key, c.back());
    return true;
  });
}

std::string Device::LabelLines(
    const std::vector<std::pair<std::string, std::string>>& lines) const {
  std::string body;
  for (const auto& [label, key] : lines) body += label + " " + Get(key) + "\r\n";
  return body;
}

namespace {

bool MatchFrom(std::string_view pattern, std::size_t pi, std::string_view line, std::size_t li,
               std::vector<std::string>& captures) {
  if (pi == pattern.size()) return li == line.size();
  if (pattern[pi] == '%' && pi + 1 < pattern.size()) {
    const char kind = pattern[pi + 1];
    if (kind == 'd') {
      std::size_t end = li;
      if (end < line.size() && (line[end] == '-' || line[end] == '+')) ++end;
      const std::size_t digits = end;
      while (end < line.size() && std::isdigit(static_cast<unsigned char>(line[end]))) ++end;
      if (end == digits) return false;
      captures.emplace_back(line.substr(li, end - li));
      if (MatchFrom(pattern, pi + 2, line, end, captures)) return true;
      captures.pop_back();
      return false;
    }
    if (kind == 'w' || kind == 's') {
      std::size_t maxEnd = li;
      if (kind == 'w') {
        while (maxEnd < line.size() && line[maxEnd] != ' ') ++maxEnd;
        for (std::size_t end = maxEnd; end > li; --end) {
          captures.emplace_back(line.substr(li, end - li));
          if (MatchFrom(pattern, pi + 2, line, end, captures)) return true;
          captures.pop_back();
        }
        return false;
      }
      for (std::size_t end = li; end <= line.size(); ++end) {
        captures.emplace_back(line.substr(li, end - li));
        if (MatchFrom(pattern, pi + 2, line, end, captures)) return true;
        captures.pop_back();
      }
      return false;
    }
  }
  if (li < line.size() && pattern[pi] == line[li]) {
    return MatchFrom(pattern, pi + 1, line, li + 1, captures);
  }
  return false;
}

}  // namespace

bool Device::Match(std::string_view pattern, std::string_view line,
                   std::vector<std::string>& captures) {
  captures.clear();
  return MatchFrom(pattern, 0, line, 0, captures);
}

}  // namespace morivex9sim
