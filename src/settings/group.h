// Write groups, declared once per category (GroupOf, ListOf): the settings
// a group sends, the rules across them, the part of the store's record it
// covers, its scope per instance and the show command whose page it is read
// from. A category's read, the menus' writes, the read-back after a write
// (settings/read_back.h) and the configuration file (settings/config.h) all
// work from these declarations.
//
//   GroupOf<AnalogSettings, AnalogPort>{.title = {"TEL1", ...}, .settings = &kPortSettings,
//       .project = Port, .scope = {"tel1", ...}, .instances = 3,
//       .show = {"show analog tel1\r", ...}}
//   ListOf<RouterSettings, HostEntry, 32>{.title = ..., .settings = &kHostSettings,
//       .entries = Hosts, ..., .shows = {"show host\r"}, .readPage = ReadPairPage}
#pragma once

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/context.h"
#include "settings/read_table.h"
#include "settings/write_table.h"

namespace setutily {

// A group over a part of Root: the whole record, a port of it, a profile.
template <class Root, class Rec>
struct GroupOf {
  using RootType = Root;
  PerInstance<std::string_view> title;  // in files, per instance ("TEL1", "TEL2", ...)
  const Settings<Rec>* settings = nullptr;
  std::vector<const Rule<Rec>*> rules;
  Rec& (*project)(Root& root, int instance) = nullptr;
  PerInstance<std::string_view> scope;  // what "{}" stands for, per instance
  int instances = 1;
  // Runs after every write of the group, whatever it sent.
  void (*afterWrite)(RunState& state) = nullptr;
  // Settings marked Last() make a file group of their own under this title,
  // sent after every other group of every category.
  std::string_view lastTitle;
  // The show command whose reply (the page) holds each instance's settings.
  PerInstance<std::string_view> show;

  std::string_view ScopeOf(int instance) const {
    return scope.Empty() ? std::string_view{} : scope[instance];
  }
};

// Fills entries (numbered from firstNumber) from one page of a list.
template <class Entry>
using PageReader = void (*)(std::string_view reply, const Settings<Entry>& settings,
                            std::span<Entry> entries, int firstNumber);

// A group over the entries of a numbered list in Root, entry k (0-based)
// with the number firstNumber + k as its scope. A menu writes a page of
// perInstance entries at a time; a file holds the whole list. The device
// shows the list in pages of equal size, one show command each.
template <class Root, class Entry, std::size_t N>
struct ListOf {
  using RootType = Root;
  std::string_view title;
  const Settings<Entry>* settings = nullptr;
  std::array<Entry, N>& (*entries)(Root& root) = nullptr;
  int firstNumber = 1;
  int perInstance = static_cast<int>(N);
  const char16_t* numberMessage = nullptr;  // an entry number out of range
  std::vector<std::string_view> shows;      // the pages' show commands, in entry order
  PageReader<Entry> readPage = nullptr;

  std::size_t PageSize() const { return shows.empty() ? N : N / shows.size(); }
};

// A list page of "N: first, second" lines (see ReadPairList).
template <class Entry>
void ReadPairPage(std::string_view reply, const Settings<Entry>& settings,
                  std::span<Entry> entries, int firstNumber) {
  ReadPairList(reply, settings, entries, firstNumber);
}

// Replies already fetched in one read, by show command: a page that several
// groups are read from is fetched once.
class ShowReplies {
 public:
  const std::string* Find(std::string_view command) const {
    for (const auto& [sent, reply] : replies_) {
      if (sent == command) return &reply;
    }
    return nullptr;
  }
  void Add(std::string_view command, std::string reply) {
    replies_.emplace_back(std::string(command), std::move(reply));
  }

 private:
  std::vector<std::pair<std::string, std::string>> replies_;
};

namespace group_detail {

// Puts command's reply in context.replyText: from replies when it was
// fetched before, else from the device (and into replies). 1 or 0.
inline int Fetch(DeviceContext& context, std::string_view command, ShowReplies* replies) {
  if (replies != nullptr) {
    if (const std::string* reply = replies->Find(command)) {
      context.replyText = *reply;
      return 1;
    }
  }
  if (FetchReply(context, command) == 0) return 0;
  if (replies != nullptr) replies->Add(command, context.replyText);
  return 1;
}

}  // namespace group_detail

// Reads instance's part of group into into from its page. 1, or 0 with
// context.readFailure set (into keeps what it held).
template <class Root, class Rec>
int ReadGroup(DeviceContext& context, const GroupOf<Root, Rec>& group, int instance, Root& into,
              ShowReplies* replies = nullptr) {
  const std::string_view command = group.show[instance];
  const std::string_view scope = group.ScopeOf(instance);
  if (group_detail::Fetch(context, command, replies) == 0 ||
      CheckPage(context, command, *group.settings, scope) == 0) {
    return 0;
  }
  ReadFields(context.replyText, *group.settings, group.project(into, instance), scope);
  return 1;
}

// Reads the pages of list that hold entries first to first + count - 1
// into into. 1, or 0 with context.readFailure set.
template <class Root, class Entry, std::size_t N>
int ReadList(DeviceContext& context, const ListOf<Root, Entry, N>& list, Root& into,
             std::size_t first = 0, std::size_t count = N) {
  std::array<Entry, N>& entries = list.entries(into);
  const std::size_t size = list.PageSize();
  for (std::size_t page = 0; page < list.shows.size(); ++page) {
    const std::size_t begin = page * size;
    if (begin + size <= first || begin >= first + count) continue;
    const std::string_view command = list.shows[page];
    if (FetchReply(context, command) == 0 ||
        CheckPage(context, command, *list.settings, {}, false) == 0) {
      return 0;
    }
    list.readPage(context.replyText, *list.settings, std::span(entries).subspan(begin, size),
                  list.firstNumber + static_cast<int>(begin));
  }
  return 1;
}

// Writes instance's part of group from copies; 1 or 0 (as WriteChanges).
template <class Root, class Rec>
int WriteGroup(DeviceContext& context, SettingsCopies<Root>& copies,
               const GroupOf<Root, Rec>& group, int instance = 0, WriteFailure* failure = nullptr) {
  const int written =
      WriteChanges(context, *group.settings, group.project(copies.working, instance),
                   group.project(copies.baseline, instance), group.ScopeOf(instance), failure);
  if (group.afterWrite != nullptr) group.afterWrite(context.state);
  return written;
}

// Writes page instance of list from copies; 1 or 0 (as WriteListChanges).
template <class Root, class Entry, std::size_t N>
int WriteGroup(DeviceContext& context, SettingsCopies<Root>& copies,
               const ListOf<Root, Entry, N>& list, int instance = 0,
               WriteFailure* failure = nullptr) {
  const auto first = static_cast<std::size_t>(instance * list.perInstance);
  const auto count = static_cast<std::size_t>(list.perInstance);
  std::span<Entry> working = std::span(list.entries(copies.working)).subspan(first, count);
  std::span<Entry> baseline = std::span(list.entries(copies.baseline)).subspan(first, count);
  return WriteListChanges(context, *list.settings, working, baseline,
                          list.firstNumber + static_cast<int>(first), failure);
}

// The same on the record of the run's store.
template <class Group>
int WriteGroup(DeviceContext& context, const Group& group, int instance = 0,
               WriteFailure* failure = nullptr) {
  return WriteGroup(context, context.records.Of<typename Group::RootType>(), group, instance,
                    failure);
}

}  // namespace setutily
