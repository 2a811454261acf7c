// The help file and window, the main window's help and version commands.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/help_file.h"
#include "app/help_window.h"
#include "app/version_box.h"
#include "support/shell_rig.h"

namespace setutily {
namespace {

using testing::Find;
using testing::RecordingMessages;
using testing::ShellRig;

const QString kSample = QStringLiteral(
    "# comment @@topic 9 not a topic\n"
    "@@topic 1 メイン画面\r\n"
    "\r\n"
    "最初の段落です。\r\n"
    "続きの行 <b>タグではない</b>\r\n"
    "\r\n"
    "## 見出し\r\n"
    "・項目\r\n"
    "@@topic x broken\n"
    "@@topic 11 短縮番号\n"
    "短縮の説明\n"
    "@@topic 11 二つ目\n"
    "使われない\n");

TEST(HelpFile, FindsTopicsByContextNumber) {
  HelpTopic topic;
  ASSERT_TRUE(FindHelpTopic(kSample, 1, topic));
  EXPECT_EQ(topic.title, QStringLiteral("メイン画面"));
  EXPECT_EQ(topic.lines.front(), QStringLiteral("最初の段落です。"));
  // A malformed topic line is text of the topic before it.
  EXPECT_EQ(topic.lines.back(), QStringLiteral("@@topic x broken"));
  ASSERT_TRUE(FindHelpTopic(kSample, 11, topic));
  EXPECT_EQ(topic.title, QStringLiteral("短縮番号"));  // the first of two
  EXPECT_EQ(topic.lines, QStringList{QStringLiteral("短縮の説明")});
  EXPECT_FALSE(FindHelpTopic(kSample, 9, topic));
  EXPECT_FALSE(FindHelpTopic(QString(), 1, topic));

  ASSERT_TRUE(FindHelpTopic(kSample, 1, topic));
  const QString html = HelpTopicHtml(topic);
  EXPECT_TRUE(html.contains(QStringLiteral("&lt;b&gt;タグではない&lt;/b&gt;")));
  EXPECT_TRUE(html.contains(QStringLiteral("<h3>見出し</h3>")));
}

TEST(HelpFile, ShippedFileHasTheMainWindowTopic) {
  const QString path = QStringLiteral(SETUTILY_SOURCE_DIR "/resources/MORIVEX-9.hlp");
  HelpTopic topic;
  ASSERT_EQ(LoadHelpTopic(path, MainDialog::kHelpContext, topic), HelpLookup::kFound);
  const QString text = topic.lines.join(u'\n');
  for (const char16_t* word : {u"簡単設定", u"詳細設定", u"アナログ設定", u"デジタル設定",
                               u"着信制御設定", u"短縮番号設定", u"終了", u"初期化", u"日時設定",
                               u"接続ポート設定", u"デバック"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf16(word))) << QString::fromUtf16(word).toStdString();
  }
}

TEST(HelpWindow, ShowsTheTopicOrSaysWhatIsMissing) {
  QTemporaryDir dir;
  RecordingMessages messages;
  HelpWindow help({dir.path()}, messages);
  QWidget owner;
  help.Show(&owner, 1);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_TRUE(messages.shown[0].text.contains("MORIVEX-9.hlp"));
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::kError);
  EXPECT_EQ(help.Window(), nullptr);

  QFile file(dir.filePath("MORIVEX-9.hlp"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(kSample.toUtf8());
  file.close();
  help.Show(&owner, 5);
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_TRUE(messages.shown[1].text.contains("5"));

  help.Show(&owner, 1);
  ASSERT_NE(help.Window(), nullptr);
  EXPECT_TRUE(help.Window()->isVisible());
  EXPECT_EQ(help.Window()->Context(), 1);
  EXPECT_TRUE(help.Window()->windowTitle().contains(QStringLiteral("メイン画面")));
  EXPECT_TRUE(help.Window()->Text().contains(QStringLiteral("最初の段落です。")));
  HelpTopicWindow* first = help.Window();
  help.Show(&owner, 11);  // the same window shows the next topic
  EXPECT_EQ(help.Window(), first);
  EXPECT_TRUE(help.Window()->Text().contains(QStringLiteral("短縮の説明")));
  EXPECT_EQ(messages.shown.size(), 2u);
}

TEST(MainWindowHelp, MenuAndF1OpenContextOne) {
  ShellRig rig;
  ASSERT_TRUE(rig.Start());
  rig.window->show();
  Find<QAction>(rig.window.get(), 32774)->trigger();
  QTest::keyClick(rig.window.get(), Qt::Key_F1);
  EXPECT_EQ(rig.help.contexts, (std::vector<int>{1, 1}));
}

TEST(VersionBox, ShowsTheIdentifiedFirmwareAndMacAddress) {
  ShellRig rig;
  ASSERT_TRUE(rig.Start());
  QString firmware, mac, title;
  QStringList texts;
  testing::OnNextModal<VersionBox>([&](VersionBox* box) {
    title = box->windowTitle();
    firmware = Find<QLabel>(box, 1588)->text();
    mac = Find<QLabel>(box, 1589)->text();
    for (auto* label : box->findChildren<QLabel*>()) texts << label->text();
    Find<QPushButton>(box, 1)->click();
  });
  Find<QAction>(rig.window.get(), 32773)->trigger();
  EXPECT_EQ(title, QStringLiteral("MORIVEX-9のﾊﾞｰｼﾞｮﾝ情報"));
  EXPECT_EQ(firmware, "Version 1.00");
  EXPECT_EQ(mac, "00:80:6D:12:34:56");
  EXPECT_TRUE(texts.contains("Version 1.01"));
  EXPECT_TRUE(texts.contains(QStringLiteral("ＭＡＣアドレス：")));

  VersionBox empty("", "");  // network mode: the device reports neither
  EXPECT_EQ(Find<QLabel>(&empty, 1588)->text(), QStringLiteral("—"));
  EXPECT_EQ(Find<QLabel>(&empty, 1589)->text(), QStringLiteral("—"));
  // Screen readers hear what each value is.
  EXPECT_EQ(Find<QLabel>(&empty, 1588)->accessibleName(), QStringLiteral("ファームウェアのバージョン"));
  EXPECT_EQ(Find<QLabel>(&empty, 1589)->accessibleName(), QStringLiteral("ＭＡＣアドレス"));
  VersionBox longer(QString(40, u'9'), QString(40, u'0'));
  EXPECT_EQ(Find<QLabel>(&longer, 1588)->text().size(), 20);
  EXPECT_EQ(Find<QLabel>(&longer, 1589)->text().size(), 30);
}

}  // namespace
}  // namespace setutily
