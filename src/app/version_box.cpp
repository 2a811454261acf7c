#include "app/version_box.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace setutily {

QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48, 64}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x5f, 0x9f));
    painter.drawRoundedRect(QRectF(0.5, size * 0.2, size - 1.0, size * 0.6), size * 0.1,
                            size * 0.1);
    painter.setBrush(QColor(0x7f, 0xdf, 0x7f));
    for (int i = 0; i < 3; ++i) {
      painter.drawEllipse(QPointF(size * (0.25 + 0.2 * i), size * 0.5), size * 0.06, size * 0.06);
    }
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

VersionBox::VersionBox(const QString& firmware, const QString& mac, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("MORIVEX-9のﾊﾞｰｼﾞｮﾝ情報"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  auto* outer = new QHBoxLayout(this);
  outer->setSizeConstraint(QLayout::SetFixedSize);
  auto* picture = new QLabel(this);
  picture->setPixmap(ProgramIcon().pixmap(48, 48));
  picture->setAlignment(Qt::AlignTop);
  outer->addWidget(picture);

  auto* grid = new QGridLayout;
  auto addRow = [&](int row, const QString& caption, const QString& value, const QString& id) {
    auto* label = new QLabel(caption, this);
    // A value the device did not report (network mode) shows a dash.
    auto* shown = new QLabel(value.isEmpty() ? QStringLiteral("—") : value, this);
    shown->setObjectName(id);
    shown->setTextFormat(Qt::PlainText);
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Screen readers name the value by what it is, without the colon.
    QString name = caption;
    if (name.endsWith(u'：')) name.chop(1);
    shown->setAccessibleName(name);
    label->setBuddy(shown);
    grid->addWidget(label, row, 0);
    grid->addWidget(shown, row, 1);
  };
  addRow(0, QStringLiteral("ファームウェアのバージョン："), firmware.left(20), QStringLiteral("1588"));
  addRow(1, QStringLiteral("設定ユーティリティのバージョン："), QString::fromLatin1(kUtilityVersion),
         QString());
  addRow(2, QStringLiteral("ＭＡＣアドレス："), mac.left(30), QStringLiteral("1589"));
  grid->setColumnMinimumWidth(1, 140);
  auto* right = new QVBoxLayout;
  right->addLayout(grid);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  right->addLayout(buttons);
  outer->addLayout(right);
}

}  // namespace setutily
