#include "app/connection.h"

#include "app/profile.h"

namespace setutily {

namespace {

const QString kPortSection = QStringLiteral("PORTSEL");
const QString kAddressSection = QStringLiteral("IPADDR");
const QString kOptionSection = QStringLiteral("OPTION");

}  // namespace

ConnectionSettings LoadConnectionSettings(const ProfileFile& profile) {
  ConnectionSettings settings;
  settings.networkMode = profile.ReadInt(kPortSection, QStringLiteral("PORT"), 0) != 0 ? 1 : 0;
  settings.portNumber = profile.ReadInt(kPortSection, QStringLiteral("COM"), 1);
  settings.address =
      profile.ReadString(kAddressSection, QStringLiteral("FIELD"), QString(), kAddressReadLimit);
  settings.loginPassword =
      profile.ReadString(kOptionSection, QStringLiteral("DATA1"), QString(), kPasswordReadLimit);
  settings.adminPassword =
      profile.ReadString(kOptionSection, QStringLiteral("DATA2"), QString(), kPasswordReadLimit);
  settings.devicePath = ComPortDevicePath(settings.portNumber, profile.ComPortOverrides());
  return settings;
}

bool SaveConnectionSettings(ProfileFile& profile, const ConnectionSettings& settings,
                            QString* error, const QMap<int, QString>& devices) {
  std::vector<ProfileFile::Entry> entries{
      {kPortSection, QStringLiteral("PORT"), QString::number(settings.networkMode)},
      {kPortSection, QStringLiteral("COM"), QString::number(settings.portNumber)},
      {kAddressSection, QStringLiteral("FIELD"), settings.address},
      {kOptionSection, QStringLiteral("DATA1"), settings.loginPassword},
      {kOptionSection, QStringLiteral("DATA2"), settings.adminPassword},
  };
  for (auto it = devices.constBegin(); it != devices.constEnd(); ++it) {
    entries.push_back({QStringLiteral("DEVICE"), QStringLiteral("COM%1").arg(it.key()), it.value()});
  }
  return profile.Write(entries, error);
}

bool DebugModeOn(const ProfileFile& profile) {
  return profile.ReadInt(QStringLiteral("MODE"), QStringLiteral("DEBUG"), 0) == 99;
}

QString PortOpenFailureMessage(int portNumber, const QString& devicePath,
                               SerialOpenFailure failure, qint64 holder) {
  QString reason;
  switch (failure) {
    case SerialOpenFailure::kNoDevice:
      reason = QStringLiteral("COM%1 に対応するデバイスがありません。").arg(portNumber);
      break;
    case SerialOpenFailure::kNotFound:
      reason = QStringLiteral("%1 が見つかりません。").arg(devicePath);
      break;
    case SerialOpenFailure::kBusy:
      reason = holder != 0 ? QStringLiteral("ポートは他のプログラムが使用中です（%1、プロセスID %2）。")
                                 .arg(devicePath)
                                 .arg(holder)
                           : QStringLiteral("ポートは他のプログラムが使用中です（%1）。").arg(devicePath);
      break;
    case SerialOpenFailure::kPermission:
      reason = QStringLiteral(
                   "%1 を開く権限がありません。dialout グループに参加し、ログインし直してください。")
                   .arg(devicePath);
      break;
    case SerialOpenFailure::kNone:
    case SerialOpenFailure::kOther:
      reason = QStringLiteral("%1 を開けませんでした。").arg(devicePath);
      break;
  }
  return QStringLiteral("指定したポートがオープンできません。\r\n") + reason;
}

QString NotConnectedMessage(const ConnectionSettings& settings) {
  QString where;
  if (settings.networkMode == 0) {
    where = QStringLiteral("COM%1（%2）から応答がありません。")
                .arg(settings.portNumber)
                .arg(settings.devicePath);
  } else if (settings.address.isEmpty()) {
    where = QStringLiteral("ＩＰアドレスが入力されていません。");
  } else {
    where = QStringLiteral("%1 に接続できませんでした。").arg(settings.address);
  }
  return QStringLiteral("機器が接続されていません。\r\n") + where;
}

QString LinkDescription(const ConnectionSettings& settings, const QString& devicePath) {
  if (settings.networkMode != 0) return QStringLiteral("ＨｏｍｅＰＮＡ: %1").arg(settings.address);
  return QStringLiteral("シリアル: COM%1 (%2)").arg(settings.portNumber).arg(devicePath);
}

}  // namespace setutily
