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

// The adding and the deleting half over a record's add_* and del_* fields.
// The adding half's four direction choices take the ids from firstChoice
// on, the deleting half's the four after them.
template <class Rec>
FormBox<Rec> ThroughputAddHalf(const char16_t* title, const ThroughputIds& ids, int firstChoice) {
  return ThroughputHalf(title, &Rec::add_evaluation_direction, &Rec::add_standard_rate,
                        &Rec::add_evaluation_time, &Rec::add_minimum_time, ids,
                        {{u"送受信データとも評価し追加する", firstChoice},
                         {u"送信データのみ評価し追加する", firstChoice + 1},
                         {u"受信データのみ評価し追加する", firstChoice + 2},
                         {u"追加を行わない", firstChoice + 3}});
}
template <class Rec>
FormBox<Rec> ThroughputDeleteHalf(const char16_t* title, const ThroughputIds& ids,
                                  int firstChoice) {
  return ThroughputHalf(title, &Rec::del_evaluation_direction, &Rec::del_standard_rate,
                        &Rec::del_evaluation_time, &Rec::del_minimum_time, ids,
                        {{u"送受信データとも評価し削除する", firstChoice + 4},
                         {u"送信データのみ評価し削除する", firstChoice + 5},
                         {u"受信データのみ評価し削除する", firstChoice + 6},
                         {u"削除を行わない", firstChoice + 7}});
}

// The checking order of the two halves: the deleting half first, each
// half's minimum holding time, evaluation time, threshold.
template <class Rec>
std::vector<CheckStep<Rec>> ThroughputCheckingOrder() {
  return {&Rec::del_minimum_time, &Rec::del_evaluation_time, &Rec::del_standard_rate,
          &Rec::add_minimum_time, &Rec::add_evaluation_time, &Rec::add_standard_rate};
}

// One BACP/BAP request and how it is answered: "拒否する" clears bit of
// flags, "自動応答" sets it.
template <class Rec>
Item<Rec> AnswerPair(const char16_t* caption, int Rec::*flags, int bit, int rejectId,
                     int autoId) {
  return RadioBit(flags, bit, Option(u"拒否する", rejectId), Option(u"自動応答", autoId))
      .Caption(caption);
}

// The requests of one side ("発信側" over depart_flags, "着信側" over
// arrive_flags), each with its answer pair; the six radio buttons take the
// ids from firstId on.
template <class Rec>
FormBox<Rec> BacpSide(const char16_t* title, int Rec::*flags, int firstId) {
  return Box<Rec>(title).With(
      AnswerPair(u"チャネル追加", flags, 1, firstId, firstId + 1),
      AnswerPair(u"コールバック要求", flags, 2, firstId + 2, firstId + 3),
      AnswerPair(u"チャネル削除", flags, 4, firstId + 4, firstId + 5));
}

}  // namespace setutily
