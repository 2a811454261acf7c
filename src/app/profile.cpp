#include "app/profile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <limits>
#include <optional>

namespace setutily {

namespace {

// One parsed line of the file.
struct Line {
  enum Kind { kOther, kSection, kKey } kind = kOther;
  QString name;   // section or key name, blanks removed
  QString value;  // key lines: the raw value, blanks removed
};

Line Parse(const QString& raw) {
  Line line;
  const QString text = raw.trimmed();
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

bool SameName(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
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

std::optional<SectionRange> FindSection(const QStringList& lines, const QString& section) {
  for (int i = 0; i < lines.size(); ++i) {
    const Line line = Parse(lines[i]);
    if (line.kind != Line::kSection || !SameName(line.name, section)) continue;
    SectionRange range{i, static_cast<int>(lines.size())};
    for (int j = i + 1; j < lines.size(); ++j) {
      if (Parse(lines[j]).kind == Line::kSection) {
        range.end = j;
        break;
      }
    }
    return range;
  }
  return std::nullopt;
}

std::optional<QString> FindValue(const QStringList& lines, const QString& section,
                                 const QString& key) {
  const auto range = FindSection(lines, section);
  if (!range) return std::nullopt;
  for (int i = range->header + 1; i < range->end; ++i) {
    const Line line = Parse(lines[i]);
    if (line.kind == Line::kKey && SameName(line.name, key)) return Unquote(line.value);
  }
  return std::nullopt;
}

// New lines end like the file's first line (a carriage return before the
// line feed, or not).
void SetValue(QStringList& lines, const QString& section, const QString& key,
              const QString& value) {
  const QString text = Quote(value);
  const QString cr = !lines.isEmpty() && lines.front().endsWith(u'\r') ? QStringLiteral("\r")
                                                                       : QString();
  const auto range = FindSection(lines, section);
  if (!range) {
    if (!lines.isEmpty() && !lines.back().trimmed().isEmpty()) lines.append(cr);
    lines.append(u'[' + section + u']' + cr);
    lines.append(key + u'=' + text + cr);
    return;
  }
  int lastContent = range->header;
  for (int i = range->header + 1; i < range->end; ++i) {
    const Line line = Parse(lines[i]);
    if (line.kind == Line::kKey && SameName(line.name, key)) {
      // Keep the key as the file spells it, and a carriage return ending.
      const bool crlf = lines[i].endsWith(u'\r');
      lines[i] = line.name + u'=' + text + (crlf ? QStringLiteral("\r") : QString());
      return;
    }
    if (!lines[i].trimmed().isEmpty()) lastContent = i;
  }
  lines.insert(lastContent + 1, key + u'=' + text + cr);
}

}  // namespace

ProfileFile::ProfileFile(QString path) : path_(std::move(path)) {}

bool ProfileFile::Load(QStringList& lines) const {
  lines.clear();
  QFile file(path_);
  if (!file.exists()) return true;
  if (file.size() > kMaxFileSize || !file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.read(kMaxFileSize + 1);
  if (bytes.size() > kMaxFileSize) return false;
  QString text = QString::fromUtf8(bytes);
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  if (text.isEmpty()) return true;
  lines = text.split(u'\n');
  // A final line feed ends the last line; it does not start an empty one.
  if (lines.back().isEmpty()) lines.removeLast();
  return true;
}

int ProfileFile::ReadInt(const QString& section, const QString& key, int defaultValue) const {
  QStringList lines;
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
  QStringList lines;
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
        return fail(QStringLiteral("a value holds a line break"));
      }
    }
  }
  QStringList lines;
  if (!Load(lines)) return fail(QStringLiteral("%1 cannot be read").arg(path_));
  for (const auto& entry : entries) SetValue(lines, entry.section, entry.key, entry.value);

  // QSaveFile writes a temporary file beside the target and renames it over
  // the target on commit; a symbolic link is followed to the real file.
  QSaveFile file(path_);
  if (!file.open(QIODevice::WriteOnly)) return fail(file.errorString());
  file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  QByteArray bytes = lines.join(u'\n').toUtf8();
  if (!lines.isEmpty()) bytes.append('\n');
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return fail(file.errorString());
  }
  if (!file.commit()) return fail(file.errorString());
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
  QStringList lines;
  if (!Load(lines)) return overrides;
  for (int n = 1; n <= 9; ++n) {
    const auto value = FindValue(lines, QStringLiteral("DEVICE"), QStringLiteral("COM%1").arg(n));
    if (value && !value->isEmpty()) overrides.insert(n, value->left(4095));
  }
  return overrides;
}

}  // namespace setutily
