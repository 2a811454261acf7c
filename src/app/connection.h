// How to reach the device: the connection settings kept in setutily.ini,
// and the hook through which start-up opens the network connection.
#pragma once

#include <QMap>
#include <QString>
#include <functional>
#include <memory>

#include "link/serial_link.h"
#include "link/transport.h"

class QWidget;

namespace setutily {

class ProfileFile;
struct Session;

// The name of the settings file in the working directory.
inline constexpr char kProfileFileName[] = "setutily.ini";

// Length limits: how much of each stored text is read, and how much the
// connection dialog accepts.
inline constexpr int kAddressReadLimit = 19;
inline constexpr int kPasswordReadLimit = 34;
inline constexpr int kAddressLimit = 20;
inline constexpr int kPasswordLimit = 8;

struct ConnectionSettings {
  int networkMode = 0;  // 0 serial link, 1 network (telnet) link
  int portNumber = 1;   // COM port 1-9; anything else has no device
  QString address;        // the device's IPv4 address, dotted
  QString loginPassword;  // first password of the network login
  QString adminPassword;  // administrator password of the network login
  // The device the COM port leads to (ComPortDevicePath with the profile's
  // "DEVICE" mappings); empty for a port number without one.
  QString devicePath;
};

// Reads "PORTSEL"/"PORT" and "COM", "IPADDR"/"FIELD", "OPTION"/"DATA1" and
// "DATA2", with their defaults (serial, COM1, empty texts) for missing keys.
// Any non-zero "PORT" selects the network link.
ConnectionSettings LoadConnectionSettings(const ProfileFile& profile);

// Writes exactly those five keys in one replacement of the file, and with
// them "DEVICE"/"COMn" for each entry of devices (port number -> path).
bool SaveConnectionSettings(ProfileFile& profile, const ConnectionSettings& settings,
                            QString* error = nullptr, const QMap<int, QString>& devices = {});

// True when "MODE"/"DEBUG" is 99: the main window shows its log pane.
bool DebugModeOn(const ProfileFile& profile);

// The busy box's text while the link is opened and the device identified.
inline constexpr char16_t kIdentifyingText[] = u"MORIVEX-9を確認しています…";

// The message when the serial port does not open: "指定したポートがオープン
// できません。" and a second line with the device path (or the port, when it
// has none) and the reason; a port in use names the process holding it
// when holder is not 0.
QString PortOpenFailureMessage(int portNumber, const QString& devicePath,
                               SerialOpenFailure failure, qint64 holder = 0);

// "機器が接続されていません。" and a second line naming where the device
// was looked for: the COM port with its device path, or the address.
QString NotConnectedMessage(const ConnectionSettings& settings);

// The status line's description of the link: the serial port and its device
// path, or the device's address.
QString LinkDescription(const ConnectionSettings& settings, const QString& devicePath);

// ---- opening the network connection ----------------------------------
//
// Start-up calls a NetworkOpener when the user chose the network link. It
// opens the connection, logs in, and returns when the link is ready for
// CommandExchange::SendAndWait, or when that has failed. It may run nested
// event loops meanwhile (the main window is not shown yet), and logs its own
// progress lines (e.g. "socket open\r\n") through appendLog. The returned
// transport is owned by the main window, which closes the connection by
// destroying it at exit.
struct NetworkOpenRequest {
  const ConnectionSettings& settings;
  const ProfileFile& profile;  // for overrides such as the TCP port
  Session& session;            // the run's messages and state
  QWidget* window;             // the main window (owner of message boxes); null
                               // without one (the command line): no busy box
  std::function<void(const QString&)> appendLog;  // texts end in "\r\n"
  quint16 port = 0;  // the TCP port; 0: the settings file's, or 23
  // The address may also be a host name or an IPv6 address (the command
  // line); otherwise it must be a dotted IPv4 address.
  bool hostNames = false;
};

struct NetworkOpenResult {
  std::unique_ptr<ByteTransport> transport;  // null: no connection
  // Shown with the error icon when there is no connection; empty means the
  // default "機器が接続されていません。".
  QString failureMessage;
  // The device answered but refused a password (or the administrator
  // login); otherwise a failure means the device was not reached.
  bool loginRefused = false;
};

using NetworkOpener = std::function<NetworkOpenResult(const NetworkOpenRequest&)>;

}  // namespace setutily
