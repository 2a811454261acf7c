// SIGINT, SIGTERM and SIGHUP as events of the Qt event loop, so that a run
// ends its work cleanly (the exchange in progress finished, the device's
// command line left) instead of dying halfway.
//
// The signals are blocked and read from a signalfd by a socket notifier:
// no code runs inside a signal handler. Blocking works per thread and is
// inherited by the threads started later, so BlockStopSignals() comes first
// in main, before the application starts any thread. After the first signal
// the watch steps aside: a second one ends the program the default way.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace setutily {

// Blocks the three signals in the calling thread (and the threads it starts
// from now on).
void BlockStopSignals();

// "SIGINT", "SIGTERM", "SIGHUP" (or "signal N").
QString SignalName(int signal);

class SignalWatch : public QObject {
  Q_OBJECT

 public:
  // Needs the application object (its event loop); blocks the signals too.
  explicit SignalWatch(QObject* parent = nullptr);
  ~SignalWatch() override;

  // The first signal that came; 0 before.
  int Signal() const { return signal_; }

 signals:
  void Caught(int signal);

 private:
  void Read();

  int fd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
  int signal_ = 0;
};

}  // namespace setutily
