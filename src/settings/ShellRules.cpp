#include "ShellRules.h"

#include "AppTexts.h"
#include "core/Failure.h"
#include "core/PathCodec.h"
#include "core/PathText.h"
#include "naming/NthValue.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include <sys/stat.h>

namespace plenvoy {

namespace {

constexpr int kTitleLimit = 40;

QString &titleStore() {
    static QString title = kProductName;
    return title;
}

QString withClosingSeparator(const QString &folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

bool isFolder(const QString &path) {
    struct stat st {};
    return ::stat(pathToBytes(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

QString shortenedTitle(const QString &productName) {
    QString title = productName;
    do {
        const qsizetype blank = title.lastIndexOf(QLatin1Char(' '));
        if (blank < 0)
            break;
        title.truncate(blank);
    } while (title.size() > kTitleLimit);
    return title;
}

void SetApplicationTitle(const QString &productName) {
    titleStore() = shortenedTitle(productName);
}

void SetApplicationTitle() {
    SetApplicationTitle(kProductName);
}

QString applicationTitle() {
    return titleStore();
}

int comboPositionFromSetting(const QString &stored, int optionCount) {
    const int position = convertNthValue(stored);
    if (position < -1 || position >= optionCount)
        throwFailure(ErrorNumber::InvalidPropertyValue);
    return position;
}

QString DesktopFolder() {
    // Qt reads HOME with its lossy conversion; the home folder is read here as bytes and
    // put back in front of the desktop path that Qt built from it.
    const QString qtHome = QDir::homePath();
    const QString home = absolutePathFromEnvironment("HOME").value_or(qtHome);
    QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (home != qtHome && desktop.startsWith(qtHome) &&
        (desktop.size() == qtHome.size() || desktop.at(qtHome.size()) == QLatin1Char('/')))
        desktop = home + desktop.mid(qtHome.size());
    if (!desktop.isEmpty() && isFolder(desktop))
        return withClosingSeparator(desktop);
    if (home.isEmpty() || !isFolder(home))
        throwFailure(ErrorNumber::PathNotFound);
    return withClosingSeparator(home);
}

QString programFolder() {
    return programFolderFor(QCoreApplication::applicationDirPath());
}

QString programFolderFor(const QString &executableFolder) {
    const auto holdsAssets = [](const QString &folder) {
        struct stat status {};
        return ::stat(pathToBytes(folder + QStringLiteral("/Samples")).constData(), &status) == 0 ||
               ::stat(pathToBytes(folder + QStringLiteral("/x")).constData(), &status) == 0;
    };
    if (holdsAssets(executableFolder))
        return executableFolder;
    // Installed: the programs in bin/, what they read in share/plenvoy.
    const qsizetype cut = executableFolder.lastIndexOf(QLatin1Char('/'));
    const QString installed =
        executableFolder.left(cut < 0 ? 0 : cut) + QStringLiteral("/share/plenvoy");
    return holdsAssets(installed) ? installed : executableFolder;
}

} // namespace plenvoy
