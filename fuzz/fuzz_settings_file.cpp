// The settings-file reader and writer: arbitrary contents, set a key, read
// it back. Every line the program does not own is kept byte for byte.
//
// Input: byte 0 picks the key's spelling, the rest up to the first 0x1E byte
// is the value to write, the remainder the file's contents.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/profile.h"
#include "fuzz/fuzz_support.h"

using namespace setutily;
using setutily::fuzz::Require;

namespace {

QTemporaryDir* directory = nullptr;

// Whether a line mentions the key or section written, in any letter case.
bool Mentions(std::string_view line) {
  for (const std::string_view name : {std::string_view("fuzzkey"), std::string_view("fuzzsec")}) {
    for (std::size_t at = 0; at + name.size() <= line.size(); ++at) {
      std::size_t i = 0;
      while (i < name.size() && std::tolower(static_cast<unsigned char>(line[at + i])) == name[i]) ++i;
      if (i == name.size()) return true;
    }
  }
  return false;
}

bool Blank(std::string_view line) {
  return line.find_first_not_of(" \t\n\v\f\r") == std::string_view::npos;
}

// The lines of a file (without their line feeds; a final one starts no line)
// that cannot belong to the key written, nor be blank lines inserted before
// its section: a line that mentions the key or section name, or is blank, is
// left out. Views into the bytes, so that the check costs no allocation per
// line.
std::vector<std::string_view> Unowned(std::string_view bytes) {
  std::vector<std::string_view> kept;
  if (!bytes.empty() && bytes.back() == '\n') bytes.remove_suffix(1);
  for (std::size_t start = 0; start <= bytes.size();) {
    const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
    const std::string_view line = bytes.substr(start, end - start);
    if (!Mentions(line) && !Blank(line)) kept.push_back(line);
    start = end + 1;
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
  std::atexit([] { delete directory; });  // removes the directory
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
  if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) fuzz::Fail("cannot read the file back");
  const QByteArray after = file.readAll();
  if (!written) {
    Require(after == contents, "a refused write leaves the file as it was");
    return 0;
  }
  const auto view = [](const QByteArray& bytes) {
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  };
  Require(Unowned(view(after)) == Unowned(view(contents)),
          "every line the program does not own is kept byte for byte");
  Require(profile.ReadString(section, key, QStringLiteral("-"), 1 << 20) == value,
          "the value reads back as written");
  return 0;
}
