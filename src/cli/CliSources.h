#pragma once

// What the dry run and the run share: the clock of the request, and the list filled from
// its sources.

#include "CliArguments.h"

#include "naming/ComposeNewName.h"

#include <QList>
#include <QString>

#include <optional>

namespace plenvoy {
class FileList;
}

namespace plenvoy::cli {

class CliWindowPort;

/// The clock that current-time options read: the fixed --at moment, or the system's.
class RequestClock final {
public:
    explicit RequestClock(const CliRequest &request)
        : m_fixed(request.at.value_or(QDateTime()))
        , m_isFixed(request.at.has_value()) {}
    const ClockProvider &clock() const {
        return m_isFixed ? static_cast<const ClockProvider &>(m_fixed) : systemClock();
    }

private:
    FixedClock m_fixed;
    bool m_isFixed;
};

/// Fills the list from the request's sources in their order: a PATH as it is, a folder by
/// the rules of "Add All Files In Folder". A folder that does not exist adds nothing and
/// gets a warning. Returns the number of error reports shown while adding. With
/// seenRegular, one flag an entry: whether a folder's listing saw it as a regular file.
int addSources(FileList &list, const QList<CliSource> &sources, CliWindowPort &ui,
               QList<bool> *seenRegular = nullptr);

/// Prints the error reports that reach the window, naming the entry they concern, or else
/// the subject in hand (the folder being walked), and counts them.
void reportErrorsAbout(CliWindowPort &ui, const std::optional<QString> *subject, int &errors);

} // namespace plenvoy::cli
