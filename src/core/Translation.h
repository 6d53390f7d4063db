#pragma once

#include <QCoreApplication>
#include <QLocale>
#include <QString>

namespace plenvoy {

/// The text in the window's language: its translation in the context when one is installed,
/// otherwise the text itself. Texts are kept and stored in English (settings, run records,
/// the command line's output) and put into the user's language only where they are shown.
/// Every English text passed here is marked with QT_TRANSLATE_NOOP in the same context.
inline QString shownText(const char *context, const QString &english) {
    return QCoreApplication::translate(context, english.toUtf8().constData());
}

/// A text with a count for %1, in the window's language. The English text groups the count's
/// digits as English does ("1,234"); a translation groups them as this computer does.
inline QString shownCount(const char *context, const char *english, qint64 count) {
    const QString shown = QCoreApplication::translate(context, english);
    const QLocale locale = shown == QLatin1String(english) ? QLocale(QLocale::English) : QLocale();
    return shown.arg(locale.toString(count));
}

} // namespace plenvoy
