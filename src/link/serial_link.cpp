#include "link/serial_link.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
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

// The folder of the system's device lock files, where other programs look.
QString LockFolder() {
  for (const char* folder : {"/run/lock", "/var/lock"}) {
    if (::access(folder, W_OK | X_OK) == 0) return QLatin1String(folder);
  }
  return QDir::tempPath();
}

// The process a lock file names on its first line (its own format, and the
// traditional one of a process number alone); 0 when none.
qint64 LockFileHolder(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return 0;
  bool ok = false;
  const qint64 pid = file.readLine(32).trimmed().toLongLong(&ok);
  return ok && pid > 0 ? pid : 0;
}

// The lock file the serial port module itself takes for a device path.
QString PortModuleLockFile(const QString& path) {
  QString name = path.startsWith(QStringLiteral("/dev/")) ? path.mid(5) : path;
  name.replace(u'/', u'_');
  return LockFolder() + QStringLiteral("/LCK..") + name;
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
  holder_ = 0;
  permissionDenied_ = false;
  failure_ = SerialOpenFailure::kNone;
  modemLinesUnsupported_ = false;
  if (port_.isOpen()) Close();
  if (devicePath.isEmpty()) {
    lastError_ = QStringLiteral("no device for this port number");
    failure_ = SerialOpenFailure::kNoDevice;
    return kSerialCannotOpen;
  }
  // Every name of the device leads to its real path and device number.
  const QString real = QFileInfo(devicePath).canonicalFilePath();
  struct stat status {};
  if (real.isEmpty() || ::stat(QFile::encodeName(real).constData(), &status) != 0) {
    failure_ = SerialOpenFailure::kNotFound;
    lastError_ = QStringLiteral("%1: no such device").arg(devicePath);
    return kSerialCannotOpen;
  }
  if (S_ISCHR(status.st_mode)) {
    lock_ = std::make_unique<QLockFile>(
        LockFolder() + QStringLiteral("/LK.%1.%2.%3")
                           .arg(major(status.st_dev), 3, 10, QLatin1Char('0'))
                           .arg(major(status.st_rdev), 3, 10, QLatin1Char('0'))
                           .arg(minor(status.st_rdev), 3, 10, QLatin1Char('0')));
    lock_->setStaleLockTime(0);  // stale only when its process is gone
    if (!lock_->tryLock(0)) {
      const bool held = lock_->error() == QLockFile::LockFailedError;
      if (held) {
        QString host, application;
        lock_->getLockInfo(&holder_, &host, &application);
      }
      lock_.reset();
      if (held) {
        failure_ = SerialOpenFailure::kBusy;
        lastError_ =
            QStringLiteral("%1: the device is in use by process %2").arg(devicePath).arg(holder_);
        return kSerialCannotOpen;
      }
      // No lock folder to write in: the serial port module's own lock remains.
    }
  }
  port_.setPortName(real);
  if (!port_.open(QIODevice::ReadWrite)) {
    lock_.reset();
    failure_ = ClassifyOpenFailure(real, port_.error());
    permissionDenied_ = failure_ == SerialOpenFailure::kPermission;
    if (failure_ == SerialOpenFailure::kBusy) holder_ = LockFileHolder(PortModuleLockFile(real));
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
    lock_.reset();
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
  lock_.reset();  // unlocks
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
    lock_.reset();
    emit LinkLost();
  }
}

}  // namespace setutily
