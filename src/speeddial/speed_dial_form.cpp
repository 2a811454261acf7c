#include "speeddial/speed_dial_form.h"

#include "forms/form_link.h"

namespace setutily {

namespace {

QString RowCaption(int, int row) { return FullWidthNumber(row); }

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
      .list = ViewOf(SpeedDialEntryList()),
      .halves = 2,
      .columns = {{.kind = ItemKind::kEdit, .header = QStringLiteral("電話番号"),
                   .field = &SpeedDialEntry::number, .editChars = 28}},
      .ids = Ids(),
      .captionHeader = QStringLiteral("Ｎｏ．"),
      .rowCaption = RowCaption,
      .noteHead = QStringLiteral("注意）"),
      .notes = {QStringLiteral("・サブアドレスは「*」で区切ってください。")},
  };
  return description;
}

CategoryLaunch SpeedDialLaunch(Session& session) {
  CategoryLaunch launch = NamedLaunch(1087, QStringLiteral("Short Number"));
  launch.read = [&session] { return ReadSpeedDial(session, session.records.Of<SpeedDialList>()); };
  LaunchForm(launch, session, Form(SpeedDialForm()));
  return launch;
}

}  // namespace setutily
