#include "router/router_forms.h"

#include "forms/messages.h"

namespace setutily {

namespace {

using R = RouterSettings;
using P = DigitalPortSettings;
using L = LeasedLineSettings;

// A new router address makes the device restart, which ends the run: asked
// only when the address that would be stored differs from the device's.
bool ConfirmNewRouterAddress(FieldForm& form, const R& edited, const R& working) {
  if (edited.router_address == working.router_address) return true;
  return form.RunSession().messages.AskOkCancel(
      &form,
      QStringLiteral("ルータのＬＡＮ側ＩＰアドレスが変更されました。\r\n"
                     "登録後、MORIVEX-9をリブートし設定ユーティリティを終了します。\r\n"
                     "よろしいですか？"),
      DefaultAnswer::kCancel);
}

}  // namespace

const FormDescription<RouterSettings, RouterSettings>& RouterForm() {
  static const FormDescription<R, R> description{
      .title = QStringLiteral("ルータ設定"),
      .help = 14,
      .group = &RouterGroup(),
      .boxes = {
          Box<R>().At(0, 0, 1, 2).With(
              Edit(u"ルータのＬＡＮ側ＩＰアドレス", &R::router_address, 1451)),
          Box<R>(u"ＩＰマスカレード").At(1, 0).With(
              Radios(&R::ip_masquerade, {{u"無効", 1547}, {u"有効", 1553}}).Horizontal(),
              Edit(u"ＩＰマスカレード用ＩＰアドレス", &R::masq_address, 1452)),
          Box<R>(u"接続先").At(1, 1).With(
              Radios(&R::auto_connect, {{u"手動", 1546}, {u"自動", 1548}}).Horizontal(),
              DropDown<R>(nullptr, &R::connect_sel, 1455,
                          {{u"ダイヤルアップ1"}, {u"ダイヤルアップ2"}, {u"ダイヤルアップ3"},
                           {u"ダイヤルアップ4"}, {u"専用線"}})),
          Box<R>(u"通信モード").At(2, 0).With(
              DropDown<R>(nullptr, &R::line_mode, 1552,
                          {{u"自動"}, {u"LowPower/LowSpeed"}, {u"LowPower/HighSpeed"},
                           {u"HighPower/LowSpeed"}, {u"HighPower/HighSpeed"}})),
          Box<R>(u"スイッチ選択").At(2, 1).With(
              DropDown<R>(nullptr, &R::sw_action, 1549, {{u"BOD"}, {u"接続・切断"}})),
          Box<R>(u"接続失敗時の再発信").At(3, 0).With(
              Radios(&R::redial, {{u"規制しない", 1555}, {u"規制する", 1557}}).Horizontal()),
          Box<R>(u"ブザー音").At(3, 1).With(
              Radios(&R::beep, {{u"無効", 1554}, {u"有効", 1556}}).Horizontal()),
          Box<R>(u"ＩＰフィルタ").At(4, 0).With(
              Radios(&R::ip_filter, {{u"無効", 1550}, {u"有効", 1551}}).Horizontal()),
      },
      // The masquerade address is checked before the router address.
      .order = {&R::masq_address, &R::router_address},
      .beforeCommit = ConfirmNewRouterAddress,
  };
  return description;
}

const FormDescription<DigitalSettings, DigitalPortSettings>& PnaPortForm() {
  static const FormDescription<DigitalSettings, P> description{
      .title = QStringLiteral("ＰＮＡポート設定"),
      .help = 29,
      .group = &PnaPortGroup(),
      .boxes = {
          Box<P>(u"番号登録").At(0, 0, 1, 2).With(
              Edit(u"自己アドレス", &P::self_address, 1659).Width(24),
              Note<P>(u"・サブアドレスは「*」で区切ってください")),
          Box<P>(u"着信転送").At(1, 0, 1, 2).With(
              Radios(&P::arrive_transfer, {{u"利用しない", 1661}, {u"利用する", 1662}})
                  .Horizontal(),
              Edit(u"着信転送先電話番号", &P::transfer_address, 1660).Width(24)),
          Box<P>(u"グローバル着信").At(2, 0).With(
              Radios(&P::global_arrive, {{u"着信しない", 1663}, {u"着信する", 1664}})),
          Box<P>(u"サブアドレスなし着信").At(2, 1).With(
              Radios(&P::no_subaddress, {{u"着信しない", 1672}, {u"着信する", 1673}})),
          Box<P>(u"発信者番号通知").At(0, 2, 2, 1).With(
              Radios(&P::notice_number, {{u"通知しない", 1665},
                                         {u"契約者回線番号を通知する", 1666},
                                         {u"自己アドレスを通知する", 1667},
                                         {u"網契約に従う", 1668}})),
          Box<P>(u"ｉ・ナンバー").At(2, 2).With(
              Radios(&P::i_number, {{u"どちらでも着信する／\n契約者回線番号で発信する", 1669},
                                    {u"契約者回線番号で発着信する", 1670},
                                    {u"追加番号1で発着信する", 1671},
                                    {u"追加番号2で発着信する", 1674}})),
      },
  };
  return description;
}

const FormDescription<RouterSettings, LeasedLineSettings>& LeasedLineForm() {
  static const FormDescription<R, L> description{
      .title = QStringLiteral("専用線"),
      .help = 24,
      .group = &LeasedLineGroup(),
      .boxes = {
          Box<L>().At(0, 0).With(
              Edit(u"ルータのＷＡＮ側ＩＰアドレス", &L::address, 1552),
              Edit(u"相手側のＩＰアドレス", &L::remote_addr, 1554),
              Edit(u"ユーザー名", &L::user_id, 1553),
              Password(u"パスワード", &L::password, 1555)),
          Box<L>(u"ＤＮＳサーバ").At(1, 0).With(
              Edit(u"プライマリＩＰアドレス", &L::dns_primary, 1559),
              Edit(u"セカンダリＩＰアドレス", &L::dns_secondary, 1560)),
      },
  };
  return description;
}

}  // namespace setutily
