// A byte transport to the device: the serial line or the telnet connection.
// The command exchange talks to the device only through this interface, so
// everything above it works the same over either link.
#pragma once

#include <QByteArray>
#include <QObject>

namespace setutily {

class ByteTransport : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
  ~ByteTransport() override = default;

  virtual bool IsOpen() const = 0;

  // Queues one command's bytes for sending. Returns the number of bytes
  // accepted (all of them on success), or 0 when nothing could be sent.
  // A transport may frame the bytes for its line (telnet sends the closing
  // carriage return as CR NUL); the count refers to the caller's bytes.
  virtual qint64 Send(const QByteArray& bytes) = 0;

 signals:
  // Data bytes from the device, in arrival order, on the thread that owns
  // the transport (the user-interface thread). Line framing such as telnet
  // commands never reaches this signal.
  void BytesReceived(const QByteArray& bytes);

  // The link went away (hang-up, connection reset).
  void LinkLost();
};

}  // namespace setutily
