#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace plenvoy {

/// What the window program was asked on its command line.
struct CommandLine {
    bool version = false;
    bool help = false;
    /// Absolute paths that exist, in the order given, as the codec decodes their bytes.
    QStringList paths;
    /// One line per argument refused (a path that does not exist, an unknown option).
    QStringList problems;
};

/// Reads the arguments as bytes (argv without the program name). A relative path is made
/// absolute against workingFolder (bytes, no closing "/"); "--" ends the options.
CommandLine readCommandLine(const QList<QByteArray> &arguments, const QByteArray &workingFolder);

/// The process's working folder as bytes, empty when it cannot be read.
QByteArray workingFolderBytes();

} // namespace plenvoy
