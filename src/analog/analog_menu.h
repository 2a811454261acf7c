// The analog menu: one button per port and one for the common settings.
// After a confirmed form it writes that form's group to the device.
#pragma once

#include <QDialog>

#include "analog/analog_settings.h"
#include "forms/session.h"
#include "forms/category.h"

namespace setutily {

class AnalogMenu : public QDialog {
  Q_OBJECT
 public:
  AnalogMenu(QWidget* parent, Session& session, AnalogCategory& analog);

  // Runs the form of group (a port or the common settings) and, when it is
  // confirmed, writes the group under the busy box. A failed write is told
  // and logged; the write has put the unsent settings back.
  void Edit(int group);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Session& session_;
  AnalogCategory& analog_;
};

// The main window's "アナログ設定" button: read, then the menu.
CategoryLaunch AnalogLaunch(Session& session);

}  // namespace setutily
