#pragma once
// The program speaks German; Qt's own texts (standard buttons, file dialogs) should as well.

// Loads Qt's German translation "qtbase_de" from Qt's translations folder and installs it in
// the running application. False when the translation is not installed (Debian package
// qt6-translations-l10n); the program then shows Qt's texts in English.
bool InstallGermanQtTranslations();
