// The serial transport: a COM port at 115200 bit/s, 8N1, no flow control,
// DTR and RTS raised while open, opened exclusively.
//
// One lock per device: a port is locked as the device it resolves to (the
// real path behind any symbolic link, such as /dev/serial/by-id/..., and its
// device number), so two names of one port are refused like one, also for
// root, whom the exclusive open does not stop.
#pragma once

#include <QLockFile>
#include <QMap>
#include <QSerialPort>
#include <QString>
#include <memory>

#include "link/transport.h"

namespace setutily {

// Result codes of SerialLink::Open.
enum SerialOpenResult : int {
  kSerialOpened = 1,
  kSerialCannotOpen = -1,      // missing device, no permission, in use
  kSerialCannotConfigure = -2, // the line settings were refused
};

// Why the last open failed, for the user's message.
enum class SerialOpenFailure {
  kNone,
  kNoDevice,     // the port number has no device path
  kNotFound,     // nothing at the path
  kBusy,         // another program has the device open (or locked)
  kPermission,   // the user may not open the device
  kOther,        // anything else (see LastError)
};

// Device path of "COMn" (n = 1-9): an override from the profile's "DEVICE"
// section when there is one, otherwise /dev/ttyS(n-1). Numbers outside 1-9
// have no device and yield an empty path.
QString ComPortDevicePath(int portNumber, const QMap<int, QString>& overrides);

class SerialLink : public ByteTransport {
  Q_OBJECT

 public:
  explicit SerialLink(QObject* parent = nullptr);
  ~SerialLink() override;

  // Opens and configures the device. Returns a SerialOpenResult. An open that
  // fails leaves the link closed.
  int Open(const QString& devicePath);

  // Lowers DTR and RTS and closes the port; does nothing when not open.
  // Returns 1 when the port was closed, 0 when it was not open.
  int Close();

  bool IsOpen() const override;
  qint64 Send(const QByteArray& bytes) override;

  // Why the last Open failed, in words for the log; empty after success.
  QString LastError() const { return lastError_; }
  // True when the last Open failed because the user may not use the device
  // (on Linux: not a member of the group that owns it, usually "dialout").
  bool LastErrorWasPermission() const { return permissionDenied_; }
  SerialOpenFailure LastFailure() const { return failure_; }
  // The process that holds the device when the last Open failed with kBusy
  // and a lock file names it; 0 otherwise.
  qint64 LockHolder() const { return holder_; }
  // True when the line could not raise DTR/RTS (a pseudo-terminal has no
  // modem-control lines); the link works without them.
  bool ModemLinesUnsupported() const { return modemLinesUnsupported_; }

 private:
  void OnReadyRead();
  void OnError(QSerialPort::SerialPortError error);

  QSerialPort port_;
  std::unique_ptr<QLockFile> lock_;  // held while open
  qint64 holder_ = 0;
  QString lastError_;
  bool permissionDenied_ = false;
  SerialOpenFailure failure_ = SerialOpenFailure::kNone;
  bool modemLinesUnsupported_ = false;
};

}  // namespace setutily
