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
    /// Absolute paths that exist and can be read, in the order given, as the codec decodes
    /// their bytes.
    QStringList paths;
    /// One line per argument refused (a path that does not exist or cannot be read, an
    /// unknown option), for standard error.
    QStringList problems;
    /// The paths that could not be added, each with its reason, as the window names them.
    QStringList refused;
};

/// Reads the arguments as bytes (argv without the program name). A relative path is made
/// absolute against workingFolder (bytes, no closing "/"); a "file:" URI names the path it
/// carries, percent-decoded to bytes; "--" ends the options.
CommandLine readCommandLine(const QList<QByteArray> &arguments, const QByteArray &workingFolder);

/// The path's bytes that a local "file:" URI names ("file:///a%20b", "file://localhost/a",
/// "file:/a"); empty for any other argument, or a URI of another host.
QByteArray pathFromFileUri(const QByteArray &argument);

/// How many refused paths a launch names; the rest are counted.
constexpr int kRefusedNamed = 10;

/// The box that tells the paths of one launch that could not be added: the first of them,
/// then how many more. refusedCount counts them all.
QString refusedPathsMessage(const QStringList &refused, int refusedCount);

/// The process's working folder as bytes, empty when it cannot be read.
QByteArray workingFolderBytes();

} // namespace plenvoy
