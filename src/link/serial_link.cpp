#include "link/serial_link.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>

namespace setutily {

namespace {

// The serial port reports a device that exists but is in use (another
// program's lock or exclusive open) as a permission error too; the file's
// own access rights tell the two apart.
SerialOpenFailure ClassifyOpenFailure(const QString& path, QSerialPort::SerialPortError error) {
  const QFileInfo info(path);
  if (error == QSerialPort::DeviceNotFoundError || !info.exists()) {
    return SerialOpenFailure::kNotFound;
  }
  if (::access(QFile::encodeName(path).constData(), R_OK | W_OK) != 0) {
    return SerialOpenFailure::kPermission;
  }
  if (error == QSerialPort::PermissionError) return SerialOpenFailure::kBusy;
  return SerialOpenFailure::kOther;
}

}  // namespace

QString ComPortDevicePath(int portNumber, const QMap<int, QString>& overrides) {
  if (portNumber < 1 || portNumber > 9) return {};
  const auto it = overrides.constFind(portNumber);
  if (it != overrides.constEnd() && !it->trimmed().isEmpty()) return it->trimmed();
  return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
}

SerialLink::SerialLink(QObject* parent) : ByteTransport(parent) {
  connect(&port_, &QSerialPort::readyRead, this, &SerialLink::OnReadyRead);
  connect(&port_, &QSerialPort::errorOccurred, this, &SerialLink::OnError);
}

SerialLink::~SerialLink() { Close(); }

int SerialLink::Open(const QString& devicePath) {
  lastError_.clear();
  permissionDenied_ = false;
  failure_ = SerialOpenFailure::kNone;
  modemLinesUnsupported_ = false;
  if (port_.isOpen()) Close();
  if (devicePath.isEmpty()) {
    lastError_ = QStringLiteral("no device for this port number");
    failure_ = SerialOpenFailure::kNoDevice;
    return kSerialCannotOpen;
  }
  port_.setPortName(devicePath);
  if (!port_.open(QIODevice::ReadWrite)) {
    failure_ = ClassifyOpenFailure(devicePath, port_.error());
    permissionDenied_ = failure_ == SerialOpenFailure::kPermission;
    lastError_ = QStringLiteral("%1: %2").arg(devicePath, port_.errorString());
    if (permissionDenied_) {
      lastError_ += QStringLiteral(
          " (permission denied: add your user to the group that owns the device, "
          "usually \"dialout\", then log in again)");
    }
    port_.clearError();
    return kSerialCannotOpen;
  }
  const bool configured = port_.setBaudRate(QSerialPort::Baud115200) &&
                          port_.setDataBits(QSerialPort::Data8) &&
                          port_.setParity(QSerialPort::NoParity) &&
                          port_.setStopBits(QSerialPort::OneStop) &&
                          port_.setFlowControl(QSerialPort::NoFlowControl);
  if (!configured) {
    lastError_ = QStringLiteral("%1: line settings refused: %2").arg(devicePath, port_.errorString());
    failure_ = SerialOpenFailure::kOther;
    port_.close();
    return kSerialCannotConfigure;
  }
  // A pseudo-terminal has no modem-control lines; the link works without.
  const bool dtr = port_.setDataTerminalReady(true);
  const bool rts = port_.setRequestToSend(true);
  if (!dtr || !rts) {
    modemLinesUnsupported_ = true;
    port_.clearError();
  }
  return kSerialOpened;
}

int SerialLink::Close() {
  if (!port_.isOpen()) return 0;
  port_.setDataTerminalReady(false);
  port_.setRequestToSend(false);
  port_.clearError();
  port_.close();
  return 1;
}

bool SerialLink::IsOpen() const { return port_.isOpen(); }

qint64 SerialLink::Send(const QByteArray& bytes) {
  if (!port_.isOpen() || bytes.isEmpty()) return 0;
  const qint64 written = port_.write(bytes);
  return written < 0 ? 0 : written;
}

void SerialLink::OnReadyRead() {
  const QByteArray data = port_.readAll();
  if (!data.isEmpty()) emit BytesReceived(data);
}

void SerialLink::OnError(QSerialPort::SerialPortError error) {
  if ((error == QSerialPort::ResourceError || error == QSerialPort::ReadError) && port_.isOpen()) {
    // The line went away (unplugged adapter, hung-up terminal). Qt would
    // report the failing read again and again, so close the port at once.
    port_.clearError();
    port_.close();
    emit LinkLost();
  }
}

}  // namespace setutily
