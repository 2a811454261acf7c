// The speed-dial form: the twenty numbers of the list in two columns, rows
// "００" to "１９" (device numbers 1 to 20), and the main window's launch
// entry that reads the list, shows the form and writes what it changed.
#pragma once

#include <array>

#include "forms/session.h"
#include "forms/category.h"
#include "forms/form.h"
#include "speeddial/speed_dial_settings.h"

namespace setutily {

class NumberEdit;
struct Session;

// The resource id of the edit box of each row, row 0 first.
inline constexpr std::array<int, kSpeedDialCount> kSpeedDialEditIds = {
    1098, 1101, 1104, 1107, 1111, 1114, 1117, 1120, 1123, 1126,
    1129, 1132, 1135, 1138, 1141, 1144, 1147, 1150, 1153, 1156};

// The most characters a user can type into one row.
inline constexpr int kSpeedDialTypingLimit = 53;

inline constexpr int kSpeedDialHelpContext = 11;

class SpeedDialForm : public SettingsForm {
  Q_OBJECT
 public:
  // Shows the working copy of list. "登録" checks every row in order; when
  // all pass it stores all twenty in the working copy and counts one
  // confirmed form in session.state. A failed check changes nothing.
  SpeedDialForm(Session& session, SpeedDialList& list, QWidget* parent = nullptr);

  NumberEdit* Edit(int row) const { return edits_[static_cast<std::size_t>(row)]; }

 protected:
  bool Confirm() override;

 private:
  Session& session_;
  SpeedDialList& list_;
  std::array<NumberEdit*, kSpeedDialCount> edits_{};
};

// The message of a rejected row (row 0 names "01").
QString SpeedDialCheckMessage(int row);

// The main window's "短縮番号設定" button: read, form, and the write after a
// confirmed form. A failed write is also told to the user with
// "書込みに失敗しました。".
CategoryLaunch SpeedDialLaunch(Session& session);

}  // namespace setutily
