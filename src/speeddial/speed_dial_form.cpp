#include "speeddial/speed_dial_form.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>
#include <memory>

#include "forms/line_edits.h"
#include "forms/messages.h"
#include "forms/session.h"
#include "text/checks.h"
#include "text/encoding.h"

namespace setutily {

namespace {

// "００" ... "１９": the row number in full-width digits.
QString RowCaption(int row) {
  const QChar tens(0xFF10 + row / 10);
  const QChar ones(0xFF10 + row % 10);
  return QString(tens) + ones;
}

}  // namespace

QString SpeedDialCheckMessage(int row) {
  return QStringLiteral("電話番号%1の入力に間違いがあります。").arg(row + 1, 2, 10, QChar(u'0'));
}

SpeedDialForm::SpeedDialForm(Session& session, SpeedDialList& list, QWidget* parent)
    : SettingsForm(parent, QStringLiteral("短縮番号設定"), session.messages, session.help,
                   kSpeedDialHelpContext),
      session_(session),
      list_(list) {
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(4);
  // Two columns of ten rows: number label, edit box; a rule between them.
  constexpr int kColumnsPerHalf = 3;  // label, edit, gap
  for (int half = 0; half < 2; ++half) {
    const int col = half * kColumnsPerHalf;
    auto* number = new QLabel(QStringLiteral("Ｎｏ．"), this);
    auto* phone = new QLabel(QStringLiteral("電話番号"), this);
    grid->addWidget(number, 0, col, Qt::AlignCenter);
    grid->addWidget(phone, 0, col + 1, Qt::AlignLeft);
  }
  const int editWidth = fontMetrics().horizontalAdvance(QStringLiteral("0")) * 28;
  for (int row = 0; row < kSpeedDialCount; ++row) {
    const int half = row / kSpeedDialPageSize;
    const int col = half * kColumnsPerHalf;
    const int line = 1 + row % kSpeedDialPageSize;
    auto* caption = new QLabel(RowCaption(row), this);
    auto* edit = new NumberEdit(this);
    edit->setObjectName(QString::number(kSpeedDialEditIds[static_cast<std::size_t>(row)]));
    edit->SetTypingLimit(kSpeedDialTypingLimit);
    edit->setMinimumWidth(editWidth);
    edit->setAccessibleDescription(QStringLiteral("電話番号"));
    edit->setText(QString::fromStdString(DeviceToUtf8(list_.working[static_cast<std::size_t>(row)])));
    edit->setCursorPosition(0);
    caption->setBuddy(edit);
    grid->addWidget(caption, line, col, Qt::AlignCenter);
    grid->addWidget(edit, line, col + 1);
    edits_[static_cast<std::size_t>(row)] = edit;
  }
  auto* rule = new QFrame(this);
  rule->setFrameShape(QFrame::VLine);
  rule->setFrameShadow(QFrame::Sunken);
  grid->addWidget(rule, 0, 2, kSpeedDialPageSize + 1, 1, Qt::AlignHCenter);
  grid->setColumnMinimumWidth(2, 24);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(4, 1);
  Body()->addLayout(grid);

  auto* note = new QHBoxLayout;
  note->setSpacing(4);
  auto* caution = new QLabel(QStringLiteral("注意）"), this);
  auto* subaddress = new QLabel(QStringLiteral("・サブアドレスは「*」で区切ってください。"), this);
  note->addWidget(caution, 0, Qt::AlignTop);
  note->addWidget(subaddress, 1, Qt::AlignTop);
  Body()->addSpacing(8);
  Body()->addLayout(note);
  Body()->addSpacing(4);

  FinishLayout();
  edits_[0]->setFocus();
}

bool SpeedDialForm::Confirm() {
  // Every row is checked before anything is stored, so a rejected row
  // leaves the list exactly as it was.
  SpeedDialList::Entries values;
  for (int row = 0; row < kSpeedDialCount; ++row) {
    NumberEdit* edit = edits_[static_cast<std::size_t>(row)];
    std::string text = Utf8ToDevice(edit->text().toStdString());
    if (CheckPhoneNumber(text) != 0) {
      ShowCheckMessage(SpeedDialCheckMessage(row));
      edit->setFocus();
      edit->selectAll();
      return false;
    }
    values[static_cast<std::size_t>(row)] = std::move(text);
  }
  list_.working = values;
  ++session_.state.pendingChangeCount;
  return true;
}

CategoryLaunch SpeedDialLaunch(Session& session) {
  // The list lives as long as the main window's categories; the form's
  // parent is remembered so that a failed write is told over that window.
  auto list = std::make_shared<SpeedDialList>();
  auto window = std::make_shared<QPointer<QWidget>>();
  CategoryLaunch launch;
  launch.buttonId = 1087;
  launch.readOk = QStringLiteral("Short Number Status Read OK\r\n");
  launch.readError = QStringLiteral("Short Number Status Read ERROR\r\n");
  launch.view = QStringLiteral("View Short Number Dlg\r\n");
  launch.writeOk = QStringLiteral("Short Number Status Write OK\r\n");
  launch.writeError = QStringLiteral("Short Number Status Write ERROR\r\n");
  launch.read = [&session, list] { return ReadSpeedDial(session, *list); };
  launch.show = [&session, list, window](QWidget* parent) {
    *window = parent;
    SpeedDialForm form(session, *list, parent);
    return form.exec() == QDialog::Accepted;
  };
  launch.write = [&session, list, window] {
    const int result = WriteSpeedDial(session, *list);
    if (result == 0) {
      session.messages.Show(window->data(), QStringLiteral("書込みに失敗しました。"),
                            MessageIcon::kError);
    }
    return result;
  };
  return launch;
}

}  // namespace setutily
