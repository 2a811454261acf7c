// The help viewer: a small window that shows one topic of MORIVEX-9.hlp,
// the first one found in a list of folders (see HelpFolders). It belongs to the window that asked for help
// (so it stays usable beside a modal form and closes with it); a missing
// file or topic is reported through the message interface.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QStringList>

#include "forms/help.h"

class QTextBrowser;

namespace setutily {

class Messages;

class HelpTopicWindow : public QDialog {
  Q_OBJECT
 public:
  explicit HelpTopicWindow(QWidget* owner);
  void ShowTopic(int context, const QString& title, const QString& html);
  int Context() const { return context_; }
  QString Text() const;

 private:
  QTextBrowser* browser_;
  int context_ = 0;
};

class HelpWindow final : public HelpViewer {
 public:
  HelpWindow(QStringList folders, Messages& messages);
  ~HelpWindow() override;

  void Show(QWidget* parent, int context) override;

  // The window shown last, while it is open.
  HelpTopicWindow* Window() const { return window_; }

 private:
  QStringList folders_;
  Messages& messages_;
  QPointer<HelpTopicWindow> window_;
};

}  // namespace setutily
