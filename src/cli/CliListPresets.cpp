#include "CliCommands.h"
#include "CliOutput.h"

#include "settings/Presets.h"

namespace plenvoy::cli {

int listPresets(const PresetStore &presets) {
    for (const QString &name : presets.names())
        if (const std::optional<Preset> preset = presets.preset(name))
            printLine(name + QLatin1Char('\t') + presetSummary(*preset));
    return kExitSuccess;
}

} // namespace plenvoy::cli
