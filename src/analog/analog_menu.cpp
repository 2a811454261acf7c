#include "analog/analog_menu.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <memory>

#include "analog/analog_common_form.h"
#include "analog/tel_port_form.h"
#include "forms/busy_box.h"
#include "forms/form.h"
#include "forms/messages.h"
#include "forms/session.h"

namespace setutily {

namespace {

struct MenuButton {
  const char16_t* caption;
  int id;
  int group;
};

constexpr MenuButton kButtons[] = {
    {u"ＴＥＬ１", 1005, kAnalogTel1},
    {u"ＴＥＬ２", 1007, kAnalogTel2},
    {u"ＴＥＬ３", 1006, kAnalogTel3},
    {u"共通", 1008, kAnalogCommon},
};

}  // namespace

AnalogMenu::AnalogMenu(QWidget* parent, Session& session, AnalogCategory& analog)
    : QDialog(parent), session_(session), analog_(analog) {
  setWindowTitle(QStringLiteral("アナログ設定"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  auto* grid = new QGridLayout(this);
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(8);
  int index = 0;
  for (const MenuButton& entry : kButtons) {
    auto* button = new QPushButton(QString::fromUtf16(entry.caption), this);
    button->setObjectName(QString::number(entry.id));
    button->setAutoDefault(false);
    button->setMinimumSize(110, 30);
    connect(button, &QPushButton::clicked, this, [this, group = entry.group] { Edit(group); });
    grid->addWidget(button, index / 2, index % 2);
    ++index;
  }
  auto* back = new QPushButton(QStringLiteral("戻る"), this);
  back->setObjectName(QStringLiteral("2"));
  back->setAutoDefault(false);
  back->setMinimumSize(110, 30);
  connect(back, &QPushButton::clicked, this, &QDialog::reject);
  grid->setRowMinimumHeight(2, 4);
  grid->addWidget(back, 3, 1);
  AssignAccessibleNames(this);
}

void AnalogMenu::Edit(int group) {
  if (group < kAnalogTel1 || group > kAnalogCommon) return;
  std::unique_ptr<SettingsForm> form;
  if (group == kAnalogCommon) {
    form = std::make_unique<AnalogCommonForm>(this, session_, analog_);
  } else {
    form = std::make_unique<TelPortForm>(this, session_, analog_, group);
  }
  if (form->exec() != QDialog::Accepted) return;
  form.reset();
  WriteFailure failure;
  const int written =
      RunBusy(this, [&] { return WriteAnalogSettings(session_, analog_, group, &failure); });
  if (written == 1) return;
  if (session_.appendLog) session_.appendLog(QStringLiteral("Analog Status Write ERROR\r\n"));
  session_.messages.Show(this, QStringLiteral("書込みに失敗しました。"), MessageIcon::kError);
}

void AnalogMenu::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {  // the menu has no help topic of its own
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

CategoryLaunch AnalogLaunch(Session& session) {
  auto analog = std::make_shared<AnalogCategory>();
  CategoryLaunch launch;
  launch.buttonId = 1539;
  launch.readOk = QStringLiteral("Analog Status Read OK\r\n");
  launch.readError = QStringLiteral("Analog Status Read ERROR\r\n");
  launch.view = QStringLiteral("View Analog Dlg\r\n");
  launch.read = [&session, analog] { return ReadAnalogSettings(session, *analog); };
  launch.show = [&session, analog](QWidget* parent) {
    AnalogMenu menu(parent, session, *analog);
    menu.exec();
    return false;
  };
  return launch;
}

}  // namespace setutily
