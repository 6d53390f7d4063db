#include "NewNameOf.h"

#include "ComposeNewName.h"
#include "LayoutFolder.h"
#include "core/PathHelpers.h"

namespace plenvoy {

QString NewName::relativePath() const {
    return layoutPath(folder, FileNameOf(composed));
}

NewName NewNameOf(const ListedFile &file, const NamingRule &rule, const ClockProvider &clock,
                  const FileTimeProvider &files, const FileTimeProvider &taken,
                  const RegionalForms &forms) {
    const RunChoices &choices = rule.choices;
    const FileTimeProvider &stamped = choices.creation == CreationTime::Taken ? taken : files;
    NewName name;
    name.composed =
        ComposeNewName(file.path, rule.optionText, rule.nthValue, clock, stamped, forms, choices);
    if (choices.layout != OutputLayout::Flat)
        name.folder = layoutFolder(choices.layout, file.path, file.listedThrough, rule.optionText,
                                   clock, stamped);
    return name;
}

} // namespace plenvoy
