// Form pieces of bandwidth on demand, shared by the digital ports' forms and
// the router's: one half of throughput BOD (adding or deleting a channel)
// and an answer pair of BACP/BAP.
#pragma once

#include <QString>
#include <utility>
#include <vector>

#include "forms/description.h"

namespace setutily {

// The data rate a threshold (percent of a channel) stands for.
inline QString ThroughputRate(int threshold) {
  return QString::asprintf("約 %.2f kbps", threshold * 8 * 0.01);
}

// The ids of one half: threshold edit and arrows, rate label, evaluation
// time edit and arrows, minimum holding time edit and arrows.
struct ThroughputIds {
  int rate, rateArrows, rateLabel, time, timeArrows, minimum, minimumArrows;
};

// One half of throughput BOD, its checks from firstCheck on (minimum holding
// time, evaluation time, threshold; the deletion half is checked first).
// The minimum holding time is shown in seconds and stored in units of
// minimumStoreScale seconds; its arrows step whole units of 5 seconds.
template <class Rec>
FormBox<Rec> ThroughputHalf(const char16_t* title, int Rec::*direction, int Rec::*rate,
                            int Rec::*time, int Rec::*minimum, const ThroughputIds& ids,
                            std::vector<Option> directionChoices, int firstCheck,
                            int minimumStoreScale) {
  return Box<Rec>(title).With(
      Label<Rec>(u"評価方向"),
      Radios(direction, std::move(directionChoices)),
      Number(u"しきい値", rate, ids.rate, 0, 100)
          .Limit(3).Width(4).Unit(u"％").Arrows(ids.rateArrows, 3, 0, 100)
          .Order(firstCheck + 2).Message(u"しきい値の入力に間違いがあります。"),
      RateLabel<Rec>(ids.rateLabel, ids.rate, ThroughputRate),
      Number(u"評価時間", time, ids.time, 1, 255)
          .Limit(3).Width(4).Unit(u"秒").Arrows(ids.timeArrows, 3, 1, 255)
          .Order(firstCheck + 1).Message(u"評価時間の入力に間違いがあります。"),
      Number(u"最小保持時間", minimum, ids.minimum, 5, 1275)
          .Limit(4).Width(4).Unit(u"秒").StoreScale(minimumStoreScale)
          .Arrows(ids.minimumArrows, 4, 1, 255, 5)
          .Order(firstCheck).Message(u"最小保持時間の入力に間違いがあります。"));
}

// One BACP/BAP request and how it is answered: "拒否する" clears bit of
// flags, "自動応答" sets it.
template <class Rec>
Item<Rec> AnswerPair(const char16_t* caption, int Rec::*flags, int bit, int rejectId,
                     int autoId) {
  return RadioBit(flags, bit, Option(u"拒否する", rejectId), Option(u"自動応答", autoId))
      .Caption(caption);
}

}  // namespace setutily
