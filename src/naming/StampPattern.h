#pragma once

#include <QDate>
#include <QString>

namespace plenvoy {

class RegionalForms;

/// The most bytes (UTF-8) that a stamp written from a pattern may take.
constexpr int kLongestPatternStamp = 64;

/// Why a stamp pattern cannot be used; None for a pattern that can.
enum class PatternFault {
    None,
    SlashOrNul,       ///< "/" or a NUL: no name can hold either
    RefusedCharacter, ///< one of \ : * ? " < > | or a control character
    UnknownToken,     ///< "%" followed by a letter it does not know, or at the end
    TooLong,          ///< the stamp could pass kLongestPatternStamp bytes
    EmptyStamp        ///< the stamp could be empty
};

/// A pattern's verdict: the fault, the token or character at fault, and the most bytes its
/// stamp can take in the locale's names.
struct PatternCheck {
    PatternFault fault = PatternFault::None;
    QString culprit;
    int longestBytes = 0;

    bool isValid() const { return fault == PatternFault::None; }
};

/// Checks a pattern as `date +FORMAT` writes one: %Y %y %m %d %e %H %I %M %S %p %b %B %a %A
/// %j %V %G %u and %%, every other character standing as itself. The length is judged with
/// the longest month and day names and AM/PM texts of the forms' locale.
PatternCheck checkStampPattern(const QString &pattern, const RegionalForms &forms);

/// The reason of a refused pattern in one line, in English (empty for a valid one).
QString patternFaultText(const PatternCheck &check);

/// The stamp that the pattern writes for a local date and time of day: numbers in ASCII
/// digits, names in the forms' locale. A token the pattern does not know stands as itself.
QString patternStamp(const QString &pattern, const QDate &date, int secondsOfDay,
                     const RegionalForms &forms);

} // namespace plenvoy
