#pragma once

#include "SettingsKeys.h"
#include "naming/RunChoices.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace plenvoy {

class SettingsStore;

/// The longest preset name, in characters.
constexpr int kLongestPresetName = 64;

/// A whole setup saved under a name: the rename option, n, the stamp choices and the output
/// folder. What a preset does not hold is left as it is when the preset is used.
struct Preset {
    /// The option's text as the engine names it; empty when none was chosen.
    QString option;
    std::optional<qint16> nthValue;
    RunChoices style;
    /// Empty when the preset holds no output folder.
    QString outputFolder;
};

/// Why a name cannot name a preset; nullopt when it can: 1 to 64 characters, neither "/"
/// nor "\", nor a control character (names are listed one a line).
enum class PresetNameFault { Empty, TooLong, Separator, ControlCharacter };
std::optional<PresetNameFault> presetNameFault(const QString &name);

/// The preset as the settings file holds it: a small JSON object, the output folder as a
/// run record writes a path (a string, or {"b64": "..."} when it is not UTF-8).
QByteArray presetJson(const Preset &preset);
/// The preset a JSON object describes; nullopt when any part of it cannot be read.
std::optional<Preset> presetFromJson(const QByteArray &json);
/// One line that tells what the preset holds, for lists.
QString presetSummary(const Preset &preset);

/// The presets kept in the window's settings file. Written only by save, rename and remove.
class PresetStore final {
public:
    explicit PresetStore(SettingsStore &settings);

    /// The names of the presets that can be read, sorted.
    QStringList names() const;
    std::optional<Preset> preset(const QString &name) const;
    /// Stores the preset under the name, replacing one of that name; false when the name
    /// cannot name a preset or the file could not be written.
    bool save(const QString &name, const Preset &preset);
    /// False when there is no such preset, the new name is taken or cannot name a preset, or
    /// the file could not be written.
    bool rename(const QString &name, const QString &newName);
    bool remove(const QString &name);

private:
    SettingsStore &m_settings;
};

} // namespace plenvoy
