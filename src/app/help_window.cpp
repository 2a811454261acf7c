#include "app/help_window.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/file_locations.h"
#include "app/help_file.h"
#include "forms/messages.h"

namespace setutily {

HelpTopicWindow::HelpTopicWindow(QWidget* owner) : QDialog(owner) {
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpText"));
  browser_->setOpenLinks(false);
  layout->addWidget(browser_);
  auto* buttons = new QDialogButtonBox(this);
  auto* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
  close->setObjectName(QStringLiteral("2"));
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  resize(560, 520);
}

void HelpTopicWindow::ShowTopic(int context, const QString& title, const QString& html) {
  context_ = context;
  setWindowTitle(QStringLiteral("ヘルプ - %1").arg(title));
  browser_->setAccessibleName(title);
  browser_->setHtml(html);
}

QString HelpTopicWindow::Text() const { return browser_->toPlainText(); }

namespace {

// Puts the help window beside the window it explains, right of it when the
// screen has room there, else left of it, else over its far side: the
// window and its help are seen together.
void PlaceBeside(QWidget& help, const QWidget* owner) {
  if (owner == nullptr || !owner->isVisible()) return;
  const QScreen* screen = owner->screen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  const QRect frame = owner->frameGeometry();
  constexpr int kGap = 8;
  constexpr int kFrame = 40;  // room for the help window's own title bar and border
  QSize size = help.size().boundedTo(area.size() - QSize(kFrame, kFrame));
  help.resize(size);
  int x = frame.right() + kGap;
  if (x + size.width() + kFrame / 2 > area.right()) {
    x = frame.left() - kGap - size.width() - kFrame / 2;
    if (x < area.left()) x = area.right() - size.width() - kFrame / 2;
  }
  const int y = std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() - size.height() - kFrame));
  help.move(x, y);
}

}  // namespace

HelpWindow::HelpWindow(QStringList folders, Messages& messages)
    : folders_(std::move(folders)), messages_(messages) {}

HelpWindow::~HelpWindow() { delete window_; }

void HelpWindow::Show(QWidget* parent, int context) {
  HelpTopic topic;
  // Looked for on every request: a file put in place meanwhile counts.
  const QString path = FindHelpFile(folders_);
  switch (path.isEmpty() ? HelpLookup::kNoFile : LoadHelpTopic(path, context, topic)) {
    case HelpLookup::kNoFile:
      messages_.Show(parent,
                     QStringLiteral("ヘルプファイル %1 を開けません。\r\n"
                                    "設定ユーティリティを起動したフォルダーに置いてください。")
                         .arg(QString::fromLatin1(kHelpFileName)),
                     MessageIcon::kError);
      return;
    case HelpLookup::kNoTopic:
      messages_.Show(parent,
                     QStringLiteral("ヘルプファイル %1 にこの画面の説明（番号 %2）がありません。")
                         .arg(QString::fromLatin1(kHelpFileName))
                         .arg(context),
                     MessageIcon::kError);
      return;
    case HelpLookup::kFound:
      break;
  }
  // One help window at a time, owned by the window that asked for it.
  QWidget* owner = parent != nullptr ? parent->window() : nullptr;
  if (window_ != nullptr && window_->parentWidget() != owner) delete window_;
  const bool placed = window_ != nullptr;
  if (window_ == nullptr) window_ = new HelpTopicWindow(owner);
  window_->ShowTopic(context, topic.title, HelpTopicHtml(topic));
  if (!placed) PlaceBeside(*window_, owner);
  window_->show();
  window_->raise();
  window_->activateWindow();
}

}  // namespace setutily
