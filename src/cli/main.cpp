#include "CliArguments.h"

#include "core/Failure.h"
#include "engine/ComposeNewName.h"
#include "engine/RenameOptions.h"

#include <QCoreApplication>

#include <cstdio>

using namespace plenvoy;
using namespace plenvoy::cli;

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailures = 1;
constexpr int kExitUsage = 2;

void writeLine(std::FILE *stream, const QString &text) {
    const QByteArray line = (text + QLatin1Char('\n')).toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stream);
}

int dryRun(const CliRequest &request) {
    const FixedClock fixed(request.at.value_or(QDateTime()));
    const ClockProvider &clock =
        request.at ? static_cast<const ClockProvider &>(fixed) : systemClock();
    int status = kExitSuccess;
    for (const QString &path : request.paths) {
        try {
            writeLine(stdout, ComposeNewName(path, request.optionText, request.nthValue, clock,
                                             systemFileTimes()));
        } catch (const Failure &failure) {
            std::fflush(stdout);
            writeLine(stderr, QStringLiteral("plenvoy-cli: ") + path + QStringLiteral(": ") +
                                  failure.description());
            writeLine(stdout, QString());
            status = kExitFailures;
        }
    }
    return status;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    CliRequest request;
    try {
        request = parseArguments(application.arguments().mid(1));
    } catch (const UsageError &error) {
        writeLine(stderr, QStringLiteral("plenvoy-cli: ") + error.message +
                              QStringLiteral(" (try --help)"));
        return kExitUsage;
    }
    switch (request.action) {
    case CliRequest::Action::Help:
        std::fputs(helpText().toUtf8().constData(), stdout);
        return kExitSuccess;
    case CliRequest::Action::ListOptions:
        for (const QString &text : renameOptionTexts())
            writeLine(stdout, text);
        return kExitSuccess;
    case CliRequest::Action::DryRun:
        return dryRun(request);
    }
    return kExitUsage;
}
