#include "CliProcess.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace plenvoy::test {

CliOutcome runProgram(const QString &program, const QStringList &arguments,
                      const QMap<QString, QString> &variables) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (auto variable = variables.cbegin(); variable != variables.cend(); ++variable)
        environment.insert(variable.key(), variable.value());
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    return outcomeOf(process);
}

CliOutcome outcomeOf(QProcess &process) {
    CliOutcome outcome;
    if (!process.waitForFinished(30'000) || process.exitStatus() != QProcess::NormalExit)
        return outcome;
    outcome.exitCode = process.exitCode();
    outcome.outBytes = process.readAllStandardOutput();
    outcome.out = QString::fromUtf8(outcome.outBytes);
    outcome.err = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

} // namespace plenvoy::test
