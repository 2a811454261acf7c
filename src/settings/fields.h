// Table-driven reading and writing of a settings category.
//
// A category describes its record with two kinds of tables and leaves the
// walking to the code here:
//
//   * a read table per show reply: label -> field (text, or number clamped
//     into a range, optionally adjusted), parsed with the value-reading
//     pattern of text/scan.h;
//   * a write table per group: the group's fields in sending order, each with
//     its command(s). A field is sent only when its working value differs
//     from the baseline.
//
// Commands are device texts in which "%s" takes a text value and "%d" a
// number (FormatCommand refuses texts with control bytes), and "{}" stands
// for the scope the table is walked for: the port of a per-port table
// ("tel1"), the entry number of a numbered list ("12"), and so on. One table
// therefore serves every port or entry.
//
// Records hold numbers as int and texts as std::string in the device's
// encoding (Shift-JIS). Nothing here includes widget headers.
#pragma once

#include <climits>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/session.h"
#include "link/exchange.h"
#include "text/scan.h"

namespace setutily {

// ------------------------------------------------------------------ fields

// One field of a record type: a text or a number.
template <class Record>
class FieldRef {
 public:
  FieldRef(std::string Record::*text) : text_(text) {}  // NOLINT: tables list member pointers
  FieldRef(int Record::*number) : number_(number) {}    // NOLINT

  bool IsText() const { return text_ != nullptr; }
  bool Differs(const Record& a, const Record& b) const {
    return IsText() ? a.*text_ != b.*text_ : a.*number_ != b.*number_;
  }
  void Copy(Record& to, const Record& from) const {
    if (IsText()) {
      to.*text_ = from.*text_;
    } else {
      to.*number_ = from.*number_;
    }
  }
  std::string& Text(Record& r) const { return r.*text_; }
  const std::string& Text(const Record& r) const { return r.*text_; }
  int& Number(Record& r) const { return r.*number_; }
  int Number(const Record& r) const { return r.*number_; }

 private:
  std::string Record::*text_ = nullptr;
  int Record::*number_ = nullptr;
};

// ------------------------------------------------------------------ reading

template <class Record>
struct ReadField {
  std::string_view label;  // exactly as the device prints it, leading blanks included
  FieldRef<Record> field;
  // Numbers: the value read is clamped into [min, max] and then passed
  // through adjust when set (e.g. to fold one scale onto another).
  long long min = INT_MIN;
  long long max = INT_MAX;
  int (*adjust)(int value) = nullptr;
};

template <class Record>
using ReadTable = std::vector<ReadField<Record>>;

// Fills record from one reply, field by field in table order. Texts are cut
// to kMaxValueLength; a label missing from the reply gives an empty text or
// the number 0 (clamped and adjusted like any other value).
template <class Record>
void ReadFields(std::string_view reply, const ReadTable<Record>& table, Record& record) {
  for (const ReadField<Record>& entry : table) {
    if (entry.field.IsText()) {
      entry.field.Text(record) = ReadTextValue(reply, entry.label);
    } else {
      int value = static_cast<int>(ReadNumberValue(reply, entry.label, entry.min, entry.max));
      if (entry.adjust != nullptr) value = entry.adjust(value);
      entry.field.Number(record) = value;
    }
  }
}

// Sends a show command and leaves its reply in session.replyText; 1 when the
// reply arrived complete, 0 otherwise.
int FetchReply(Session& session, std::string_view command);

// FetchReply, then ReadFields from the reply. 1 or 0 (record untouched on 0).
template <class Record>
int ReadShow(Session& session, std::string_view command, const ReadTable<Record>& table,
             Record& record) {
  if (FetchReply(session, command) == 0) return 0;
  ReadFields(session.replyText, table, record);
  return 1;
}

// ------------------------------------------------------------------ writing

template <class Record>
struct WriteField {
  enum class Kind {
    kValues,     // one command, "%s"/"%d" filled with the fields' values in order
    kChoice,     // commands[code]; a code without a command sends nothing
    kTwoChoice,  // commands[0] for code 0, commands[1] for any other code
  };
  Kind kind = Kind::kValues;
  // Compared with the baseline; the command goes out when any of them differs.
  std::vector<FieldRef<Record>> fields;
  std::vector<std::string_view> commands;
  // kValues: an empty text value is sent as this text when it is not empty
  // (address pairs send "0.0.0.0" for an empty address).
  std::string_view emptyAs;

  // Builder for tables: WriteField<Dns>... .EmptyAs("0.0.0.0").
  WriteField EmptyAs(std::string_view text) && {
    emptyAs = text;
    return std::move(*this);
  }
};

template <class Record>
using WriteTable = std::vector<WriteField<Record>>;

// Table entries, in the words of the device's command tables.
template <class Record>
WriteField<Record> SendText(std::string Record::*field, std::string_view command) {
  return {WriteField<Record>::Kind::kValues, {field}, {command}, {}};
}
template <class Record>
WriteField<Record> SendNumber(int Record::*field, std::string_view command) {
  return {WriteField<Record>::Kind::kValues, {field}, {command}, {}};
}
// Several fields in one command, sent when any of them differs.
template <class Record, class... Fields>
WriteField<Record> SendTogether(std::string_view command, Fields Record::*... fields) {
  return {WriteField<Record>::Kind::kValues, {FieldRef<Record>(fields)...}, {command}, {}};
}
// One command per code, in code order.
template <class Record>
WriteField<Record> SendChoice(int Record::*field, std::vector<std::string_view> commands) {
  return {WriteField<Record>::Kind::kChoice, {field}, std::move(commands), {}};
}
// The first command for 0, the second for any other value.
template <class Record>
WriteField<Record> SendTwoChoice(int Record::*field, std::string_view zero,
                                 std::string_view other) {
  return {WriteField<Record>::Kind::kTwoChoice, {field}, {zero, other}, {}};
}

// Where a write stopped.
struct WriteFailure {
  int index = -1;       // table index of the entry whose exchange failed
  std::string command;  // the command that failed (empty when it could not be built)
};

// The command an entry sends for working, or "" when it sends nothing.
// Returns false when the command cannot be built (a text with control bytes).
template <class Record>
bool BuildCommand(const WriteField<Record>& entry, const Record& working, std::string_view scope,
                  std::string& command);

// One command through the exchange (10000 ms, prompt end-marker); 1 or 0.
int SendSettingCommand(Session& session, std::string_view command);

// Sends every entry of table whose fields differ between working and
// baseline, in table order, and returns 1; nothing differing sends nothing.
// At the first exchange that fails (or command that cannot be built) it
// stops, sets the fields of that entry and of every later entry back to
// their baseline values in working (so the forms show what the device holds
// and a later confirmation sends them again), fills failure and returns 0.
template <class Record>
int WriteChanges(Session& session, const WriteTable<Record>& table, Record& working,
                 const Record& baseline, std::string_view scope = {},
                 WriteFailure* failure = nullptr);

// ------------------------------------------------------------------ copies

// A category's record twice: the baseline (what the device is taken to
// hold) and the working copy (what the forms show and edit).
template <class Record>
struct SettingsCopies {
  Record baseline;
  Record working;

  // After a successful read into the baseline.
  void AdoptBaseline() { working = baseline; }
  // A confirmed form: the working copy becomes the baseline and the form's
  // values the working copy, so the group's write sends what the form
  // changed. Counts the change for the store at exit.
  void Commit(Record edited, RunState& state);
};

// ------------------------------------------------------------------ details

namespace fields_detail {
std::string ReplaceScope(std::string_view command, std::string_view scope);
}  // namespace fields_detail

template <class Record>
bool BuildCommand(const WriteField<Record>& entry, const Record& working, std::string_view scope,
                  std::string& command) {
  using Kind = typename WriteField<Record>::Kind;
  command.clear();
  std::string_view format;
  std::vector<CommandArg> args;
  if (entry.kind == Kind::kValues) {
    format = entry.commands.front();
    for (const FieldRef<Record>& field : entry.fields) {
      if (!field.IsText()) {
        args.emplace_back(field.Number(working));
      } else if (field.Text(working).empty() && !entry.emptyAs.empty()) {
        args.emplace_back(entry.emptyAs);
      } else {
        args.emplace_back(field.Text(working));
      }
    }
  } else {
    const int code = entry.fields.front().Number(working);
    const int count = static_cast<int>(entry.commands.size());
    if (entry.kind == Kind::kTwoChoice) {
      format = entry.commands[code == 0 ? 0 : 1];
    } else if (code >= 0 && code < count) {
      format = entry.commands[static_cast<std::size_t>(code)];
    } else {
      return true;  // a code without a command sends nothing
    }
  }
  return FormatCommand(fields_detail::ReplaceScope(format, scope), args, command);
}

template <class Record>
int WriteChanges(Session& session, const WriteTable<Record>& table, Record& working,
                 const Record& baseline, std::string_view scope, WriteFailure* failure) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    const WriteField<Record>& entry = table[i];
    bool differs = false;
    for (const FieldRef<Record>& field : entry.fields) {
      differs = differs || field.Differs(working, baseline);
    }
    if (!differs) continue;
    std::string command;
    const bool built = BuildCommand(entry, working, scope, command);
    if (built && command.empty()) continue;
    if (built && SendSettingCommand(session, command) == 1) continue;
    // Stopped here: this entry and the rest of the group were not sent.
    for (std::size_t j = i; j < table.size(); ++j) {
      for (const FieldRef<Record>& field : table[j].fields) field.Copy(working, baseline);
    }
    if (failure != nullptr) *failure = {static_cast<int>(i), command};
    return 0;
  }
  return 1;
}

template <class Record>
void SettingsCopies<Record>::Commit(Record edited, RunState& state) {
  baseline = working;
  working = std::move(edited);
  ++state.pendingChangeCount;
}

}  // namespace setutily
