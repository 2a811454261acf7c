// A small file system of its own (a tmpfs), for tests of a full disk. Only
// root may mount one: elsewhere Mounted() is false and the test skips.
#pragma once

#include <sys/mount.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace setutily::testing {

class SmallDisk {
 public:
  explicit SmallDisk(int kilobytes = 64, bool readOnly = false) {
    if (::geteuid() != 0 || !dir_.isValid()) return;
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0755";
    mounted_ = ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs",
                       readOnly ? MS_RDONLY : 0, options.constData()) == 0;
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool Mounted() const { return mounted_; }
  QString Path(const QString& name) const { return dir_.filePath(name); }

  // Writes a file of bytes on the disk.
  bool Put(const QString& name, const QByteArray& bytes) const {
    QFile file(Path(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
  }
  QByteArray Get(const QString& name) const {
    QFile file(Path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  // Takes up every free byte.
  void Fill() const {
    QFile file(Path(QStringLiteral("filler")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
    const QByteArray block(4096, 'x');
    while (file.write(block) > 0) {
    }
    const QByteArray byte(1, 'x');
    while (file.write(byte) > 0) {
    }
  }

 private:
  QTemporaryDir dir_;
  bool mounted_ = false;
};

// The note of a test that needs a SmallDisk it could not have.
inline constexpr char kNeedsRoot[] = "needs root to mount a small tmpfs; skipped";

}  // namespace setutily::testing
