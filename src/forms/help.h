// Opens the help file at a context number (1 = main window; each form has
// its own number).
#pragma once

class QWidget;

namespace setutily {

class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  virtual void Show(QWidget* parent, int context) = 0;
};

}  // namespace setutily
