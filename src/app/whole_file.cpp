#include "app/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace setutily {

namespace {

// The file a write replaces: the one a symbolic link leads to (the link
// itself stays), or path itself.
QString Resolved(const QString& path) {
  const QFileInfo info(path);
  if (!info.isSymLink()) return info.absoluteFilePath();
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? info.symLinkTarget() : canonical;  // a link to a new file
}

// errno of a system call on path, or 0.
int AccessError(const QString& path, int mode) {
  return ::access(QFile::encodeName(path).constData(), mode) == 0 ? 0 : errno;
}

// Writes all of bytes to fd, resuming after signals.
bool WriteAll(int fd, const QByteArray& bytes) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n =
        ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += n;
  }
  return true;
}

}  // namespace

QString SizeText(qint64 bytes) {
  return bytes % (1 << 20) == 0 ? QStringLiteral("%1 MiB").arg(bytes >> 20)
                                : QStringLiteral("%1 バイト").arg(bytes);
}

QString FileErrorReason(int error, bool writing) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return QStringLiteral("空き容量がありません");
    case EACCES:
    case EPERM:
      return writing ? QStringLiteral("書き込む権限がありません")
                     : QStringLiteral("読む権限がありません");
    case EROFS:
      return QStringLiteral("読み取り専用のファイルシステムです");
    case ENOENT:
      return writing ? QStringLiteral("フォルダーがありません")
                     : QStringLiteral("ファイルがありません");
    case EISDIR:
      return QStringLiteral("フォルダーです");
    default:
      return qt_error_string(error);
  }
}

QString ReadProblem(const QString& path, qint64 maxBytes) {
  const QFileInfo info(path);
  if (!info.exists()) return FileErrorReason(ENOENT, false);
  if (info.isDir()) return FileErrorReason(EISDIR, false);
  if (!info.isFile()) return QStringLiteral("通常のファイルではありません（デバイスやパイプなど）");
  if (info.size() > maxBytes) return QStringLiteral("大きすぎます（%1 まで）").arg(SizeText(maxBytes));
  if (const int error = AccessError(path, R_OK)) return FileErrorReason(error, false);
  return {};
}

bool ReadToEnd(QIODevice& device, qint64 maxBytes, QByteArray& bytes, QString& why) {
  bytes.clear();
  // One byte more than allowed tells a file that is too large.
  for (;;) {
    const QByteArray piece = device.read(std::min<qint64>(64 * 1024, maxBytes + 1 - bytes.size()));
    if (piece.isEmpty()) break;
    bytes += piece;
    if (bytes.size() > maxBytes) {
      why = QStringLiteral("大きすぎます（%1 まで）").arg(SizeText(maxBytes));
      return false;
    }
  }
  const auto* file = qobject_cast<QFileDevice*>(&device);
  if (file != nullptr && file->error() != QFileDevice::NoError) {
    why = file->errorString();
    return false;
  }
  return true;
}

bool ReadWholeFile(const QString& path, qint64 maxBytes, QByteArray& bytes, QString& why) {
  why = ReadProblem(path, maxBytes);
  if (!why.isEmpty()) return false;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
    why = file.errorString();
    return false;
  }
  return ReadToEnd(file, maxBytes, bytes, why);
}

QString WriteProblem(const QString& path) {
  const QString target = Resolved(path);
  const QFileInfo info(target);
  if (info.exists()) {
    if (info.isDir()) return FileErrorReason(EISDIR, true);
    if (!info.isFile()) return QStringLiteral("通常のファイルではありません（デバイスやパイプなど）");
    if (const int error = AccessError(target, W_OK)) return FileErrorReason(error, true);
  }
  const QString folder = info.absolutePath();
  if (!QFileInfo(folder).isDir()) return FileErrorReason(ENOENT, true);
  if (const int error = AccessError(folder, W_OK | X_OK)) return FileErrorReason(error, true);
  return {};
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString& why) {
  why = WriteProblem(path);
  if (!why.isEmpty()) return false;
  const QString target = Resolved(path);
  const QFileInfo info(target);
  QByteArray temporary =
      QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()) + ".XXXXXX";
  // mkstemp makes the file with mode 0600, so it is never open to others.
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    why = FileErrorReason(errno, true);
    return false;
  }
  const bool written = WriteAll(fd, bytes) && ::fchmod(fd, S_IRUSR | S_IWUSR) == 0 &&
                       ::fsync(fd) == 0;
  const int writeError = errno;
  const bool closed = ::close(fd) == 0;
  const int closeError = errno;
  if (!written || !closed ||
      ::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0) {
    const int error = !written ? writeError : !closed ? closeError : errno;
    ::unlink(temporary.constData());
    why = FileErrorReason(error, true);
    return false;
  }
  // The rename itself reaches the disk with its folder.
  const int folder = ::open(QFile::encodeName(info.absolutePath()).constData(),
                            O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

}  // namespace setutily
