#include "Presets.h"

#include "SettingsStore.h"
#include "naming/RenameOptions.h"
#include "records/RecordFormat.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace plenvoy {

namespace {

const QLatin1String kOption("option");
const QLatin1String kNth("n");
const QLatin1String kForm("form");
const QLatin1String kPattern("pattern");
const QLatin1String kCreation("creation");
const QLatin1String kShift("shift");
const QLatin1String kLayout("layout");
const QLatin1String kSkipCopied("skipCopied");
const QLatin1String kOutput("output");

QByteArray member(QLatin1String key, const QByteArray &json) {
    return '"' + QByteArray(key.data(), key.size()) + "\":" + json;
}

/// The word a choice is stored as, read back; false when the member is there and not one.
template <typename Choice>
bool readChoice(const QJsonObject &object, QLatin1String key,
                std::optional<Choice> (*named)(const QString &), Choice &choice) {
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return true;
    const std::optional<Choice> found = named(value.toString());
    if (found)
        choice = *found;
    return found.has_value();
}

} // namespace

std::optional<PresetNameFault> presetNameFault(const QString &name) {
    if (name.isEmpty())
        return PresetNameFault::Empty;
    if (name.toUcs4().size() > kLongestPresetName)
        return PresetNameFault::TooLong;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return PresetNameFault::Separator;
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() < 0xa0))
            return PresetNameFault::ControlCharacter;
    }
    return std::nullopt;
}

QByteArray presetJson(const Preset &preset) {
    const RunChoices &style = preset.style;
    QByteArrayList members;
    if (!preset.option.isEmpty())
        members << member(kOption, recordStringJson(preset.option));
    if (preset.nthValue)
        members << member(kNth, QByteArray::number(*preset.nthValue));
    members << member(kForm, recordStringJson(stampFormName(style.form)));
    if (!style.pattern.isEmpty())
        members << member(kPattern, recordStringJson(style.pattern));
    members << member(kCreation, recordStringJson(creationTimeName(style.creation)))
            << member(kShift, recordStringJson(takenShiftText(style.takenShift)))
            << member(kLayout, recordStringJson(outputLayoutName(style.layout)))
            << member(kSkipCopied, style.skipCopied ? "true" : "false");
    if (!preset.outputFolder.isEmpty())
        members << member(kOutput, recordPathJson(preset.outputFolder));
    return '{' + members.join(',') + '}';
}

std::optional<Preset> presetFromJson(const QByteArray &json) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    Preset preset;
    RunChoices &style = preset.style;
    const QJsonValue option = object.value(kOption);
    if (!option.isUndefined()) {
        if (!option.isString() || renameOptionIndex(option.toString()) < 0)
            return std::nullopt;
        preset.option = option.toString();
    }
    const QJsonValue nth = object.value(kNth);
    if (!nth.isUndefined()) {
        const double n = nth.toDouble(-1);
        if (!nth.isDouble() || n < 0 || n > 32767 || n != double(qint16(n)))
            return std::nullopt;
        preset.nthValue = qint16(n);
    }
    const QJsonValue pattern = object.value(kPattern);
    if (!pattern.isUndefined() && !pattern.isString())
        return std::nullopt;
    style.pattern = pattern.toString();
    const QJsonValue shift = object.value(kShift);
    if (!shift.isUndefined()) {
        const std::optional<qint64> seconds = takenShiftNamed(shift.toString());
        if (!seconds)
            return std::nullopt;
        style.takenShift = *seconds;
    }
    const QJsonValue skip = object.value(kSkipCopied);
    if (!skip.isUndefined() && !skip.isBool())
        return std::nullopt;
    style.skipCopied = skip.toBool();
    const QJsonValue output = object.value(kOutput);
    if (!output.isUndefined()) {
        const bool isBytes = output.isObject() && output[QLatin1String("b64")].isString();
        if (!output.isString() && !isBytes)
            return std::nullopt;
        preset.outputFolder = recordPathFrom(output);
    }
    if (!readChoice(object, kForm, stampFormNamed, style.form) ||
        !readChoice(object, kCreation, creationTimeNamed, style.creation) ||
        !readChoice(object, kLayout, outputLayoutNamed, style.layout))
        return std::nullopt;
    if (style.form == StampForm::Custom && style.pattern.isEmpty())
        return std::nullopt;
    return preset;
}

QString presetSummary(const Preset &preset) {
    QStringList parts;
    parts << (preset.option.isEmpty() ? QStringLiteral("no option")
                                      : QLatin1Char('"') + preset.option + QLatin1Char('"'));
    if (preset.nthValue)
        parts << QStringLiteral("n ") + QString::number(*preset.nthValue);
    const RunChoices &style = preset.style;
    parts << (style.form == StampForm::Custom ? QStringLiteral("pattern ") + style.pattern
                                              : stampFormName(style.form));
    parts << creationTimeName(style.creation);
    if (style.takenShift != 0)
        parts << QStringLiteral("shift ") + takenShiftText(style.takenShift);
    parts << outputLayoutName(style.layout);
    if (style.skipCopied)
        parts << QStringLiteral("skip copied");
    if (!preset.outputFolder.isEmpty())
        parts << QStringLiteral("out ") + preset.outputFolder;
    return parts.join(QStringLiteral(", "));
}

PresetStore::PresetStore(SettingsStore &settings)
    : m_settings(settings) {}

QStringList PresetStore::names() const {
    QStringList names;
    for (const QString &name : m_settings.keysIn(kPresetsSection))
        if (!presetNameFault(name) && preset(name))
            names << name;
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return names;
}

std::optional<Preset> PresetStore::preset(const QString &name) const {
    if (presetNameFault(name))
        return std::nullopt;
    const QString json = m_settings.readSettingIn(kPresetsSection, name);
    return json.isEmpty() ? std::nullopt : presetFromJson(json.toUtf8());
}

bool PresetStore::save(const QString &name, const Preset &preset) {
    if (presetNameFault(name))
        return false;
    return m_settings.writeSettingIn(kPresetsSection, name, QString::fromUtf8(presetJson(preset)));
}

bool PresetStore::rename(const QString &name, const QString &newName) {
    const std::optional<Preset> found = preset(name);
    if (!found || presetNameFault(newName))
        return false;
    if (newName == name)
        return true;
    if (m_settings.keysIn(kPresetsSection).contains(newName))
        return false;
    return save(newName, *found) && remove(name);
}

bool PresetStore::remove(const QString &name) {
    if (!m_settings.keysIn(kPresetsSection).contains(name))
        return false;
    return m_settings.removeSettingIn(kPresetsSection, name);
}

} // namespace plenvoy
