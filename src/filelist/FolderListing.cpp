#include "FolderListing.h"

#include "FolderEntries.h"
#include "core/Failure.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"
#include "core/PathText.h"

#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plenvoy {

QString FolderNames::at(int position) const {
    if (m_names.isEmpty() && position == 0)
        return QString();
    if (position < 1 || position > upperBound())
        throwFailure(ErrorNumber::SubscriptOutOfRange);
    return m_names.at(position - 1);
}

WildcardPattern::WildcardPattern(const QString &pattern)
    : m_folded(pattern.toCaseFolded())
    , m_takesEverything(pattern == QLatin1String("*") || pattern == QLatin1String("*.*")) {
    bool ascii = true;
    for (const QChar c : std::as_const(m_folded))
        ascii = ascii && c.unicode() < 0x80;
    if (ascii)
        m_asciiFolded = m_folded.toLatin1();
    m_asciiPattern = ascii;
}

namespace {

// Matches "*" and "?" with one back-tracking point, the usual linear-space way. The name
// is read through nameAt, already folded to one case.
template <typename PatternAt, typename NameAt>
bool globMatch(PatternAt patternAt, qsizetype patternLength, NameAt nameAt, qsizetype nameLength) {
    qsizetype p = 0;
    qsizetype n = 0;
    qsizetype starP = -1; // the last "*" seen, and the name position it was tried from
    qsizetype starN = 0;
    while (n < nameLength) {
        if (p < patternLength && patternAt(p) == '*') {
            starP = p++;
            starN = n;
        } else if (p < patternLength && (patternAt(p) == '?' || patternAt(p) == nameAt(n))) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < patternLength && patternAt(p) == '*')
        ++p;
    return p == patternLength;
}

} // namespace

bool WildcardPattern::matches(const QString &name) const {
    if (m_takesEverything)
        return true;
    // A name without "." is matched as if it ended with ".".
    const qsizetype nameLength = name.size() + (name.contains(QLatin1Char('.')) ? 0 : 1);
    auto nameAt = [&](qsizetype i) -> char16_t {
        return i < name.size() ? QChar::toCaseFolded(name.at(i).unicode()) : u'.';
    };
    auto patternAt = [&](qsizetype i) -> char16_t { return m_folded.at(i).unicode(); };
    return globMatch(patternAt, m_folded.size(), nameAt, nameLength);
}

int WildcardPattern::matchesAscii(const char *name) const {
    if (m_takesEverything)
        return 1;
    if (!m_asciiPattern)
        return -1;
    qsizetype length = 0;
    bool dotted = false;
    for (; name[length] != '\0'; ++length) {
        if (static_cast<unsigned char>(name[length]) >= 0x80)
            return -1;
        dotted = dotted || name[length] == '.';
    }
    auto nameAt = [&](qsizetype i) -> char {
        if (i == length)
            return '.';
        const char c = name[i];
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    auto patternAt = [&](qsizetype i) -> char { return m_asciiFolded.at(i); };
    return globMatch(patternAt, m_asciiFolded.size(), nameAt, length + (dotted ? 0 : 1)) ? 1 : 0;
}

namespace {

// The listing's rules for one folder's entries, however they were read. Each entry given is
// a regular file, a link or of unknown type; regularAt(name) tells whether a link or an
// entry of unknown type names a regular file.
class FileSieve final {
public:
    explicit FileSieve(const QString &pattern)
        : m_wildcard(pattern) {
        m_names.reserve(100);
        m_regular.reserve(100);
    }

    template <typename RegularAt>
    void take(const char *name, unsigned char type, RegularAt &&regularAt) {
        // Plain ASCII names are matched on their bytes; only the names taken become text.
        const int asciiMatch = m_wildcard.matchesAscii(name);
        if (asciiMatch == 0)
            return;
        qsizetype length = 0;
        QString text = nameFromBytes(name, &length);
        if (asciiMatch < 0 && !m_wildcard.matches(text))
            return;
        if (type == DT_REG || regularAt(name)) {
            m_names.append(std::move(text));
            m_regular.append(type == DT_REG);
        }
    }

    FolderNames names() { return FolderNames(std::move(m_names), std::move(m_regular)); }

private:
    const WildcardPattern m_wildcard;
    QStringList m_names;
    QList<bool> m_regular;
};

// A link or an unknown entry is examined by its own bytes, so the status read is that of
// this very entry.
bool namesRegularFile(int dirFd, const char *name) {
    struct stat info {};
    return ::fstatat(dirFd, name, &info, 0) == 0 && S_ISREG(info.st_mode);
}

// An empty folder text is the root, as the walk's "/" comes back without its separator.
QByteArray encodedFolder(const QString &folder) {
    return systemPathBytes(folder.isEmpty() ? QString(kFolderSeparator)
                                            : withoutTrailingSeparators(folder))
        .value_or(QByteArray());
}

struct FdCloser {
    explicit FdCloser(int descriptor)
        : fd(descriptor) {}
    FdCloser(const FdCloser &) = delete;
    FdCloser &operator=(const FdCloser &) = delete;
    ~FdCloser() {
        if (fd >= 0)
            ::close(fd);
    }
    int fd;
};

} // namespace

FolderNames ListFolderFiles(const QString &folder, const QString &pattern) {
    const QByteArray encoded = encodedFolder(folder);
    if (encoded.isEmpty() || encoded.size() >= kPathLimitBytes)
        return FolderNames();
    DirHandle dir(::opendir(encoded.constData()));
    if (!dir)
        return FolderNames();
    // A folder that can be read but not searched lists names whose files cannot be opened:
    // none of them is present. One test answers for the whole folder.
    const int dirFd = ::dirfd(dir.get());
    if (::faccessat(dirFd, "", X_OK, AT_EACCESS | AT_EMPTY_PATH) != 0)
        return FolderNames();
    FileSieve sieve(pattern);
    while (const dirent *entry = ::readdir(dir.get())) {
        const unsigned char type = entry->d_type;
        if (type == DT_DIR || isDotOrDotDot(entry->d_name))
            continue;
        if (type != DT_REG && type != DT_LNK && type != DT_UNKNOWN)
            continue; // pipes, sockets and devices are not files
        sieve.take(entry->d_name, type,
                   [dirFd](const char *name) { return namesRegularFile(dirFd, name); });
    }
    return sieve.names();
}

FolderNames ListKeptFiles(const QString &folder, const QString &pattern,
                          const QByteArray &entries) {
    FileSieve sieve(pattern);
    // The folder is opened again only for an entry that needs its status, which is rare;
    // as a path, since nothing in it is read.
    FdCloser folderFd(-1);
    bool opened = false;
    auto regularAt = [&](const char *name) {
        if (!opened) {
            opened = true;
            folderFd.fd =
                ::open(encodedFolder(folder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        }
        return folderFd.fd >= 0 && namesRegularFile(folderFd.fd, name);
    };
    const char *at = entries.constData();
    const char *const end = at + entries.size();
    while (at < end) {
        const auto type = static_cast<unsigned char>(*at);
        const char *name = at + 1;
        at = name + std::strlen(name) + 1;
        sieve.take(name, type, regularAt);
    }
    return sieve.names();
}

} // namespace plenvoy
