#include "router/bod_limits_forms.h"

#include <QAbstractButton>
#include <QButtonGroup>

#include "forms/bod_boxes.h"
#include "forms/session.h"

namespace setutily {

namespace {

using R = RouterSettings;
using S = RasSettings;

// The connection time is checked and stored only with a period the form
// shows; with another, the device's value stays.
bool KnownTimePeriod(const R& values) { return values.time_period >= 0 && values.time_period <= 2; }

std::vector<Option> Periods(int day, int week, int month) {
  return {{u"１日", day}, {u"１週間", week}, {u"１ヶ月", month}};
}

// The time edit's tooltip gives the bound of the period chosen now.
void TimeTipFollowsPeriod(const FormFields<R>& form) {
  QWidget* time = form.Control(&R::time_limit);
  QAbstractButton* day = form.Option(&R::time_period, 0);
  if (time == nullptr || day == nullptr || day->group() == nullptr) return;
  auto show = [&fieldForm = form.Form(), time, item = form.ItemOf(&R::time_period)] {
    const int hours = MostConnectionHours(fieldForm.ChoiceCode(item));
    time->setToolTip(hours >= 0 ? QStringLiteral("0～%1").arg(hours) : QString());
  };
  QObject::connect(day->group(), &QButtonGroup::idToggled, time, show);
  show();
}

// Every opening starts without a clear request.
void NoClearRequested(const FormFields<R>& form, const R&) {
  form.Form().RunSession().state.countersClearRequested = false;
  TimeTipFollowsPeriod(form);
}

// "クリア": the next write of the connection limits clears the device's
// counters; the form closes storing nothing.
bool RequestCountersClear(FieldForm& form) {
  form.RunSession().state.countersClearRequested = true;
  return true;
}

}  // namespace

const FormDescription<RouterSettings, RouterSettings>& BodForm() {
  static const ThroughputIds kAdd = {1476, 1477, 1343, 1478, 1479, 1480, 1481};
  static const ThroughputIds kDel = {1482, 1483, 1344, 1484, 1485, 1486, 1487};
  static const FormDescription<R, R> description{
      .title = QStringLiteral("ＢＯＤ設定"),
      .help = 25,
      .group = &BodGroup(),
      .boxes = {
          Box<R>(u"初期接続チャネル数").At(0, 0).With(
              Radios(&R::init_channel, {{u"２チャネル", 1462}, {u"１チャネル", 1463}})),
          Box<R>(u"リソースBODの設定").At(0, 1).With(
              Radios(&R::resource_bod, {{u"割当てを行わない", 1467},
                                        {u"発信時のみ割当てる", 1465},
                                        {u"着信時のみ割当てる", 1466},
                                        {u"発信/着信とも割当てる", 1464}})),
          ThroughputAddHalf<R>(u"スループットＢＯＤ　チャネル追加", kAdd, 1468).At(1, 0),
          ThroughputDeleteHalf<R>(u"スループットＢＯＤ　チャネル削除", kDel, 1468).At(1, 1),
      },
      .order = ThroughputCheckingOrder<R>(),
  };
  return description;
}

const FormDescription<RouterSettings, RouterSettings>& RouterBacpForm() {
  static const FormDescription<R, R> description{
      .title = QStringLiteral("ＢＡＣＰ／ＢＡＰ設定"),
      .help = 26,
      .group = &RouterBacpGroup(),
      .boxes = {
          BacpSide(u"発信側", &R::depart_flags, 1488).At(0, 0),
          BacpSide(u"着信側", &R::arrive_flags, 1494).At(1, 0),
      },
  };
  return description;
}

const FormDescription<RouterSettings, RouterSettings>& ConnectionLimitForm() {
  static const FormDescription<R, R> description{
      .title = QStringLiteral("接続制限設定"),
      .help = 28,
      .group = &ConnectionLimitGroup(),
      .boxes = {
          Box<R>(u"回線使用料").At(0, 0).With(
              Edit(nullptr, &R::charge_limit, 1596).Limit(6).Width(7).Unit(u"円"),
              Radios(&R::charge_period, Periods(1632, 1633, 1634)).Horizontal()),
          Box<R>(u"接続時間").At(1, 0).With(
              Edit(nullptr, &R::time_limit, 1597).Limit(3).Width(7).Unit(u"時間")
                  .OnlyWhen(KnownTimePeriod),
              Radios(&R::time_period, Periods(1635, 1636, 1637)).Horizontal()),
          Box<R>(u"接続回数").At(2, 0).Horizontal().With(
              Edit(nullptr, &R::count_limit, 1598).Limit(4).Width(5).Unit(u"回　／")
                  .Named(u"接続回数"),
              Edit(nullptr, &R::count_minutes, 1638).Limit(4).Width(5).Unit(u"分")
                  .Named(u"接続回数を数える時間（分）")),
          Box<R>(u"クリア機能").At(0, 1, 3, 1).With(
              Edit(u"日", &R::clear_hour, 1639).Limit(2).Width(3).Unit(u"時").At(0, 0)
                  .Named(u"毎日のクリア時刻（時）"),
              Edit(nullptr, &R::clear_minute, 1640).Limit(2).Width(3).Unit(u"分").At(0, 1)
                  .Named(u"毎日のクリア時刻（分）"),
              DropDown(u"週", &R::clear_weekday, 1642,
                       {{u"日"}, {u"月"}, {u"火"}, {u"水"}, {u"木"}, {u"金"}, {u"土"}})
                  .At(1, 0).Named(u"毎週のクリア曜日"),
              Label<R>(u"曜日").At(1, 1),
              Edit(u"月", &R::clear_monthday, 1643).Limit(2).Width(3).Unit(u"日").At(2, 0)
                  .Named(u"毎月のクリア日")),
          // One line under both columns.
          Box<R>().At(3, 0, 1, 2).With(
              Label<R>(u"注意） 設定値\"０\"は、制限が無効となります。")),
      },
      .order = {&R::charge_limit, &R::time_limit, RuleOn(&R::time_limit), &R::count_limit,
                &R::count_minutes, &R::clear_hour, &R::clear_minute, &R::clear_monthday},
      .opened = NoClearRequested,
      .helpButton = 1599,
      .actions = {{QStringLiteral("クリア"), 1628, RequestCountersClear}},
  };
  return description;
}

const FormDescription<RouterSettings, RasSettings>& RemoteAccessForm() {
  static const FormDescription<R, S> description{
      .title = QStringLiteral("着信設定"),
      .help = 30,
      .group = &RemoteAccessGroup(),
      .boxes = {
          Box<S>(u"リモートアクセスサーバ").At(0, 0).With(
              Radios(&S::active, {{u"無効", 1674}, {u"有効", 1675}}).Horizontal(),
              Edit(u"ルータのＷＡＮ側ＩＰアドレス", &S::wan_address, 1676),
              Edit(u"相手側のＩＰアドレス", &S::partner_address, 1677)),
          Box<S>().At(1, 0).With(
              Edit(u"受信ユーザーＩＤ", &S::user_id, 1678),
              Password(u"受信パスワード", &S::password, 1679)),
          Box<S>(u"自動切断").At(0, 1).With(
              Radios(&S::auto_disc, {{u"無効", 1680}, {u"有効", 1681}}).Horizontal(),
              Edit(u"切断時間", &S::disc_time, 1682).Limit(5).Width(6).Unit(u"秒")),
          Box<S>().At(1, 1).With(
              DropDown(u"接続情報", &S::mode, 1683,
                       {{u"64k"}, {u"128k（2チャネル固定）"}, {u"128k（BOD）"},
                        {u"128k（BACP/BAP）"}}),
              DropDown(u"認証プロトコル", &S::protocol, 1684,
                       {{u"自動"}, {u"PAP"}, {u"CHAP"}, {u"なし"}})),
      },
      // CHAP first, then the disconnect time and the two addresses.
      .order = {&S::user_id, &S::password, RuleOn(&S::protocol), &S::disc_time,
                &S::wan_address, &S::partner_address},
      // The addresses are edited only while the server is on; they are
      // still checked and stored when it is off.
      .enableRules = {{&S::active, [](int code) { return code != 0; },
                       {&S::wan_address, &S::partner_address}}},
  };
  return description;
}

}  // namespace setutily
