// A made-up /dev, /dev/serial/by-id and /sys/class/tty in a temporary
// folder: two built-in ports of which one has a UART, two USB adapters (one
// with a by-id name), an ACM modem, and nodes that are no serial ports.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "link/serial_ports.h"

namespace setutily::testing {

class PortFolders {
 public:
  static constexpr char kAdapter[] = "usb-FTDI_FT232R_USB_UART_A10K1234-if00-port0";

  PortFolders() {
    QDir root(dir.path());
    root.mkpath("dev/serial/by-id");
    for (const char* node : {"ttyS0", "ttyS1", "ttyUSB0", "ttyUSB10", "ttyUSB2", "ttyACM0",
                             "tty0", "ttySX", "console"}) {
      Touch(root.filePath(QStringLiteral("dev/") + node), "");
    }
    QFile::link("../../ttyUSB0", root.filePath(QStringLiteral("dev/serial/by-id/") + kAdapter));
    Touch(root.filePath("sys/ttyS0/type"), "4\n");  // a 16550A
    Touch(root.filePath("sys/ttyS1/type"), "0\n");  // no UART there
    folders.byId = root.filePath("dev/serial/by-id");
    folders.devices = root.filePath("dev");
    folders.ttyClass = root.filePath("sys");
  }

  QString Dev(const QString& name) const { return folders.devices + u'/' + name; }
  QString ById() const { return folders.byId + u'/' + QLatin1String(kAdapter); }

  QTemporaryDir dir;
  SerialPortFolders folders;

 private:
  static void Touch(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
  }
};

}  // namespace setutily::testing
