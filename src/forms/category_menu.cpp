#include "forms/category_menu.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include "forms/busy_box.h"
#include "forms/category.h"
#include "forms/form.h"
#include "forms/form_link.h"
#include "forms/messages.h"
#include "forms/session.h"

namespace setutily {

CategoryLaunch NamedLaunch(int buttonId, const QString& name) {
  CategoryLaunch launch;
  launch.buttonId = buttonId;
  launch.readOk = QStringLiteral("%1 Status Read OK\r\n").arg(name);
  launch.readError = QStringLiteral("%1 Status Read ERROR\r\n").arg(name);
  launch.view = QStringLiteral("View %1 Dlg\r\n").arg(name);
  launch.writeOk = QStringLiteral("%1 Status Write OK\r\n").arg(name);
  launch.writeError = QStringLiteral("%1 Status Write ERROR\r\n").arg(name);
  return launch;
}

CategoryMenu::CategoryMenu(QWidget* parent, Session& session, MenuDescription description)
    : QDialog(parent), session_(session), description_(std::move(description)) {
  setWindowTitle(description_.title);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  auto* grid = new QGridLayout(this);
  grid->setSizeConstraint(QLayout::SetFixedSize);  // a row of buttons: nothing to stretch
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(8);
  auto addButton = [&](const QString& caption, int id, int row, int column) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::number(id));
    button->setAutoDefault(true);  // Enter presses the focused button
    button->setMinimumSize(110, 30);
    grid->addWidget(button, row, column);
    return button;
  };
  int lastRow = 0;
  for (const MenuButton& entry : description_.buttons) {
    QPushButton* button = addButton(entry.caption, entry.id, entry.row, entry.column);
    button->setEnabled(static_cast<bool>(entry.open));
    connect(button, &QPushButton::clicked, this, [this, id = entry.id] { Press(id); });
    lastRow = std::max(lastRow, entry.row);
  }
  QPushButton* back =
      addButton(QStringLiteral("戻る"), 2, description_.backRow, description_.backColumn);
  connect(back, &QPushButton::clicked, this, &QDialog::reject);
  AssignAccessibleNames(this);
}

void CategoryMenu::Press(int id) {
  const MenuButton* entry = nullptr;
  for (const MenuButton& candidate : description_.buttons) {
    if (candidate.id == id) entry = &candidate;
  }
  if (entry == nullptr || !entry->open) return;
  auto* button = findChild<QPushButton*>(QString::number(id));
  std::unique_ptr<QDialog> form = entry->open(this);
  const bool confirmed = form->exec() == QDialog::Accepted;
  form.reset();
  if ((confirmed || (entry->writeAnyway && entry->writeAnyway())) && entry->write) {
    WriteOutcome outcome;
    RunBusy(this, [&] {
      outcome = entry->write();
      return 1;
    });
    TellWriteOutcome(this, session_, outcome, QString(), description_.writeErrorLog);
  }
  if (button != nullptr) button->setFocus();
  if (entry->closesMenu && entry->closesMenu()) {
    // Posted, so that the click that got here has finished first.
    QTimer::singleShot(0, this, &QDialog::reject);
  }
}

void CategoryMenu::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {  // the menus have no help topic of their own
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

QString QuotedValue(const QString& shown) {
  return shown.startsWith(u'（') ? shown : QStringLiteral("「%1」").arg(shown);
}

QString RefusalLine(const QString& form, const QString& caption, const QString& sent,
                    const QString& held) {
  QString where = form;
  if (!caption.isEmpty()) where += (where.isEmpty() ? QString() : QStringLiteral(" / ")) + caption;
  QString line = where.isEmpty() ? QString() : where + QStringLiteral(": ");
  line += QuotedValue(sent) + QStringLiteral("は機器に受け付けられませんでした");
  if (!held.isEmpty()) line += QStringLiteral("（機器の値: %1）").arg(QuotedValue(held));
  return line;
}

bool TellWriteOutcome(QWidget* parent, Session& session, const WriteOutcome& outcome,
                      const QString& okLog, const QString& errorLog) {
  if (outcome.Ok()) {
    if (!okLog.isEmpty()) session.Log(okLog);
    return true;
  }
  session.Log(errorLog);
  if (outcome.written != 1) {
    session.messages.Show(parent, QString::fromUtf16(kWriteFailedText), MessageIcon::kError);
  } else if (!outcome.refused.isEmpty()) {
    session.messages.Show(parent, outcome.refused.join(QStringLiteral("\r\n")),
                          MessageIcon::kWarning);
  } else {
    session.messages.Show(parent,
                          QStringLiteral("書き込んだ設定を確認できませんでした。\r\n") +
                              outcome.readFailure,
                          MessageIcon::kError);
  }
  return false;
}

std::function<bool(QWidget*)> ShowMenu(Session& session,
                                       std::function<MenuDescription()> description) {
  return [&session, description = std::move(description)](QWidget* parent) {
    CategoryMenu menu(parent, session, description());
    menu.exec();
    return false;
  };
}

}  // namespace setutily
