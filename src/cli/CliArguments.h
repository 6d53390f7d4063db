#pragma once

#include "naming/RunChoices.h"
#include "settings/Presets.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace plenvoy::cli {

/// One source of list entries, in the order given on the command line: a PATH taken as it
/// is, or a folder whose matching files are added as "Add All Files In Folder" adds them.
struct CliSource {
    enum class Kind { Path, Folder };
    Kind kind = Kind::Path;
    /// The path, or the folder without trailing separators ("/" stays "/").
    QString text;
    /// For a folder: the extension as typed in the window's question ("*" for every file).
    QString extension;
};

/// What one call of plenvoy-cli asks for, parsed before anything is done.
struct CliRequest {
    enum class Action { Help, Version, ListOptions, ListPresets, DryRun, Run, Runs, Undo };
    Action action = Action::Help;
    /// The option's display text: the text given, or the text of the index given.
    QString optionText;
    /// The converted -n answer; -1 when -n was not given.
    qint16 nthValue = -1;
    /// The -n text as given: the answer to "Enter n:" in a run.
    std::optional<QString> nthText;
    /// The local moment that current-time options use instead of the clock.
    std::optional<QDateTime> at;
    /// The output folder of a run, exactly as given.
    QString outputFolder;
    /// --out was given (a dry run then plans against that folder).
    bool outputFolderGiven = false;
    /// PATH arguments and --folder sources, in the order given.
    QList<CliSource> sources;
    /// --form and --creation: the stamp's form and the creation time of photos and videos.
    RunChoices style;
    /// -0: names end with NUL instead of a line feed, the run's summary goes to stderr.
    bool nullSeparated = false;
    /// --quiet: no progress line during --out.
    bool quiet = false;
    /// --undo [ID]: the run named (whole or by its 4-hex tail); empty for the newest not
    /// yet undone. With --dry-run only what would be removed and left is told.
    QString undoId;
    bool undoDryRun = false;
    /// Warnings about the command line that do not stop it, one line each.
    QStringList warnings;
};

/// A command line that cannot be acted on; the message is one line.
struct UsageError {
    QString message;
};

/// The preset saved in the window under a name; nullopt when there is none of that name.
using PresetLookup = std::function<std::optional<Preset>(const QString &)>;

/// Parses the arguments after the program name; --preset NAME looks the preset up. Throws
/// UsageError.
CliRequest parseArguments(const QStringList &arguments, const PresetLookup &presets = {});

} // namespace plenvoy::cli
