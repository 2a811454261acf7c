// The serial ports this computer has, for mapping a COM port to one of them:
// the stable names udev keeps in /dev/serial/by-id (a USB serial adapter by
// its maker, model and serial number) with the device node each leads to,
// the USB and ACM nodes that have no such name, and the built-in
// /dev/ttyS ports that have a UART behind them.
#pragma once

#include <QString>
#include <vector>

namespace setutily {

// Where the ports are looked for; tests point these at their own folders.
struct SerialPortFolders {
  QString byId = QStringLiteral("/dev/serial/by-id");
  QString devices = QStringLiteral("/dev");
  // The kernel's tty class: ttySn/type holds the UART type, 0 when no UART
  // answers at that port (the kernel makes more ttyS nodes than there are
  // ports).
  QString ttyClass = QStringLiteral("/sys/class/tty");
};

struct SerialPortEntry {
  QString path;    // the name to open and to store: a by-id link or a device node
  QString target;  // the device node a by-id link leads to; empty for a node
  bool operator==(const SerialPortEntry&) const = default;
};

// by-id names first (in name order), then the ttyUSB and ttyACM nodes no
// by-id name leads to, then the ttyS ports with a UART, in number order.
std::vector<SerialPortEntry> ListSerialPorts(const SerialPortFolders& folders);

// "PATH -> TARGET", or the path alone for a device node.
QString SerialPortText(const SerialPortEntry& entry);

}  // namespace setutily
