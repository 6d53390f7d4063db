#pragma once

#include <QCoreApplication>
#include <QString>

namespace plenvoy {

/// The text in the window's language: its translation in the context when one is installed,
/// otherwise the text itself. Texts are kept and stored in English (settings, run records,
/// the command line's output) and put into the user's language only where they are shown.
/// Every English text passed here is marked with QT_TRANSLATE_NOOP in the same context.
inline QString shownText(const char *context, const QString &english) {
    return QCoreApplication::translate(context, english.toUtf8().constData());
}

} // namespace plenvoy
