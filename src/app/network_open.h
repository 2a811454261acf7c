// Opening the network link at start-up: the telnet connection to the
// device's address and the two-password login, waited for with the event
// loop running and with every wait bounded. The result is a link that is
// logged in and ready for the command exchange, or the message that tells
// the user why there is none.
#pragma once

#include <QString>

#include "app/connection.h"
#include "link/network_login.h"
#include "link/telnet_link.h"

namespace setutily {

class ProfileFile;

// The TCP port of the device's telnet service: "IPADDR"/"TCPPORT" when it
// holds a number from 1 to 65535, otherwise 23. When the key is there but
// holds anything else, *problem is set to a log line saying so.
quint16 TelnetPortSetting(const ProfileFile& profile, QString* problem = nullptr);

// What the user is told when the login has failed.
QString LoginFailureMessage(NetworkLogin::Failure failure);

// Connects to the address of request.settings, logs "socket open\r\n" once
// the attempt has started, and runs the login with the two passwords,
// logging its steps. A "please wait" box is shown meanwhile. Returns the
// logged-in link, or no transport and the message to show: "機器が接続されて
// いません。" when no connection could be made (refused, unreachable, no
// answer in time, or an address that is not a dotted IPv4 address, or with
// request.hostNames a host name or IPv6 address), a
// message of the login's own when the login failed (loginRefused when a
// password was refused). A failed login is not tried again.
// Its waits are the connect, password-prompt and login-step times of the
// run's timing.
NetworkOpenResult OpenTelnetConnection(const NetworkOpenRequest& request);

// OpenTelnetConnection as the main window's network opener.
NetworkOpener TelnetOpener();

}  // namespace setutily
