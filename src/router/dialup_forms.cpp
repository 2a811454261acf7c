#include "router/dialup_forms.h"

#include <QDialog>

#include "router/dialup_settings.h"

namespace setutily {

namespace {

using R = RouterSettings;
using D = DialupProfile;

DialupProfile& ProfileOf(R& settings, int profile) {
  return settings.dialup[static_cast<std::size_t>(profile)];
}
DialupProfile& FirstProfile(R& settings, int) { return settings.dialup[0]; }

Option Choice(const char16_t* caption, PerInstance<int> ids) { return {caption, std::move(ids)}; }

bool DnsGivenByHand(const D& profile) { return profile.dns_select == 0; }

// "0.0.0.0" is shown as an empty edit and names no server either.
bool NamesServer(const std::string& address) { return !address.empty() && address != "0.0.0.0"; }
bool HasDnsServer(const D& profile) {
  return !DnsGivenByHand(profile) || NamesServer(profile.dns_primary) ||
         NamesServer(profile.dns_secondary);
}

// Only the one-channel connection authenticates with CHAP.
bool ChapOnlyAt64k(const D& profile) { return profile.mode == 0 || profile.protocol != 2; }

const char16_t* const kDialMessages[] = {u"電話番号1の入力に間違いがあります。",
                                         u"電話番号2の入力に間違いがあります。",
                                         u"電話番号3の入力に間違いがあります。"};
constexpr std::string D::*kDialNumbers[] = {&D::dial_number1, &D::dial_number2,
                                            &D::dial_number3};
const char16_t* const kDialCaptions[] = {u"電話番号１", u"電話番号２", u"電話番号３"};

Item<D> DialNumber(int n, PerInstance<int> id) {
  return Phone(kDialCaptions[n], kDialNumbers[n], std::move(id)).Limit(53).Width(30)
      .Message(kDialMessages[n]);
}

Item<D> ProviderName(PerInstance<int> id) {
  return TextEdit(u"プロバイダ名", &D::provider_name, std::move(id), 64).Limit(64).Width(30)
      .Message(u"プロバイダ名の入力に間違いがあります。");
}

// A DNS server address: "0.0.0.0" shows empty, an emptied edit stays empty
// (the write sends it as "0.0.0.0").
Item<D> DnsAddress(const char16_t* caption, std::string D::*field, PerInstance<int> id,
                   const char16_t* message) {
  return Address(caption, field, std::move(id)).Limit(15).EmptyFor(u"0.0.0.0").Message(message);
}
const char16_t kPrimaryMessage[] = u"プライマリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。";
const char16_t kSecondaryMessage[] =
    u"セカンダリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。";
const QString kNoServer = QStringLiteral("サーバーアドレスの入力に間違いがあります。");

}  // namespace

const FormDescription<RouterSettings, DialupProfile>& DialupProfileForm() {
  // Checked in this order: provider name, dial numbers, the CHAP rule, the
  // disconnect time, the WAN address, the DNS addresses, a DNS server.
  static const FormDescription<R, D> description{
      .title = {QStringLiteral("ダイヤルアップ１設定"), QStringLiteral("ダイヤルアップ２設定"),
                QStringLiteral("ダイヤルアップ３設定"), QStringLiteral("ダイヤルアップ４設定")},
      .help = {20, 21, 22, 23},
      .boxes = {
          Box<D>().At(0, 0).With(
              ProviderName({1386, 1403, 1419, 1435}),
              TextEdit(u"ユーザー名", &D::user_id, {1390, 1407, 1423, 1439}).Limit(64).Width(30),
              Password(u"パスワード", &D::password, {1391, 1408, 1424, 1440}).Limit(32)
                  .Width(30)),
          Box<D>(u"アクセスポイント").At(1, 0).With(
              DialNumber(0, {1387, 1404, 1420, 1436}), DialNumber(1, {1388, 1405, 1421, 1437}),
              DialNumber(2, {1389, 1406, 1422, 1438})),
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
              Number(u"切断時間", &D::disc_time, {1402, 1414, 1430, 1446}, 1, 32400)
                  .Limit(5).Width(6).Unit(u"秒").Order(1)
                  .Message(u"切断時間の入力に間違いがあります。")),
          Box<D>(u"ルータのＷＡＮ側ＩＰアドレス").At(2, 0).With(
              Address(u"ＩＰアドレス", &D::address, {1396, 1648, 1649, 1650})
                  .Limit(15).EmptyMeans(u"0.0.0.0").Order(1)
                  .Message(u"ＷＡＮ側ＩＰアドレスの入力に間違いがあります。")),
          Box<D>(u"ＤＮＳサーバ").At(2, 1).With(
              Radios(&D::dns_select, {Choice(u"指定", {1392, 1415, 1431, 1447}),
                                      Choice(u"自動", {1393, 1416, 1432, 1448})})
                  .Horizontal(),
              DnsAddress(u"プライマリＩＰアドレス", &D::dns_primary, {1394, 1417, 1433, 1449},
                         kPrimaryMessage)
                  .Order(1),
              DnsAddress(u"セカンダリＩＰアドレス", &D::dns_secondary, {1395, 1418, 1434, 1450},
                         kSecondaryMessage)
                  .Order(1)),
      },
      .project = ProfileOf,
      .enableRules = {{.sourceId = {1392, 1415, 1431, 1447},
                       .enables = [](int code) { return code != 1; },
                       .targets = {{1394, 1417, 1433, 1449}, {1395, 1418, 1434, 1450}}}},
      .crossChecks = {{.holds = ChapOnlyAt64k,
                       .message = QStringLiteral("64k 以外は、CHAPに設定できません。"),
                       .focusId = {1399, 1411, 1427, 1443},
                       .order = 0},
                      {.holds = HasDnsServer,
                       .message = kNoServer,
                       .focusId = {1394, 1417, 1433, 1449},
                       .order = 1}},
  };
  return description;
}

const FormDescription<RouterSettings, DialupProfile>& EasySetupForm() {
  // While the servers are obtained automatically, the addresses are neither
  // checked nor stored.
  static const FormDescription<R, D> description{
      .title = QStringLiteral("ＨｏｍｅＰＮＡ簡単 設定"),
      .help = 27,
      .boxes = {
          Box<D>().At(0, 0).With(
              ProviderName(1375),
              TextEdit(u"ユーザー名", &D::user_id, 1379).Limit(64).Width(30),
              Password(u"パスワード", &D::password, 1380).Limit(32).Width(30)),
          Box<D>(u"アクセスポイント").At(1, 0).With(
              DialNumber(0, 1376), DialNumber(1, 1377), DialNumber(2, 1378)),
          Box<D>(u"ＤＮＳサーバ").At(2, 0).With(
              Radios(&D::dns_select, {{u"指定", 1381}, {u"自動", 1382}}).Horizontal(),
              DnsAddress(u"プライマリＩＰアドレス", &D::dns_primary, 1383, kPrimaryMessage)
                  .OnlyWhen(DnsGivenByHand),
              DnsAddress(u"セカンダリＩＰアドレス", &D::dns_secondary, 1384, kSecondaryMessage)
                  .OnlyWhen(DnsGivenByHand)),
      },
      .project = FirstProfile,
      .enableRules = {{.sourceId = 1381,
                       .enables = [](int code) { return code != 1; },
                       .targets = {1383, 1384}}},
      .crossChecks = {{.holds = HasDnsServer, .message = kNoServer, .focusId = 1383}},
  };
  return description;
}

CategoryLaunch EasySetupLaunch(Session& session) {
  CategoryLaunch launch = NamedLaunch(1001, QStringLiteral("Dialup"));
  launch.read = [&session] { return ReadEasySetup(session); };
  launch.show = [&session](QWidget* parent) {
    return OpenForm(parent, session, EasySetupForm())->exec() == QDialog::Accepted;
  };
  launch.write = [&session] { return WriteEasySetup(session); };
  return launch;
}

}  // namespace setutily
