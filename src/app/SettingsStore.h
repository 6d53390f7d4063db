#pragma once

#include <QString>

namespace plenvoy {

/// The user's settings, kept between runs in one INI file, Marnoval.ini in the user's
/// configuration folder, section [Plenvoy]. Every write reaches the disk before it returns.
///
/// A file that cannot be read or parsed gives the fallbacks and is never written over: the
/// first write after such a read moves a corrupt file aside (Marnoval.ini.corrupt) and
/// refuses to touch an unreadable one, so nothing stored before is lost.
class SettingsStore final {
public:
    /// The store on the user's file: $XDG_CONFIG_HOME/Marnoval.ini (~/.config by default).
    SettingsStore();
    /// The store on another file, for tests and tools.
    explicit SettingsStore(QString filePath);

    static QString defaultFilePath();
    const QString &filePath() const { return m_filePath; }

    /// The stored value of the key, or the fallback when the key is absent or the file
    /// cannot be read.
    QString readSetting(const QString &key, const QString &fallback) const;
    /// As above with a number as fallback, given as its decimal text.
    QString readSetting(const QString &key, int fallback) const;

    /// Stores the value under the key, replacing any earlier value, and flushes the file.
    /// False when the file could not be written; what it held before stays as it was.
    bool writeSetting(const QString &key, const QString &value);

private:
    QString m_filePath;
};

} // namespace plenvoy
