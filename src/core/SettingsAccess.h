#pragma once

#include <QString>

namespace plenvoy {

/// Reading and writing the user's stored settings, for code that must not depend on where
/// or how they are kept.
class SettingsAccess {
public:
    virtual ~SettingsAccess() = default;

    /// The stored value of the key, or the fallback when there is none to be had.
    virtual QString readSetting(const QString &key, const QString &fallback) const = 0;
    /// Stores the value under the key; false when it could not be stored.
    virtual bool writeSetting(const QString &key, const QString &value) = 0;

protected:
    SettingsAccess() = default;
    SettingsAccess(const SettingsAccess &) = default;
    SettingsAccess &operator=(const SettingsAccess &) = default;
};

} // namespace plenvoy
