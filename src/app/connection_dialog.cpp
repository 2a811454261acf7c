#include "app/connection_dialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

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
                                           QWidget* parent, SerialPortLister ports)
    : QDialog(parent), profile_(profile), messages_(messages), lister_(std::move(ports)) {
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
  auto* portLayout = new QGridLayout(portGroup);
  auto* portLabel = new QLabel(QStringLiteral("COMポート"), portGroup);
  port_ = new QComboBox(portGroup);
  port_->setObjectName(QStringLiteral("1022"));
  for (int n = 1; n <= 9; ++n) port_->addItem(QStringLiteral("COM%1").arg(n));
  portLabel->setBuddy(port_);
  portLayout->addWidget(portLabel, 0, 0);
  portLayout->addWidget(port_, 0, 1, 1, 2);
  // The device the selected COM port leads to, and the ports to lead it to.
  portLayout->addWidget(new QLabel(QStringLiteral("デバイス"), portGroup), 1, 0);
  device_ = new QLabel(portGroup);
  device_->setObjectName(QStringLiteral("DevicePath"));
  device_->setAccessibleName(QStringLiteral("COMポートのデバイス"));
  device_->setTextFormat(Qt::PlainText);
  device_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  portLayout->addWidget(device_, 1, 1, 1, 2);
  auto* choiceLabel = new QLabel(QStringLiteral("割り当て"), portGroup);
  deviceChoice_ = new QComboBox(portGroup);
  deviceChoice_->setObjectName(QStringLiteral("DeviceChoice"));
  // Long names are cut short in the box (the line above shows them whole)
  // and shown whole in its list.
  deviceChoice_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  deviceChoice_->setMinimumContentsLength(36);
  choiceLabel->setBuddy(deviceChoice_);
  rescan_ = new QPushButton(QStringLiteral("再検索"), portGroup);
  rescan_->setObjectName(QStringLiteral("RescanPorts"));
  // Enter presses the focused push button; elsewhere the default "登録".
  rescan_->setAutoDefault(true);
  portLayout->addWidget(choiceLabel, 2, 0);
  portLayout->addWidget(deviceChoice_, 2, 1);
  portLayout->addWidget(rescan_, 2, 2);
  portLayout->setColumnStretch(1, 1);
  upper->addWidget(portGroup, 1);

  auto* buttons = new QVBoxLayout;
  auto* confirm = new QPushButton(QStringLiteral("登録"), this);
  confirm->setObjectName(QStringLiteral("1"));
  confirm->setDefault(true);
  auto* quit = new QPushButton(QStringLiteral("終了"), this);
  quit->setObjectName(QStringLiteral("2"));
  quit->setAutoDefault(true);
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
  connect(port_, &QComboBox::currentIndexChanged, this, &ConnectionPortDialog::ShowDevice);
  connect(deviceChoice_, &QComboBox::currentIndexChanged, this,
          &ConnectionPortDialog::OnDeviceChosen);
  connect(rescan_, &QPushButton::clicked, this, [this] {
    if (lister_) ports_ = lister_();
    ShowDevice();
  });

  stored_ = profile_.ComPortOverrides();
  if (lister_) ports_ = lister_();
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
  ShowDevice();
  AssignAccessibleNames(this);
}

QString ConnectionPortDialog::DevicePath(int number) const {
  const auto it = chosen_.constFind(number);
  return it != chosen_.constEnd() ? *it : ComPortDevicePath(number, stored_);
}

void ConnectionPortDialog::ShowDevice() {
  const int number = port_->currentIndex() + 1;
  const QString path = DevicePath(number);
  const auto entry = std::find_if(ports_.begin(), ports_.end(),
                                  [&](const SerialPortEntry& port) { return port.path == path; });
  const QString missing = QStringLiteral("%1（見つかりません）").arg(path);
  if (path.isEmpty()) {
    device_->setText(QStringLiteral("—"));
  } else if (entry != ports_.end() && !entry->target.isEmpty()) {
    // A by-id name is long: its target goes on a line of its own.
    device_->setText(QStringLiteral("%1\n-> %2").arg(entry->path, entry->target));
  } else {
    device_->setText(QFileInfo::exists(path) ? path : missing);
  }
  // The choice: the ports found, led by this COM port's own device when it
  // is not among them; refilled without counting as the user's choice.
  const QSignalBlocker blocker(deviceChoice_);
  deviceChoice_->clear();
  if (path.isEmpty()) return;
  if (entry == ports_.end()) deviceChoice_->addItem(device_->text(), path);
  for (const SerialPortEntry& port : ports_) deviceChoice_->addItem(SerialPortText(port), port.path);
  deviceChoice_->setCurrentIndex(deviceChoice_->findData(path));
  QAbstractItemView* list = deviceChoice_->view();
  list->setMinimumWidth(list->sizeHintForColumn(0) + list->verticalScrollBar()->sizeHint().width());
}

void ConnectionPortDialog::OnDeviceChosen(int index) {
  const int number = port_->currentIndex() + 1;
  if (index < 0 || number < 1) return;
  chosen_.insert(number, deviceChoice_->itemData(index).toString());
  ShowDevice();
}

void ConnectionPortDialog::ShowMode(int mode) {
  const bool network = mode != 0;
  port_->setEnabled(!network);
  deviceChoice_->setEnabled(!network);
  rescan_->setEnabled(!network);
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
  settings.devicePath = DevicePath(settings.portNumber);
  // Only mappings that differ from what the port leads to already are stored.
  QMap<int, QString> devices;
  for (auto it = chosen_.constBegin(); it != chosen_.constEnd(); ++it) {
    if (*it != ComPortDevicePath(it.key(), stored_)) devices.insert(it.key(), *it);
  }
  QString error;
  if (!SaveConnectionSettings(profile_, settings, &error, devices)) {
    // The run goes on with the settings shown; only keeping them failed.
    messages_.Show(this,
                   QStringLiteral("接続設定を setutily.ini に保存できませんでした。\r\n") + error,
                   MessageIcon::kWarning);
  }
  settings_ = settings;
  accept();
}

void ConnectionPortDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Centred on the main window when it is on screen (as dialogs are), and
  // on the screen before it is first shown.
  const QWidget* owner = parentWidget();
  if (owner != nullptr && owner->isVisible()) return;
  if (const QScreen* screen = this->screen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

void ConnectionPortDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {  // no help for this dialog
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace setutily
