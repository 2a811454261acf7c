// The settings form of one analog port (TEL1, TEL2 or TEL3).
#pragma once

#include "analog/analog_settings.h"
#include "forms/session.h"
#include "forms/form.h"

class QCheckBox;

namespace setutily {

class ChoiceBox;
class DeviceLineEdit;
class NumberEdit;
class StepArrows;

class TelPortForm : public SettingsForm {
  Q_OBJECT
 public:
  // port: 0 = TEL1, 1 = TEL2, 2 = TEL3.
  TelPortForm(QWidget* parent, Session& session, AnalogCategory& analog, int port);

 protected:
  bool Confirm() override;

 private:
  void Build();
  void Fill(const AnalogPort& values);

  Session& session_;
  AnalogCategory& analog_;
  int port_;
  NumberEdit* selfAddress_ = nullptr;
  NumberEdit* transferAddress_ = nullptr;
  NumberEdit* dialTime_ = nullptr;
  StepArrows* dialArrows_ = nullptr;
  QCheckBox* talkyForward_ = nullptr;  // "転送トーキ": 2
  QCheckBox* talkyOrigin_ = nullptr;   // "転送元トーキ": 1
  bool talkyShown_ = false;            // the boxes show the record's code
  bool talkyTouched_ = false;
  RadioGroup arriveTransfer_;
  ChoiceBox* globalArrive_ = nullptr;
  ChoiceBox* noSubaddress_ = nullptr;
  ChoiceBox* portMode_ = nullptr;
  ChoiceBox* discSignal_ = nullptr;
  ChoiceBox* numberDisplay_ = nullptr;
  ChoiceBox* ringSound_ = nullptr;
  ChoiceBox* callwaiting_ = nullptr;
  ChoiceBox* iNumber_ = nullptr;
  ChoiceBox* noticeNumber_ = nullptr;
};

}  // namespace setutily
