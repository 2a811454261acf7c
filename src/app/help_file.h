// The help file MORIVEX-9.hlp: UTF-8 text in which a line
// "@@topic N TITLE" starts the topic with context number N. Comment lines
// ("#") before the first topic are ignored. Inside a topic, "## " starts a
// heading, "・" a list item, and a blank line separates paragraphs.
#pragma once

#include <QString>
#include <QStringList>

namespace setutily {

inline constexpr char kHelpFileName[] = "MORIVEX-9.hlp";

struct HelpTopic {
  int context = 0;
  QString title;
  QStringList lines;  // the topic's lines, without the "@@topic" line
};

enum class HelpLookup { kFound, kNoFile, kNoTopic };

// Finds topic context in the help text (the first one when it appears twice).
bool FindHelpTopic(const QString& text, int context, HelpTopic& topic);

// Reads the help file at path (at most kMaxHelpFileSize bytes) and finds the
// topic.
HelpLookup LoadHelpTopic(const QString& path, int context, HelpTopic& topic);
inline constexpr qint64 kMaxHelpFileSize = 4 << 20;

// The topic as HTML for display: texts escaped, headings bold, list items
// and paragraphs as written.
QString HelpTopicHtml(const HelpTopic& topic);

}  // namespace setutily
