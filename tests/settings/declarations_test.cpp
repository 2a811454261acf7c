// Every setting of every form, through both ways in: typed into its form
// and given in a configuration file. Values at and just past each bound of
// its declaration are taken or refused alike by both; every rule across
// fields is refused by both with the same message. A few bounds are pinned
// here too, so that a loosened declaration fails.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <string>

#include "root/config_categories.h"
#include "root/setting_forms.h"
#include "router/dialup_settings.h"
#include "settings/config_file.h"
#include "support/session_rig.h"
#include "text/encoding.h"

namespace setutily {
namespace {

using testing::Find;
using testing::SessionRig;

// A record every check and rule takes: choices at their last code, numbers
// at their highest value, texts empty (or a valid value where one is required).
template <class Rec>
void MakeValid(const Settings<Rec>& settings, Rec& record) {
  for (const Setting<Rec>& setting : settings) {
    for (const FieldDecl<Rec>& decl : setting.fields) {
      if (decl.IsText()) {
        decl.field.Text(record) = decl.required ? "10.0.0.1" : "";
      } else if (setting.kind != Setting<Rec>::Kind::kCarried) {
        decl.field.Number(record) = static_cast<int>(std::min<long long>(decl.max, INT_MAX));
      }
    }
  }
}

// A value to try: the text typed into the form, and whether the declaration
// takes it.
struct Probe {
  QString typed;
  bool taken;
};

template <class Rec>
std::vector<Probe> ProbesOf(const FieldDecl<Rec>& decl, int instance) {
  std::vector<Probe> probes;
  if (!decl.IsText()) {
    for (long long stored : {decl.min - 1, decl.min, decl.max, decl.max + 1}) {
      probes.push_back({QString::number(stored * decl.scale), stored >= decl.min && stored <= decl.max});
    }
    return probes;
  }
  const int bytes = decl.MaxBytes(instance);
  switch (decl.rule) {
    case TextRule::kPhone: {
      const QString number(32, u'0');
      probes = {{number, true}, {number + u'0', false}};
      // A subaddress at the byte limit and one past it.
      for (int length : {bytes, bytes + 1}) {
        probes.push_back({number + u'*' + QString(length - 33, u'1'), length <= bytes && length - 32 <= 20});
      }
      break;
    }
    case TextRule::kAddress:
      probes = {{QStringLiteral("10.0.0.1"), true}, {QStringLiteral("10.0.0.256"), false}};
      break;
    case TextRule::kPrefixedAddress:
      probes = {{QStringLiteral("10.0.0.1/24"), true}, {QStringLiteral("10.0.0.1/33"), false}};
      break;
    case TextRule::kAny:
    case TextRule::kNumeric:
      probes = {{QString(bytes, u'a'), true},
                {QString(bytes + 1, u'a'), false},
                {QStringLiteral("a\U0001F600"), false}};  // no Shift-JIS form
      break;
  }
  if (decl.required) probes.push_back({QString(), false});
  return probes;
}

// Whether the form takes typed in item id: all of it typed, confirmed
// without a message.
template <class Root, class Rec>
bool FormTakes(const FormDescription<Root, Rec>& description, int instance, int id,
               const QString& typed) {
  SessionRig rig;
  auto& copies = rig.Records<Root>();
  MakeValid(*description.group->settings, description.group->project(copies.working, instance));
  copies.baseline = copies.working;
  auto form = OpenForm(nullptr, rig.session, description, instance);
  auto* edit = Find<QLineEdit>(form.get(), id);
  edit->setEnabled(true);  // as when its choice enables it; its check runs either way
  edit->selectAll();
  edit->del();
  bool ascii = true;
  for (const QChar c : typed) ascii = ascii && c.unicode() < 0x80;
  if (ascii) {
    QTest::keyClicks(edit, typed);
  } else {
    edit->insert(typed);  // a character no key gives, as a paste does
  }
  if (edit->text() != typed) return false;  // the edit takes no more
  form->ConfirmButton()->click();
  for (const auto& shown : rig.messages.shown) {
    if (!shown.question) return false;
  }
  return form->result() == QDialog::Accepted;
}

// Whether a configuration file that sets field to typed (the form's text,
// in stored units for a number) is taken.
template <class Root, class Rec>
bool FileTakes(const GroupOf<Root, Rec>& group, int instance, const FieldDecl<Rec>& decl,
               const QString& typed, std::string& why) {
  CommandExchange none;
  DeviceContext context(none);
  Rec& record = group.project(context.records.Of<Root>().working, instance);
  MakeValid(*group.settings, record);
  // The command with a marker where the value goes, the value put in as a
  // person writes it (UTF-8).
  Rec marked = record;
  constexpr int kMarker = 987654321;
  if (decl.IsText()) {
    decl.field.Text(marked) = "@@@";
  } else {
    decl.field.Number(marked) = kMarker;
  }
  std::vector<std::string> lines;
  for (const Setting<Rec>& setting : *group.settings) {
    if (setting.Holds(decl.field)) DumpSetting(setting, marked, group.ScopeOf(instance), lines);
  }
  if (lines.size() != 1) return false;
  std::string line = DeviceToUtf8(lines.front());
  const std::string marker = decl.IsText() ? "@@@" : std::to_string(kMarker);
  const std::string value = decl.IsText() ? typed.toStdString()
                                          : QString::number(typed.toLongLong() / decl.scale).toStdString();
  if (!decl.IsText() && typed.toLongLong() % decl.scale != 0) return false;
  line.replace(line.find(marker), marker.size(), value);
  ConfigError error;
  const bool taken =
      TakeConfig(context, BuildConfigCategories(), line + "\n", error, ConfigRules::kGivenFields);
  why = error.reason;
  return taken;
}

TEST(Declarations, EveryEditTakesAndRefusesAsTheFileDoes) {
  SessionRig walk;
  int checked = 0;
  ForEachForm(walk.session, [&checked](auto&, const auto& description, int instances) {
    if constexpr (requires { description.group; }) {
      const auto& group = *description.group;
      for (int instance = 0; instance < instances; ++instance) {
        for (const auto& box : description.boxes) {
          for (const auto& item : box.items) {
            const bool edit = item.kind == ItemKind::kEdit || item.kind == ItemKind::kPasswordEdit;
            if (!edit || !item.shown[instance] || !box.shown[instance]) continue;
            // An item its condition leaves out is neither checked nor stored.
            typename std::remove_cvref_t<decltype(group)>::RootType root{};
            auto& valid = group.project(root, instance);
            MakeValid(*group.settings, valid);
            if (item.onlyWhen && !item.onlyWhen(valid)) continue;
            const auto* decl = DeclOf(*group.settings, item.field);
            ASSERT_NE(decl, nullptr) << description.title[instance].toStdString();
            for (const Probe& probe : ProbesOf(*decl, instance)) {
              SCOPED_TRACE(description.title[instance].toStdString() + " " +
                           std::to_string(item.id[instance]) + " \"" + probe.typed.toStdString() + "\"");
              std::string why;
              EXPECT_EQ(FormTakes(description, instance, item.id[instance], probe.typed), probe.taken);
              EXPECT_EQ(FileTakes(group, instance, *decl, probe.typed, why), probe.taken) << why;
              ++checked;
            }
          }
        }
      }
    }
  });
  EXPECT_GT(checked, 200);
}

// A rule across fields, broken in the record of description's form: the
// message its form shows on an unchanged confirmation, and the file error
// of the group's own commands for that record.
struct Refusals {
  QString form;       // the form's message
  ConfigError file;   // the file's error
  std::string line;   // the file's line it names
};

template <class Root, class Rec>
Refusals BrokenBoth(const FormDescription<Root, Rec>& description,
                                           int instance, const std::function<void(Rec&)>& breakIt) {
  const GroupOf<Root, Rec>& group = *description.group;
  SessionRig rig;
  auto& copies = rig.Records<Root>();
  Rec& record = group.project(copies.working, instance);
  MakeValid(*group.settings, record);
  breakIt(record);
  copies.baseline = copies.working;
  auto form = OpenForm(nullptr, rig.session, description, instance);
  form->ConfirmButton()->click();
  QString shown = rig.messages.Texts().value(0);

  std::vector<std::string> lines;
  DumpSettings(*group.settings, record, group.ScopeOf(instance), lines);
  std::string file = "# MORIVEX-9 設定ファイル\n";
  for (const std::string& line : lines) file += DeviceToUtf8(line) + "\n";
  ConfigError error;
  EXPECT_FALSE(CheckConfig(BuildConfigCategories(), file, {}, error));
  const std::size_t at = static_cast<std::size_t>(std::max(error.line - 2, 0));
  return {shown, error, at < lines.size() ? DeviceToUtf8(lines[at]) : std::string()};
}

TEST(Declarations, EveryRuleAcrossFieldsRefusesBothWaysWithOneMessage) {
  using D = DialupProfile;
  const struct {
    Refusals got;
    const char16_t* message;
    const char* lineStart;  // the line the file error names
  } cases[] = {
      {BrokenBoth<RouterSettings, D>(DialupProfileForm(), 1, [](D& d) { d.mode = 2, d.protocol = 2; }),
       u"64k 以外は、CHAPに設定できません。", "dialup protocol num2 chap"},
      {BrokenBoth<RouterSettings, D>(DialupProfileForm(), 3,
                                     [](D& d) { d.dns_select = 0, d.dns_primary = d.dns_secondary = ""; }),
       u"サーバーアドレスの入力に間違いがあります。", "dialup dns_select num4 manual"},
      {BrokenBoth<RouterSettings, D>(EasySetupForm(), 0,
                                     [](D& d) { d.dns_select = 0, d.dns_primary = "0.0.0.0"; }),
       u"サーバーアドレスの入力に間違いがあります。", "dialup dns_select num1 manual"},
      {BrokenBoth<RouterSettings, RasSettings>(RemoteAccessForm(), 0,
                                               [](RasSettings& r) { r.mode = 1, r.protocol = 2; }),
       u"64k 以外は、CHAPに設定できません。", "ras protocol chap"},
      {BrokenBoth<RouterSettings, RouterSettings>(
           ConnectionLimitForm(), 0, [](RouterSettings& r) { r.time_limit = 168, r.time_period = 0; }),
       u"接続時間の入力に間違いがあります。", "connect time 168/0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lineStart);
    EXPECT_EQ(c.got.form, QString::fromUtf16(c.message));
    EXPECT_EQ(QString::fromStdString(c.got.file.reason), QString::fromUtf16(c.message));
    EXPECT_EQ(c.got.line, c.lineStart);
  }
}

template <class Rec, class F>
const FieldDecl<Rec>* Decl(const Settings<Rec>& settings, F Rec::*field) {
  return DeclOf(settings, FieldRef<Rec>(field));
}

// Bounds the device and the manual give, pinned: a declaration loosened or
// tightened by mistake fails here.
TEST(Declarations, PinnedBounds) {
  auto number = [](const auto& settings, auto field) {
    const auto* decl = Decl(settings, field);
    return decl == nullptr ? std::pair(-9LL, -9LL) : std::pair(decl->min, decl->max);
  };
  auto bytes = [](const auto& settings, auto field, int instance) {
    const auto* decl = Decl(settings, field);
    return decl == nullptr ? -9 : decl->MaxBytes(instance);
  };
  using D = DialupProfile;
  EXPECT_EQ(number(*DialupProfileGroup().settings, &D::disc_time), std::pair(1LL, 32400LL));
  EXPECT_EQ(number(*RemoteAccessGroup().settings, &RasSettings::disc_time), std::pair(1LL, 32400LL));
  EXPECT_EQ(number(*ConnectionLimitGroup().settings, &RouterSettings::time_limit), std::pair(0LL, 743LL));
  EXPECT_EQ(number(*AnalogPortGroup().settings, &AnalogPort::dial_time), std::pair(3LL, 15LL));
  EXPECT_EQ(number(*DigitalCommonGroup().settings, &DigitalSettings::disc_time), std::pair(0LL, 255LL));
  EXPECT_EQ(number(*ThroughputGroup().settings, &DigitalSettings::add_minimum_time), std::pair(1LL, 255LL));
  EXPECT_EQ(number(*BodGroup().settings, &RouterSettings::add_minimum_time), std::pair(5LL, 1275LL));
  EXPECT_EQ(number(*DhcpGroup().settings, &DhcpSettings::lease_time), std::pair(1LL, 999999LL));
  EXPECT_EQ(bytes(*DialupProfileGroup().settings, &D::password, 0), 32);
  EXPECT_EQ(bytes(*DialupProfileGroup().settings, &D::user_id, 0), 64);
  EXPECT_EQ(bytes(*LeasedLineGroup().settings, &LeasedLineSettings::user_id, 0), 32);
  EXPECT_EQ(bytes(*LeasedLineGroup().settings, &LeasedLineSettings::password, 0), 32);
  EXPECT_EQ(bytes(*RemoteAccessGroup().settings, &RasSettings::user_id, 0), 32);
  EXPECT_EQ(bytes(*RemoteAccessGroup().settings, &RasSettings::password, 0), 64);
  EXPECT_EQ(bytes(*DhcpGroup().settings, &DhcpSettings::domain_name, 0), 64);
  EXPECT_EQ(bytes(*AnalogPortGroup().settings, &AnalogPort::self_address, 0), 53);
  EXPECT_EQ(bytes(*AnalogPortGroup().settings, &AnalogPort::self_address, 1), 51);
}

}  // namespace
}  // namespace setutily
