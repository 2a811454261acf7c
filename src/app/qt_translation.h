// Qt's own texts in Japanese: the file dialogs, the right-click menu of the
// edits, the standard buttons. The translations come from the system's Qt
// (Debian: qt6-translations-l10n).
#pragma once

class QCoreApplication;

namespace setutily {

// Loads Qt's Japanese translation into app (which owns it) and makes
// Japanese the default locale. False when the translation is not installed:
// Qt's texts then stay English.
bool InstallQtJapanese(QCoreApplication& app);

}  // namespace setutily
