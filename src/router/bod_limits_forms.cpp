#include "router/bod_limits_forms.h"

#include <QAbstractButton>
#include <QButtonGroup>

#include "forms/bod_boxes.h"
#include "forms/session.h"

namespace setutily {

namespace {

using R = RouterSettings;
using S = RasSettings;

R& WholeRouter(R& settings, int) { return settings; }
S& RasOf(R& settings, int) { return settings.ras; }

// The router keeps minimum holding times in seconds.
constexpr int kSeconds = 1;

// ------------------------------------------------------ connection limits

// The longest connection time of a period: a day, a week, a month.
constexpr int kPeriodHours[] = {23, 167, 743};

bool KnownTimePeriod(const R& values) { return values.time_period >= 0 && values.time_period <= 2; }

// The time is bounded by the period that will be stored; with a period the
// form cannot show, the time is neither checked nor changed.
bool TimeWithinPeriod(const R& values) {
  return !KnownTimePeriod(values) ||
         values.time_limit <= kPeriodHours[static_cast<std::size_t>(values.time_period)];
}

std::vector<Option> Periods(int day, int week, int month) {
  return {{u"１日", day}, {u"１週間", week}, {u"１ヶ月", month}};
}

// The time edit's tooltip gives the bound of the period chosen now.
void TimeTipFollowsPeriod(FieldForm& form) {
  QWidget* time = form.Control(1597);
  auto* day = qobject_cast<QAbstractButton*>(form.Control(1635));
  if (time == nullptr || day == nullptr || day->group() == nullptr) return;
  auto show = [&form, time] {
    const int period = form.ChoiceCode(1635);
    time->setToolTip(period >= 0 && period <= 2
                         ? QStringLiteral("0～%1").arg(kPeriodHours[static_cast<std::size_t>(period)])
                         : QString());
  };
  QObject::connect(day->group(), &QButtonGroup::idToggled, time, show);
  show();
}

// Every opening starts without a clear request.
void NoClearRequested(FieldForm& form, const R&) {
  form.RunSession().state.countersClearRequested = false;
  TimeTipFollowsPeriod(form);
}

// "クリア": the next write of the connection limits clears the device's
// counters; the form closes storing nothing.
bool RequestCountersClear(FieldForm& form) {
  form.RunSession().state.countersClearRequested = true;
  return true;
}

// ------------------------------------------------------- remote access

// Only the single-channel connection may authenticate with CHAP.
bool ChapOnlyWith64k(const S& values) { return values.mode == 0 || values.protocol != 2; }

}  // namespace

const FormDescription<RouterSettings, RouterSettings>& BodForm() {
  static const ThroughputIds kAdd = {1476, 1477, 1343, 1478, 1479, 1480, 1481};
  static const ThroughputIds kDel = {1482, 1483, 1344, 1484, 1485, 1486, 1487};
  static const FormDescription<R, R> description{
      .title = QStringLiteral("ＢＯＤ設定"),
      .help = 25,
      .boxes = {
          Box<R>(u"初期接続チャネル数").At(0, 0).With(
              Radios(&R::init_channel, {{u"２チャネル", 1462}, {u"１チャネル", 1463}})),
          Box<R>(u"リソースBODの設定").At(0, 1).With(
              Radios(&R::resource_bod, {{u"割当てを行わない", 1467},
                                        {u"発信時のみ割当てる", 1465},
                                        {u"着信時のみ割当てる", 1466},
                                        {u"発信/着信とも割当てる", 1464}})),
          ThroughputHalf(u"スループットＢＯＤ　チャネル追加", &R::add_evaluation_direction,
                         &R::add_standard_rate, &R::add_evaluation_time, &R::add_minimum_time,
                         kAdd,
                         {{u"送受信データとも評価し追加する", 1468},
                          {u"送信データのみ評価し追加する", 1469},
                          {u"受信データのみ評価し追加する", 1470},
                          {u"追加を行わない", 1471}},
                         4, kSeconds)
              .At(1, 0),
          ThroughputHalf(u"スループットＢＯＤ　チャネル削除", &R::del_evaluation_direction,
                         &R::del_standard_rate, &R::del_evaluation_time, &R::del_minimum_time,
                         kDel,
                         {{u"送受信データとも評価し削除する", 1472},
                          {u"送信データのみ評価し削除する", 1473},
                          {u"受信データのみ評価し削除する", 1474},
                          {u"削除を行わない", 1475}},
                         1, kSeconds)
              .At(1, 1),
      },
      .project = WholeRouter,
  };
  return description;
}

const FormDescription<RouterSettings, RouterSettings>& RouterBacpForm() {
  static const FormDescription<R, R> description{
      .title = QStringLiteral("ＢＡＣＰ／ＢＡＰ設定"),
      .help = 26,
      .boxes = {
          Box<R>(u"発信側").At(0, 0).With(
              AnswerPair(u"チャネル追加", &R::depart_flags, 1, 1488, 1489),
              AnswerPair(u"コールバック要求", &R::depart_flags, 2, 1490, 1491),
              AnswerPair(u"チャネル削除", &R::depart_flags, 4, 1492, 1493)),
          Box<R>(u"着信側").At(1, 0).With(
              AnswerPair(u"チャネル追加", &R::arrive_flags, 1, 1494, 1495),
              AnswerPair(u"コールバック要求", &R::arrive_flags, 2, 1496, 1497),
              AnswerPair(u"チャネル削除", &R::arrive_flags, 4, 1498, 1499)),
      },
      .project = WholeRouter,
  };
  return description;
}

const FormDescription<RouterSettings, RouterSettings>& ConnectionLimitForm() {
  // Checked in this order: charge, time (by its period), count, window,
  // clear hour, minute, day of the month.
  static const FormDescription<R, R> description{
      .title = QStringLiteral("接続制限設定"),
      .help = 28,
      .boxes = {
          Box<R>(u"回線使用料").At(0, 0).With(
              Number<R>(nullptr, &R::charge_limit, 1596, 0, 999999)
                  .Limit(6).Width(7).Unit(u"円").Order(1)
                  .Message(u"回線使用料の入力に間違いがあります。"),
              Radios(&R::charge_period, Periods(1632, 1633, 1634)).Horizontal()),
          Box<R>(u"接続時間").At(1, 0).With(
              Number<R>(nullptr, &R::time_limit, 1597, 0, 743)
                  .Limit(3).Width(7).Unit(u"時間").Order(2).OnlyWhen(KnownTimePeriod)
                  .Message(u"接続時間の入力に間違いがあります。"),
              Radios(&R::time_period, Periods(1635, 1636, 1637)).Horizontal()),
          Box<R>(u"接続回数").At(2, 0).Horizontal().With(
              Number<R>(nullptr, &R::count_limit, 1598, 0, 9999)
                  .Limit(4).Width(5).Unit(u"回　／").Order(3).Named(u"接続回数")
                  .Message(u"接続回数の入力に間違いがあります。"),
              Number<R>(nullptr, &R::count_minutes, 1638, 1, 1440)
                  .Limit(4).Width(5).Unit(u"分").Order(4).Named(u"接続回数を数える時間（分）")
                  .Message(u"接続回数の入力に間違いがあります。")),
          Box<R>(u"クリア機能").At(0, 1, 3, 1).With(
              Number(u"日", &R::clear_hour, 1639, 0, 23)
                  .Limit(2).Width(3).Unit(u"時").At(0, 0).Order(5).Named(u"毎日のクリア時刻（時）")
                  .Message(u"クリア機能の入力に間違いがあります。"),
              Number<R>(nullptr, &R::clear_minute, 1640, 0, 59)
                  .Limit(2).Width(3).Unit(u"分").At(0, 1).Order(6)
                  .Named(u"毎日のクリア時刻（分）")
                  .Message(u"クリア機能の入力に間違いがあります。"),
              DropDown(u"週", &R::clear_weekday, 1642,
                       {{u"日"}, {u"月"}, {u"火"}, {u"水"}, {u"木"}, {u"金"}, {u"土"}})
                  .At(1, 0).Named(u"毎週のクリア曜日"),
              Label<R>(u"曜日").At(1, 1),
              Number(u"月", &R::clear_monthday, 1643, 1, 31)
                  .Limit(2).Width(3).Unit(u"日").At(2, 0).Order(7).Named(u"毎月のクリア日")
                  .Message(u"クリア機能の入力に間違いがあります。")),
          // One line under both columns.
          Box<R>().At(3, 0, 1, 2).With(
              Label<R>(u"注意） 設定値\"０\"は、制限が無効となります。")),
      },
      .project = WholeRouter,
      .crossChecks = {{TimeWithinPeriod, QStringLiteral("接続時間の入力に間違いがあります。"),
                       1597, 2}},
      .opened = NoClearRequested,
      .helpButton = 1599,
      .actions = {{QStringLiteral("クリア"), 1628, RequestCountersClear}},
  };
  return description;
}

const FormDescription<RouterSettings, RasSettings>& RemoteAccessForm() {
  // Checked in this order: CHAP, the disconnect time, the two addresses.
  static const FormDescription<R, S> description{
      .title = QStringLiteral("着信設定"),
      .help = 30,
      .boxes = {
          Box<S>(u"リモートアクセスサーバ").At(0, 0).With(
              Radios(&S::active, {{u"無効", 1674}, {u"有効", 1675}}).Horizontal(),
              Address(u"ルータのＷＡＮ側ＩＰアドレス", &S::wan_address, 1676)
                  .Limit(15).EmptyMeans(u"0.0.0.0").Order(3)
                  .Message(u"ルータのＷＡＮ側ＩＰアドレスの入力に間違いがあります。"),
              Address(u"相手側のＩＰアドレス", &S::partner_address, 1677)
                  .Limit(15).EmptyMeans(u"0.0.0.0").Order(4)
                  .Message(u"相手側ＩＰアドレスの入力に間違いがあります。")),
          Box<S>().At(1, 0).With(
              TextEdit(u"受信ユーザーＩＤ", &S::user_id, 1678).Limit(32),
              Password(u"受信パスワード", &S::password, 1679).Limit(64)),
          Box<S>(u"自動切断").At(0, 1).With(
              Radios(&S::auto_disc, {{u"無効", 1680}, {u"有効", 1681}}).Horizontal(),
              Number(u"切断時間", &S::disc_time, 1682, 1, 32400)
                  .Limit(5).Width(6).Unit(u"秒").Order(2)
                  .Message(u"切断時間の入力に間違いがあります。")),
          Box<S>().At(1, 1).With(
              DropDown(u"接続情報", &S::mode, 1683,
                       {{u"64k"}, {u"128k（2チャネル固定）"}, {u"128k（BOD）"},
                        {u"128k（BACP/BAP）"}}),
              DropDown(u"認証プロトコル", &S::protocol, 1684,
                       {{u"自動"}, {u"PAP"}, {u"CHAP"}, {u"なし"}})),
      },
      .project = RasOf,
      // The addresses are edited only while the server is on; they are
      // still checked and stored when it is off.
      .enableRules = {{1674, [](int code) { return code != 0; }, {1676, 1677}}},
      .crossChecks = {{ChapOnlyWith64k, QStringLiteral("64k 以外は、CHAPに設定できません。"),
                       1684, 1}},
  };
  return description;
}

}  // namespace setutily
