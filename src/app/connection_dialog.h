// The connection port dialog: how to reach the device (serial COM port or
// the home network with address and passwords), loaded from and saved to
// setutily.ini. "登録" saves and confirms; "終了" (or closing) cancels and
// writes nothing.
#pragma once

#include <QDialog>

#include "app/connection.h"

class QComboBox;

namespace setutily {

class DeviceLineEdit;
class Messages;
class ProfileFile;
class RadioGroup;

class ConnectionPortDialog : public QDialog {
  Q_OBJECT
 public:
  ConnectionPortDialog(ProfileFile& profile, Messages& messages, QWidget* parent = nullptr);

  // The confirmed settings (valid after the dialog was accepted).
  const ConnectionSettings& Settings() const { return settings_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OnConfirm();
  void ShowMode(int mode);

  ProfileFile& profile_;
  Messages& messages_;
  ConnectionSettings settings_;
  QComboBox* port_;
  RadioGroup* mode_;
  DeviceLineEdit* address_;
  DeviceLineEdit* loginPassword_;
  DeviceLineEdit* adminPassword_;
};

}  // namespace setutily
