#include "link/serial_ports.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace setutily {

namespace {

// The UART type the kernel reports for ttySn; 0 (unknown) when there is no
// UART or nothing can be read.
int UartType(const QString& ttyClass, const QString& name) {
  QFile file(QDir(ttyClass).filePath(name + QStringLiteral("/type")));
  if (!file.open(QIODevice::ReadOnly)) return 0;
  return file.read(32).trimmed().toInt();
}

}  // namespace

std::vector<SerialPortEntry> ListSerialPorts(const SerialPortFolders& folders) {
  std::vector<SerialPortEntry> ports;
  QSet<QString> targets;
  const QDir byId(folders.byId);
  for (const QFileInfo& link : byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot,
                                                  QDir::Name)) {
    if (!link.isSymLink()) continue;
    const QString target = QDir::cleanPath(link.symLinkTarget());
    ports.push_back({link.absoluteFilePath(), target});
    targets.insert(target);
  }

  // Device nodes: name prefix and number, in the order they are offered.
  static const QRegularExpression kNode(QStringLiteral("^tty(USB|ACM|S)([0-9]+)$"));
  struct Node {
    int kind;  // 0 USB, 1 ACM, 2 S
    int number;
    QString path;
  };
  std::vector<Node> nodes;
  const QDir devices(folders.devices);
  for (const QString& name : devices.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
    const auto match = kNode.match(name);
    if (!match.hasMatch()) continue;
    const QString path = QDir::cleanPath(devices.absoluteFilePath(name));
    if (targets.contains(path)) continue;  // offered under its by-id name
    const QString kind = match.captured(1);
    const int order = kind == u"USB" ? 0 : kind == u"ACM" ? 1 : 2;
    if (order == 2 && UartType(folders.ttyClass, name) == 0) continue;
    nodes.push_back({order, match.captured(2).toInt(), path});
  }
  std::sort(nodes.begin(), nodes.end(), [](const Node& a, const Node& b) {
    return a.kind != b.kind ? a.kind < b.kind : a.number < b.number;
  });
  for (const Node& node : nodes) ports.push_back({node.path, QString()});
  return ports;
}

QString SerialPortText(const SerialPortEntry& entry) {
  if (entry.target.isEmpty()) return entry.path;
  return QStringLiteral("%1 -> %2").arg(entry.path, entry.target);
}

}  // namespace setutily
