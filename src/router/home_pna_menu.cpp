#include "router/home_pna_menu.h"

#include "forms/session.h"
#include "router/bod_limits_forms.h"
#include "router/dialup_forms.h"
#include "router/lan_forms.h"
#include "router/router_forms.h"

namespace setutily {

namespace {

// The router write restarts the device after a new router address: the run
// ends, so the menu closes (and the main window after it).
bool DeviceRestarting(const RunState& state) { return state.rebootOnClose; }

// "クリア" closes the connection-limit form without confirming it; its
// group is written all the same, to clear the counters.
bool CountersClearAsked(const RunState& state) { return state.countersClearRequested; }

}  // namespace

std::vector<DetailButton> DetailButtons() {
  return {
      // Left column.
      {u"ルータ", 1003, 0, 0, Form(RouterForm()), {}, DeviceRestarting},
      {u"ＰＮＡポート", 1010, 1, 0, Form(PnaPortForm())},
      {u"着信", 1013, 2, 0, Form(RemoteAccessForm())},
      {u"ＮＡＴ", 1009, 3, 0, Form(NatForm())},
      {u"ＤＨＣＰ", 1028, 4, 0, Form(DhcpForm())},
      {u"ＤＮＳ", 1030, 5, 0, Form(DnsForm())},
      {u"ＤＮＳ名前解決", 1033, 6, 0, Form(HostTableForm())},
      {u"ＳＹＳＬＯＧ", 1052, 7, 0, Form(SyslogForm())},
      // Right column.
      {u"専用線", 1044, 0, 1, Form(LeasedLineForm())},
      {u"ダイヤルアップ１", 1011, 1, 1, Form(DialupProfileForm(), 0)},
      {u"ダイヤルアップ２", 1012, 2, 1, Form(DialupProfileForm(), 1)},
      {u"ダイヤルアップ３", 1014, 3, 1, Form(DialupProfileForm(), 2)},
      {u"ダイヤルアップ４", 1020, 4, 1, Form(DialupProfileForm(), 3)},
      {u"接続制限", 1053, 5, 1, Form(ConnectionLimitForm()), CountersClearAsked},
      {u"ＢＯＤ", 1024, 6, 1, Form(BodForm())},
      {u"ＢＡＣＰ/ＢＡＰ", 1026, 7, 1, Form(RouterBacpForm())},
  };
}

MenuDescription HomePnaDetailMenu(Session& session) {
  MenuDescription menu{.title = QStringLiteral("ＨｏｍｅＰＮＡ詳細設定"),
                .writeErrorLog = QStringLiteral("HomaPNA Status Write ERROR\r\n"),
                .buttons = {},
                .backRow = 8,
                .backColumn = 1};
  for (DetailButton& row : DetailButtons()) {
    MenuButton button = FormButton(session, row.caption, row.id, row.row, row.column, row.form);
    if (row.writeAnyway) {
      button.writeAnyway = [&session, fn = std::move(row.writeAnyway)] {
        return fn(session.state);
      };
    }
    if (row.closesMenu) {
      button.closesMenu = [&session, fn = std::move(row.closesMenu)] { return fn(session.state); };
    }
    menu.buttons.push_back(std::move(button));
  }
  return menu;
}

CategoryLaunch HomePnaLaunch(Session& session) {
  CategoryLaunch launch = NamedLaunch(1538, QStringLiteral("HomaPNA"));
  launch.read = [&session] { return ReadRouterSettings(session); };
  launch.show = ShowMenu(session, [&session] { return HomePnaDetailMenu(session); });
  return launch;
}

}  // namespace setutily
