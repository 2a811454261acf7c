// The form of the settings common to all analog ports.
#pragma once

#include "analog/analog_settings.h"
#include "forms/session.h"
#include "forms/form.h"

namespace setutily {

class ChoiceBox;
class NumberEdit;

class AnalogCommonForm : public SettingsForm {
  Q_OBJECT
 public:
  AnalogCommonForm(QWidget* parent, Session& session, AnalogCategory& analog);

 protected:
  bool Confirm() override;

 private:
  Session& session_;
  AnalogCategory& analog_;
  NumberEdit* delay_ = nullptr;
  NumberEdit* frequency_ = nullptr;
  ChoiceBox* useINumber_ = nullptr;
};

}  // namespace setutily
