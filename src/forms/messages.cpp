#include "forms/messages.h"

#include <QMessageBox>

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

}  // namespace

void MessageBoxes::Show(QWidget* parent, const QString& text, MessageIcon icon) {
  QMessageBox box(ToBoxIcon(icon), QString::fromUtf16(kMessageTitle), ForDisplay(text),
                  QMessageBox::Ok, parent);
  box.exec();
}

bool MessageBoxes::AskOkCancel(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Question, QString::fromUtf16(kMessageTitle), ForDisplay(text),
                  QMessageBox::Ok | QMessageBox::Cancel, parent);
  box.setDefaultButton(QMessageBox::Ok);
  return box.exec() == QMessageBox::Ok;
}

}  // namespace setutily
