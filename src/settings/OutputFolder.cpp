#include "OutputFolder.h"

#include "AppTexts.h"
#include "SettingsKeys.h"
#include "SettingsStore.h"
#include "core/LocationTags.h"
#include "core/Translation.h"
#include "core/Trap.h"
#include "filelist/BrowseForFolder.h"

namespace plenvoy {

namespace {

// The browse button's steps, as its error reports number them.
constexpr qint32 kLineChooseFolder = 100;
constexpr qint32 kLineCancelledTest = 102;
/// Storing the folder and testing its closing "/" share one step number.
constexpr qint32 kLineStoreFolder = 104;
constexpr qint32 kLineAddSeparator = 106;
constexpr qint32 kLineSetAsChosen = 108;

} // namespace

void browseOutputFolder(SettingsStore &settings, WindowPort &ui,
                        const std::function<void(const QString &)> &setBoxText) {
    Trap trap(kTagBrowseOutput, ui);
    QString chosen;
    trap.step(kLineChooseFolder, [&] {
        const QString start = settings.readSetting(kKeyLastOutputFolder, QString());
        chosen = BrowseForFolder(ui, shownText("FileList", kPromptSelectFolder), start);
    });
    if (trap.test(kLineCancelledTest, [&] { return chosen.isEmpty(); }))
        return;
    trap.step(kLineStoreFolder, [&] { settings.writeSetting(kKeyLastOutputFolder, chosen); });
    if (trap.test(kLineStoreFolder, [&] { return !chosen.endsWith(QLatin1Char('/')); }))
        trap.step(kLineAddSeparator, [&] { setBoxText(chosen + QLatin1Char('/')); });
    else
        trap.step(kLineSetAsChosen, [&] { setBoxText(chosen); });
}

} // namespace plenvoy
