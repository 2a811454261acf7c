// A category's record twice: the baseline (what the device is taken to
// hold) and the working copy (what the forms show and edit).
#pragma once

#include <utility>

namespace setutily {

struct RunState;

template <class Record>
struct SettingsCopies {
  Record baseline{};
  Record working{};

  // After a successful read into the baseline.
  void AdoptBaseline() { working = baseline; }

  // A confirmed form: the working copy becomes the baseline and the form's
  // values the working copy, so the group's write sends what the form
  // changed. Counts the change for the store at exit.
  template <class State>
  void Commit(Record edited, State& state) {
    baseline = working;
    working = std::move(edited);
    ++state.pendingChangeCount;
  }

  // A confirmed form that leaves the baseline as it is, so that whatever
  // earlier forms changed without being written is sent again with it.
  template <class State>
  void CommitKeepingBaseline(Record edited, State& state) {
    working = std::move(edited);
    ++state.pendingChangeCount;
  }
};

}  // namespace setutily
