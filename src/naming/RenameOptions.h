#pragma once

#include <QString>
#include <QStringList>

namespace plenvoy {

enum class TimeSource { Clock, Creation, LastWrite, LastAccess };
enum class StampKind { Time, Date, TimeAndDate };
enum class InsertPosition { Beginning, End, AfterNth };

/// One rename option, identified everywhere by its exact display text.
struct RenameOption {
    TimeSource source;
    StampKind kind;
    InsertPosition position;
    QString text;
};

constexpr int kRenameOptionCount = 36;

/// The 36 options in the drop-down's order.
const QList<RenameOption> &renameOptions();
/// The 36 display texts in index order.
QStringList renameOptionTexts();
/// The index 0..35 of the option with exactly this display text, or -1.
int renameOptionIndex(const QString &text);
/// True when an option with this text needs the number n: the text has "nth character".
bool needsNthValue(const QString &optionText);

} // namespace plenvoy
