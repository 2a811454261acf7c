#include "analog/analog_common_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "forms/line_edits.h"
#include "forms/session.h"
#include "forms/form_parts.h"
#include "text/checks.h"
#include "text/scan.h"

namespace setutily {

namespace {

constexpr int kDelayMin = 0, kDelayMax = 9;
constexpr int kFrequencyMin = 16, kFrequencyMax = 30;
constexpr int kTypingLimit = 51;

// A group box with a number box, its arrows and the unit behind them.
NumberEdit* SteppedNumber(QWidget* parent, QGridLayout* grid, int row, const QString& title,
                          int editId, int arrowsId, const QString& unit, int readCharacters,
                          int min, int max) {
  auto* box = new QGroupBox(title, parent);
  auto* layout = new QHBoxLayout(box);
  auto* edit = new NumberEdit(box);
  edit->setObjectName(QString::number(editId));
  edit->SetTypingLimit(kTypingLimit);
  edit->setAlignment(Qt::AlignRight);
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
  auto* arrows = new StepArrows(title, box);
  arrows->setObjectName(QString::number(arrowsId));
  arrows->Drive(edit, readCharacters, min, max);
  layout->addWidget(edit);
  layout->addWidget(arrows);
  layout->addWidget(new QLabel(unit, box));
  layout->addStretch(1);
  grid->addWidget(box, row, 0);
  return edit;
}

}  // namespace

AnalogCommonForm::AnalogCommonForm(QWidget* parent, Session& session, AnalogCategory& analog)
    : SettingsForm(parent, QStringLiteral("アナログポート共通設定"), session.messages, session.help,
                   5),
      session_(session),
      analog_(analog) {
  auto* grid = new QGridLayout;
  Body()->addLayout(grid);
  delay_ = SteppedNumber(this, grid, 0, QStringLiteral("遅延回数"), 1294, 1296,
                         QStringLiteral("回"), 1, kDelayMin, kDelayMax);
  frequency_ = SteppedNumber(this, grid, 1, QStringLiteral("呼出音周波数"), 1298, 1300,
                             QStringLiteral("ヘルツ"), 2, kFrequencyMin, kFrequencyMax);
  useINumber_ = new ChoiceBox(QStringLiteral("ｉ・ナンバー"),
                              {{QStringLiteral("使用しない"), 1302}, {QStringLiteral("使用する"), 1304}},
                              this, Qt::Horizontal);
  grid->addWidget(useINumber_, 2, 0);

  const AnalogCommon& values = analog_.working.common;
  frequency_->setText(QString::number(values.ring_sound_freq));
  delay_->setText(QString::number(values.delay_number));
  useINumber_->Show(values.use_i_number);
  FinishLayout();
}

bool AnalogCommonForm::Confirm() {
  // Every check first, in the form's order; nothing is stored unless all pass.
  const std::string frequency = ToDevice(frequency_->text());
  if (CheckNumberRange(frequency, kFrequencyMin, kFrequencyMax) != 0) {
    ShowCheckMessage(QStringLiteral("呼出音周波数の入力に間違いがあります。"));
    return false;
  }
  const std::string delay = ToDevice(delay_->text());
  if (CheckNumberRange(delay, kDelayMin, kDelayMax) != 0) {
    ShowCheckMessage(QStringLiteral("遅延回数の入力に間違いがあります。"));
    return false;
  }
  AnalogSettings edited = analog_.working;
  edited.common.ring_sound_freq =
      static_cast<int>(ParseLeadingNumber(frequency, kFrequencyMin, kFrequencyMax));
  edited.common.delay_number = static_cast<int>(ParseLeadingNumber(delay, kDelayMin, kDelayMax));
  useINumber_->StoreInto(edited.common.use_i_number);
  analog_.Commit(std::move(edited), session_.state);
  return true;
}

}  // namespace setutily
