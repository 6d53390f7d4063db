#include "ShellRules.h"

#include "AppTexts.h"
#include "core/Failure.h"
#include "engine/NthValue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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
        raise(ErrorNumber::InvalidPropertyValue);
    return position;
}

QString DesktopFolder() {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && QFileInfo(desktop).isDir())
        return withClosingSeparator(desktop);
    const QString home = QDir::homePath();
    if (home.isEmpty() || !QFileInfo(home).isDir())
        raise(ErrorNumber::PathNotFound);
    return withClosingSeparator(home);
}

QString programFolder() {
    return QCoreApplication::applicationDirPath();
}

QString programFile(const QString &relativeName) {
    return programFolder() + QLatin1Char('/') + relativeName;
}

} // namespace plenvoy
