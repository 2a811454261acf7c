// Pieces the settings forms share: the up/down arrow pair that steps a
// number box, and the conversions between the form's text and the record's
// device bytes.
#pragma once

#include <QGroupBox>
#include <QString>
#include <QWidget>
#include <initializer_list>
#include <string>
#include <string_view>

#include "forms/form.h"

class QBoxLayout;
class QLineEdit;
class QToolButton;

namespace setutily {

// Record text (device bytes) to form text, and back.
QString FromDevice(const std::string& bytes);
std::string ToDevice(const QString& text);

// The up and down arrows beside a number box. The widget carries the
// arrows' resource id; Up and Down pressed in the attached box step too.
class StepArrows : public QWidget {
  Q_OBJECT
 public:
  // name: the accessible name of the value the arrows step.
  StepArrows(const QString& name, QWidget* parent = nullptr);

  // Steps edit's number by one per click, wrapping as WrappedStep does.
  void Drive(QLineEdit* edit, int readCharacters, int min, int max, int scale = 1);

  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }

 signals:
  void Stepped(int delta);  // +1 up, -1 down

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QToolButton* up_;
  QToolButton* down_;
  QLineEdit* edit_ = nullptr;
};

// The stepped value: the number of at most the first readCharacters
// characters of text (0 when there is none) divided by scale, plus delta;
// above max after a step up it wraps to min, below min after a step down to
// max; the result is shown times scale. A value that was already out of
// range is not pulled back otherwise.
int WrappedStep(const QString& text, int readCharacters, int delta, int min, int max,
                int scale = 1);

}  // namespace setutily
