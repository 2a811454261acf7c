// A small file system of its own (a tmpfs), for tests of a full disk or a
// read-only place. Only root may mount one: elsewhere Mounted() is false and
// the test skips with kNeedsRoot.
#pragma once

#include <sys/mount.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

namespace setutily::testing {

inline constexpr char kNeedsRoot[] = "needs root to mount a small tmpfs; skipped";

class SmallDisk {
 public:
  explicit SmallDisk(bool readOnly = false) {
    mounted_ = ::geteuid() == 0 && dir_.isValid() &&
               ::mount("tmpfs", Name(), "tmpfs", readOnly ? MS_RDONLY : 0, "size=64k") == 0;
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(Name(), MNT_DETACH);
  }
  bool Mounted() const { return mounted_; }
  QString Path(const QString& name) const { return dir_.filePath(name); }
  // Takes up every free byte.
  void Fill() const {
    QFile file(Path(QStringLiteral("filler")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
    for (const qsizetype size : {4096, 1}) {
      while (file.write(QByteArray(size, 'x')) > 0) {
      }
    }
  }

 private:
  const char* Name() const { return name_.constData(); }
  QTemporaryDir dir_;
  QByteArray name_ = QFile::encodeName(dir_.path());
  bool mounted_ = false;
};

}  // namespace setutily::testing
