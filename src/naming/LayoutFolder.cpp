#include "LayoutFolder.h"

#include "ComposeNewName.h"
#include "FileMoment.h"
#include "RenameOptions.h"
#include "core/FolderBelow.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"
#include "core/PathText.h"

#include <QStringList>

#include <algorithm>

namespace plenvoy {

namespace {

/// Only plain names: "." and ".." would lead out of the output folder.
bool plainNames(const QStringList &names) {
    return std::all_of(names.cbegin(), names.cend(), isPlainName);
}

QString treeFolder(const QString &source, const QString &listedThrough) {
    if (listedThrough.isEmpty())
        return QString();
    const QString root = withoutTrailingSeparators(collapseDoubledSeparators(listedThrough));
    const QString path = collapseDoubledSeparators(source);
    const QString rootName = FileNameOf(root);
    const QString prefix = root == QLatin1String("/") ? root : root + QLatin1Char('/');
    QStringList names;
    if (!rootName.isEmpty())
        names.append(rootName);
    if (path.startsWith(prefix)) {
        const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
        if (cut > prefix.size() - 1)
            names += path.mid(prefix.size(), cut - prefix.size()).split(QLatin1Char('/'));
    }
    if (!plainNames(names))
        return plainNames({rootName}) ? rootName : QString();
    return names.join(QLatin1Char('/'));
}

QString datesFolder(const QString &source, const QString &optionText, const ClockProvider &clock,
                    const FileTimeProvider &times) {
    const int index = renameOptionIndex(optionText);
    QDate date;
    if (index < 0 || renameOptions().at(index).source == TimeSource::Clock) {
        date = clock.now().date();
    } else {
        const std::optional<LocalMoment> moment =
            fileMoment(source, renameOptions().at(index).source, times);
        if (!moment)
            return QString();
        date = moment->date;
    }
    if (!date.isValid())
        return QString();
    return date.toString(QStringLiteral("yyyy")) + QLatin1Char('/') +
           date.toString(QStringLiteral("yyyy-MM-dd"));
}

} // namespace

QString layoutFolder(OutputLayout layout, const QString &source, const QString &listedThrough,
                     const QString &optionText, const ClockProvider &clock,
                     const FileTimeProvider &times) {
    switch (layout) {
    case OutputLayout::Tree:
        return treeFolder(source, listedThrough);
    case OutputLayout::Dates:
        return datesFolder(source, optionText, clock, times);
    case OutputLayout::Flat:
        break;
    }
    return QString();
}

QString layoutPath(const QString &folder, const QString &name) {
    return folder.isEmpty() ? name : folder + QLatin1Char('/') + name;
}

bool layoutPathTooLong(const QString &outputFolder, const QString &relativePath) {
    return pathToBytes(outputFolder).size() + 1 + pathToBytes(relativePath).size() >=
           kPathLimitBytes;
}

} // namespace plenvoy
