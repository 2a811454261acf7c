#include "incoming/incoming_forms.h"

#include "forms/form_link.h"

namespace setutily {

namespace {

using S = IncomingControlSettings;
using E = IncomingEntry;

// Drop-down items in code order.
std::vector<Option> TelRanks() { return {u"優先", u"標準", u"遅延", u"拒否"}; }
std::vector<Option> DataRanks() { return {u"標準", u"拒否"}; }
std::vector<Option> Rings() {
  return {u"リーン・リーン", u"リーーン・リーーン", u"リーンリン・リーンリン"};
}

// A cell of the standard form's table, named by its row and column.
Item<S> Cell(int S::*field, int id, std::vector<Option> items, int row, int column,
             const char16_t* name) {
  return DropDown<S>(nullptr, field, id, std::move(items)).At(row, column).Named(name);
}

// ---- the per-number form ----

// Rows "００" to "０９" show entries 1-10, "１０" to "１９" entries 11-20.
QString RowCaption(int instance, int row) {
  return FullWidthNumber(instance * kIncomingPageSize + row);
}

// Per row: number, TEL1, TEL2, TEL3, DATA, USB, PNA, ring.
std::vector<std::vector<std::vector<int>>> ByNumberIds() {
  return {
      {{1017, 1019, 1021, 1023, 1032, 1038, 1039, 1025},
       {1303, 1289, 1295, 1299, 1297, 1301, 1302, 1292},
       {1286, 1272, 1278, 1282, 1280, 1284, 1285, 1275},
       {1269, 1255, 1261, 1265, 1263, 1267, 1268, 1258},
       {1252, 1238, 1244, 1248, 1246, 1250, 1251, 1241},
       {1236, 1221, 1228, 1232, 1230, 1234, 1235, 1224},
       {1218, 1204, 1210, 1214, 1212, 1216, 1217, 1207},
       {1200, 1181, 1192, 1196, 1194, 1198, 1199, 1185},
       {1177, 1161, 1169, 1173, 1189, 1202, 1203, 1165},
       {1050, 1027, 1029, 1035, 1046, 1054, 1055, 1042}},
      {{1031, 1034, 1037, 1039, 1119, 1122, 1040, 1041},
       {1043, 1045, 1047, 1049, 1125, 1128, 1658, 1051},
       {1053, 1055, 1057, 1059, 1131, 1137, 1657, 1061},
       {1063, 1065, 1067, 1069, 1143, 1149, 1656, 1071},
       {1073, 1075, 1076, 1078, 1155, 1160, 1655, 1080},
       {1082, 1084, 1086, 1088, 1164, 1168, 1654, 1090},
       {1092, 1094, 1096, 1099, 1172, 1176, 1653, 1102},
       {1105, 1108, 1110, 1113, 1180, 1182, 1652, 1116},
       {1134, 1140, 1146, 1152, 1184, 1186, 1651, 1158},
       {1162, 1166, 1170, 1174, 1188, 1190, 1056, 1178}},
  };
}

GridColumn<E> RankColumn(const char16_t* header, int E::*field, std::vector<Option> items) {
  return {.kind = ItemKind::kDropDown, .header = QString::fromUtf16(header), .field = field,
          .options = std::move(items)};
}

}  // namespace

const FormDescription<IncomingControlSettings, IncomingControlSettings>& IncomingStandardForm() {
  static const FormDescription<S, S> description{
      .title = QStringLiteral("着信制御　標準設定"),
      .help = 12,
      .group = &IncomingStandardGroup(),
      .boxes = {
          Box<S>().At(0, 0, 1, 2).With(
              Label<S>(u"着信順位").At(0, 1, 6),
              Label<S>(u"TEL1").At(1, 1), Label<S>(u"TEL2").At(1, 2), Label<S>(u"TEL3").At(1, 3),
              Label<S>(u"DATA").At(1, 4), Label<S>(u"USB").At(1, 5), Label<S>(u"PNA").At(1, 6),
              Label<S>(u"擬似なりわけ鳴動音").At(1, 7),
              Label<S>(u"標準の設定\n（電話番号別に未登録）").At(2, 0),
              Cell(&S::default_tel1_rank, 1015, TelRanks(), 2, 1, u"標準の設定 TEL1"),
              Cell(&S::default_tel2_rank, 1040, TelRanks(), 2, 2, u"標準の設定 TEL2"),
              Cell(&S::default_tel3_rank, 1056, TelRanks(), 2, 3, u"標準の設定 TEL3"),
              Cell(&S::default_data_rank, 1048, DataRanks(), 2, 4, u"標準の設定 DATA"),
              Cell(&S::default_usb_rank, 1060, DataRanks(), 2, 5, u"標準の設定 USB"),
              Cell(&S::default_pna_rank, 1061, DataRanks(), 2, 6, u"標準の設定 PNA"),
              Cell(&S::default_ring, 1018, Rings(), 2, 7, u"標準の設定 擬似なりわけ鳴動音"),
              Label<S>(u"電話番号なし着信").At(3, 0),
              Cell(&S::noid_tel1_rank, 1064, TelRanks(), 3, 1, u"電話番号なし着信 TEL1"),
              Cell(&S::noid_tel2_rank, 1077, TelRanks(), 3, 2, u"電話番号なし着信 TEL2"),
              Cell(&S::noid_tel3_rank, 1085, TelRanks(), 3, 3, u"電話番号なし着信 TEL3"),
              Cell(&S::noid_data_rank, 1081, DataRanks(), 3, 4, u"電話番号なし着信 DATA"),
              Cell(&S::noid_usb_rank, 1089, DataRanks(), 3, 5, u"電話番号なし着信 USB"),
              Cell(&S::noid_pna_rank, 1090, DataRanks(), 3, 6, u"電話番号なし着信 PNA"),
              Cell(&S::noid_ring, 1072, Rings(), 3, 7, u"電話番号なし着信 擬似なりわけ鳴動音")),
          Box<S>().At(1, 0, 1, 2).With(
              Label<S>(u"注意）").At(0, 0),
              Label<S>(u"・相手の電話番号によって、着信順位を変えたり、鳴り分けたりするためには"
                       u"「ナンバー・ディスプレイサービス」の契約が必要です。")
                  .At(0, 1),
              Label<S>(u"・NTTの「INSなりわけサービス」をご利用になるときは、"
                       u"こちらで なりわけ設定を行ってください。")
                  .At(1, 1)),
          Box<S>(u"なりわけ").At(2, 0).With(
              Radios(&S::ring_select_service, {{u"NTTなりわけ", 1371}, {u"擬似なりわけ", 1372}}),
              DropDown(u"鳴動音", &S::ntt_ring, 1073, Rings())),
          Box<S>(u"迷惑電話おことわり").At(2, 1).With(
              Radios(&S::trouble_tel_service,
                     {{u"NTT迷惑電話おことわり", 1373}, {u"擬似迷惑電話おことわり", 1374}})),
      },
  };
  return description;
}

const GridDescription<IncomingControlSettings, IncomingEntry>& IncomingByNumberForm() {
  static const GridDescription<S, E> description{
      .title = {QStringLiteral("着信制御　電話番号別１設定"),
                QStringLiteral("着信制御　電話番号別２設定")},
      .help = 13,
      .list = ViewOf(IncomingEntryList()),
      .halves = 1,
      .columns = {{.kind = ItemKind::kEdit, .header = QStringLiteral("電話番号"),
                   .field = &E::number, .editChars = 24},
                  RankColumn(u"TEL1", &E::tel1_rank, TelRanks()),
                  RankColumn(u"TEL2", &E::tel2_rank, TelRanks()),
                  RankColumn(u"TEL3", &E::tel3_rank, TelRanks()),
                  RankColumn(u"DATA", &E::data_rank, DataRanks()),
                  RankColumn(u"USB", &E::usb_rank, DataRanks()),
                  RankColumn(u"PNA", &E::pna_rank, DataRanks()),
                  RankColumn(u"擬似なりわけ鳴動音", &E::ring, Rings())},
      .ids = ByNumberIds(),
      .captionHeader = QStringLiteral("Ｎｏ．"),
      .heading = QStringLiteral("着信順位"),
      .headingFirst = 1,
      .headingColumns = 6,
      .rowCaption = RowCaption,
      .noteHead = QStringLiteral("注意）"),
      .notes = {QStringLiteral("・電話番号は市外局番から入力してください。"),
                QStringLiteral("・サブアドレスは「*」で区切ってください。")},
  };
  return description;
}

MenuDescription IncomingControlMenu(Session& session) {
  return MenuDescription{
      .title = QStringLiteral("着信制御設定"),
      .writeErrorLog = QStringLiteral("Arrive Control Status Write ERROR\r\n"),
      .buttons = {FormButton(session, u"標準", 1075, 0, 0, Form(IncomingStandardForm())),
                  FormButton(session, u"電話番号別１", 1083, 0, 1, Form(IncomingByNumberForm(), 0)),
                  FormButton(session, u"電話番号別２", 1079, 1, 0, Form(IncomingByNumberForm(), 1))},
      .backRow = 1,
      .backColumn = 1,
  };
}

CategoryLaunch IncomingControlLaunch(Session& session) {
  CategoryLaunch launch = NamedLaunch(1541, QStringLiteral("Arrive Control"));
  launch.read = [&session] {
    return ReadIncomingControl(session, session.records.Of<IncomingControlSettings>());
  };
  launch.show = ShowMenu(session, [&session] { return IncomingControlMenu(session); });
  return launch;
}

}  // namespace setutily
