// The rigs every category test uses.
//
// SessionRig: a run's Session against the simulator in process, already at
// its command line, with short waits, recorded messages, help and log
// lines. Its destructor fails the test when the simulator refused a
// command the test did not declare with ExpectRefusals() (the utility does
// not read setting replies, so a wrong command would pass unnoticed).
#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <string>
#include <vector>

#include "forms/session.h"
#include "support/sim_harness.h"
#include "support/timing.h"
#include "support/ui_helpers.h"

namespace setutily::testing {

using Lines = std::vector<std::string>;

// lines without the show commands (of reads and read-backs).
inline Lines WithoutShows(Lines lines) {
  std::erase_if(lines, [](const std::string& line) { return line.rfind("show ", 0) == 0; });
  return lines;
}

// Fails the current test for every command line in log that the device
// refused, unless refusals are expected.
inline void CheckNoRefusals(const std::vector<morivex9sim::LogEntry>& log) {
  for (const auto& entry : log) {
    if (entry.commandLine && !entry.accepted && !entry.lost) {
      ADD_FAILURE() << "the device refused \"" << entry.line << "\"";
    }
  }
}

struct SessionRig {
  SessionRig() {
    session.timing = FastTiming();
    session.appendLog = [this](const QString& line) { log << line; };
  }
  ~SessionRig() {
    if (!refusalsExpected) CheckNoRefusals(rig.device.Log());
  }
  SessionRig(const SessionRig&) = delete;
  SessionRig& operator=(const SessionRig&) = delete;

  // The command lines the device received since the last Clear(), and the
  // setting commands among them (the show commands of reads and read-backs left out).
  Lines Received() { return rig.device.CommandLines(); }
  Lines Sent() { return WithoutShows(Received()); }
  void Clear() {
    if (!refusalsExpected) CheckNoRefusals(rig.device.Log());
    rig.device.ClearLog();
  }
  void ExpectRefusals() { refusalsExpected = true; }
  morivex9sim::Device& Device() { return rig.device; }
  template <class Record>
  SettingsCopies<Record>& Records() {
    return session.records.Of<Record>();
  }

  InProcessRig rig;
  RecordingMessages messages;
  RecordingHelp help;
  Session session{rig.exchange, messages, help};
  QStringList log;
  bool refusalsExpected = false;
};

}  // namespace setutily::testing
