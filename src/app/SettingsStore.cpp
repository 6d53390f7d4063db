#include "SettingsStore.h"

#include "AppLog.h"
#include "AppTexts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSettings>
#include <QStandardPaths>

namespace plenvoy {

namespace {

QString settingsKey(const QString &key) {
    return kSettingsSection + QLatin1Char('/') + key;
}

// A value that a hand-edited file spreads over commas comes back as a list.
QString valueText(const QVariant &value) {
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

// QSettings parses a file again only when it changed on disk, and reports a read or
// format error only on the parse. The verdict is kept here for as long as the file stays
// as it was, so that every later store on the same file gets it too.
struct FileVerdict {
    qint64 size = 0;
    QDateTime modified;
    QSettings::Status status = QSettings::NoError;
};

QSettings::Status statusOf(const QSettings &settings, const QString &path) {
    static QHash<QString, FileVerdict> verdicts;
    const QFileInfo file(path);
    const QSettings::Status status = settings.status();
    if (status != QSettings::NoError) {
        verdicts.insert(path, {file.size(), file.lastModified(), status});
        return status;
    }
    const auto seen = verdicts.constFind(path);
    if (seen != verdicts.constEnd() && file.exists() && seen->size == file.size() &&
        seen->modified == file.lastModified())
        return seen->status;
    verdicts.remove(path);
    return QSettings::NoError;
}

} // namespace

SettingsStore::SettingsStore()
    : SettingsStore(defaultFilePath()) {}

SettingsStore::SettingsStore(QString filePath)
    : m_filePath(std::move(filePath)) {}

QString SettingsStore::defaultFilePath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/.config");
    return folder + QLatin1Char('/') + kSettingsApplication + QStringLiteral(".ini");
}

QString SettingsStore::readSetting(const QString &key, const QString &fallback) const {
    const QSettings settings(m_filePath, QSettings::IniFormat);
    const QVariant value = settings.value(settingsKey(key));
    if (statusOf(settings, m_filePath) != QSettings::NoError) {
        qCWarning(lcApp) << "settings file" << m_filePath << "cannot be read; using defaults";
        return fallback;
    }
    return value.isValid() ? valueText(value) : fallback;
}

QString SettingsStore::readSetting(const QString &key, int fallback) const {
    return readSetting(key, QString::number(fallback));
}

bool SettingsStore::writeSetting(const QString &key, const QString &value) {
    const QFileInfo file(m_filePath);
    if (file.exists()) {
        // QSettings writes back only what it could parse: never let it shrink a file that
        // it cannot read in full.
        QFile probe(m_filePath);
        if (!probe.open(QIODevice::ReadOnly)) {
            qCWarning(lcApp) << "settings file" << m_filePath << "cannot be read; not written";
            return false;
        }
        probe.close();
        QSettings::Status status = QSettings::NoError;
        {
            const QSettings reader(m_filePath, QSettings::IniFormat);
            reader.allKeys();
            status = statusOf(reader, m_filePath);
        }
        if (status == QSettings::FormatError) {
            const QString aside = m_filePath + QStringLiteral(".corrupt");
            QFile::remove(aside);
            if (!QFile::rename(m_filePath, aside)) {
                qCWarning(lcApp) << "corrupt settings file" << m_filePath
                                 << "cannot be moved aside; not written";
                return false;
            }
            qCWarning(lcApp) << "corrupt settings file kept as" << aside;
        }
    }
    QSettings settings(m_filePath, QSettings::IniFormat);
    settings.setValue(settingsKey(key), value);
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        qCWarning(lcApp) << "setting" << key << "could not be written to" << m_filePath;
        return false;
    }
    return true;
}

} // namespace plenvoy
