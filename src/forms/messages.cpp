#include "forms/messages.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace setutily {

namespace {

QMessageBox::Icon ToBoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kError: return QMessageBox::Critical;
    case MessageIcon::kQuestion: return QMessageBox::Question;
    case MessageIcon::kWarning: return QMessageBox::Warning;
    case MessageIcon::kInformation: return QMessageBox::Information;
    case MessageIcon::kNone: break;
  }
  return QMessageBox::NoIcon;
}

QString ForDisplay(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

// The icon is a picture: screen readers get its name, on the picture and
// as the box's description.
void NameIcon(QMessageBox& box, MessageIcon icon) {
  const QString name = IconName(icon);
  if (name.isEmpty()) return;
  box.setAccessibleDescription(name);
  if (auto* picture = box.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"))) {
    picture->setAccessibleName(name);
  }
}

}  // namespace

QString IconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kError: return QStringLiteral("エラー");
    case MessageIcon::kQuestion: return QStringLiteral("確認");
    case MessageIcon::kWarning: return QStringLiteral("警告");
    case MessageIcon::kInformation: return QStringLiteral("情報");
    case MessageIcon::kNone: break;
  }
  return {};
}

void MessageBoxes::Show(QWidget* parent, const QString& text, MessageIcon icon) {
  QMessageBox box(ToBoxIcon(icon), QString::fromUtf16(kMessageTitle), ForDisplay(text),
                  QMessageBox::Ok, parent);
  NameIcon(box, icon);
  box.exec();
}

bool MessageBoxes::AskOkCancel(QWidget* parent, const QString& text, DefaultAnswer start) {
  QMessageBox box(QMessageBox::Question, QString::fromUtf16(kMessageTitle), ForDisplay(text),
                  QMessageBox::Ok | QMessageBox::Cancel, parent);
  NameIcon(box, MessageIcon::kQuestion);
  // The captions do not depend on an installed translation.
  box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
  box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
  box.setDefaultButton(start == DefaultAnswer::kCancel ? QMessageBox::Cancel : QMessageBox::Ok);
  return box.exec() == QMessageBox::Ok;
}

}  // namespace setutily
