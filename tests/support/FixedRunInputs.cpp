#include "FixedRunInputs.h"

#include "core/Failure.h"

#include <utility>

namespace plenvoy {

FixedRunInputs::FixedRunInputs(QStringList listed, QString folder, QString optionText)
    : entries(std::move(listed))
    , outputFolder(std::move(folder))
    , option(std::move(optionText)) {}

int FixedRunInputs::fileCount() const {
    return int(entries.size());
}

QString FixedRunInputs::entryAt(int position) const {
    if (position < 1 || position > entries.size())
        throwFailure(ErrorNumber::SubscriptOutOfRange);
    return entries.at(position - 1);
}

QString FixedRunInputs::outputFolderText() const {
    return outputFolder;
}

QString FixedRunInputs::optionText() const {
    return option;
}

QString FixedRunInputs::listedThrough(int position) const {
    return through.value(position - 1);
}

} // namespace plenvoy
