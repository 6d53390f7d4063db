#include "Samples.h"

#include "AppTexts.h"
#include "core/LocationTags.h"
#include "core/PathHelpers.h"
#include "core/Translation.h"
#include "core/Trap.h"
#include "core/WindowPort.h"
#include "filelist/FileList.h"
#include "filelist/FolderListing.h"

namespace plenvoy {

namespace {

/// The one step of loading the samples: a failure leaves the rest of it undone.
constexpr qint32 kLineAppendSamples = 100;

} // namespace

bool ListHasPath(const FileList &list, const QString &path) {
    return list.entries().contains(path, Qt::CaseSensitive);
}

void appendSampleFiles(FileList &list, WindowPort &ui, const QString &programFolder) {
    const QChar separator = platformSeparator();
    const QString samplesFolder = programFolder + separator + kSamplesFolderName;
    const FolderNames names = ListFolderFiles(samplesFolder, QStringLiteral("*.*"));
    for (int position = 1; position <= names.upperBound(); ++position) {
        const QString path = samplesFolder + separator + names.at(position);
        // A sample that vanished since the listing is passed over quietly.
        if (PathExists(path) && !ListHasPath(list, path))
            list.append(path);
    }
    if (ui.askYesNo(shownText("MainWindow", kOpenSamplesQuestion)))
        ui.openFolder(samplesFolder + separator);
}

void loadSampleFiles(FileList &list, WindowPort &ui, const QString &programFolder) {
    Trap trap(kTagLoadSamples, ui);
    trap.step(kLineAppendSamples, [&] { appendSampleFiles(list, ui, programFolder); });
}

} // namespace plenvoy
