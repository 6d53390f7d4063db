#pragma once

// The cost a name is measured against in the engine's benchmarks: placing the file.

#include "PlaceFile.h"
#include "copying/FilePlacement.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLatin1Char>
#include <QString>
#include <QStringList>

namespace plenvoy::bench {

/// Nanoseconds per file for PlaceFile copying every source into a never-used folder.
inline double placeNanos(const QStringList &files, const QString &destination) {
    QDir().mkpath(destination);
    const QString folder = destination + QLatin1Char('/');
    QElapsedTimer timer;
    timer.start();
    for (const QString &file : files)
        PlaceFile(file, folder + file.mid(file.lastIndexOf(QLatin1Char('/')) + 1));
    return double(timer.nsecsElapsed()) / double(files.size());
}

} // namespace plenvoy::bench
