#pragma once

#include "FileMoment.h"
#include "RunChoices.h"

#include <QDateTime>
#include <QString>

namespace plenvoy {

class RegionalForms;

/// Clock provider: the current local date and time (whole seconds are used).
class ClockProvider {
public:
    virtual ~ClockProvider();
    virtual QDateTime now() const = 0;
};

/// The system clock in local time.
const ClockProvider &systemClock();

/// A clock that always reads the same local date and time (a dry run "at" a given moment).
class FixedClock final : public ClockProvider {
public:
    explicit FixedClock(QDateTime moment)
        : m_moment(std::move(moment)) {}
    QDateTime now() const override { return m_moment; }

private:
    QDateTime m_moment;
};

/// The path that a source file gets under a rename option: the stamp of the option's time
/// source and kind is put into the base name at the option's position, the new base is
/// cleaned of characters that names cannot hold, and folder, new base and extension are
/// joined again; dots and blanks that would end the new name are left out. Returns the
/// source path unchanged for an empty option text, for an n
/// greater than the base length and for an empty new base; the empty text for an option
/// text that matches none. Raises InvalidProcedureCall for a negative n of an after-nth
/// option and SubscriptOutOfRange for a path with an empty name (empty or ending in "/").
/// The clock is read, and one file time asked, only when the option needs them.
QString ComposeNewName(const QString &sourcePath, const QString &optionText, qint16 nthValue);
QString ComposeNewName(const QString &sourcePath, const QString &optionText, qint16 nthValue,
                       const ClockProvider &clock, const FileTimeProvider &times);
QString ComposeNewName(const QString &sourcePath, const QString &optionText, qint16 nthValue,
                       const ClockProvider &clock, const FileTimeProvider &times,
                       const RegionalForms &forms);
/// The same with the stamp written in the given form (Regional is the overloads above).
QString ComposeNewName(const QString &sourcePath, const QString &optionText, qint16 nthValue,
                       const ClockProvider &clock, const FileTimeProvider &times,
                       const RegionalForms &forms, StampForm form);
/// The same with the stamp written in the style's form; the Custom form writes the style's
/// pattern as the whole stamp, whatever the option's kind.
QString ComposeNewName(const QString &sourcePath, const QString &optionText, qint16 nthValue,
                       const ClockProvider &clock, const FileTimeProvider &times,
                       const RegionalForms &forms, const RunChoices &style);

} // namespace plenvoy
