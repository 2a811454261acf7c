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

// One half of throughput BOD. The minimum holding time is shown in seconds;
// its arrows step by 5 seconds.
template <class Rec>
FormBox<Rec> ThroughputHalf(const char16_t* title, int Rec::*direction, int Rec::*rate,
                            int Rec::*time, int Rec::*minimum, const ThroughputIds& ids,
                            std::vector<Option> directionChoices) {
  return Box<Rec>(title).With(
      Label<Rec>(u"評価方向"),
      Radios(direction, std::move(directionChoices)),
      Edit(u"しきい値", rate, ids.rate).Limit(3).Width(4).Unit(u"％").Arrows(ids.rateArrows, 3),
      RateLabel<Rec>(ids.rateLabel, rate, ThroughputRate),
      Edit(u"評価時間", time, ids.time).Limit(3).Width(4).Unit(u"秒").Arrows(ids.timeArrows, 3),
      Edit(u"最小保持時間", minimum, ids.minimum).Limit(4).Width(4).Unit(u"秒")
          .Arrows(ids.minimumArrows, 4, 5));
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
