// Reading a category's record from its show replies, table-driven: a read
// table lists, per reply, the labels and the fields they fill, parsed with
// the value-reading pattern of text/scan.h.
//
//   {"self address:", &P::self_address}            a text, cut to 54 bytes
//   {"dial time:", &P::dial_time}                  a number (decimal value)
//   Text("provider name:", &D::provider_name).Cut(64)
//   Number("line mode:", &R::line_mode).Range(0, 255)
//   Number("connect select:", &R::connect_sel).Adjust(MinusOne)
//   Joined("ip address:", "/", "submask:", &R::router_address).Cut(52)
//   Split("charge:", '/', &R::charge_limit, &R::charge_period)
//   ReadPairList(reply, {&E::used, &E::address, 32, &E::name, 64}, entries)
//
// A label missing from the reply gives an empty text or the number 0.
// Numbers are clamped into their range (never wrapped) and then adjusted.
#pragma once

#include <algorithm>
#include <climits>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/context.h"
#include "settings/field_ref.h"
#include "text/scan.h"

namespace setutily {

template <class Record>
struct ReadField {
  ReadField(std::string_view label, FieldRef<Record> field) : label(label), field(field) {}

  std::string_view label;  // exactly as the device prints it, leading blanks included
  FieldRef<Record> field;
  long long min = INT_MIN;
  long long max = INT_MAX;
  int (*adjust)(int value) = nullptr;
  std::size_t cut = kMaxValueLength;  // texts: bytes kept of the value
  // Joined texts: value of label, joiner, value of label2.
  std::string_view joiner;
  std::string_view label2;
  // Split numbers: the value is cut at its first separator; the part before
  // fills field, the part after (up to the next separator) fills field2.
  char separator = 0;
  FieldRef<Record> field2;
  long long min2 = INT_MIN;
  long long max2 = INT_MAX;

  ReadField Cut(std::size_t bytes) && {
    cut = bytes;
    return std::move(*this);
  }
  ReadField Range(long long low, long long high) && {
    min = low;
    max = high;
    return std::move(*this);
  }
  ReadField Range2(long long low, long long high) && {
    min2 = low;
    max2 = high;
    return std::move(*this);
  }
  ReadField Adjust(int (*fn)(int)) && {
    adjust = fn;
    return std::move(*this);
  }
};

template <class Record>
using ReadTable = std::vector<ReadField<Record>>;

template <class Record>
ReadField<Record> Text(std::string_view label, std::string Record::*field) {
  return {label, field};
}
template <class Record>
ReadField<Record> Number(std::string_view label, int Record::*field) {
  return {label, field};
}
template <class Record>
ReadField<Record> Joined(std::string_view label, std::string_view joiner, std::string_view label2,
                         std::string Record::*field) {
  ReadField<Record> entry{label, field};
  entry.joiner = joiner;
  entry.label2 = label2;
  return entry;
}
template <class Record>
ReadField<Record> Split(std::string_view label, char separator, int Record::*first,
                        int Record::*second) {
  ReadField<Record> entry{label, first};
  entry.separator = separator;
  entry.field2 = second;
  return entry;
}

// Fills record from one reply, field by field in table order.
template <class Record>
void ReadFields(std::string_view reply, const ReadTable<Record>& table, Record& record) {
  for (const ReadField<Record>& entry : table) {
    std::string value = ReadTextValue(reply, entry.label, entry.cut);
    if (!entry.label2.empty()) {
      value += entry.joiner;
      value += ReadTextValue(reply, entry.label2, entry.cut);
      if (value.size() > entry.cut) value.resize(entry.cut);
    }
    if (entry.field.IsText()) {
      entry.field.Text(record) = std::move(value);
      continue;
    }
    std::string_view first = value;
    std::string_view second;
    if (entry.separator != 0) {
      const std::size_t at = first.find(entry.separator);
      if (at != std::string_view::npos) {
        second = first.substr(at + 1);
        first = first.substr(0, at);
        second = second.substr(0, second.find(entry.separator));
      }
      entry.field2.Number(record) =
          static_cast<int>(ParseLeadingNumber(second, entry.min2, entry.max2));
    }
    int number = static_cast<int>(ParseLeadingNumber(first, entry.min, entry.max));
    if (entry.adjust != nullptr) number = entry.adjust(number);
    entry.field.Number(record) = number;
  }
}

// A numbered list whose entries are printed as lines "N: first, second"
// (indented, at a line start; see FindListLine): the entry's in-use flag and
// its two texts, each cut to its own length.
template <class Entry>
struct PairList {
  int Entry::*used;
  std::string Entry::*first;
  std::size_t firstCut;
  std::string Entry::*second;
  std::size_t secondCut;
};

// Fills entries (numbered from firstNumber) from reply. An entry with a
// line takes the text before the line's first comma as first and the text
// after it, up to the next comma, as second (each cut to its length, blanks
// around it removed) and is marked in use. An entry without a line, or
// whose line has no comma, is marked unused and keeps its texts.
template <class Entries, class Entry = typename Entries::value_type>
void ReadPairList(std::string_view reply, const PairList<Entry>& list, Entries& entries,
                  int firstNumber = 1) {
  for (std::size_t k = 0; k < entries.size(); ++k) {
    Entry& entry = entries[k];
    entry.*list.used = 0;
    const std::optional<std::string_view> line =
        FindListLine(reply, firstNumber + static_cast<int>(k));
    if (!line) continue;
    const std::size_t comma = line->find(',');
    if (comma == std::string_view::npos) continue;
    std::string_view second = line->substr(comma + 1);
    second = second.substr(0, second.find(','));
    second.remove_prefix(std::min(second.find_first_not_of(' '), second.size()));
    entry.*list.first = std::string(TrimSpace(line->substr(0, std::min(comma, list.firstCut))));
    entry.*list.second = std::string(TrimSpace(second.substr(0, list.secondCut)));
    entry.*list.used = 1;
  }
}

// FetchReply, then ReadFields from the reply. 1 or 0 (record untouched on 0).
template <class Record>
int ReadShow(DeviceContext& context, std::string_view command, const ReadTable<Record>& table,
             Record& record) {
  if (FetchReply(context, command) == 0) return 0;
  ReadFields(context.replyText, table, record);
  return 1;
}

}  // namespace setutily
