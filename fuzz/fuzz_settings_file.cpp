// The settings-file reader and writer: arbitrary contents, set a key, read
// it back. Every line the program does not own is kept byte for byte.
//
// Input: byte 0 picks the key's spelling, the rest up to the first 0x1E byte
// is the value to write, the remainder the file's contents.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdint>
#include <string>

#include "app/profile.h"
#include "fuzz/fuzz_support.h"

using namespace setutily;
using setutily::fuzz::Require;

namespace {

QTemporaryDir* directory = nullptr;

// Lines of a file, without their line feeds (a final one starts no line).
QList<QByteArray> Lines(QByteArray bytes) {
  if (bytes.endsWith('\n')) bytes.chop(1);
  if (bytes.isEmpty()) return {};
  return bytes.split('\n');
}

// The lines that cannot belong to the key written, nor be blank lines
// inserted before its section: a line that mentions the key or section name
// in any letter case, or is blank, is left out.
QList<QByteArray> Unowned(const QList<QByteArray>& lines) {
  QList<QByteArray> kept;
  for (const QByteArray& line : lines) {
    const QByteArray lower = line.toLower();
    if (lower.contains("fuzzkey") || lower.contains("fuzzsec")) continue;
    if (line.trimmed().isEmpty()) continue;
    kept.append(line);
  }
  return kept;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::EnsureApplication();
  // In memory when possible: every run writes the file and replaces it
  // (with a sync to disk), which a real disk makes a hundred times slower.
  const QString memory = QStringLiteral("/dev/shm");
  directory = QFileInfo(memory).isWritable()
                  ? new QTemporaryDir(memory + QStringLiteral("/setutily-fuzz-XXXXXX"))
                  : new QTemporaryDir;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string_view rest = fuzz::AsText(data + 1, size - 1);
  const std::size_t split = rest.find('\x1e');
  const std::string_view valueBytes = rest.substr(0, split);
  const QByteArray contents = split == std::string_view::npos
                                  ? QByteArray()
                                  : QByteArray(rest.data() + split + 1,
                                               static_cast<qsizetype>(rest.size() - split - 1));
  const QString path = QDir(directory->path()).filePath(QStringLiteral("setutily.ini"));
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) fuzz::Fail("cannot write the file");
    file.write(contents);
  }
  static const QString kSections[] = {QStringLiteral("FUZZSEC"), QStringLiteral("fuzzsec")};
  static const QString kKeys[] = {QStringLiteral("FUZZKEY"), QStringLiteral("FuzzKey")};
  const QString section = kSections[data[0] & 1];
  const QString key = kKeys[(data[0] >> 1) & 1];
  const QString value = QString::fromUtf8(valueBytes.data(), static_cast<qsizetype>(valueBytes.size()));

  ProfileFile profile(path);
  QString error;
  const bool written = profile.WriteString(section, key, value, &error);
  const bool breaks = value.contains(u'\n') || value.contains(u'\r');
  Require(written != breaks, "a value is written unless it holds a line break");
  Require(written || !error.isEmpty(), "a failed write says why");

  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) fuzz::Fail("cannot read the file back");
  const QByteArray after = file.readAll();
  if (!written) {
    Require(after == contents, "a refused write leaves the file as it was");
    return 0;
  }
  Require(Unowned(Lines(after)) == Unowned(Lines(contents)),
          "every line the program does not own is kept byte for byte");
  Require(profile.ReadString(section, key, QStringLiteral("-"), 1 << 20) == value,
          "the value reads back as written");
  return 0;
}
