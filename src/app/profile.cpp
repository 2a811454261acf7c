#include "app/profile.h"

#include "app/whole_file.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <limits>
#include <optional>

namespace setutily {

namespace {

// The file's lines as bytes, without their line feeds. Only the lines of the
// keys written are ever replaced; every other line goes back byte for byte,
// whatever its encoding (a comment in another code page, a byte-order mark).
using RawLines = QList<QByteArray>;

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// One parsed line of the file.
struct Line {
  enum Kind { kOther, kSection, kKey } kind = kOther;
  QString name;   // section or key name, blanks removed
  QString value;  // key lines: the raw value, blanks removed
};

// Names and values are UTF-8; a line in another encoding cannot hold a key
// the program owns, and is only looked at, never rewritten.
Line Parse(const QByteArray& raw) {
  Line line;
  const QByteArray bytes = raw.startsWith(kByteOrderMark) ? raw.mid(3) : raw;
  const QString text = QString::fromUtf8(bytes).trimmed();
  if (text.startsWith(u'[')) {
    const qsizetype close = text.indexOf(u']');
    line.kind = Line::kSection;
    line.name = text.mid(1, close < 0 ? -1 : close - 1).trimmed();
    return line;
  }
  if (text.startsWith(u';')) return line;
  const qsizetype equals = text.indexOf(u'=');
  if (equals <= 0) return line;
  line.kind = Line::kKey;
  line.name = text.left(equals).trimmed();
  line.value = text.mid(equals + 1).trimmed();
  return line;
}

// The line when it is of kind (a section header or a key line), else an
// other line. Only a line that holds the kind's mark, '[' or '=', is decoded.
Line ParseAs(const QByteArray& raw, Line::Kind kind) {
  if (!raw.contains(kind == Line::kSection ? '[' : '=')) return {};
  Line line = Parse(raw);
  return line.kind == kind ? line : Line{};
}

// Names match regardless of the case of the letters A-Z; other characters
// must be the same (a Unicode case fold would let a name outside ASCII
// stand for one of the program's keys).
bool SameName(const QString& a, const QString& b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i) {
    const char16_t x = a.at(i).unicode();
    const char16_t y = b.at(i).unicode();
    const auto fold = [](char16_t c) { return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c; };
    if (fold(x) != fold(y)) return false;
  }
  return true;
}

QString Unquote(const QString& value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front()) {
    return value.mid(1, value.size() - 2);
  }
  return value;
}

// The text to write for a value: quoted when reading it back would lose
// blanks at its ends or a pair of enclosing quotes.
QString Quote(const QString& value) {
  if (value.isEmpty()) return value;
  const bool blankEnds = value.front().isSpace() || value.back().isSpace();
  if (blankEnds || Unquote(value) != value) return u'"' + value + u'"';
  return value;
}

// Index range [first, end) of the section's lines after its header, or
// nothing when the section is missing.
struct SectionRange {
  int header = -1;
  int end = 0;
};

std::optional<SectionRange> FindSection(const RawLines& lines, const QString& section) {
  for (int i = 0; i < lines.size(); ++i) {
    const Line line = ParseAs(lines[i], Line::kSection);
    if (line.kind != Line::kSection || !SameName(line.name, section)) continue;
    SectionRange range{i, static_cast<int>(lines.size())};
    for (int j = i + 1; j < lines.size(); ++j) {
      if (ParseAs(lines[j], Line::kSection).kind == Line::kSection) {
        range.end = j;
        break;
      }
    }
    return range;
  }
  return std::nullopt;
}

std::optional<QString> FindValue(const RawLines& lines, const QString& section,
                                 const QString& key) {
  const auto range = FindSection(lines, section);
  if (!range) return std::nullopt;
  for (int i = range->header + 1; i < range->end; ++i) {
    const Line line = ParseAs(lines[i], Line::kKey);
    if (line.kind == Line::kKey && SameName(line.name, key)) return Unquote(line.value);
  }
  return std::nullopt;
}

// New lines end like the file's first line (a carriage return before the
// line feed, or not).
void SetValue(RawLines& lines, const QString& section, const QString& key,
              const QString& value) {
  const QByteArray text = Quote(value).toUtf8();
  const QByteArray cr = !lines.isEmpty() && lines.front().endsWith('\r') ? QByteArray("\r")
                                                                         : QByteArray();
  const auto range = FindSection(lines, section);
  if (!range) {
    if (!lines.isEmpty() && !lines.back().trimmed().isEmpty()) lines.append(cr);
    lines.append('[' + section.toUtf8() + ']' + cr);
    lines.append(key.toUtf8() + '=' + text + cr);
    return;
  }
  int lastContent = range->header;
  for (int i = range->header + 1; i < range->end; ++i) {
    const Line line = ParseAs(lines[i], Line::kKey);
    if (line.kind == Line::kKey && SameName(line.name, key)) {
      // Keep the key as the file spells it, and a carriage return ending.
      const bool crlf = lines[i].endsWith('\r');
      lines[i] = line.name.toUtf8() + '=' + text + (crlf ? QByteArray("\r") : QByteArray());
      return;
    }
    if (!lines[i].trimmed().isEmpty()) lastContent = i;
  }
  lines.insert(lastContent + 1, key.toUtf8() + '=' + text + cr);
}

}  // namespace

ProfileFile::ProfileFile(QString path) : path_(std::move(path)) {}

ProfileFile::Problem ProfileFile::ProblemOf(const QFileInfo& info) {
  if (!info.isFile()) return Problem::kNotAFile;  // a directory, a pipe, a device
  if (info.size() > kMaxFileSize) return Problem::kTooLarge;
  return Problem::kNone;
}

ProfileFile::Problem ProfileFile::Check() const {
  const QFileInfo info(path_);
  if (!info.exists()) return Problem::kNone;
  if (const Problem problem = ProblemOf(info); problem != Problem::kNone) return problem;
  QFile file(path_);
  if (!file.open(QIODevice::ReadOnly)) return Problem::kUnreadable;
  return Problem::kNone;
}

QString ProfileFile::ProblemText(Problem problem) {
  switch (problem) {
    case Problem::kNone:
      return {};
    case Problem::kTooLarge:
      return QStringLiteral("設定ファイル setutily.ini が大きすぎる（1MBを超えている）ため、"
                            "読み込めません。");
    case Problem::kNotAFile:
      return QStringLiteral("設定ファイル setutily.ini がファイルではないため、読み込めません。");
    case Problem::kUnreadable:
      return QStringLiteral("設定ファイル setutily.ini を読み込む権限がないため、読み込めません。");
  }
  return {};
}

bool ProfileFile::Load(QList<QByteArray>& lines) const {
  lines.clear();
  const QFileInfo info(path_);
  if (!info.exists()) return true;
  if (ProblemOf(info) != Problem::kNone) return false;
  QFile file(path_);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return false;
  // As much as the file holds and a byte more: a shorter read is its end.
  // Should it have grown since, the rest follows in pieces; one read of the
  // largest size allowed would set aside a megabyte for every small file.
  QByteArray bytes;
  qint64 want = std::min<qint64>(file.size(), kMaxFileSize) + 1;
  for (;; want = 64 * 1024) {
    const QByteArray piece = file.read(want);
    bytes += piece;
    if (bytes.size() > kMaxFileSize) return false;
    if (piece.size() < want) break;
  }
  if (file.error() != QFileDevice::NoError) return false;
  if (bytes.isEmpty()) return true;
  lines = bytes.split('\n');
  // A final line feed ends the last line; it does not start an empty one.
  if (lines.back().isEmpty()) lines.removeLast();
  return true;
}

int ProfileFile::ReadInt(const QString& section, const QString& key, int defaultValue) const {
  RawLines lines;
  if (!Load(lines)) return defaultValue;
  const auto value = FindValue(lines, section, key);
  if (!value) return defaultValue;
  qsizetype i = 0;
  bool negative = false;
  if (i < value->size() && (value->at(i) == u'-' || value->at(i) == u'+')) {
    negative = value->at(i) == u'-';
    ++i;
  }
  long long number = 0;
  constexpr long long kLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
  for (; i < value->size() && value->at(i) >= u'0' && value->at(i) <= u'9'; ++i) {
    number = std::min(number * 10 + (value->at(i).unicode() - u'0'), kLimit);
  }
  if (negative) return static_cast<int>(std::max(-number, static_cast<long long>(std::numeric_limits<int>::min())));
  return static_cast<int>(std::min(number, static_cast<long long>(std::numeric_limits<int>::max())));
}

QString ProfileFile::ReadString(const QString& section, const QString& key,
                                const QString& defaultValue, int maxCharacters) const {
  RawLines lines;
  std::optional<QString> value;
  if (Load(lines)) value = FindValue(lines, section, key);
  return (value ? *value : defaultValue).left(std::max(maxCharacters, 0));
}

bool ProfileFile::Write(const std::vector<Entry>& entries, QString* error) {
  auto fail = [error](const QString& why) {
    if (error != nullptr) *error = why;
    return false;
  };
  for (const auto& entry : entries) {
    for (const QString* text : {&entry.section, &entry.key, &entry.value}) {
      if (text->contains(u'\n') || text->contains(u'\r')) {
        return fail(QStringLiteral("改行を含む値は保存できません。"));
      }
    }
  }
  // A file that cannot be read is never replaced: its other lines would be lost.
  RawLines lines;
  if (!Load(lines)) {
    const QString why = ProblemText(Check());
    return fail(why.isEmpty() ? QStringLiteral("設定ファイル setutily.ini を読み込めません。") : why);
  }
  for (const auto& entry : entries) SetValue(lines, entry.section, entry.key, entry.value);

  QByteArray bytes = lines.join('\n');
  if (!lines.isEmpty()) bytes.append('\n');
  QString why;
  if (!WriteWholeFile(path_, bytes, why)) {
    return fail(QStringLiteral("設定ファイル setutily.ini に書き込めません（%1）。").arg(why));
  }
  return true;
}

bool ProfileFile::WriteString(const QString& section, const QString& key, const QString& value,
                              QString* error) {
  return Write({{section, key, value}}, error);
}

bool ProfileFile::WriteInt(const QString& section, const QString& key, int value,
                           QString* error) {
  return Write({{section, key, QString::number(value)}}, error);
}

QMap<int, QString> ProfileFile::ComPortOverrides() const {
  QMap<int, QString> overrides;
  RawLines lines;
  if (!Load(lines)) return overrides;
  for (int n = 1; n <= 9; ++n) {
    const auto value = FindValue(lines, QStringLiteral("DEVICE"), QStringLiteral("COM%1").arg(n));
    if (value && !value->isEmpty()) overrides.insert(n, value->left(4095));
  }
  return overrides;
}

}  // namespace setutily
