#include "app/help_file.h"

#include <QFile>

namespace setutily {

namespace {

constexpr QStringView kTopicMarker = u"@@topic ";

// Parses "@@topic N TITLE"; false for a line that is not a topic start.
bool ParseTopicLine(const QString& line, int& context, QString& title) {
  if (!line.startsWith(kTopicMarker)) return false;
  const QString rest = line.mid(kTopicMarker.size()).trimmed();
  const qsizetype space = rest.indexOf(u' ');
  bool ok = false;
  context = rest.left(space < 0 ? rest.size() : space).toInt(&ok);
  if (!ok) return false;
  title = space < 0 ? QString() : rest.mid(space + 1).trimmed();
  return true;
}

}  // namespace

bool FindHelpTopic(const QString& text, int context, HelpTopic& topic) {
  const QStringList lines = text.split(u'\n');
  bool inTopic = false;
  for (QString line : lines) {
    if (line.endsWith(u'\r')) line.chop(1);
    int number = 0;
    QString title;
    if (ParseTopicLine(line, number, title)) {
      if (inTopic) break;  // the next topic ends this one
      if (number == context) {
        inTopic = true;
        topic = {number, title, {}};
      }
      continue;
    }
    if (inTopic) topic.lines.append(line);
  }
  if (!inTopic) return false;
  while (!topic.lines.isEmpty() && topic.lines.back().trimmed().isEmpty()) topic.lines.removeLast();
  while (!topic.lines.isEmpty() && topic.lines.front().trimmed().isEmpty()) {
    topic.lines.removeFirst();
  }
  return true;
}

HelpLookup LoadHelpTopic(const QString& path, int context, HelpTopic& topic) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return HelpLookup::kNoFile;
  const QString text = QString::fromUtf8(file.read(kMaxHelpFileSize));
  return FindHelpTopic(text, context, topic) ? HelpLookup::kFound : HelpLookup::kNoTopic;
}

QString HelpTopicHtml(const HelpTopic& topic) {
  QString html = QStringLiteral("<h2>%1</h2>").arg(topic.title.toHtmlEscaped());
  QString paragraph;
  auto flush = [&] {
    if (!paragraph.isEmpty()) html += QStringLiteral("<p>%1</p>").arg(paragraph);
    paragraph.clear();
  };
  for (const QString& line : topic.lines) {
    const QString text = line.trimmed();
    if (text.isEmpty()) {
      flush();
    } else if (line.startsWith(QStringLiteral("## "))) {
      flush();
      html += QStringLiteral("<h3>%1</h3>").arg(line.mid(3).trimmed().toHtmlEscaped());
    } else if (text.startsWith(u'・')) {
      flush();
      html += QStringLiteral("<p style=\"margin-left:1em; margin-top:0; margin-bottom:0\">%1</p>")
                  .arg(text.toHtmlEscaped());
    } else {
      if (!paragraph.isEmpty()) paragraph += QStringLiteral("<br>");
      paragraph += text.toHtmlEscaped();
    }
  }
  flush();
  return html;
}

}  // namespace setutily
