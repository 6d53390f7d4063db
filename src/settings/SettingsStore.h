#pragma once

#include "core/SettingsAccess.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace plenvoy {

/// The user's settings, kept between runs in one INI file, Marnoval.ini in the user's
/// configuration folder, section [Plenvoy]. Every write reaches the disk before it returns.
///
/// The file is looked at before every read and write. Only a regular file (or a link to
/// one) is read; anything else (a FIFO, a device, a folder, a dangling link) gives the
/// fallbacks and is never written through. A read-only file is read and never written,
/// root or not. A file that cannot be parsed is copied aside under a new name
/// (Marnoval.ini.corrupt, .corrupt.1, ..., ten at most) and rewritten with the keys that
/// could be read. Values that hold escaped bytes are stored as byte arrays, so that they
/// come back exactly.
class SettingsStore final : public SettingsAccess {
public:
    /// What the store may do with its file, as found by the last look at it.
    enum class Access { Absent, ReadWrite, ReadOnly, None };

    /// The store on the user's file: $XDG_CONFIG_HOME/Marnoval.ini (~/.config by default).
    SettingsStore();
    /// The store on another file, for tests and tools.
    explicit SettingsStore(QString filePath);
    /// A store that only reads its file: it never writes, never keeps a file aside and never
    /// rewrites one that cannot be parsed in full (for plenvoy-cli, which reads the window's
    /// presets).
    static SettingsStore readOnly(QString filePath);

    static QString defaultFilePath();
    const QString &filePath() const { return m_filePath; }

    /// The stored value of the key, or the fallback when the key is absent or the file
    /// cannot be read.
    QString readSetting(const QString &key, const QString &fallback) const override;
    /// As above with a number as fallback, given as its decimal text.
    QString readSetting(const QString &key, int fallback) const;

    /// Stores the value under the key, replacing any earlier value, and flushes the file.
    /// False when the file could not be written; what it held before stays as it was.
    bool writeSetting(const QString &key, const QString &value) override;

    /// The keys of another section of the file (such as [Presets]), as the user named them.
    QStringList keysIn(const QString &section) const;
    /// The value of the key in the section, or the empty text.
    QString readSettingIn(const QString &section, const QString &key) const;
    /// Stores the value under the key of the section and flushes the file; false when the
    /// file could not be written.
    bool writeSettingIn(const QString &section, const QString &key, const QString &value);
    /// Removes the key of the section and flushes the file; false when the file could not be
    /// written.
    bool removeSettingIn(const QString &section, const QString &key);

    /// Receives, once in the life of the store, the text that tells the user why the
    /// settings could not be read or will not be saved.
    void setNoticeHandler(std::function<void(const QString &)> handler);

    /// Looks at the file as a read or write does, keeping aside a file that cannot be
    /// parsed.
    Access access() const;

private:
    bool writeKey(const QString &fullKey, const std::optional<QString> &value);
    void notify(const QString &text) const;

    QString m_filePath;
    std::function<void(const QString &)> m_noticeHandler;
    mutable bool m_noticeGiven = false;
    bool m_readOnly = false;
};

} // namespace plenvoy
