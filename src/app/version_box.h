// The version box: the device's firmware version and MAC address as read at
// start-up, and the utility's own version.
#pragma once

#include <QDialog>
#include <QIcon>

namespace setutily {

// The utility's version as the version box shows it.
inline constexpr char kUtilityVersion[] = "Version 1.01";

class VersionBox : public QDialog {
  Q_OBJECT
 public:
  // firmware and mac are shown as given, cut to 20 and 30 characters; an
  // empty one (not reported by the device) shows "—".
  VersionBox(const QString& firmware, const QString& mac, QWidget* parent = nullptr);
};

// The program icon (window icon and the version box's picture).
QIcon ProgramIcon();

}  // namespace setutily
