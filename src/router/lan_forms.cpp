#include "router/lan_forms.h"

namespace setutily {

namespace {

using R = RouterSettings;
using D = DhcpSettings;
using N = DnsSettings;
using S = SyslogSettings;

D& DhcpOf(R& settings, int) { return settings.dhcp; }
N& DnsOf(R& settings, int) { return settings.dns; }
S& SyslogOf(R& settings, int) { return settings.syslog; }
NatEntry& NatOf(R& settings, int index) { return settings.nat.at(static_cast<std::size_t>(index)); }
HostEntry& HostOf(R& settings, int index) {
  return settings.hosts.at(static_cast<std::size_t>(index));
}

// A check of the shared text rules, for an item.
template <bool (*Rule)(std::string_view)>
bool Holds(const std::string& text) {
  return Rule(text);
}

// An edit of an entry's text: checked by rule alone (not empty, no separator).
template <class Entry>
Item<Entry> EntryText(ItemKind kind, const char16_t* caption, std::string Entry::*field,
                      int id) {
  return Edit<Entry>(kind, caption, field, id, {TextCheck::Kind::kCustom});
}

}  // namespace

const FormDescription<RouterSettings, DhcpSettings>& DhcpForm() {
  // Checked in this order: start address, count, gateway, DNS server, lease
  // time, domain name.
  static const FormDescription<R, D> description{
      .title = QStringLiteral("ＤＨＣＰ設定"),
      .help = 16,
      .boxes = {
          Box<D>(u"ＤＨＣＰ機能").At(0, 0, 1, 2).With(
              Radios(&D::active, {{u"無効", 1500}, {u"有効", 1501}}).Horizontal()),
          Box<D>(u"割当てアドレス").At(1, 0).With(
              Address(u"開始ＩＰアドレス", &D::start_address, 1502).Limit(15)
                  .Accepts(Holds<DhcpStartText>)
                  .Message(u"開始ＩＰアドレスの入力に間違いがあります。"),
              Number(u"個数", &D::address_count, 1503, 0, 255).Limit(3)
                  .Message(u"個数の入力に間違いがあります。")),
          Box<D>(u"リース時間").At(2, 0).With(
              Number(nullptr, &D::lease_time, 1504, 1, 999999).Limit(6).Unit(u"時間").Order(4)
                  .Message(u"リース時間の入力に間違いがあります。")),
          Box<D>(u"ＤＮＳサーバ").At(1, 1).With(
              TextEdit(u"ＤＮＳドメイン名", &D::domain_name, 1505, 64).Limit(64).Width(24)
                  .Order(5).Message(u"ドメイン名の入力に間違いがあります。"),
              Address(u"ＤＮＳサーバＩＰアドレス", &D::dns_address, 1506).Limit(15)
                  .EmptyFor(u"0.0.0.0").Order(3)
                  .Message(u"ＤＮＳサーバーＩＰアドレスの入力に間違いがあります。")),
          Box<D>().At(2, 1).With(
              Address(u"デフォルトゲートウェイ", &D::default_address, 1507).Limit(15)
                  .EmptyFor(u"0.0.0.0").Order(2)
                  .Message(u"デフォルトゲートウェイの入力に間違いがあります。")),
      },
      .project = DhcpOf,
  };
  return description;
}

const FormDescription<RouterSettings, DnsSettings>& DnsForm() {
  // An emptied server stays empty; the write sends it as "0.0.0.0".
  static const FormDescription<R, N> description{
      .title = QStringLiteral("ＤＮＳ設定"),
      .help = 17,
      .boxes = {
          Box<N>(u"ＤＮＳフォワーディング機能").At(0, 0).With(
              Radios(&N::forwarding, {{u"無効", 1508}, {u"有効", 1509}}).Horizontal()),
          Box<N>(u"ＤＮＳサーバ").At(1, 0).With(
              Address(u"プライマリＩＰアドレス", &N::primary_address, 1510).Limit(15)
                  .EmptyFor(u"0.0.0.0")
                  .Message(u"プライマリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。"),
              Address(u"セカンダリＩＰアドレス", &N::secondary_address, 1511).Limit(15)
                  .EmptyFor(u"0.0.0.0")
                  .Message(u"セカンダリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。")),
      },
      .project = DnsOf,
  };
  return description;
}

const FormDescription<RouterSettings, SyslogSettings>& SyslogForm() {
  static const FormDescription<R, S> description{
      .title = QStringLiteral("ＳＹＳＬＯＧ設定"),
      .help = 19,
      .boxes = {
          Box<S>(u"ＳＹＳＬＯＧ機能").At(0, 0).With(
              Radios(&S::active, {{u"無効", 1584}, {u"有効", 1585}}).Horizontal()),
          Box<S>(u"機能").At(1, 0).Horizontal().With(
              Checks(&S::debug, {{u"ＤＥＢＵＧ", 1532, 1}}),
              Checks(&S::info, {{u"ＩＮＦＯ", 1534, 1}}),
              Checks(&S::notice, {{u"ＮＯＴＩＣＥ", 1535, 1}})),
          Box<S>().At(2, 0).With(
              Address(u"ホストアドレス", &S::address, 1536).Limit(15).EmptyFor(u"0.0.0.0")
                  .Message(u"ホストアドレスの入力に間違いがあります。"),
              Number(u"ファシリティ", &S::facility, 1537, 0, 23).Limit(2)
                  .Message(u"ファシリティの入力に間違いがあります。")),
      },
      .project = SyslogOf,
  };
  return description;
}

const ListFormDescription<RouterSettings, NatEntry>& NatForm() {
  static const ListFormDescription<R, NatEntry> description{
      .title = QStringLiteral("ＮＡＴ（スタティックＮＡＴ）設定"),
      .help = 15,
      .number = EntryNumber<NatEntry>(u"番号", 1456, kListEntries).Limit(4)
                    .Message(u"番号の入力に間違いがあります。"),
      .values = {
          EntryText(ItemKind::kNumberEdit, u"ＬＡＮ側ＩＰアドレス", &NatEntry::private_address,
                    1457)
              .Limit(52).Width(15).Accepts(Holds<ListAddressText>)
              .Message(u"プライベートＩＰアドレスの入力に間違いがあります。"),
          EntryText(ItemKind::kNumberEdit, u"ＷＡＮ側ＩＰアドレス", &NatEntry::global_address,
                    1459)
              .Limit(52).Width(15).Accepts(Holds<NatGlobalText>)
              .Message(u"グローバルＩＰアドレスの入力に間違いがあります。"),
      },
      .used = &NatEntry::used,
      .entry = NatOf,
      .count = kListEntries,
      .listCaption = QStringLiteral("登録情報"),
      .listId = 1461,
  };
  return description;
}

const ListFormDescription<RouterSettings, HostEntry>& HostTableForm() {
  static const ListFormDescription<R, HostEntry> description{
      .title = QStringLiteral("ＤＮＳ名前解決設定"),
      .help = 18,
      .number = EntryNumber<HostEntry>(u"番号", 1512, kListEntries).Limit(4)
                    .Message(u"番号の入力に間違いがあります。"),
      .values = {
          EntryText(ItemKind::kNumberEdit, u"ＩＰアドレス", &HostEntry::address, 1513)
              .Limit(52).Width(15).Accepts(Holds<ListAddressText>)
              .Message(u"ＩＰアドレスの入力に間違いがあります。"),
          TextEdit(u"ホスト名", &HostEntry::name, 1514, 64)
              .Limit(64).Width(24).Accepts(Holds<HostNameText>)
              .Message(u"ホスト名の入力に間違いがあります。"),
      },
      .used = &HostEntry::used,
      .entry = HostOf,
      .count = kListEntries,
      .listCaption = QStringLiteral("登録情報"),
      .listId = 1516,
  };
  return description;
}

}  // namespace setutily
