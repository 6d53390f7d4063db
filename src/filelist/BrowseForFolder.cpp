#include "BrowseForFolder.h"

#include "core/PathText.h"
#include "core/WindowPort.h"

namespace plenvoy {

QString BrowseForFolder(WindowPort &ui, const QString &prompt, const QString &start) {
    const QString chosen = ui.chooseFolder(prompt, start);
    if (chosen.isEmpty())
        return QString();
    return withoutTrailingSeparators(chosen);
}

} // namespace plenvoy
