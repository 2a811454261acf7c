// A setting, declared once: the reply label its value is read from, the
// device command that sets it, the values it takes and the message that
// refuses any other. The read (read_table.h), the write (write_table.h), the
// configuration file (config.h) and the forms' items all take a setting
// from its declaration, so none of them can take a value the others refuse.
//
//   Text(&P::self_address, "self address:").Phone().Bytes({53, 51, 51})
//       .Message(u"自己アドレスの入力に間違いがあります。")
//       .Sends("analog address {} %s\r")
//   Number(&P::dial_time, "send dial time:").Range(3, 15).Message(...)
//       .Sends("analog dial_time {} %d\r")
//   Choice(&P::port_mode, "analog port mode:",
//          {"analog port_mode {} voice\r", "analog port_mode {} audio\r"})
//   TwoChoice(&R::beep, "beep:", "router beep disable\r", "router beep enable\r")
//   Bits(&B::arrive_flags, "arrive channel:", {{"... add auto\r", "... add reject\r"}, ...})
//   Together("dns address %s,%s\r", Text(&D::primary, "primary address:").Address(),
//            Text(&D::secondary, "secondary address:").Address())
//   Together("connect time %d/%d\r", Number(&R::time_limit, "time:").Range(0, 743),
//            Number(&R::time_period).Range(0, 2)).Split('/')
//   Presence(&E::used, "nat add {} %s,%s\r", "nat del {}\r", Text(&E::a).Address(), ...)
//   When(ClearRequested, {"connect charge\r", "connect time\r"})
//   Text(&R::router_name, "router name:")           read only: carried, never sent
//
// Commands are device texts (built from parts where several settings share
// their words: settings/shared_settings.h) in which "%s" takes a text value and "%d" a
// number, and "{}" stands for the scope the setting is written for: the
// port of a per-port group ("tel1"), the entry number of a list ("12").
// Field modifiers (Range, Bytes, Phone, Message, ...) apply to the last
// field given; Together and Presence gather the fields of the settings
// they are given.
//
// A rule across fields of one record (Rule) is declared once beside them:
// the forms check it with its message, the configuration file refuses a
// file that breaks it.
#pragma once

#include <algorithm>
#include <climits>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/field_ref.h"
#include "settings/per_instance.h"
#include "text/scan.h"

namespace setutily {

struct RunState;

// How a text value is typed and checked.
enum class TextRule {
  kAny,              // any text the device can carry (names, passwords)
  kPhone,            // a telephone number: "0123456789()-#*", a subaddress after "*"
  kAddress,          // a dotted IPv4 address (may be empty)
  kPrefixedAddress,  // an address with "/prefix" (may be empty)
  kNumeric,          // typed like an address; checked by its Accepts rule alone
};

// One value of a setting: a field of the record.
template <class Record>
struct FieldDecl {
  FieldRef<Record> field;
  // ---- read: the value after label in the show reply
  std::string_view label;
  std::string_view joiner, label2;  // a text joined from two labels' values
  std::size_t cut = 0;              // bytes kept (0: kMaxValueLength, or Bytes when more)
  long long readMin = INT_MIN, readMax = INT_MAX;  // the width the device prints it in
  int (*adjust)(int printed) = nullptr;            // printed value to field value
  // ---- the values it takes
  long long min = INT_MIN, max = INT_MAX;  // numbers, as stored
  PerInstance<int> bytes;                  // texts: most device bytes (0 / none: no limit)
  TextRule rule = TextRule::kAny;
  bool (*accepts)(std::string_view text) = nullptr;  // a further rule of its own
  bool required = false;                             // an empty text is refused
  int scale = 1;        // numbers: forms show stored x scale and store typed / scale
  // A text that stands for "none": forms show it as an empty edit. An emptied
  // edit stores it again when storedBlank; the write sends an empty text as
  // it when sentBlank (and a file's blank then reads as an empty text).
  std::string_view blank;
  bool storedBlank = false;
  bool sentBlank = false;
  const char16_t* message = nullptr;  // why a value is refused ("%1": a list's entry number)

  bool IsText() const { return field.IsText(); }
  int MaxBytes(int instance) const { return bytes.Empty() ? 0 : bytes[instance]; }
  // The bytes a read keeps: never fewer than the setting takes.
  std::size_t Cut() const {
    if (cut != 0) return cut;
    std::size_t most = kMaxValueLength;
    for (int b : bytes.All()) most = std::max(most, static_cast<std::size_t>(std::max(b, 0)));
    return most;
  }
};

template <class Record>
struct Setting {
  enum class Kind {
    kCarried,    // read only: shown by no command
    kValues,     // one command, "%s"/"%d" filled with the fields' values in order
    kChoice,     // commands[code]; a code without a command sends nothing
    kTwoChoice,  // commands[0] for code 0, commands[1] for any other code
    kBits,       // per bit k of the field, commands[2k] when set, commands[2k+1] when clear
    kPresence,   // fields[0] is an in-use flag: commands[0] with the other fields when
                 // in use, commands[1] when not; sent when the flag differs, or when in
                 // use in both copies and another field differs
    kWhen,       // commands in order whenever when(state) holds; fields are not compared
  };
  Kind kind = Kind::kCarried;
  std::vector<FieldDecl<Record>> fields;
  std::vector<std::string> commands;
  // Two numbers printed under fields[0]'s label as "a<separator>b": the part
  // before fills fields[0], the part after (to the next separator) fields[1].
  char separator = 0;
  std::vector<std::string_view> notOn;  // scopes that have no such setting
  bool (*when)(const RunState& state) = nullptr;
  void (*afterSent)(RunState& state) = nullptr;  // once its command was answered
  // Due only while onlyIf(working) holds (a setting that means nothing under
  // another choice of the same record).
  bool (*onlyIf)(const Record& working) = nullptr;
  // Sent after every other setting of every category (the device restarts).
  bool last = false;

  bool On(std::string_view scope) const {
    return std::find(notOn.begin(), notOn.end(), scope) == notOn.end();
  }
  bool Holds(const FieldRef<Record>& f) const {
    return std::any_of(fields.begin(), fields.end(), [&](const auto& s) { return s.field == f; });
  }

  // ---- the last field's declaration
  Setting Range(long long low, long long high) && { return Edit([&](auto& s) { s.min = low; s.max = high; }); }
  Setting Bytes(PerInstance<int> most) && { return Edit([&](auto& s) { s.bytes = std::move(most); }); }
  Setting Cut(std::size_t kept) && { return Edit([&](auto& s) { s.cut = kept; }); }
  Setting Reads(long long low, long long high) && {
    return Edit([&](auto& s) { s.readMin = low; s.readMax = high; });
  }
  Setting Adjust(int (*fn)(int)) && { return Edit([&](auto& s) { s.adjust = fn; }); }
  Setting JoinedWith(std::string_view joiner, std::string_view label2) && {
    return Edit([&](auto& s) { s.joiner = joiner; s.label2 = label2; });
  }
  Setting Phone() && { return Edit([](auto& s) { s.rule = TextRule::kPhone; }); }
  Setting Address() && { return Edit([](auto& s) { s.rule = TextRule::kAddress; }); }
  Setting PrefixedAddress() && { return Edit([](auto& s) { s.rule = TextRule::kPrefixedAddress; }); }
  Setting Numeric() && { return Edit([](auto& s) { s.rule = TextRule::kNumeric; }); }
  Setting Accepts(bool (*fn)(std::string_view)) && { return Edit([&](auto& s) { s.accepts = fn; }); }
  Setting Required() && { return Edit([](auto& s) { s.required = true; }); }
  Setting Scale(int factor) && { return Edit([&](auto& s) { s.scale = factor; }); }
  Setting ShownEmpty(std::string_view text) && { return Edit([&](auto& s) { s.blank = text; }); }
  Setting StoredEmptyAs(std::string_view text) && {
    return Edit([&](auto& s) { s.blank = text; s.storedBlank = true; });
  }
  Setting SentEmptyAs(std::string_view text) && {
    return Edit([&](auto& s) { s.blank = text; s.sentBlank = true; });
  }
  Setting Message(const char16_t* text) && { return Edit([&](auto& s) { s.message = text; }); }

  // ---- the setting's
  Setting Sends(std::string command) && {
    kind = Kind::kValues;
    commands = {std::move(command)};
    return std::move(*this);
  }
  Setting Split(char at) && {
    separator = at;
    return std::move(*this);
  }
  Setting NotOn(std::string_view scope) && {
    notOn.push_back(scope);
    return std::move(*this);
  }
  Setting AfterSent(void (*fn)(RunState&)) && {
    afterSent = fn;
    return std::move(*this);
  }
  Setting OnlyIf(bool (*fn)(const Record&)) && {
    onlyIf = fn;
    return std::move(*this);
  }
  Setting Last() && {
    last = true;
    return std::move(*this);
  }

 private:
  template <class Fn>
  Setting Edit(Fn fn) {
    if (!fields.empty()) fn(fields.back());
    return std::move(*this);
  }
};

template <class Record>
using Settings = std::vector<Setting<Record>>;

namespace setting_detail {
template <class Record>
Setting<Record> One(typename Setting<Record>::Kind kind, FieldRef<Record> field,
                    std::string_view label, std::vector<std::string> commands) {
  Setting<Record> setting;
  setting.kind = kind;
  FieldDecl<Record> decl;
  decl.field = field;
  decl.label = label;
  setting.fields.push_back(decl);
  setting.commands = std::move(commands);
  return setting;
}
template <class Record>
Setting<Record> Codes(Setting<Record> setting, long long count) {
  setting.fields.back().min = 0;
  setting.fields.back().max = count - 1;
  return setting;
}
}  // namespace setting_detail

// A text, read by its label; Sends() gives it a command.
template <class Record>
Setting<Record> Text(std::string Record::*field, std::string_view label = {}) {
  return setting_detail::One<Record>(Setting<Record>::Kind::kCarried, field, label, {});
}
// A decimal number, read by its label; Sends() gives it a command.
template <class Record>
Setting<Record> Number(int Record::*field, std::string_view label = {}) {
  return setting_detail::One<Record>(Setting<Record>::Kind::kCarried, field, label, {});
}
// One command per code, in code order: the codes 0 .. commands - 1.
template <class Record>
Setting<Record> Choice(int Record::*field, std::string_view label,
                       std::vector<std::string> commands) {
  const auto count = static_cast<long long>(commands.size());
  return setting_detail::Codes(
      setting_detail::One<Record>(Setting<Record>::Kind::kChoice, field, label, std::move(commands)),
      count);
}
// The first command for 0, the second for any other value (taken as 1).
template <class Record>
Setting<Record> TwoChoice(int Record::*field, std::string_view label, std::string zero,
                          std::string other) {
  return setting_detail::Codes(
      setting_detail::One<Record>(Setting<Record>::Kind::kTwoChoice, field, label,
                                  {std::move(zero), std::move(other)}),
      2);
}
// One command per bit, bit 0 first, each chosen by the bit: {set, clear}.
template <class Record>
Setting<Record> Bits(int Record::*field, std::string_view label,
                     std::vector<std::pair<std::string, std::string>> perBit) {
  Setting<Record> setting =
      setting_detail::One<Record>(Setting<Record>::Kind::kBits, field, label, {});
  for (const auto& [set, clear] : perBit) {
    setting.commands.push_back(set);
    setting.commands.push_back(clear);
  }
  setting.fields.back().min = 0;
  setting.fields.back().max = (1LL << perBit.size()) - 1;
  return setting;
}
// Several values in one command, sent when any of them differs.
template <class Record, class... Parts>
Setting<Record> Together(std::string command, Setting<Record> first, Parts... more) {
  Setting<Record> setting = std::move(first);
  (setting.fields.insert(setting.fields.end(), more.fields.begin(), more.fields.end()), ...);
  return std::move(setting).Sends(std::move(command));
}
// A numbered-list entry: added (with its values) or deleted by its in-use flag.
template <class Record, class... Parts>
Setting<Record> Presence(int Record::*used, std::string add, std::string del, Parts... values) {
  Setting<Record> setting = setting_detail::One<Record>(Setting<Record>::Kind::kPresence, used, {},
                                                        {std::move(add), std::move(del)});
  setting.fields.back().min = 0;
  setting.fields.back().max = 1;
  (setting.fields.insert(setting.fields.end(), values.fields.begin(), values.fields.end()), ...);
  return setting;
}
// Commands sent whenever a word of the run's state asks for them.
template <class Record>
Setting<Record> When(bool (*when)(const RunState&), std::vector<std::string> commands) {
  Setting<Record> setting;
  setting.kind = Setting<Record>::Kind::kWhen;
  setting.commands = std::move(commands);
  setting.when = when;
  return setting;
}

// The settings of several tables, one after another.
template <class Record, class... More>
Settings<Record> Concat(Settings<Record> first, const More&... more) {
  (first.insert(first.end(), more.begin(), more.end()), ...);
  return first;
}

// The declaration of field among settings; nullptr when none declares it.
template <class Record>
const FieldDecl<Record>* DeclOf(const Settings<Record>& settings, const FieldRef<Record>& field) {
  for (const Setting<Record>& setting : settings) {
    for (const FieldDecl<Record>& decl : setting.fields) {
      if (decl.field == field) return &decl;
    }
  }
  return nullptr;
}

// A rule across fields of one record, checked on the values that would be
// stored. Forms show message and put the focus on the first field's control.
template <class Record>
struct Rule {
  bool (*holds)(const Record& values) = nullptr;
  const char16_t* message = nullptr;
  std::vector<FieldRef<Record>> fields;  // the fields it reads, the one to correct first
};

}  // namespace setutily
