// Every dialog of the program: Enter on a focused push button presses that
// button (a default button elsewhere must not take the key), and the
// dialogs are of a fixed size but for the help and the compare view.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/config_window.h"
#include "app/connection_dialog.h"
#include "app/help_window.h"
#include "app/main_dialog.h"
#include "app/profile.h"
#include "app/version_box.h"
#include "forms/category_menu.h"
#include "router/bod_limits_forms.h"
#include "router/lan_forms.h"
#include "support/session_rig.h"

namespace setutily {
namespace {

struct Dialog {
  const char* name;
  std::function<std::unique_ptr<QWidget>()> make;
  bool resizable = false;
};

struct EveryDialog : ::testing::Test {
  QTemporaryDir dir;
  ProfileFile profile{dir.filePath(QStringLiteral("setutily.ini"))};
  testing::SessionRig rig;
  const std::vector<CompareRow> rows = {{"analog", "ＴＥＬ１ポート設定", "ダイヤル発信時間", "5秒",
                                         "7秒", {"analog dial_time tel1 7"}}};
  const std::vector<Dialog> dialogs = {
      {"connection", [this] { return std::make_unique<ConnectionPortDialog>(profile, rig.messages); }},
      {"main window",
       [&] {
         return std::make_unique<MainDialog>(
             MainDialogSetup(profile.Path(), rig.messages, rig.help));
       }},
      {"form with an action", [&] { return OpenForm(nullptr, rig.session, ConnectionLimitForm()); }},
      {"list form", [&] { return OpenListForm(nullptr, rig.session, NatForm()); }},
      {"menu",
       [&] {
         // Each button's form closes as soon as it shows.
         auto closing = [](QWidget* parent) {
           auto form = std::make_unique<QDialog>(parent);
           QTimer::singleShot(0, form.get(), &QDialog::reject);
           return form;
         };
         return std::make_unique<CategoryMenu>(
             nullptr, rig.session,
             MenuDescription{.title = QStringLiteral("アナログ設定"),
                             .buttons = {{.caption = QStringLiteral("ＴＥＬ１"), .id = 1005,
                                          .open = closing},
                                         {.caption = QStringLiteral("共通"), .id = 1008,
                                          .row = 1, .open = closing}},
                             .backRow = 2});
       }},
      {"version", [] { return std::make_unique<VersionBox>("Version 1.00", "00:00"); }},
      {"help", [] { return std::make_unique<HelpTopicWindow>(nullptr); }, true},
      {"compare view", [&] { return MakeCompareView(nullptr, rows); }, true},
  };
};

TEST_F(EveryDialog, KeepsItsSizeUnlessItShowsALongText) {
  for (const Dialog& dialog : dialogs) {
    const auto window = dialog.make();
    window->show();
    EXPECT_EQ(window->minimumSize() != window->maximumSize(), dialog.resizable) << dialog.name;
  }
}

TEST_F(EveryDialog, EnterPressesTheFocusedPushButton) {
  for (const Dialog& dialog : dialogs) {
    const auto count = dialog.make()->findChildren<QPushButton*>().size();
    EXPECT_GE(count, 1) << dialog.name;
    for (qsizetype i = 0; i < count; ++i) {
      auto window = dialog.make();
      window->show();
      const QList<QPushButton*> buttons = window->findChildren<QPushButton*>();
      QPushButton* focused = buttons[i];
      if (!focused->isVisible() || !focused->isEnabled()) continue;
      QList<QPushButton*> pressed;
      for (QPushButton* button : buttons) {
        QObject::connect(button, &QPushButton::clicked, [&pressed, button] { pressed << button; });
      }
      focused->setFocus();
      QTest::keyClick(focused, Qt::Key_Return);
      EXPECT_EQ(pressed, QList<QPushButton*>{focused})
          << dialog.name << ": " << focused->text().toStdString();
    }
  }
}

}  // namespace
}  // namespace setutily
