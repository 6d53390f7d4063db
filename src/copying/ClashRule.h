#pragma once

#include <QString>

#include <functional>

namespace plenvoy {

/// "Base (n).ext": the number goes before the name's last dot; a name without a dot, or
/// whose only dot begins it (".profile"), gets it at the end.
QString numberedName(const QString &path, int number);

/// "Base (n).ext" for the numbers from `from` on until `taken` answers false for one; nullopt
/// when a numbered name passes nameMax bytes or every number is taken.
struct NumberedName {
    QString name;
    int number = 0;
    bool tooLong = false;
};
NumberedName firstFreeNumberedName(const QString &name, int from, qsizetype nameMax,
                                   const std::function<bool(const QString &)> &taken);

} // namespace plenvoy
