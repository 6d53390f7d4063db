#include "CliArguments.h"
#include "CliCommands.h"
#include "CliOptions.h"
#include "CliOutput.h"

#include "core/PathCodec.h"
#include "records/RunRecord.h"
#include "settings/Presets.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>

#include <algorithm>
#include <csignal>

using namespace plenvoy;
using namespace plenvoy::cli;

namespace {

// The window's settings file holds the presets; it is read here, never written.
SettingsStore &windowSettings() {
    static SettingsStore settings = SettingsStore::readOnly(SettingsStore::defaultFilePath());
    return settings;
}

int act(const CliRequest &request) {
    for (const QString &warning : request.warnings)
        printWarning(warning);
    switch (request.action) {
    case CliRequest::Action::Help:
        printOut(helpText().toUtf8());
        return kExitSuccess;
    case CliRequest::Action::Version:
        printLine(QStringLiteral("plenvoy-cli " PLENVOY_VERSION));
        return kExitSuccess;
    case CliRequest::Action::ListOptions:
        return listOptions();
    case CliRequest::Action::ListPresets:
        return listPresets(PresetStore(windowSettings()));
    case CliRequest::Action::DryRun:
        return dryRun(request);
    case CliRequest::Action::Run:
        enableRunRecords(QStringLiteral("cli"));
        return copyListedFiles(request);
    case CliRequest::Action::Runs:
        return listRuns();
    case CliRequest::Action::Undo:
        return cli::undoRun(request);
    }
    return kExitUsage;
}

} // namespace

int main(int argc, char *argv[]) {
    // Arguments are bytes, as names are: they are read before Qt decodes them, which would
    // turn bytes that are not UTF-8 into U+FFFD and so name other files.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(pathFromBytes(argv[i]));
    // A closed pipe on standard output is a write error to report, not a silent end.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication application(argc, argv);

    CliRequest request;
    try {
        request = parseArguments(arguments, [](const QString &name) {
            return PresetStore(windowSettings()).preset(name);
        });
    } catch (const UsageError &error) {
        printErrorLine(QStringLiteral("plenvoy-cli: ") + error.message +
                       QStringLiteral(" (try --help)"));
        return kExitUsage;
    }
    const int status = act(request);
    if (!finishOutput())
        return std::max(status, kExitFailures);
    return status;
}
