#pragma once

#include "StampStyle.h"

#include <QString>

namespace plenvoy {

/// Every choice of the user's that changes a new name, a verdict or what a run writes: the
/// run, its plan and the "New Name" column take them as one value. The defaults are the
/// options' own meaning.
struct RunChoices {
    StampForm form = StampForm::Regional;
    CreationTime creation = CreationTime::File;
    OutputLayout layout = OutputLayout::Flat;
    /// A file is not copied again into a folder that holds an earlier run's copy of it,
    /// unchanged.
    bool skipCopied = false;
    /// The pattern of the Custom form; unused by the others.
    QString pattern = QString();
    /// Seconds added to every moment taken from a photo's or video's metadata (a camera
    /// clock that was wrong); file times and the clock are never shifted.
    qint64 takenShift = 0;

    /// Compared as a whole: a choice added above joins the comparison below, and the
    /// field count in RunChoices.cpp fails the build until it does.
    bool operator==(const RunChoices &other) const {
        return form == other.form && creation == other.creation && layout == other.layout &&
               skipCopied == other.skipCopied && pattern == other.pattern &&
               takenShift == other.takenShift;
    }
    bool operator!=(const RunChoices &other) const { return !(*this == other); }
};

} // namespace plenvoy
