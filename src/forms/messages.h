// Message boxes and OK/Cancel questions. Every message of the program goes
// through this interface, so tests can read what the user would read and
// answer the questions.
#pragma once

#include <QString>

class QWidget;

namespace setutily {

// The title of every message box.
inline constexpr char16_t kMessageTitle[] = u"MORIVEX-9設定ユーティリティ";

// Texts shown from more than one place.
inline constexpr char16_t kWriteFailedText[] = u"書込みに失敗しました。";
inline constexpr char16_t kNotConnectedText[] = u"機器が接続されていません。";

enum class MessageIcon { kNone, kError, kQuestion, kWarning, kInformation };

// The button a question starts on: Enter answers with it.
enum class DefaultAnswer { kOk, kCancel };

// What a screen reader says for the icon ("エラー" ...); empty for kNone.
QString IconName(MessageIcon icon);

class Messages {
 public:
  virtual ~Messages() = default;
  // A message with an OK button. Texts keep their "\r\n" line breaks here;
  // the box shows them as line breaks.
  virtual void Show(QWidget* parent, const QString& text, MessageIcon icon) = 0;
  // A question with "OK" and "キャンセル" and the question icon; true for
  // OK. Questions whose OK cannot be undone start on "キャンセル".
  virtual bool AskOkCancel(QWidget* parent, const QString& text,
                           DefaultAnswer start = DefaultAnswer::kOk) = 0;
};

// The real message boxes.
class MessageBoxes final : public Messages {
 public:
  void Show(QWidget* parent, const QString& text, MessageIcon icon) override;
  bool AskOkCancel(QWidget* parent, const QString& text,
                   DefaultAnswer start = DefaultAnswer::kOk) override;
};

}  // namespace setutily
