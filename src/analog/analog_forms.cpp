#include "analog/analog_forms.h"

#include <QAbstractButton>

#include "forms/form_link.h"

namespace setutily {

namespace {

using P = AnalogPort;
using C = AnalogCommon;

Option Choice(const char16_t* caption, PerInstance<int> ids) { return {caption, std::move(ids)}; }

// TEL1 and TEL2 cannot both use caller-display equipment: while the other
// port uses it, this one shows "none" and offers nothing else.
void LockCallerDisplay(const FormFields<AnalogPort>& form, const AnalogSettings& working) {
  const int port = form.Form().Instance();
  if (port > 1 || working.ports[static_cast<std::size_t>(1 - port)].number_display == 0) return;
  if (QAbstractButton* none = form.Option(&P::number_display, 0)) none->setChecked(true);
  for (int code : {1, 2}) {
    if (QAbstractButton* other = form.Option(&P::number_display, code)) other->setEnabled(false);
  }
}

}  // namespace

const FormDescription<AnalogSettings, AnalogPort>& TelPortForm() {
  static const FormDescription<AnalogSettings, AnalogPort> description{
      .title = {QStringLiteral("ＴＥＬ１ポート設定"), QStringLiteral("ＴＥＬ２ポート設定"),
                QStringLiteral("ＴＥＬ３ポート設定")},
      .help = {2, 3, 4},
      .group = &AnalogPortGroup(),
      .boxes = {
          Box<P>(u"番号登録").At(0, 0, 1, 2).With(
              Edit(u"自己アドレス", &P::self_address, {1095, 1171, 1229}).Width(24),
              Note<P>(u"注意）　サブアドレスは「*」で区切ってください。")),
          Box<P>(u"着信転送").At(1, 0, 1, 2).With(
              Radios(&P::arrive_transfer, {Choice(u"利用しない", {1097, 1183, 1233}),
                                           Choice(u"利用する", {1093, 1179, 1231})})
                  .Horizontal(),
              Edit(u"着信転送先電話番号", &P::transfer_address, {1100, 1175, 1235}).Width(24),
              Checks(&P::talky, {{u"転送トーキ", {1103, 1187, 1237}, 2},
                                 {u"転送元トーキ", {1106, 1191, 1239}, 1}})),
          Box<P>(u"グローバル着信").At(2, 0).With(
              Radios(&P::global_arrive, {Choice(u"着信しない", {1112, 1195, 1242}),
                                         Choice(u"着信する", {1109, 1193, 1240})})),
          Box<P>(u"サブアドレスなし着信").At(2, 1).With(
              Radios(&P::no_subaddress, {Choice(u"着信しない", {1118, 1199, 1245}),
                                         Choice(u"着信する", {1115, 1197, 1243})})),
          Box<P>(u"アナログポート").At(3, 0).With(
              Radios(&P::port_mode, {Choice(u"音声", {1121, 1201, 1247}),
                                     Choice(u"3.1KHｚｵｰﾃﾞｨｵ", {1124, 1203, 1249})})),
          Box<P>(u"切断信号").At(3, 1).With(
              Radios(&P::disc_signal, {Choice(u"送出しない", {1122, 1612, 1614}),
                                       Choice(u"送出する", {1125, 1613, 1615})})),
          Box<P>(u"ダイヤル発信時間").At(4, 0, 1, 2).With(
              Edit(nullptr, &P::dial_time, {1151, 1205, 1251})
                  .Limit({2, 51, 51}).Width(3).Unit(u"秒").Arrows({1154, 1206, 1253}, 2)),
          Box<P>(u"ナンバー・ディスプレイ／キャッチホン・ディスプレイ").At(0, 2, 2, 2).With(
              Radios(&P::number_display,
                     {Choice(u"対応機器を使用しない", {1139, 1208, 1254}),
                      Choice(u"ナンバー・ディスプレイ対応機器を使用する", {1142, 1209, 1256}),
                      Choice(u"キャッチホン・ディスプレイ対応機器を使用する", {1143, 1210, 1258})}),
              Note<P>(u"注意）　TEL1，TEL2は同時に使用できません。").ShownOn({true, true, false})),
          Box<P>(u"内線呼出音").At(2, 2).With(
              Radios(&P::ring_sound, {Choice(u"リーン・リーン", {1157, 1222, 1268}),
                                      Choice(u"リーーン・リーーン", {1159, 1223, 1270}),
                                      Choice(u"リーンリン・リーンリン", {1163, 1226, 1271})})),
          Box<P>(u"コールウェイティング").At(2, 3).With(
              Radios(&P::callwaiting, {Choice(u"使用しない", {1274, 1281, 1288}),
                                       Choice(u"NTTコールウェイティング", {1277, 1285, 1291}),
                                       Choice(u"擬似コールウェイティング", {1279, 1287, 1293})})),
          Box<P>(u"ｉ・ナンバー").At(3, 2, 2, 1).With(
              Radios(&P::i_number,
                     {Choice(u"どちらでも着信する／\n契約者回線番号で発信する", {1167, 1227, 1273}),
                      Choice(u"契約者回線番号で発着信する", {1145, 1219, 1257}),
                      Choice(u"追加番号1で発着信する", {1148, 1220, 1259}),
                      Choice(u"追加番号2で発着信する", {1149, 1221, 1261})})),
          Box<P>(u"発信者番号通知").At(3, 3, 2, 1).With(
              Radios(&P::notice_number, {Choice(u"通知しない", {1127, 1211, 1260}),
                                         Choice(u"契約者回線番号を通知する", {1130, 1213, 1262}),
                                         Choice(u"自己アドレスを通知する", {1133, 1215, 1264}),
                                         Choice(u"網契約に従う", {1136, 1217, 1266})})),
      },
      .opened = LockCallerDisplay,
  };
  return description;
}

const FormDescription<AnalogSettings, AnalogCommon>& AnalogCommonForm() {
  static const FormDescription<AnalogSettings, AnalogCommon> description{
      .title = QStringLiteral("アナログポート共通設定"),
      .help = 5,
      .group = &AnalogCommonGroup(),
      .boxes = {
          Box<C>(u"遅延回数").At(0, 0).With(
              Edit(nullptr, &C::delay_number, 1294).Limit(51).Width(3).Unit(u"回")
                  .Arrows(1296, 1)),
          Box<C>(u"呼出音周波数").At(1, 0).With(
              Edit(nullptr, &C::ring_sound_freq, 1298).Limit(51).Width(3).Unit(u"ヘルツ")
                  .Arrows(1300, 2)),
          Box<C>(u"ｉ・ナンバー").At(2, 0).With(
              Radios(&C::use_i_number, {{u"使用しない", 1302}, {u"使用する", 1304}})
                  .Horizontal()),
      },
      .order = {&C::ring_sound_freq, &C::delay_number},
  };
  return description;
}

MenuDescription AnalogMenu(Session& session) {
  return MenuDescription{
      .title = QStringLiteral("アナログ設定"),
      .writeErrorLog = QStringLiteral("Analog Status Write ERROR\r\n"),
      .buttons = {FormButton(session, u"ＴＥＬ１", 1005, 0, 0, Form(TelPortForm(), 0)),
                  FormButton(session, u"ＴＥＬ２", 1007, 0, 1, Form(TelPortForm(), 1)),
                  FormButton(session, u"ＴＥＬ３", 1006, 1, 0, Form(TelPortForm(), 2)),
                  FormButton(session, u"共通", 1008, 1, 1, Form(AnalogCommonForm()))},
      .backRow = 3};
}

CategoryLaunch AnalogLaunch(Session& session) {
  CategoryLaunch launch = NamedLaunch(1539, QStringLiteral("Analog"));
  launch.read = [&session] {
    return ReadAnalogSettings(session, session.records.Of<AnalogSettings>());
  };
  launch.show = ShowMenu(session, [&session] { return AnalogMenu(session); });
  return launch;
}

}  // namespace setutily
