#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

class QProcess;

namespace plenvoy::test {

/// What a run of a command-line program did.
struct CliOutcome {
    /// -1 when it did not end by itself within 30 s.
    int exitCode = -1;
    QString out;
    QString err;
    /// The standard output as it was written, names that are not UTF-8 included.
    QByteArray outBytes;
};

/// Waits for a started program to end and takes what it wrote.
CliOutcome outcomeOf(QProcess &process);

/// Runs the program with the arguments, the variables set over this process's environment.
CliOutcome runProgram(const QString &program, const QStringList &arguments,
                      const QMap<QString, QString> &variables);

} // namespace plenvoy::test
