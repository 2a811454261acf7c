#include "router/dialup_forms.h"

#include "forms/form_link.h"

#include "router/dialup_settings.h"

namespace setutily {

namespace {

using R = RouterSettings;
using D = DialupProfile;

Option Choice(const char16_t* caption, PerInstance<int> ids) { return {caption, std::move(ids)}; }

bool DnsGivenByHand(const D& profile) { return profile.dns_select == 0; }

// The DNS server edits follow "指定" (given by hand).
EnableRule<D> DnsEditsByHand() {
  return {&D::dns_select, [](int code) { return code != 1; }, {&D::dns_primary, &D::dns_secondary}};
}

}  // namespace

const FormDescription<RouterSettings, DialupProfile>& DialupProfileForm() {
  static const FormDescription<R, D> description{
      .title = {QStringLiteral("ダイヤルアップ１設定"), QStringLiteral("ダイヤルアップ２設定"),
                QStringLiteral("ダイヤルアップ３設定"), QStringLiteral("ダイヤルアップ４設定")},
      .help = {20, 21, 22, 23},
      .group = &DialupProfileGroup(),
      .boxes = {
          Box<D>().At(0, 0).With(
              Edit(u"プロバイダ名", &D::provider_name, {1386, 1403, 1419, 1435}).Width(30),
              Edit(u"ユーザー名", &D::user_id, {1390, 1407, 1423, 1439}).Width(30),
              Password(u"パスワード", &D::password, {1391, 1408, 1424, 1440}).Width(30)),
          Box<D>(u"アクセスポイント").At(1, 0).With(
              Edit(u"電話番号１", &D::dial_number1, {1387, 1404, 1420, 1436}).Width(30),
              Edit(u"電話番号２", &D::dial_number2, {1388, 1405, 1421, 1437}).Width(30),
              Edit(u"電話番号３", &D::dial_number3, {1389, 1406, 1422, 1438}).Width(30)),
          Box<D>().At(0, 1).With(
              DropDown<D>(u"接続情報", &D::mode, {1397, 1409, 1425, 1441},
                          {{u"64k"}, {u"128k（2チャネル固定）"}, {u"128k（BOD）"},
                           {u"128k（BACP/BAP）"}}),
              DropDown<D>(u"認証プロトコル", &D::protocol, {1399, 1411, 1427, 1443},
                          {{u"自動"}, {u"PAP"}, {u"CHAP"}, {u"なし"}})),
          Box<D>(u"自動切断").At(1, 1).With(
              Radios(&D::auto_disc, {Choice(u"無効", {1400, 1412, 1428, 1444}),
                                     Choice(u"有効", {1401, 1413, 1429, 1445})})
                  .Horizontal(),
              Edit(u"切断時間", &D::disc_time, {1402, 1414, 1430, 1446}).Limit(5).Width(6)
                  .Unit(u"秒")),
          Box<D>(u"ルータのＷＡＮ側ＩＰアドレス").At(2, 0).With(
              Edit(u"ＩＰアドレス", &D::address, {1396, 1648, 1649, 1650})),
          Box<D>(u"ＤＮＳサーバ").At(2, 1).With(
              Radios(&D::dns_select, {Choice(u"指定", {1392, 1415, 1431, 1447}),
                                      Choice(u"自動", {1393, 1416, 1432, 1448})})
                  .Horizontal(),
              Edit(u"プライマリＩＰアドレス", &D::dns_primary, {1394, 1417, 1433, 1449}),
              Edit(u"セカンダリＩＰアドレス", &D::dns_secondary, {1395, 1418, 1434, 1450})),
      },
      .order = {&D::provider_name, &D::dial_number1, &D::dial_number2, &D::dial_number3,
                &D::user_id, &D::password, RuleOn(&D::protocol), &D::disc_time, &D::address,
                &D::dns_primary, &D::dns_secondary, RuleOn(&D::dns_primary)},
      .enableRules = {DnsEditsByHand()},
  };
  return description;
}

const FormDescription<RouterSettings, DialupProfile>& EasySetupForm() {
  // While the servers are obtained automatically, the addresses are neither
  // checked nor stored.
  static const FormDescription<R, D> description{
      .title = QStringLiteral("ＨｏｍｅＰＮＡ簡単 設定"),
      .help = 27,
      .group = &EasySetupGroup(),
      .boxes = {
          Box<D>().At(0, 0).With(
              Edit(u"プロバイダ名", &D::provider_name, 1375).Width(30),
              Edit(u"ユーザー名", &D::user_id, 1379).Width(30),
              Password(u"パスワード", &D::password, 1380).Width(30)),
          Box<D>(u"アクセスポイント").At(1, 0).With(
              Edit(u"電話番号１", &D::dial_number1, 1376).Width(30),
              Edit(u"電話番号２", &D::dial_number2, 1377).Width(30),
              Edit(u"電話番号３", &D::dial_number3, 1378).Width(30)),
          Box<D>(u"ＤＮＳサーバ").At(2, 0).With(
              Radios(&D::dns_select, {{u"指定", 1381}, {u"自動", 1382}}).Horizontal(),
              Edit(u"プライマリＩＰアドレス", &D::dns_primary, 1383).OnlyWhen(DnsGivenByHand),
              Edit(u"セカンダリＩＰアドレス", &D::dns_secondary, 1384).OnlyWhen(DnsGivenByHand)),
      },
      .enableRules = {DnsEditsByHand()},
  };
  return description;
}

CategoryLaunch EasySetupLaunch(Session& session) {
  CategoryLaunch launch = NamedLaunch(1001, QStringLiteral("Dialup"));
  launch.read = [&session] { return ReadEasySetup(session); };
  LaunchForm(launch, session, Form(EasySetupForm()));
  return launch;
}

}  // namespace setutily
