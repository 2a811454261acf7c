// Settings several categories declare alike, each under its own command
// words: the number and call settings of a telephone port and of a data
// port ("analog" / "digital"), one half of throughput BOD (the digital
// ports' and the router's), and the ranks and ring patterns of
// incoming-call control. Declared here once, bounds and messages included.
#pragma once

#include <climits>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "settings/setting.h"

namespace setutily {

// ---- a port's number and incoming calls; word: "analog" or "digital".
// "  address:" has two blanks: it is not the one in "self address:".

template <class Port>
Setting<Port> SelfAddress(std::string_view word, PerInstance<int> bytes) {
  return Text(&Port::self_address, "self address:").Phone().Bytes(std::move(bytes))
      .Message(u"自己アドレスの入力に間違いがあります。")
      .Sends(std::string(word) + " address {} %s\r");
}
template <class Port>
Setting<Port> TransferAddress(std::string_view word, PerInstance<int> bytes) {
  return Text(&Port::transfer_address, "  address:").Phone().Bytes(std::move(bytes))
      .Message(u"転送先電話番号の入力に間違いがあります。")
      .Sends(std::string(word) + " arrive_transfer address {} %s\r");
}

namespace shared_detail {
// The commands "<word> <keyword> {} <value>" for each value, in code order.
inline std::vector<std::string> PerCode(std::string_view word, std::string_view keyword,
                                        std::initializer_list<std::string_view> values) {
  std::vector<std::string> commands;
  for (std::string_view value : values) {
    commands.push_back(std::string(word) + " " + std::string(keyword) + " {} " +
                       std::string(value) + "\r");
  }
  return commands;
}
}  // namespace shared_detail

template <class Port>
Setting<Port> ArriveTransfer(std::string_view word) {
  return Choice(&Port::arrive_transfer, "arrive transfer:",
                shared_detail::PerCode(word, "arrive_transfer", {"disable", "enable"}));
}
template <class Port>
Setting<Port> Talky(std::string_view word) {
  return Choice(&Port::talky, "  talky:",
                shared_detail::PerCode(word, "arrive_transfer talky", {"0", "1", "2", "3"}));
}
template <class Port>
Setting<Port> GlobalArrive(std::string_view word) {
  return Choice(&Port::global_arrive, "global arrive:",
                shared_detail::PerCode(word, "global_arrive", {"disable", "enable"}));
}
template <class Port>
Setting<Port> NoSubaddress(std::string_view word) {
  return Choice(&Port::no_subaddress, "subaddress less arrive:",
                shared_detail::PerCode(word, "no_subaddress", {"disable", "enable"}));
}
template <class Port>
Setting<Port> NoticeNumber(std::string_view word) {
  return Choice(&Port::notice_number, "notice number:",
                shared_detail::PerCode(word, "notice_number",
                                       {"disable", "contract", "address", "net"}));
}
template <class Port>
Setting<Port> INumber(std::string_view word) {
  return Choice(&Port::i_number, "i number:",
                shared_detail::PerCode(word, "i_number", {"both", "contract", "add1", "add2"}));
}

// ---- one half of throughput BOD (adding a channel, or deleting one).
// prefix: "digital throughput_bod" or "bod throughput_bod". The minimum
// holding time is held in [minimumLow, minimumHigh], shown times
// minimumScale. sized: the device prints the values 8 bits wide (16 for the
// minimum time). The labels begin with two blanks.

enum class BodHalf { kAdd, kDel };

template <class Rec>
Settings<Rec> ThroughputHalf(std::string_view prefix, BodHalf half, int Rec::*direction,
                             int Rec::*rate, int Rec::*time, int Rec::*minimum,
                             long long minimumLow, long long minimumHigh, int minimumScale,
                             bool sized) {
  const bool add = half == BodHalf::kAdd;
  const std::string head = std::string(prefix) + (add ? " add_" : " del_");
  const std::string_view labelDirection =
      add ? "  add evaluation direction:" : "  del evaluation direction:";
  const std::string_view labelRate = add ? "  add standard rate:" : "  del standard rate:";
  const std::string_view labelTime = add ? "  add evaluation time:" : "  del evaluation time:";
  const std::string_view labelMinimum =
      add ? "  add minimum maintenance time:" : "  del minimum maintenance time:";
  const long long byte = sized ? 255 : INT_MAX, word = sized ? 65535 : INT_MAX;
  const long long low = sized ? 0 : INT_MIN;
  std::vector<std::string> directions;
  for (const char* way : {"both", "send", "recv", "disable"}) {
    directions.push_back(head + "evaluation_direction " + way + "\r");
  }
  return {
      Choice(direction, labelDirection, std::move(directions)).Reads(low, byte),
      Number(rate, labelRate).Reads(low, byte).Range(0, 100)
          .Message(u"しきい値の入力に間違いがあります。")
          .Sends(head + "standard_rate %d\r"),
      Number(time, labelTime).Reads(low, byte).Range(1, 255)
          .Message(u"評価時間の入力に間違いがあります。")
          .Sends(head + "evaluation_time %d\r"),
      Number(minimum, labelMinimum).Reads(low, word).Range(minimumLow, minimumHigh)
          .Scale(minimumScale).Message(u"最小保持時間の入力に間違いがあります。")
          .Sends(head + "minimum_time %d\r"),
  };
}

// Both halves, adding then deleting, over a record's add_* and del_* fields.
template <class Rec>
Settings<Rec> ThroughputHalves(std::string_view prefix, long long minimumLow,
                               long long minimumHigh, int minimumScale, bool sized) {
  return Concat(ThroughputHalf(prefix, BodHalf::kAdd, &Rec::add_evaluation_direction,
                               &Rec::add_standard_rate, &Rec::add_evaluation_time,
                               &Rec::add_minimum_time, minimumLow, minimumHigh, minimumScale,
                               sized),
                ThroughputHalf(prefix, BodHalf::kDel, &Rec::del_evaluation_direction,
                               &Rec::del_standard_rate, &Rec::del_evaluation_time,
                               &Rec::del_minimum_time, minimumLow, minimumHigh, minimumScale,
                               sized));
}

// ---- one side of BACP/BAP: how channel addition, call-back request and
// channel deletion are answered (bits 0, 1, 2; set: "auto", clear: "reject").
// prefix: "digital bacp_bap depart", "bacpbap arrive", ...
template <class Rec>
Setting<Rec> BacpSide(int Rec::*flags, std::string_view label, std::string_view prefix) {
  std::vector<std::pair<std::string, std::string>> perBit;
  for (const char* request : {"_add", "_request", "_del"}) {
    const std::string head = std::string(prefix) + request;
    perBit.emplace_back(head + " auto\r", head + " reject\r");
  }
  return Bits(flags, label, std::move(perBit));
}

// ---- incoming-call control: "<prefix> precede|normal|delay|reject" for a
// telephone port, "<prefix> normal|reject" for a data port (printed on the
// telephone scale and folded), "<prefix> ring1..3" for a ring pattern.

int FoldDataRank(int printed);

template <class Rec>
Setting<Rec> TelRank(int Rec::*field, std::string_view label, std::string_view prefix) {
  std::vector<std::string> commands;
  for (const char* rank : {"precede", "normal", "delay", "reject"}) {
    commands.push_back(std::string(prefix) + " " + rank + "\r");
  }
  return Choice(field, label, std::move(commands));
}
template <class Rec>
Setting<Rec> DataRank(int Rec::*field, std::string_view label, std::string_view prefix) {
  return Choice(field, label,
                {std::string(prefix) + " normal\r", std::string(prefix) + " reject\r"})
      .Adjust(FoldDataRank);
}
template <class Rec>
Setting<Rec> RingPattern(int Rec::*field, std::string_view label, std::string_view prefix) {
  std::vector<std::string> commands;
  for (const char* ring : {"ring1", "ring2", "ring3"}) {
    commands.push_back(std::string(prefix) + " " + ring + "\r");
  }
  return Choice(field, label, std::move(commands));
}

}  // namespace setutily
