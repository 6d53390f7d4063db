#include "SettingsStore.h"

#include "core/Descriptor.h"

#include "AppLog.h"
#include "AppTexts.h"
#include "SettingsKeys.h"
#include "core/PathCodec.h"
#include "core/PathText.h"
#include "core/Translation.h"

#include <QDir>
#include <QHash>
#include <QList>
#include <QSettings>
#include <QVariant>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plenvoy {

namespace {

constexpr int kKeptAsideLimit = 10;

QString settingsKey(const QString &key, const QString &section = kSettingsSection) {
    return section + QLatin1Char('/') + key;
}

// A value that a hand-edited file spreads over commas comes back as a list; a value with
// escaped bytes was stored as the bytes themselves.
QString valueText(const QVariant &value) {
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    if (value.typeId() == QMetaType::QByteArray)
        return pathFromBytes(value.toByteArray());
    return value.toString();
}

// QSettings writes an escaped byte as U+FFFD; the bytes themselves it keeps exactly.
QVariant storedForm(const QString &value) {
    if (hasEscapedBytes(value))
        return QVariant(pathToBytes(value));
    return QVariant(value);
}

// QSettings parses a file again only when it changed on disk, and reports a format error
// only on that parse. The verdict is kept here for as long as the file stays as it was,
// so that a later look at the same unchanged file gets it too.
struct FileVerdict {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    QSettings::Status status = QSettings::NoError;
};

bool sameFile(const FileVerdict &verdict, const struct stat &st) {
    return verdict.device == st.st_dev && verdict.inode == st.st_ino &&
           verdict.size == st.st_size && verdict.modified.tv_sec == st.st_mtim.tv_sec &&
           verdict.modified.tv_nsec == st.st_mtim.tv_nsec;
}

QSettings::Status parseStatus(const QString &path, const struct stat &st) {
    static QHash<QString, FileVerdict> verdicts;
    QSettings::Status status = QSettings::NoError;
    {
        const QSettings reader(path, QSettings::IniFormat);
        reader.allKeys(); // parses every section
        status = reader.status();
    }
    if (status != QSettings::NoError) {
        verdicts.insert(path, {st.st_dev, st.st_ino, st.st_size, st.st_mtim, status});
        return status;
    }
    const auto seen = verdicts.constFind(path);
    if (seen != verdicts.constEnd() && sameFile(*seen, st))
        return seen->status;
    verdicts.remove(path);
    return QSettings::NoError;
}

bool writeAll(int fd, const char *data, qsizetype size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

bool copyContents(int from, int to) {
    if (::lseek(from, 0, SEEK_SET) != 0)
        return false;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return ::fsync(to) == 0;
        if (!writeAll(to, buffer, got))
            return false;
    }
}

// The numbers of the copies kept aside so far: 0 for NAME.corrupt, n for NAME.corrupt.n.
QList<qint64> keptAsideNumbers(const QString &folder, const QString &corruptName) {
    QList<qint64> numbers;
    DIR *dir = ::opendir(pathToBytes(folder).constData());
    if (!dir)
        return numbers;
    while (const dirent *entry = ::readdir(dir)) {
        const QString name = pathFromBytes(entry->d_name);
        if (name == corruptName) {
            numbers << 0;
        } else if (name.startsWith(corruptName + QLatin1Char('.'))) {
            const QString digits = name.mid(corruptName.size() + 1);
            bool isNumber = false;
            const qint64 number = digits.toLongLong(&isNumber);
            if (isNumber && number > 0 && digits == QString::number(number))
                numbers << number;
        }
    }
    ::closedir(dir);
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

QString keptAsideName(const QString &corruptPath, qint64 number) {
    return number == 0 ? corruptPath : corruptPath + QLatin1Char('.') + QString::number(number);
}

// Copies what the settings file holds to a name not used before, then lets only the ten
// newest copies stay. The empty text when no copy could be made.
QString keepAside(const QString &path, int fd) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash <= 0 ? QStringLiteral("/") : path.left(slash);
    const QString corruptName = path.mid(slash + 1) + QStringLiteral(".corrupt");
    const QString corruptPath = path + QStringLiteral(".corrupt");
    QList<qint64> numbers = keptAsideNumbers(folder, corruptName);
    qint64 next = numbers.isEmpty() ? 0 : numbers.last() + 1;
    QString kept;
    for (int attempt = 0; attempt < 100 && kept.isEmpty(); ++attempt, ++next) {
        const QString candidate = keptAsideName(corruptPath, next);
        const Descriptor copy(::open(pathToBytes(candidate).constData(),
                                     O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (copy.get() < 0) {
            if (errno == EEXIST)
                continue;
            return QString();
        }
        if (!copyContents(fd, copy.get())) {
            ::unlink(pathToBytes(candidate).constData());
            return QString();
        }
        kept = candidate;
        numbers << next;
    }
    while (numbers.size() > kKeptAsideLimit) {
        ::unlink(pathToBytes(keptAsideName(corruptPath, numbers.first())).constData());
        numbers.removeFirst();
    }
    return kept;
}

// Writes the file again with the keys that could be parsed and nothing else.
bool rewriteWithParsedKeys(const QString &path) {
    QList<std::pair<QString, QVariant>> parsed;
    {
        const QSettings reader(path, QSettings::IniFormat);
        for (const QString &key : reader.allKeys())
            parsed.append({key, reader.value(key)});
    }
    // Emptied first: a file with no readable key must not stay as it was.
    {
        const Descriptor file(
            ::open(pathToBytes(path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
        struct stat st {};
        if (file.get() < 0 || ::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
            ::ftruncate(file.get(), 0) != 0)
            return false;
    }
    if (parsed.isEmpty())
        return true;
    QSettings writer(path, QSettings::IniFormat);
    for (const auto &[key, value] : parsed)
        writer.setValue(key, value);
    writer.sync();
    return writer.status() == QSettings::NoError;
}

} // namespace

SettingsStore::SettingsStore()
    : SettingsStore(defaultFilePath()) {}

SettingsStore::SettingsStore(QString filePath)
    : m_filePath(std::move(filePath)) {}

SettingsStore SettingsStore::readOnly(QString filePath) {
    SettingsStore store(std::move(filePath));
    store.m_readOnly = true;
    return store;
}

QString SettingsStore::defaultFilePath() {
    // The variables are read as bytes: Qt's own decoding would turn a byte that is not
    // UTF-8 into U+FFFD and name another folder.
    std::optional<QString> folder = absolutePathFromEnvironment("XDG_CONFIG_HOME");
    if (!folder)
        folder = absolutePathFromEnvironment("HOME").value_or(QDir::homePath()) +
                 QStringLiteral("/.config");
    return withoutTrailingSeparators(*folder) + QLatin1Char('/') + kSettingsApplication +
           QStringLiteral(".ini");
}

void SettingsStore::setNoticeHandler(std::function<void(const QString &)> handler) {
    m_noticeHandler = std::move(handler);
}

void SettingsStore::notify(const QString &text) const {
    if (m_noticeGiven)
        return;
    m_noticeGiven = true;
    if (m_noticeHandler)
        m_noticeHandler(text);
}

SettingsStore::Access SettingsStore::access() const {
    // QSettings names its file through Qt's lossy conversion: such a path is not its.
    if (hasEscapedBytes(m_filePath)) {
        qCWarning(lcApp) << "settings file path" << pathForDisplay(m_filePath)
                         << "cannot be named; using defaults";
        notify(shownText("Settings", kSettingsUnreadableMessage));
        return Access::None;
    }
    const QByteArray bytes = pathToBytes(m_filePath);
    const auto unusable = [&](const char *why) {
        qCWarning(lcApp) << "settings file" << m_filePath << why << "; using defaults";
        notify(shownText("Settings", kSettingsUnreadableMessage));
        return Access::None;
    };
    // A first look without opening: opening a device may do something by itself.
    struct stat st {};
    if (::stat(bytes.constData(), &st) != 0) {
        if (errno != ENOENT)
            return unusable("cannot be looked at");
        struct stat itself {};
        if (::lstat(bytes.constData(), &itself) == 0)
            return unusable("is a link to nothing");
        return Access::Absent;
    }
    if (!S_ISREG(st.st_mode))
        return unusable("is not a regular file");
    // Opened without waiting and checked again, should something else have come in its place.
    const Descriptor file(::open(bytes.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0)
        return unusable("cannot be opened");
    if (::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return unusable("is not a regular file");
    // The mode's write bits count for root too, who may write anything.
    const bool readOnly = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
                          ::faccessat(AT_FDCWD, bytes.constData(), W_OK, AT_EACCESS) != 0;

    const QSettings::Status status = parseStatus(m_filePath, st);
    if (status == QSettings::AccessError)
        return unusable("cannot be read");
    if (status == QSettings::FormatError) {
        if (readOnly || m_readOnly) {
            // Said once: every read looks at the file again.
            if (!m_noticeGiven)
                qCWarning(lcApp) << "settings file" << m_filePath << "cannot be parsed in full";
            notify(shownText("Settings", kSettingsUnwritableMessage));
            return Access::ReadOnly;
        }
        const QString kept = keepAside(m_filePath, file.get());
        if (kept.isEmpty()) {
            // Written now, it would lose what could not be parsed.
            qCWarning(lcApp) << "corrupt settings file" << m_filePath
                             << "cannot be kept aside; not written";
            notify(shownText("Settings", kSettingsUnwritableMessage));
            return Access::ReadOnly;
        }
        qCWarning(lcApp) << "corrupt settings file kept as" << kept;
        notify(shownText("Settings", kSettingsKeptAsideMessage).arg(pathForDisplay(kept)));
        if (!rewriteWithParsedKeys(m_filePath)) {
            qCWarning(lcApp) << "settings file" << m_filePath << "cannot be written again";
            return Access::ReadOnly;
        }
        return Access::ReadWrite;
    }
    // Told at the first write that would change it, not when it is only read.
    if (readOnly || m_readOnly)
        return Access::ReadOnly;
    return Access::ReadWrite;
}

QString SettingsStore::readSetting(const QString &key, const QString &fallback) const {
    const Access found = access();
    if (found == Access::None || found == Access::Absent)
        return fallback;
    const QSettings settings(m_filePath, QSettings::IniFormat);
    const QVariant value = settings.value(settingsKey(key));
    return value.isValid() ? valueText(value) : fallback;
}

QString SettingsStore::readSetting(const QString &key, int fallback) const {
    return readSetting(key, QString::number(fallback));
}

bool SettingsStore::writeSetting(const QString &key, const QString &value) {
    return writeKey(settingsKey(key), value);
}

QStringList SettingsStore::keysIn(const QString &section) const {
    const Access found = access();
    if (found == Access::None || found == Access::Absent)
        return {};
    QSettings settings(m_filePath, QSettings::IniFormat);
    settings.beginGroup(section);
    return settings.childKeys();
}

QString SettingsStore::readSettingIn(const QString &section, const QString &key) const {
    const Access found = access();
    if (found == Access::None || found == Access::Absent)
        return QString();
    const QSettings settings(m_filePath, QSettings::IniFormat);
    return valueText(settings.value(settingsKey(key, section)));
}

bool SettingsStore::writeSettingIn(const QString &section, const QString &key,
                                   const QString &value) {
    return writeKey(settingsKey(key, section), value);
}

bool SettingsStore::removeSettingIn(const QString &section, const QString &key) {
    return writeKey(settingsKey(key, section), std::nullopt);
}

bool SettingsStore::writeKey(const QString &fullKey, const std::optional<QString> &value) {
    const Access found = access();
    if (found == Access::None)
        return false;
    QSettings settings(m_filePath, QSettings::IniFormat);
    // Writing back the value already stored, as restoring a setting does, is no write: a
    // read-only file is then read at every start without a word. Removing a key that is not
    // there is none either.
    const QVariant stored = found == Access::Absent ? QVariant() : settings.value(fullKey);
    if (value ? stored.isValid() && valueText(stored) == *value : !stored.isValid())
        return true;
    if (m_readOnly)
        return false;
    if (found == Access::ReadOnly) {
        qCWarning(lcApp) << "settings file" << m_filePath << "is read-only; not written";
        notify(shownText("Settings", kSettingsUnwritableMessage));
        return false;
    }
    if (value)
        settings.setValue(fullKey, storedForm(*value));
    else
        settings.remove(fullKey);
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        qCWarning(lcApp) << "setting" << fullKey << "could not be written to" << m_filePath;
        notify(shownText("Settings", kSettingsUnwritableMessage));
        return false;
    }
    return true;
}

} // namespace plenvoy
