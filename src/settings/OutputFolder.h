#pragma once

#include <QString>

#include <functional>

namespace plenvoy {

class SettingsStore;
class WindowPort;

/// The browse button of the output folder: opens the folder dialog at "LastFolderDot",
/// stores the chosen folder there and puts it, with a closing "/", into the box through
/// setBoxText (whose change notification stores "Text1"). Cancel changes nothing. Trapped
/// with kTagBrowseOutput: a failing step is reported and the next one runs.
void browseOutputFolder(SettingsStore &settings, WindowPort &ui,
                        const std::function<void(const QString &)> &setBoxText);

} // namespace plenvoy
