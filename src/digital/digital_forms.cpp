#include "digital/digital_forms.h"

#include "forms/bod_boxes.h"
#include "forms/form_link.h"

namespace setutily {

namespace {

using P = DigitalPortSettings;
using D = DigitalSettings;

Option Choice(const char16_t* caption, PerInstance<int> ids) { return {caption, std::move(ids)}; }

// A direction that adds or deletes channels (not "no addition", and not a
// code the form cannot show, which stays as the device has it).
bool Evaluates(int direction) { return direction >= 0 && direction <= 2; }

// Throughput BOD switched off means neither addition nor deletion.
void NoThroughputDirections(DigitalSettings& edited, int) {
  if (edited.throughput_bod != 0) return;
  edited.add_evaluation_direction = 3;
  edited.del_evaluation_direction = 3;
}

// A half that evaluates data needs throughput BOD on.
void ThroughputOnForDirections(DigitalSettings& edited, int) {
  if (Evaluates(edited.add_evaluation_direction) || Evaluates(edited.del_evaluation_direction)) {
    edited.throughput_bod = 1;
  }
}

}  // namespace

const FormDescription<DigitalSettings, DigitalPortSettings>& DigitalPortForm() {
  static const FormDescription<DigitalSettings, DigitalPortSettings> description{
      .title = {QStringLiteral("ＤＡＴＡポート設定"), QStringLiteral("ＵＳＢポート設定")},
      .help = {6, 7},
      .group = &DigitalPortGroup(),
      .boxes = {
          Box<P>(u"番号登録").At(0, 0, 1, 2).With(
              Edit(u"自己アドレス", &P::self_address, {1305, 1314}).Width(24),
              Note<P>(u"・サブアドレスは「*」で区切ってください")),
          Box<P>(u"着信転送").At(1, 0, 1, 2).With(
              Radios(&P::arrive_transfer, {Choice(u"利用しない", {1562, 1567}),
                                           Choice(u"利用する", {1561, 1566})})
                  .Horizontal(),
              Edit(u"着信転送先電話番号", &P::transfer_address, {1563, 1568}).Width(24)),
          Box<P>(u"グローバル着信").At(2, 0).With(
              Radios(&P::global_arrive, {Choice(u"着信しない", {1307, 1316}),
                                         Choice(u"着信する", {1306, 1315})})),
          Box<P>(u"サブアドレスなし着信").At(2, 1).With(
              Radios(&P::no_subaddress, {Choice(u"着信しない", {1309, 1318}),
                                         Choice(u"着信する", {1308, 1317})})),
          Box<P>(u"発信者番号通知").At(0, 2, 2, 1).With(
              Radios(&P::notice_number, {Choice(u"通知しない", {1310, 1319}),
                                         Choice(u"契約者回線番号を通知する", {1311, 1320}),
                                         Choice(u"自己アドレスを通知する", {1312, 1321}),
                                         Choice(u"網契約に従う", {1313, 1322})})),
          Box<P>(u"ｉ・ナンバー").At(2, 2).With(
              Radios(&P::i_number,
                     {Choice(u"どちらでも着信する／\n契約者回線番号で発信する", {1573, 1576}),
                      Choice(u"契約者回線番号で発着信する", {1571, 1574}),
                      Choice(u"追加番号1で発着信する", {1572, 1575}),
                      Choice(u"追加番号2で発着信する", {1574, 1577})})),
      },
  };
  return description;
}

const FormDescription<DigitalSettings, DigitalSettings>& DigitalCommonForm() {
  static const FormDescription<DigitalSettings, DigitalSettings> description{
      .title = QStringLiteral("デジタルポート共通設定"),
      .help = 8,
      .group = &DigitalCommonGroup(),
      .boxes = {
          Box<D>(u"初期接続チャネル数").At(0, 0).With(
              Radios(&D::init_channel, {{u"２チャネル", 1323}, {u"１チャネル", 1324}})),
          Box<D>(u"デジタル着信優先").At(0, 1).With(
              Radios(&D::arrive_priority, {{u"ＤＡＴＡポート", 1333}, {u"ＵＳＢポート", 1334}})),
          Box<D>(u"リソースBODの設定").At(1, 0, 2, 1).With(
              Radios(&D::resource_bod, {{u"割当てを行わない", 1328},
                                        {u"発信時のみ割当てる", 1326},
                                        {u"着信時のみ割当てる", 1327},
                                        {u"発信/着信とも割当てる", 1325}})),
          Box<D>(u"スループットBOD").At(1, 1).With(
              Radios(&D::throughput_bod, {{u"使用しない", 1330}, {u"使用する", 1329}})
                  .Horizontal()),
          Box<D>(u"ＢＡＣＰ/ＢＡＰ").At(2, 1).With(
              Radios(&D::bacp_bap, {{u"使用しない", 1332}, {u"使用する", 1331}}).Horizontal()),
          Box<D>(u"切断までの待ち時間").At(3, 0).With(
              Edit(u"切断時間", &D::disc_time, 1595).Limit(5).Width(4).Unit(u"分")),
          Box<D>(u"ＰＩＡＦＳ").At(3, 1).With(
              DropDown<D>(nullptr, &D::piafs, 1647,
                          {{u"32k"}, {u"64k Version 2.0"}, {u"64k Version 2.1"}})),
      },
      .adjust = NoThroughputDirections,
  };
  return description;
}

const FormDescription<DigitalSettings, DigitalSettings>& ThroughputBodForm() {
  static const ThroughputIds kAdd = {1345, 1351, 1343, 1346, 1352, 1347, 1353};
  static const ThroughputIds kDel = {1348, 1354, 1344, 1349, 1355, 1350, 1356};
  static const FormDescription<DigitalSettings, DigitalSettings> description{
      .title = QStringLiteral("スループットＢＯＤ設定"),
      .help = 9,
      .group = &ThroughputGroup(),
      .boxes = {
          ThroughputAddHalf<D>(u"チャネル追加", kAdd, 1335).At(0, 0),
          ThroughputDeleteHalf<D>(u"チャネル削除", kDel, 1335).At(0, 1),
      },
      .order = ThroughputCheckingOrder<D>(),
      .adjust = ThroughputOnForDirections,
  };
  return description;
}

const FormDescription<DigitalSettings, DigitalSettings>& DigitalBacpForm() {
  static const FormDescription<DigitalSettings, DigitalSettings> description{
      .title = QStringLiteral("ＢＡＣＰ／ＢＡＰ設定"),
      .help = 10,
      .group = &DigitalBacpGroup(),
      .boxes = {
          BacpSide(u"発信側", &D::depart_flags, 1357).At(0, 0),
          BacpSide(u"着信側", &D::arrive_flags, 1363).At(1, 0),
      },
  };
  return description;
}

MenuDescription DigitalMenu(Session& session) {
  return MenuDescription{
      .title = QStringLiteral("デジタル設定"),
      .writeErrorLog = QStringLiteral("Digital Status Write ERROR\r\n"),
      .buttons = {FormButton(session, u"ＤＡＴＡ", 1058, 0, 0, Form(DigitalPortForm(), 0)),
                  FormButton(session, u"ＵＳＢ", 1066, 0, 1, Form(DigitalPortForm(), 1)),
                  FormButton(session, u"共通", 1062, 1, 0, Form(DigitalCommonForm())),
                  FormButton(session, u"スループットＢＯＤ", 1070, 1, 1, Form(ThroughputBodForm())),
                  FormButton(session, u"ＢＡＣＰ／ＢＡＰ", 1074, 2, 0, Form(DigitalBacpForm()))},
      .backRow = 2,
      .backColumn = 1,
  };
}

CategoryLaunch DigitalLaunch(Session& session) {
  CategoryLaunch launch = NamedLaunch(1540, QStringLiteral("Digital"));
  launch.read = [&session] {
    return ReadDigitalSettings(session, session.records.Of<DigitalSettings>());
  };
  launch.show = ShowMenu(session, [&session] { return DigitalMenu(session); });
  return launch;
}

}  // namespace setutily
