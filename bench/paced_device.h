// The simulator on a pseudo-terminal paced like a serial line, with the
// utility's serial link opened on it: the rig every serial benchmark runs on.
#pragma once

#include <QTemporaryDir>
#include <cstdio>
#include <string>

#include "link/serial_link.h"
#include "pty_server.h"

namespace setutily {

// Starts server (over its device) at baud in dir and opens link on it; says
// why on standard error and returns false when either fails.
inline bool OpenPacedDevice(morivex9sim::PtyServer& server, SerialLink& link,
                            const QTemporaryDir& dir, int baud) {
  server.SetBaud(baud);
  std::string error;
  const QString path = dir.filePath("tty");
  if (!server.Start(path.toStdString(), &error) || link.Open(path) != kSerialOpened) {
    std::fprintf(stderr, "cannot start the simulator: %s\n", error.c_str());
    return false;
  }
  return true;
}

}  // namespace setutily
