#pragma once

#include <QString>
#include <QStringList>

namespace plenvoy {

/// The languages the window is translated into, as the translation files name them.
QStringList shippedLanguages();

/// Installs the window's translations and Qt's own (Yes, No, the file dialogs) for the first
/// of the user's languages that Plenvoy speaks; English, the C locale or a language it does
/// not speak leave every text as written. Returns the language chosen ("de", "pt_BR"), empty
/// for English. The languages are QLocale::uiLanguages()' entries ("de-DE", "de").
QString installTranslations(const QStringList &uiLanguages);
/// Installs the translations for the user's languages: LANGUAGE, then LC_ALL, LC_MESSAGES or
/// LANG, as QLocale::system() reads them.
QString installUserTranslations();
/// Removes what installTranslations installed: every text is English again.
void removeTranslations();

/// A rename option's text as the drop-down shows it; the option keeps its English text.
QString shownOptionText(const QString &english);

} // namespace plenvoy
