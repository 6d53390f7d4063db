#include "CliArguments.h"
#include "CliRun.h"

#include "engine/RenameOptions.h"

#include <QCoreApplication>

#include <cstdio>

using namespace plenvoy;
using namespace plenvoy::cli;

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
    case CliRequest::Action::Run:
        return startChanging(request);
    }
    return kExitUsage;
}
