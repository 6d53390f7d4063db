#include "OutputFolder.h"

#include "AppTexts.h"
#include "SettingsStore.h"
#include "core/LocationTags.h"
#include "core/Trap.h"
#include "filelist/BrowseForFolder.h"

namespace plenvoy {

void browseOutputFolder(SettingsStore &settings, WindowPort &ui,
                        const std::function<void(const QString &)> &setBoxText) {
    Trap trap(kTagBrowseOutput, ui);
    QString chosen;
    trap.step(100, [&] {
        const QString start = settings.readSetting(kKeyLastOutputFolder, QString());
        chosen = BrowseForFolder(ui, kPromptSelectFolder, start);
    });
    if (trap.test(102, [&] { return chosen.isEmpty(); }))
        return;
    trap.step(104, [&] { settings.writeSetting(kKeyLastOutputFolder, chosen); });
    if (trap.test(104, [&] { return !chosen.endsWith(QLatin1Char('/')); }))
        trap.step(106, [&] { setBoxText(chosen + QLatin1Char('/')); });
    else
        trap.step(108, [&] { setBoxText(chosen); });
}

} // namespace plenvoy
