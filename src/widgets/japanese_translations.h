#pragma once

class QCoreApplication;

namespace kerbina {

// Qt's own texts (file dialogs, standard buttons, context menus of text fields) in Japanese, and
// Japanese as the default locale. Returns false when the translation files are not installed; the
// program then runs with Qt's English texts.
bool installJapaneseTranslations(QCoreApplication& application);

} // namespace kerbina
