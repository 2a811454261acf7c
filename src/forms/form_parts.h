// Pieces the settings forms of every category share: a titled group of
// radio buttons bound to a choice field, the up/down arrow pair that steps a
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

// One radio button: its caption (a "\n" breaks it onto a second line) and
// its resource id.
struct RadioChoice {
  QString caption;
  int id;
};

// Adds one radio button per choice, in code order, to layout (buttons owned
// by parent) and to group.
void AddRadios(QWidget* parent, QBoxLayout* layout, RadioGroup& group,
               std::initializer_list<RadioChoice> choices);

// Stores the checked code of group into field; with nothing checked the
// field keeps its value (a code the form cannot show is never replaced by
// "none").
void StoreChoice(const RadioGroup& group, int& field);

// A group box titled title with one radio button per choice, in code order.
class ChoiceBox : public QGroupBox {
  Q_OBJECT
 public:
  ChoiceBox(const QString& title, std::initializer_list<RadioChoice> choices,
            QWidget* parent = nullptr, Qt::Orientation orientation = Qt::Vertical);

  RadioGroup& Group() { return group_; }
  QAbstractButton* Button(int code) const { return group_.Button(code); }
  // Checks the button of code; a code no button shows leaves none checked.
  void Show(int code) { group_.SetValue(code); }
  // The checked code, or -1.
  int Value() const { return group_.Value(); }
  // See StoreChoice.
  void StoreInto(int& field) const { StoreChoice(group_, field); }

 private:
  RadioGroup group_;
};

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
