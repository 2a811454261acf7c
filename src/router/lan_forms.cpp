#include "router/lan_forms.h"

namespace setutily {

namespace {

using R = RouterSettings;
using D = DhcpSettings;
using N = DnsSettings;
using S = SyslogSettings;

}  // namespace


const FormDescription<RouterSettings, DhcpSettings>& DhcpForm() {
  static const FormDescription<R, D> description{
      .title = QStringLiteral("ＤＨＣＰ設定"),
      .help = 16,
      .group = &DhcpGroup(),
      .boxes = {
          Box<D>(u"ＤＨＣＰ機能").At(0, 0, 1, 2).With(
              Radios(&D::active, {{u"無効", 1500}, {u"有効", 1501}}).Horizontal()),
          Box<D>(u"割当てアドレス").At(1, 0).With(
              Edit(u"開始ＩＰアドレス", &D::start_address, 1502),
              Edit(u"個数", &D::address_count, 1503).Limit(3)),
          Box<D>(u"リース時間").At(2, 0).With(
              Edit(nullptr, &D::lease_time, 1504).Limit(6).Unit(u"時間")),
          Box<D>(u"ＤＮＳサーバ").At(1, 1).With(
              Edit(u"ＤＮＳドメイン名", &D::domain_name, 1505).Width(24),
              Edit(u"ＤＮＳサーバＩＰアドレス", &D::dns_address, 1506)),
          Box<D>().At(2, 1).With(
              Edit(u"デフォルトゲートウェイ", &D::default_address, 1507)),
      },
      .order = {&D::start_address, &D::address_count, &D::default_address, &D::dns_address,
                &D::lease_time, &D::domain_name},
  };
  return description;
}

const FormDescription<RouterSettings, DnsSettings>& DnsForm() {
  static const FormDescription<R, N> description{
      .title = QStringLiteral("ＤＮＳ設定"),
      .help = 17,
      .group = &DnsGroup(),
      .boxes = {
          Box<N>(u"ＤＮＳフォワーディング機能").At(0, 0).With(
              Radios(&N::forwarding, {{u"無効", 1508}, {u"有効", 1509}}).Horizontal()),
          Box<N>(u"ＤＮＳサーバ").At(1, 0).With(
              Edit(u"プライマリＩＰアドレス", &N::primary_address, 1510),
              Edit(u"セカンダリＩＰアドレス", &N::secondary_address, 1511)),
      },
  };
  return description;
}

const FormDescription<RouterSettings, SyslogSettings>& SyslogForm() {
  static const FormDescription<R, S> description{
      .title = QStringLiteral("ＳＹＳＬＯＧ設定"),
      .help = 19,
      .group = &SyslogGroup(),
      .boxes = {
          Box<S>(u"ＳＹＳＬＯＧ機能").At(0, 0).With(
              Radios(&S::active, {{u"無効", 1584}, {u"有効", 1585}}).Horizontal()),
          Box<S>(u"機能").At(1, 0).Horizontal().With(
              Checks(&S::debug, {{u"ＤＥＢＵＧ", 1532, 1}}),
              Checks(&S::info, {{u"ＩＮＦＯ", 1534, 1}}),
              Checks(&S::notice, {{u"ＮＯＴＩＣＥ", 1535, 1}})),
          Box<S>().At(2, 0).With(
              Edit(u"ホストアドレス", &S::address, 1536),
              Edit(u"ファシリティ", &S::facility, 1537).Limit(2)),
      },
  };
  return description;
}

const ListFormDescription<RouterSettings, NatEntry>& NatForm() {
  static const ListFormDescription<R, NatEntry> description{
      .title = QStringLiteral("ＮＡＴ（スタティックＮＡＴ）設定"),
      .help = 15,
      .list = ViewOf(NatList()),
      .number = EntryNumber<NatEntry>(u"番号", 1456).Limit(4),
      .values = {
          Edit(u"ＬＡＮ側ＩＰアドレス", &NatEntry::private_address, 1457).Width(15),
          Edit(u"ＷＡＮ側ＩＰアドレス", &NatEntry::global_address, 1459).Width(15),
      },
      .listCaption = QStringLiteral("登録情報"),
      .listId = 1461,
  };
  return description;
}

const ListFormDescription<RouterSettings, HostEntry>& HostTableForm() {
  static const ListFormDescription<R, HostEntry> description{
      .title = QStringLiteral("ＤＮＳ名前解決設定"),
      .help = 18,
      .list = ViewOf(HostList()),
      .number = EntryNumber<HostEntry>(u"番号", 1512).Limit(4),
      .values = {
          Edit(u"ＩＰアドレス", &HostEntry::address, 1513).Width(15),
          Edit(u"ホスト名", &HostEntry::name, 1514).Width(24),
      },
      .listCaption = QStringLiteral("登録情報"),
      .listId = 1516,
  };
  return description;
}

}  // namespace setutily
