#pragma once

#include "RunChoices.h"

#include <QString>

namespace plenvoy {

class ClockProvider;
class FileTimeProvider;
class RegionalForms;

/// What every listed file's new name is made from: the option, n as converted (-1 for an
/// option without n) and the run's choices.
struct NamingRule {
    QString optionText;
    qint16 nthValue = -1;
    RunChoices choices;

    /// Whether names depend on the folder a file was listed through: only then is it asked.
    bool needsListedThrough() const { return choices.layout == OutputLayout::Tree; }
};

/// A listed file as naming sees it: its path and the folder it was listed through (empty
/// when it was listed on its own, or when the rule does not need it).
struct ListedFile {
    const QString &path;
    const QString &listedThrough;
};

/// A listed file's new name: the composed path, and the folder below the output folder that
/// the layout puts its copy into ("/" between its names; empty for the output folder itself).
struct NewName {
    QString composed;
    QString folder;

    /// The copy's path below the output folder: the layout folder and the composed name's
    /// last part.
    QString relativePath() const;
};

/// The one place a listed file's new name is made: the run, its plan (the dry run and the
/// "New Name" column) all ask it. `files` tells the file's own times; the moment a photo or
/// video was taken comes from `taken` when the choices stamp with it. Raises what composing
/// raises (a negative n of an after-nth option, a path with an empty name).
NewName NewNameOf(const ListedFile &file, const NamingRule &rule, const ClockProvider &clock,
                  const FileTimeProvider &files, const FileTimeProvider &taken,
                  const RegionalForms &forms);

} // namespace plenvoy
