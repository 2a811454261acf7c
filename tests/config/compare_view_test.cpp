// The compare view's rows: each difference between the device (baseline)
// and a file (working copy) named as its form names it, with the commands a
// restore sends for it.
#include <gtest/gtest.h>

#include "analog/analog_settings.h"
#include "app/compare_rows.h"
#include "forms/session.h"
#include "root/config_categories.h"
#include "root/setting_forms.h"
#include "router/router_settings.h"
#include "support/ui_helpers.h"

namespace setutily {
namespace {

struct Row {
  QString form, caption, device, file;
  QStringList commands;
  bool operator==(const Row&) const = default;
};

std::vector<Row> Rows(Session& session) {
  std::vector<Row> rows;
  for (const CompareRow& row :
       CompareRows(session, BuildConfigCategories(), FormDifferences(session))) {
    rows.push_back({row.form, row.caption, row.device, row.file, row.commands});
  }
  return rows;
}

TEST(CompareView, ANumberAListEntryAndAPasswordAsTheFormsShowThem) {
  CommandExchange exchange;
  testing::RecordingMessages messages;
  testing::RecordingHelp help;
  Session session(exchange, messages, help);
  auto& analog = session.records.Of<AnalogSettings>();
  analog.baseline.ports[0].dial_time = 5;
  analog.working = analog.baseline;
  analog.working.ports[0].dial_time = 7;
  auto& router = session.records.Of<RouterSettings>();
  router.baseline.dialup[0].password = "old";
  router.baseline.nat[2] = {1, "192.168.0.3", "10.0.0.3"};
  router.working = router.baseline;
  router.working.dialup[0].password = "secret";  // also on the easy setup: told once
  router.working.nat[2].used = 0;
  router.working.nat[4] = {1, "192.168.0.5", "*"};
  const RouterSettings routerBefore = router.working;

  const QString dots = QString(8, u'●');
  const std::vector<Row> expected = {
      {"ＮＡＴ（スタティックＮＡＴ）設定", "番号 3", "192.168.0.3, 10.0.0.3", "（未登録）",
       {"nat del 3"}},
      {"ＮＡＴ（スタティックＮＡＴ）設定", "番号 5", "（未登録）", "192.168.0.5, *",
       {"nat add 5 192.168.0.5,*"}},
      {"ダイヤルアップ１設定", "パスワード", "●●●", "●●●●●●",
       {"dialup password num1 " + dots}},
      {"ＴＥＬ１ポート設定", "ダイヤル発信時間", "5秒", "7秒", {"analog dial_time tel1 7"}},
  };
  EXPECT_EQ(Rows(session), expected);
  // The records are as they were.
  EXPECT_EQ(router.working, routerBefore);
  EXPECT_EQ(analog.working.ports[0].dial_time, 7);
}

}  // namespace
}  // namespace setutily
