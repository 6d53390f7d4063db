#include "StoredChoices.h"

#include "core/SettingsAccess.h"
#include "naming/RegionalForms.h"
#include "naming/StampPattern.h"

#include <QStringList>

namespace plenvoy {

namespace {

QString stored(const SettingsAccess &settings, const QString &key) {
    return settings.readSetting(key, QString());
}

} // namespace

bool isUsablePattern(const QString &pattern) {
    return checkStampPattern(pattern, RegionalForms::system()).isValid();
}

RunChoices readRunChoices(const SettingsAccess &settings) {
    RunChoices style;
    style.form = stampFormNamed(stored(settings, kKeyStampForm)).value_or(style.form);
    style.pattern = storedPattern(settings);
    if (style.form == StampForm::Custom && !isUsablePattern(style.pattern))
        style.form = StampForm::Regional;
    style.creation = creationTimeNamed(stored(settings, kKeyCreationTime)).value_or(style.creation);
    style.layout = outputLayoutNamed(stored(settings, kKeyLayout)).value_or(style.layout);
    style.skipCopied = stored(settings, kKeySkipCopied) == QLatin1String("true");
    style.takenShift = takenShiftNamed(stored(settings, kKeyTakenShift)).value_or(0);
    return style;
}

bool customFormStored(const SettingsAccess &settings) {
    return stampFormNamed(stored(settings, kKeyStampForm)) == StampForm::Custom;
}

QString storedPattern(const SettingsAccess &settings) {
    return stored(settings, kKeyStampPattern);
}

void storePattern(SettingsAccess &settings, const QString &pattern) {
    if (isUsablePattern(pattern) && pattern != storedPattern(settings))
        settings.writeSetting(kKeyStampPattern, pattern);
}

void storeStampForm(SettingsAccess &settings, StampForm form) {
    settings.writeSetting(kKeyStampForm, stampFormName(form));
}

void storeCreationTime(SettingsAccess &settings, CreationTime creation) {
    settings.writeSetting(kKeyCreationTime, creationTimeName(creation));
}

void storeLayout(SettingsAccess &settings, OutputLayout layout) {
    settings.writeSetting(kKeyLayout, outputLayoutName(layout));
}

void storeSkipCopied(SettingsAccess &settings, bool skip) {
    settings.writeSetting(kKeySkipCopied, skip ? QStringLiteral("true") : QStringLiteral("false"));
}

void storeTakenShift(SettingsAccess &settings, qint64 seconds) {
    settings.writeSetting(kKeyTakenShift, takenShiftText(seconds));
}

std::optional<qint16> storedLastN(const SettingsAccess &settings) {
    bool known = false;
    const int n = stored(settings, kKeyLastN).toInt(&known);
    if (known && n >= 0 && n <= 32767)
        return qint16(n);
    return std::nullopt;
}

void storeLastN(SettingsAccess &settings, qint16 n) {
    if (stored(settings, kKeyLastN) != QString::number(n))
        settings.writeSetting(kKeyLastN, QString::number(n));
}

bool storedShowNewNames(const SettingsAccess &settings) {
    return settings.readSetting(kKeyShowNewNames, QStringLiteral("1")) != QLatin1String("0");
}

void storeShowNewNames(SettingsAccess &settings, bool shown) {
    settings.writeSetting(kKeyShowNewNames, shown ? QStringLiteral("1") : QStringLiteral("0"));
}

std::optional<QSize> storedWindowSize(const SettingsAccess &settings) {
    const QStringList size = stored(settings, kKeyWindowSize).split(QLatin1Char('x'));
    if (size.size() != 2)
        return std::nullopt;
    return QSize(size.at(0).toInt(), size.at(1).toInt());
}

void storeWindowSize(SettingsAccess &settings, const QSize &size) {
    settings.writeSetting(kKeyWindowSize,
                          QStringLiteral("%1x%2").arg(size.width()).arg(size.height()));
}

} // namespace plenvoy
