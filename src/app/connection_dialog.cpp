#include "app/connection_dialog.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "forms/form.h"
#include "forms/line_edits.h"
#include "forms/messages.h"
#include "app/profile.h"

namespace setutily {

namespace {

DeviceLineEdit* AddEdit(QGridLayout* grid, int row, const QString& caption, const QString& id,
                        int limit, bool password, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  auto* edit = new DeviceLineEdit(parent);
  edit->setObjectName(id);
  edit->SetTypingLimit(limit);
  if (password) edit->setEchoMode(QLineEdit::Password);
  label->setBuddy(edit);
  grid->addWidget(label, row, 0);
  grid->addWidget(edit, row, 1);
  return edit;
}

}  // namespace

ConnectionPortDialog::ConnectionPortDialog(ProfileFile& profile, Messages& messages,
                                           QWidget* parent)
    : QDialog(parent), profile_(profile), messages_(messages) {
  setWindowTitle(QStringLiteral("接続ポート設定"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  auto* outer = new QVBoxLayout(this);
  outer->setSizeConstraint(QLayout::SetFixedSize);

  // Upper half: the title, the COM port list and the two buttons.
  auto* title = new QLabel(QStringLiteral("ＭＯＲＩＶＥＸ－９ 設定ユーティリティ"), this);
  title->setAlignment(Qt::AlignCenter);
  outer->addWidget(title);

  auto* upper = new QHBoxLayout;
  auto* portGroup = new QGroupBox(QStringLiteral("ポート選択"), this);
  auto* portLayout = new QHBoxLayout(portGroup);
  auto* portLabel = new QLabel(QStringLiteral("COMポート"), portGroup);
  port_ = new QComboBox(portGroup);
  port_->setObjectName(QStringLiteral("1022"));
  for (int n = 1; n <= 9; ++n) port_->addItem(QStringLiteral("COM%1").arg(n));
  portLabel->setBuddy(port_);
  portLayout->addWidget(portLabel);
  portLayout->addWidget(port_, 1);
  upper->addWidget(portGroup, 1);

  auto* buttons = new QVBoxLayout;
  auto* confirm = new QPushButton(QStringLiteral("登録"), this);
  confirm->setObjectName(QStringLiteral("1"));
  confirm->setDefault(true);
  auto* quit = new QPushButton(QStringLiteral("終了"), this);
  quit->setObjectName(QStringLiteral("2"));
  quit->setAutoDefault(false);
  buttons->addWidget(confirm);
  buttons->addWidget(quit);
  buttons->addStretch(1);
  upper->addLayout(buttons);
  outer->addLayout(upper);

  auto* rule = new QFrame(this);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  outer->addWidget(rule);

  // Lower half: serial or network, and what the network link needs.
  // The two radio buttons stand in a labelled group, so a screen reader
  // tells what they choose.
  mode_ = new RadioGroup(this);
  auto* modeGroup = new QGroupBox(QStringLiteral("接続方法"), this);
  modeGroup->setObjectName(QStringLiteral("ConnectionMode"));
  modeGroup->setFlat(true);
  auto* radios = new QHBoxLayout(modeGroup);
  auto* serial = new QRadioButton(QStringLiteral("シリアル"), modeGroup);
  serial->setObjectName(QStringLiteral("1004"));
  auto* network = new QRadioButton(QStringLiteral("ＨｏｍｅＰＮＡ"), modeGroup);
  network->setObjectName(QStringLiteral("1002"));
  mode_->Add(serial);
  mode_->Add(network);
  radios->addWidget(serial);
  radios->addWidget(network);
  radios->addStretch(1);
  outer->addWidget(modeGroup);

  auto* grid = new QGridLayout;
  address_ = AddEdit(grid, 0, QStringLiteral("ＩＰアドレス"), QStringLiteral("1016"),
                     kAddressLimit, false, this);
  loginPassword_ = AddEdit(grid, 1, QStringLiteral("ログインパスワード"),
                           QStringLiteral("1010"), kPasswordLimit, true, this);
  adminPassword_ = AddEdit(grid, 2, QStringLiteral("管理者パスワード"), QStringLiteral("1013"),
                           kPasswordLimit, true, this);
  grid->setColumnStretch(1, 1);
  grid->setColumnMinimumWidth(1, 200);
  outer->addLayout(grid);

  connect(confirm, &QPushButton::clicked, this, &ConnectionPortDialog::OnConfirm);
  connect(quit, &QPushButton::clicked, this, &QDialog::reject);
  connect(mode_, &RadioGroup::Changed, this, &ConnectionPortDialog::ShowMode);

  settings_ = LoadConnectionSettings(profile_);
  mode_->SetValue(settings_.networkMode);
  ShowMode(settings_.networkMode);
  // A stored port number outside 1-9 leaves the list without a selection.
  port_->setCurrentIndex(settings_.portNumber >= 1 && settings_.portNumber <= 9
                             ? settings_.portNumber - 1
                             : -1);
  address_->setText(settings_.address);
  loginPassword_->setText(settings_.loginPassword);
  adminPassword_->setText(settings_.adminPassword);
  AssignAccessibleNames(this);
}

void ConnectionPortDialog::ShowMode(int mode) {
  const bool network = mode != 0;
  port_->setEnabled(!network);
  address_->setEnabled(network);
  loginPassword_->setEnabled(network);
  adminPassword_->setEnabled(network);
}

void ConnectionPortDialog::OnConfirm() {
  // The texts are checked before anything is written, so a refused
  // confirmation leaves the file as it was.
  const struct {
    DeviceLineEdit* edit;
    const char16_t* name;
    int limit;
  } fields[] = {
      {address_, u"ＩＰアドレス", kAddressLimit},
      {loginPassword_, u"ログインパスワード", kPasswordLimit},
      {adminPassword_, u"管理者パスワード", kPasswordLimit},
  };
  for (const auto& field : fields) {
    // The limit counts device bytes; a control character (a TAB read from
    // the file, say) or a character without a Shift-JIS form could not go
    // out as it stands, and is refused the same way.
    if (!FitsDevice(field.edit->text(), field.limit)) {
      messages_.Show(this,
                     QStringLiteral("%1は%2文字以内で入力してください。")
                         .arg(QString::fromUtf16(field.name))
                         .arg(field.limit),
                     MessageIcon::kNone);
      field.edit->setFocus();
      field.edit->selectAll();
      return;
    }
  }
  ConnectionSettings settings;
  settings.networkMode = mode_->Value() == 1 ? 1 : 0;
  settings.portNumber = port_->currentIndex() + 1;  // no selection: 0
  settings.address = address_->text();
  settings.loginPassword = loginPassword_->text();
  settings.adminPassword = adminPassword_->text();
  QString error;
  if (!SaveConnectionSettings(profile_, settings, &error)) {
    // The run goes on with the settings shown; only keeping them failed.
    messages_.Show(this,
                   QStringLiteral("接続設定を setutily.ini に保存できませんでした。\r\n") + error,
                   MessageIcon::kWarning);
  }
  settings_ = settings;
  accept();
}

void ConnectionPortDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {  // no help for this dialog
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace setutily
