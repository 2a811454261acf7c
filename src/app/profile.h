// The settings file setutily.ini: a text file of "[SECTION]" headers,
// "KEY=value" lines and ";" comments, read and written key by key.
//
// Sections and keys are found regardless of letter case; a key that appears
// twice counts with its first occurrence. Names and values are UTF-8. Writing
// changes only the lines of the keys written (or appends them) and keeps
// every other line, comment and blank line byte for byte, whatever its
// encoding, a byte-order mark included. Each write replaces the whole file at
// once (WriteWholeFile), so a crash or a full disk never leaves half a file,
// and the file is readable and writable by its owner only, since it holds
// passwords.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <vector>

class QFileInfo;

namespace setutily {

class ProfileFile {
 public:
  explicit ProfileFile(QString path);

  const QString& Path() const { return path_; }

  // The value of section/key as a decimal integer: an optional sign and the
  // digits that follow (0 when there are none), kept within the range of int.
  // A missing file, section or key yields defaultValue.
  int ReadInt(const QString& section, const QString& key, int defaultValue) const;

  // The value of section/key with blanks around it removed (and one pair of
  // enclosing quotes), cut to maxCharacters. A missing key yields
  // defaultValue, cut the same way.
  QString ReadString(const QString& section, const QString& key, const QString& defaultValue,
                     int maxCharacters) const;

  struct Entry {
    QString section;
    QString key;
    QString value;
  };
  // Writes all entries in one replacement of the file. Fails (returning false
  // with error set to a sentence for the user, leaving the file as it was)
  // when a value holds a line break, when an existing file cannot be used
  // (see Check), or when the file cannot be written.
  bool Write(const std::vector<Entry>& entries, QString* error = nullptr);
  bool WriteString(const QString& section, const QString& key, const QString& value,
                   QString* error = nullptr);
  bool WriteInt(const QString& section, const QString& key, int value, QString* error = nullptr);

  // The device paths that section "DEVICE", keys "COM1" to "COM9", give the
  // COM port numbers (for ComPortDevicePath).
  QMap<int, QString> ComPortOverrides() const;

  // Files larger than this are not read (their keys count as missing) and
  // not rewritten.
  static constexpr qint64 kMaxFileSize = 1 << 20;

  // Why a file that is there cannot be used: its keys then read as missing
  // and it is never rewritten. A missing file is no problem.
  enum class Problem { kNone, kTooLarge, kNotAFile, kUnreadable };
  Problem Check() const;
  // The problem told to the user, in one sentence; empty for kNone.
  static QString ProblemText(Problem problem);

 private:
  // What the entry of a file that is there tells (not a file, too large);
  // whether it opens is left to the caller.
  static Problem ProblemOf(const QFileInfo& info);
  // The file's lines as bytes (without their line feeds); false when it
  // exists but cannot be used. A missing file is an empty list.
  bool Load(QList<QByteArray>& lines) const;

  QString path_;
};

}  // namespace setutily
