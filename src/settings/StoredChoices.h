#pragma once

#include "SettingsKeys.h"
#include "naming/RunChoices.h"

#include <QSize>
#include <QString>

#include <optional>

namespace plenvoy {

class SettingsAccess;

// The choices kept in the settings file, each read and written here in its stored form.
// A missing or unknown value reads as the default.

/// The stored stamp choices; a missing or unknown value is the default, and so is the
/// custom form without a pattern that can be used.
RunChoices readRunChoices(const SettingsAccess &settings);
/// The pattern makes stamps under this computer's forms.
bool isUsablePattern(const QString &pattern);
/// The stored form is the own pattern, whether or not that pattern can be used.
bool customFormStored(const SettingsAccess &settings);
/// The own pattern as stored, usable or not.
QString storedPattern(const SettingsAccess &settings);
/// Stores the pattern when it can be used and differs from the stored one.
void storePattern(SettingsAccess &settings, const QString &pattern);
void storeStampForm(SettingsAccess &settings, StampForm form);
void storeCreationTime(SettingsAccess &settings, CreationTime creation);
void storeLayout(SettingsAccess &settings, OutputLayout layout);
void storeSkipCopied(SettingsAccess &settings, bool skip);
void storeTakenShift(SettingsAccess &settings, qint64 seconds);

/// n as last answered to "Enter n:", when it is one that a name can use (0 to 32767).
std::optional<qint16> storedLastN(const SettingsAccess &settings);
/// Writes n, only when it differs from the stored one.
void storeLastN(SettingsAccess &settings, qint16 n);
/// The list shows "New Name": yes unless the user hid it.
bool storedShowNewNames(const SettingsAccess &settings);
void storeShowNewNames(SettingsAccess &settings, bool shown);
/// The window's size as the user left it; nothing when none is stored or it cannot be read.
std::optional<QSize> storedWindowSize(const SettingsAccess &settings);
void storeWindowSize(SettingsAccess &settings, const QSize &size);

} // namespace plenvoy
