#include "root/config_report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "forms/setting_differences.h"
#include "text/encoding.h"

namespace setutily {

namespace {

// A value of the header: null where it is not known.
QJsonValue Known(const std::string& value) {
  return value.empty() ? QJsonValue() : QJsonValue(QString::fromStdString(value));
}

// A password's value: hidden, but an empty one is told as the form tells it.
QString SecretValue(const QString& shown) {
  return shown == differences_detail::Blank() ? shown : QString::fromUtf16(kHiddenPassword);
}

}  // namespace

QStringList HiddenCommands(const std::vector<std::string>& commands,
                           const std::vector<CompareRow>& rows) {
  // Each row's commands as sent and as shown; one taken per command given.
  std::vector<std::pair<const std::string*, const QString*>> shown;
  for (const CompareRow& row : rows) {
    for (std::size_t i = 0; i < row.sent.size() && i < static_cast<std::size_t>(row.commands.size());
         ++i) {
      shown.emplace_back(&row.sent[i], &row.commands[static_cast<qsizetype>(i)]);
    }
  }
  QStringList out;
  for (const std::string& command : commands) {
    const auto found = std::find_if(shown.begin(), shown.end(),
                                    [&command](const auto& pair) { return *pair.first == command; });
    if (found == shown.end()) {
      out << FromDevice(command);
      continue;
    }
    out << *found->second;
    shown.erase(found);
  }
  return out;
}

QByteArray ReportJson(const ConfigReport& report) {
  QJsonObject object;
  object.insert(QStringLiteral("command"), report.command);
  object.insert(QStringLiteral("status"), report.status);
  if (!report.error.isEmpty()) object.insert(QStringLiteral("error"), report.error);
  if (report.device) {
    object.insert(QStringLiteral("device"),
                  QJsonObject{{QStringLiteral("model"), Known(report.device->model)},
                              {QStringLiteral("firmware"), Known(report.device->firmware)},
                              {QStringLiteral("mac"), Known(report.device->mac)}});
  }
  object.insert(QStringLiteral("file"),
                QJsonObject{{QStringLiteral("path"), report.filePath},
                            {QStringLiteral("mac"), Known(report.file.mac)}});
  bool changed = false;
  if (report.differences) {
    QJsonArray differences;
    for (const CompareRow& row : *report.differences) {
      differences.append(QJsonObject{
          {QStringLiteral("category"), row.category},
          {QStringLiteral("form"), row.form},
          {QStringLiteral("field"), row.caption},
          {QStringLiteral("device"), row.secret ? SecretValue(row.device) : row.device},
          {QStringLiteral("file"), row.secret ? SecretValue(row.file) : row.file},
          {QStringLiteral("commands"), QJsonArray::fromStringList(row.commands)}});
    }
    changed = !differences.isEmpty();
    object.insert(QStringLiteral("differences"), differences);
  }
  if (report.command == QStringLiteral("apply")) {
    QJsonArray sent, notTaken;
    std::vector<std::string> commands;
    if (report.apply) {
      for (const SentCommand& each : report.apply->commands) commands.push_back(each.command);
    }
    const QStringList shown =
        HiddenCommands(commands, report.differences ? *report.differences : std::vector<CompareRow>{});
    for (std::size_t i = 0; i < commands.size(); ++i) {
      const SentCommand& each = report.apply->commands[i];
      const QString& command = shown[static_cast<qsizetype>(i)];
      sent.append(command);
      if (!each.taken) {
        // The device's value of a password is hidden as well.
        const bool secret = command != FromDevice(each.command);
        notTaken.append(QJsonObject{
            {QStringLiteral("command"), command},
            {QStringLiteral("device"), secret ? QString::fromUtf16(kHiddenPassword)
                                              : QString::fromStdString(each.device)}});
      }
    }
    changed = !sent.isEmpty();
    object.insert(QStringLiteral("sent"), sent);
    object.insert(QStringLiteral("notTaken"), notTaken);
    object.insert(QStringLiteral("stored"), report.apply && report.apply->stored);
  }
  object.insert(QStringLiteral("changed"), changed);
  // One line: a caller's log keeps it whole, a person pipes it into jq.
  return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

}  // namespace setutily
