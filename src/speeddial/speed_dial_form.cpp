#include "speeddial/speed_dial_form.h"

#include "forms/category_menu.h"

namespace setutily {

namespace {

SpeedDialEntry& EntryOf(SpeedDialList& list, int index) {
  return list.entries[static_cast<std::size_t>(index)];
}
QString RowCaption(int, int row) { return FullWidthNumber(row); }
QString RowMessage(int number) {
  return QStringLiteral("電話番号%1の入力に間違いがあります。").arg(number, 2, 10, QChar(u'0'));
}

std::vector<std::vector<std::vector<int>>> Ids() {
  static constexpr int kIds[kSpeedDialCount] = {1098, 1101, 1104, 1107, 1111, 1114, 1117,
                                                1120, 1123, 1126, 1129, 1132, 1135, 1138,
                                                1141, 1144, 1147, 1150, 1153, 1156};
  std::vector<std::vector<int>> rows;
  for (int id : kIds) rows.push_back({id});
  return {rows};
}

}  // namespace

const GridDescription<SpeedDialList, SpeedDialEntry>& SpeedDialForm() {
  static const GridDescription<SpeedDialList, SpeedDialEntry> description{
      .title = QStringLiteral("短縮番号設定"),
      .help = 11,
      .rows = kSpeedDialCount,
      .halves = 2,
      .firstEntry = 0,
      .columns = {{.kind = ItemKind::kNumberEdit, .header = QStringLiteral("電話番号"),
                   .field = &SpeedDialEntry::number, .limit = 53, .editChars = 28}},
      .ids = Ids(),
      .captionHeader = QStringLiteral("Ｎｏ．"),
      .rowCaption = RowCaption,
      .message = RowMessage,
      .noteHead = QStringLiteral("注意）"),
      .notes = {QStringLiteral("・サブアドレスは「*」で区切ってください。")},
      .entry = EntryOf,
  };
  return description;
}

CategoryLaunch SpeedDialLaunch(Session& session) {
  CategoryLaunch launch = NamedLaunch(1087, QStringLiteral("Short Number"));
  launch.read = [&session] { return ReadSpeedDial(session, session.records.Of<SpeedDialList>()); };
  launch.show = [&session](QWidget* parent) {
    auto form = MakeGridForm(parent, session, session.records.Of<SpeedDialList>(), SpeedDialForm());
    return form->exec() == QDialog::Accepted;
  };
  launch.write = [&session] { return WriteSpeedDial(session, session.records.Of<SpeedDialList>()); };
  return launch;
}

}  // namespace setutily
