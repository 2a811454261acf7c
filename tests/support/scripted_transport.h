// A transport whose far end is the test itself: it records what was sent
// and delivers bytes the test schedules, so tests can shape replies byte by
// byte and in time.
#pragma once

#include <QTimer>
#include <string>
#include <vector>

#include "link/transport.h"

namespace setutily::testing {

class ScriptedTransport : public ByteTransport {
  Q_OBJECT
 public:
  using ByteTransport::ByteTransport;

  bool IsOpen() const override { return open_; }
  qint64 Send(const QByteArray& bytes) override {
    if (!open_) return 0;
    sent.emplace_back(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (acceptNothing) return 0;
    if (onSend) onSend(bytes);
    return bytes.size();
  }

  // Delivers bytes after delayMs from the event loop.
  void DeliverLater(const std::string& bytes, int delayMs = 0) {
    const QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QTimer::singleShot(delayMs, this, [this, data] { emit BytesReceived(data); });
  }
  void DeliverNow(const std::string& bytes) {
    emit BytesReceived(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  }
  void LoseLinkLater(int delayMs) {
    QTimer::singleShot(delayMs, this, [this] {
      open_ = false;
      emit LinkLost();
    });
  }
  void SetOpen(bool open) { open_ = open; }

  std::vector<std::string> sent;
  bool acceptNothing = false;
  std::function<void(const QByteArray&)> onSend;

 private:
  bool open_ = true;
};

}  // namespace setutily::testing
