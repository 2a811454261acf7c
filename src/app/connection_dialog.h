// The connection port dialog: how to reach the device (serial COM port or
// the home network with address and passwords), loaded from and saved to
// setutily.ini. "登録" saves and confirms; "終了" (or closing) cancels and
// writes nothing.
//
// Beside the COM list it shows the device the selected COMn leads to and
// offers the serial ports this computer has (a USB adapter by its
// /dev/serial/by-id name) for it; a port chosen there is stored as the
// "DEVICE"/"COMn" mapping on "登録".
#pragma once

#include <QDialog>
#include <QMap>
#include <functional>
#include <vector>

#include "app/connection.h"
#include "link/serial_ports.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace setutily {

class DeviceLineEdit;
class Messages;
class ProfileFile;
class RadioGroup;

// The serial ports to offer, asked again on "再検索".
using SerialPortLister = std::function<std::vector<SerialPortEntry>()>;

class ConnectionPortDialog : public QDialog {
  Q_OBJECT
 public:
  // Without a lister no ports are offered beyond each COMn's own device.
  ConnectionPortDialog(ProfileFile& profile, Messages& messages, QWidget* parent = nullptr,
                       SerialPortLister ports = {});

  // The confirmed settings (valid after the dialog was accepted).
  const ConnectionSettings& Settings() const { return settings_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void OnConfirm();
  void ShowMode(int mode);
  // The device of COM port number, as chosen in this dialog or as stored.
  QString DevicePath(int number) const;
  // Shows the selected COM port's device and refills the choice of ports.
  void ShowDevice();
  void OnDeviceChosen(int index);

  ProfileFile& profile_;
  Messages& messages_;
  ConnectionSettings settings_;
  QComboBox* port_;
  QLabel* device_;
  QComboBox* deviceChoice_;
  QPushButton* rescan_;
  SerialPortLister lister_;
  std::vector<SerialPortEntry> ports_;
  QMap<int, QString> stored_;  // the file's "DEVICE" mappings
  QMap<int, QString> chosen_;  // mappings chosen in this dialog
  RadioGroup* mode_;
  DeviceLineEdit* address_;
  DeviceLineEdit* loginPassword_;
  DeviceLineEdit* adminPassword_;
};

}  // namespace setutily
