#include "analog/tel_port_form.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "forms/line_edits.h"
#include "forms/session.h"
#include "forms/form_parts.h"
#include "text/checks.h"
#include "text/scan.h"

namespace setutily {

namespace {

// Resource ids of one port's controls.
struct TelPortIds {
  int selfAddress;
  int transferOff, transferOn, transferAddress, talkyForward, talkyOrigin;
  int globalNo, globalYes;
  int noSubaddressNo, noSubaddressYes;
  int voice, audio;
  int discNo, discYes;
  int displayNone, displayNumber, displayCallWaiting;
  int ring1, ring2, ring3;
  int waitingOff, waitingNtt, waitingPseudo;
  int dialTime, dialArrows;
  int iBoth, iContract, iAdd1, iAdd2;
  int noticeNone, noticeContract, noticeAddress, noticeNet;
};

constexpr TelPortIds kIds[kAnalogPortCount] = {
    {  // TEL1
     .selfAddress = 1095,
     .transferOff = 1097, .transferOn = 1093, .transferAddress = 1100,
     .talkyForward = 1103, .talkyOrigin = 1106,
     .globalNo = 1112, .globalYes = 1109, .noSubaddressNo = 1118, .noSubaddressYes = 1115,
     .voice = 1121, .audio = 1124, .discNo = 1122, .discYes = 1125,
     .displayNone = 1139, .displayNumber = 1142, .displayCallWaiting = 1143,
     .ring1 = 1157, .ring2 = 1159, .ring3 = 1163,
     .waitingOff = 1274, .waitingNtt = 1277, .waitingPseudo = 1279,
     .dialTime = 1151, .dialArrows = 1154,
     .iBoth = 1167, .iContract = 1145, .iAdd1 = 1148, .iAdd2 = 1149,
     .noticeNone = 1127, .noticeContract = 1130, .noticeAddress = 1133, .noticeNet = 1136,
    },
    {  // TEL2
     .selfAddress = 1171,
     .transferOff = 1183, .transferOn = 1179, .transferAddress = 1175,
     .talkyForward = 1187, .talkyOrigin = 1191,
     .globalNo = 1195, .globalYes = 1193, .noSubaddressNo = 1199, .noSubaddressYes = 1197,
     .voice = 1201, .audio = 1203, .discNo = 1612, .discYes = 1613,
     .displayNone = 1208, .displayNumber = 1209, .displayCallWaiting = 1210,
     .ring1 = 1222, .ring2 = 1223, .ring3 = 1226,
     .waitingOff = 1281, .waitingNtt = 1285, .waitingPseudo = 1287,
     .dialTime = 1205, .dialArrows = 1206,
     .iBoth = 1227, .iContract = 1219, .iAdd1 = 1220, .iAdd2 = 1221,
     .noticeNone = 1211, .noticeContract = 1213, .noticeAddress = 1215, .noticeNet = 1217,
    },
    {  // TEL3
     .selfAddress = 1229,
     .transferOff = 1233, .transferOn = 1231, .transferAddress = 1235,
     .talkyForward = 1237, .talkyOrigin = 1239,
     .globalNo = 1242, .globalYes = 1240, .noSubaddressNo = 1245, .noSubaddressYes = 1243,
     .voice = 1247, .audio = 1249, .discNo = 1614, .discYes = 1615,
     .displayNone = 1254, .displayNumber = 1256, .displayCallWaiting = 1258,
     .ring1 = 1268, .ring2 = 1270, .ring3 = 1271,
     .waitingOff = 1288, .waitingNtt = 1291, .waitingPseudo = 1293,
     .dialTime = 1251, .dialArrows = 1253,
     .iBoth = 1273, .iContract = 1257, .iAdd1 = 1259, .iAdd2 = 1261,
     .noticeNone = 1260, .noticeContract = 1262, .noticeAddress = 1264, .noticeNet = 1266,
    },
};

const QString kTitles[kAnalogPortCount] = {
    QStringLiteral("ＴＥＬ１ポート設定"), QStringLiteral("ＴＥＬ２ポート設定"),
    QStringLiteral("ＴＥＬ３ポート設定")};

constexpr int kHelpContext[kAnalogPortCount] = {2, 3, 4};
// Typing limits: the number boxes, and the dial-time box.
constexpr int kNumberLimit[kAnalogPortCount] = {53, 51, 51};
constexpr int kDialTimeLimit[kAnalogPortCount] = {2, 51, 51};

constexpr int kDialTimeMin = 3;
constexpr int kDialTimeMax = 15;

NumberEdit* NumberBox(QWidget* parent, int id, int limit, int minimumChars) {
  auto* edit = new NumberEdit(parent);
  edit->setObjectName(QString::number(id));
  edit->SetTypingLimit(limit);
  edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * minimumChars);
  return edit;
}

QLabel* Note(const QString& text, QWidget* parent) {
  auto* note = new QLabel(text, parent);
  note->setWordWrap(true);
  note->setEnabled(false);  // drawn in the muted colour of a remark
  return note;
}

}  // namespace

TelPortForm::TelPortForm(QWidget* parent, Session& session, AnalogCategory& analog, int port)
    : SettingsForm(parent, kTitles[port], session.messages, session.help, kHelpContext[port]),
      session_(session),
      analog_(analog),
      port_(port) {
  Build();
  Fill(analog_.working.ports[port_]);
  FinishLayout();
}

void TelPortForm::Build() {
  const TelPortIds& id = kIds[port_];
  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  columns->addLayout(left, 1);
  columns->addLayout(right, 1);
  Body()->addLayout(columns);

  // ---- left column: numbers, forwarding, the two-way choices, dial time
  auto* numbers = new QGroupBox(QStringLiteral("番号登録"), this);
  auto* numbersGrid = new QGridLayout(numbers);
  auto* selfLabel = new QLabel(QStringLiteral("自己アドレス"), numbers);
  selfAddress_ = NumberBox(numbers, id.selfAddress, kNumberLimit[port_], 24);
  selfLabel->setBuddy(selfAddress_);
  numbersGrid->addWidget(selfLabel, 0, 0);
  numbersGrid->addWidget(selfAddress_, 0, 1);
  numbersGrid->addWidget(
      Note(QStringLiteral("注意）　サブアドレスは「*」で区切ってください。"), numbers), 1, 0, 1, 2);
  left->addWidget(numbers);

  auto* forwarding = new QGroupBox(QStringLiteral("着信転送"), this);
  auto* forwardingGrid = new QGridLayout(forwarding);
  auto* transferRow = new QHBoxLayout;
  AddRadios(forwarding, transferRow, arriveTransfer_,
            {{QStringLiteral("利用しない"), id.transferOff},
             {QStringLiteral("利用する"), id.transferOn}});
  auto* transferLabel = new QLabel(QStringLiteral("着信転送先電話番号"), forwarding);
  transferAddress_ = NumberBox(forwarding, id.transferAddress, kNumberLimit[port_], 24);
  transferLabel->setBuddy(transferAddress_);
  talkyForward_ = new QCheckBox(QStringLiteral("転送トーキ"), forwarding);
  talkyForward_->setObjectName(QString::number(id.talkyForward));
  talkyOrigin_ = new QCheckBox(QStringLiteral("転送元トーキ"), forwarding);
  talkyOrigin_->setObjectName(QString::number(id.talkyOrigin));
  auto* talkyRow = new QHBoxLayout;
  talkyRow->addWidget(talkyForward_);
  talkyRow->addWidget(talkyOrigin_);
  talkyRow->addStretch(1);
  forwardingGrid->addLayout(transferRow, 0, 0, 1, 2);
  forwardingGrid->addWidget(transferLabel, 1, 0);
  forwardingGrid->addWidget(transferAddress_, 1, 1);
  forwardingGrid->addLayout(talkyRow, 2, 1);
  left->addWidget(forwarding);
  for (QCheckBox* box : {talkyForward_, talkyOrigin_}) {
    connect(box, &QCheckBox::clicked, this, [this] { talkyTouched_ = true; });
  }

  auto* pairs = new QGridLayout;
  globalArrive_ = new ChoiceBox(QStringLiteral("グローバル着信"),
                                {{QStringLiteral("着信しない"), id.globalNo},
                                 {QStringLiteral("着信する"), id.globalYes}},
                                this);
  noSubaddress_ = new ChoiceBox(QStringLiteral("サブアドレスなし着信"),
                                {{QStringLiteral("着信しない"), id.noSubaddressNo},
                                 {QStringLiteral("着信する"), id.noSubaddressYes}},
                                this);
  portMode_ = new ChoiceBox(QStringLiteral("アナログポート"),
                            {{QStringLiteral("音声"), id.voice},
                             {QStringLiteral("3.1KHｚｵｰﾃﾞｨｵ"), id.audio}},
                            this);
  discSignal_ = new ChoiceBox(QStringLiteral("切断信号"),
                              {{QStringLiteral("送出しない"), id.discNo},
                               {QStringLiteral("送出する"), id.discYes}},
                              this);
  pairs->addWidget(globalArrive_, 0, 0);
  pairs->addWidget(noSubaddress_, 0, 1);
  pairs->addWidget(portMode_, 1, 0);
  pairs->addWidget(discSignal_, 1, 1);
  left->addLayout(pairs);

  auto* dial = new QGroupBox(QStringLiteral("ダイヤル発信時間"), this);
  auto* dialRow = new QHBoxLayout(dial);
  dialTime_ = NumberBox(dial, id.dialTime, kDialTimeLimit[port_], 4);
  dialTime_->setMaximumWidth(dialTime_->minimumWidth() + 12);
  dialTime_->setAlignment(Qt::AlignRight);
  dialArrows_ = new StepArrows(dial->title(), dial);
  dialArrows_->setObjectName(QString::number(id.dialArrows));
  dialArrows_->Drive(dialTime_, 2, kDialTimeMin, kDialTimeMax);
  dialRow->addWidget(dialTime_);
  dialRow->addWidget(dialArrows_);
  dialRow->addWidget(new QLabel(QStringLiteral("秒"), dial));
  dialRow->addStretch(1);
  left->addWidget(dial);
  left->addStretch(1);

  // ---- right column: caller display, ring, call waiting, i-number, notice
  numberDisplay_ = new ChoiceBox(
      QStringLiteral("ナンバー・ディスプレイ／キャッチホン・ディスプレイ"),
      {{QStringLiteral("対応機器を使用しない"), id.displayNone},
       {QStringLiteral("ナンバー・ディスプレイ対応機器を使用する"), id.displayNumber},
       {QStringLiteral("キャッチホン・ディスプレイ対応機器を使用する"), id.displayCallWaiting}},
      this);
  if (port_ != kAnalogTel3) {
    numberDisplay_->layout()->addWidget(
        Note(QStringLiteral("注意）　TEL1，TEL2は同時に使用できません。"), numberDisplay_));
  }
  right->addWidget(numberDisplay_);

  auto* rings = new QHBoxLayout;
  ringSound_ = new ChoiceBox(QStringLiteral("内線呼出音"),
                             {{QStringLiteral("リーン・リーン"), id.ring1},
                              {QStringLiteral("リーーン・リーーン"), id.ring2},
                              {QStringLiteral("リーンリン・リーンリン"), id.ring3}},
                             this);
  callwaiting_ = new ChoiceBox(QStringLiteral("コールウェイティング"),
                               {{QStringLiteral("使用しない"), id.waitingOff},
                                {QStringLiteral("NTTコールウェイティング"), id.waitingNtt},
                                {QStringLiteral("擬似コールウェイティング"), id.waitingPseudo}},
                               this);
  rings->addWidget(ringSound_);
  rings->addWidget(callwaiting_);
  right->addLayout(rings);

  auto* numbering = new QHBoxLayout;
  iNumber_ = new ChoiceBox(
      QStringLiteral("ｉ・ナンバー"),
      {{QStringLiteral("どちらでも着信する／\n契約者回線番号で発信する"), id.iBoth},
       {QStringLiteral("契約者回線番号で発着信する"), id.iContract},
       {QStringLiteral("追加番号1で発着信する"), id.iAdd1},
       {QStringLiteral("追加番号2で発着信する"), id.iAdd2}},
      this);
  noticeNumber_ = new ChoiceBox(QStringLiteral("発信者番号通知"),
                                {{QStringLiteral("通知しない"), id.noticeNone},
                                 {QStringLiteral("契約者回線番号を通知する"), id.noticeContract},
                                 {QStringLiteral("自己アドレスを通知する"), id.noticeAddress},
                                 {QStringLiteral("網契約に従う"), id.noticeNet}},
                                this);
  numbering->addWidget(iNumber_);
  numbering->addWidget(noticeNumber_);
  right->addLayout(numbering);
  right->addStretch(1);
}

void TelPortForm::Fill(const AnalogPort& values) {
  selfAddress_->setText(FromDevice(values.self_address));
  transferAddress_->setText(FromDevice(values.transfer_address));
  dialTime_->setText(QString::number(values.dial_time));
  arriveTransfer_.SetValue(values.arrive_transfer);
  globalArrive_->Show(values.global_arrive);
  noSubaddress_->Show(values.no_subaddress);
  portMode_->Show(values.port_mode);
  discSignal_->Show(values.disc_signal);
  ringSound_->Show(values.ring_sound);
  callwaiting_->Show(values.callwaiting);
  iNumber_->Show(values.i_number);
  noticeNumber_->Show(values.notice_number);
  numberDisplay_->Show(values.number_display);

  talkyShown_ = values.talky >= 0 && values.talky <= 3;
  talkyForward_->setChecked(talkyShown_ && (values.talky & 2) != 0);
  talkyOrigin_->setChecked(talkyShown_ && (values.talky & 1) != 0);

  // TEL1 and TEL2 cannot both use caller-display equipment: while the other
  // port uses it, this one shows "none" and offers nothing else.
  if (port_ != kAnalogTel3) {
    const int other = port_ == kAnalogTel1 ? kAnalogTel2 : kAnalogTel1;
    if (analog_.working.ports[other].number_display != 0) {
      numberDisplay_->Show(0);
      numberDisplay_->Button(1)->setEnabled(false);
      numberDisplay_->Button(2)->setEnabled(false);
    }
  }
}

bool TelPortForm::Confirm() {
  // Every check first, in the form's order; nothing is stored unless all pass.
  const std::string selfAddress = ToDevice(selfAddress_->text());
  if (CheckPhoneNumber(selfAddress) != 0) {
    ShowCheckMessage(QStringLiteral("自己アドレスの入力に間違いがあります。"));
    return false;
  }
  const std::string transferAddress = ToDevice(transferAddress_->text());
  if (CheckPhoneNumber(transferAddress) != 0) {
    ShowCheckMessage(QStringLiteral("転送先電話番号の入力に間違いがあります。"));
    return false;
  }
  const std::string dialTime = ToDevice(dialTime_->text());
  if (CheckNumberRange(dialTime, kDialTimeMin, kDialTimeMax) != 0) {
    ShowCheckMessage(QStringLiteral("ダイヤル発信時間の入力に間違いがあります。"));
    return false;
  }

  AnalogSettings edited = analog_.working;
  AnalogPort& port = edited.ports[port_];
  port.self_address = selfAddress;
  port.transfer_address = transferAddress;
  StoreChoice(arriveTransfer_, port.arrive_transfer);
  if (talkyShown_ || talkyTouched_) {
    port.talky = (talkyForward_->isChecked() ? 2 : 0) + (talkyOrigin_->isChecked() ? 1 : 0);
  }
  noticeNumber_->StoreInto(port.notice_number);
  globalArrive_->StoreInto(port.global_arrive);
  noSubaddress_->StoreInto(port.no_subaddress);
  portMode_->StoreInto(port.port_mode);
  numberDisplay_->StoreInto(port.number_display);
  iNumber_->StoreInto(port.i_number);
  callwaiting_->StoreInto(port.callwaiting);
  ringSound_->StoreInto(port.ring_sound);
  discSignal_->StoreInto(port.disc_signal);
  port.dial_time = static_cast<int>(ParseLeadingNumber(dialTime, kDialTimeMin, kDialTimeMax));
  analog_.Commit(std::move(edited), session_.state);
  return true;
}

}  // namespace setutily
