#pragma once

#include "run/StartChanging.h"

#include <QString>
#include <QStringList>

namespace plenvoy {

/// The run's inputs where no window holds them (the command line, tests, benchmarks): a
/// list, an output folder and an option text. The fields are open so that a caller may
/// change them between the run's reads, as a user may change the window's boxes mid-run.
class FixedRunInputs final : public RunInputs {
public:
    FixedRunInputs() = default;
    FixedRunInputs(QStringList listed, QString folder, QString optionText);

    int fileCount() const override;
    /// The entry at a 1-based position; raises SubscriptOutOfRange outside 1..count, as the
    /// window's list does.
    QString entryAt(int position) const override;
    QString outputFolderText() const override;
    QString optionText() const override;
    QString listedThrough(int position) const override;

    QStringList entries;
    QString outputFolder;
    QString option;
    /// The folder each entry was listed through, by 0-based index; missing ones are empty.
    QStringList through;
};

} // namespace plenvoy
