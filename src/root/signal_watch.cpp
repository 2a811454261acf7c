#include "root/signal_watch.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

namespace setutily {

namespace {

sigset_t StopSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set, signal);
  return set;
}

}  // namespace

void BlockStopSignals() {
  const sigset_t set = StopSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

QString SignalName(int signal) {
  switch (signal) {
    case SIGINT: return QStringLiteral("SIGINT");
    case SIGTERM: return QStringLiteral("SIGTERM");
    case SIGHUP: return QStringLiteral("SIGHUP");
    default: return QStringLiteral("signal %1").arg(signal);
  }
}

SignalWatch::SignalWatch(QObject* parent) : QObject(parent) {
  BlockStopSignals();
  const sigset_t set = StopSignals();
  fd_ = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
  if (fd_ < 0) {
    // Unwatched signals must still end the program: they act as if unwatched.
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    return;
  }
  notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &SignalWatch::Read);
}

SignalWatch::~SignalWatch() {
  if (fd_ >= 0) ::close(fd_);
  const sigset_t set = StopSignals();
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

void SignalWatch::Read() {
  signalfd_siginfo info{};
  ssize_t n = 0;
  do {
    n = ::read(fd_, &info, sizeof info);
  } while (n < 0 && errno == EINTR);
  if (n != static_cast<ssize_t>(sizeof info) || signal_ != 0) return;
  signal_ = static_cast<int>(info.ssi_signo);
  notifier_->setEnabled(false);
  // Stepping aside: a second signal to this thread acts as if unwatched.
  const sigset_t set = StopSignals();
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
  emit Caught(signal_);
}

}  // namespace setutily
