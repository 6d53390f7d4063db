#pragma once

#include "CliArguments.h"

namespace plenvoy {
class PresetStore;
}

namespace plenvoy::cli {

// The commands of plenvoy-cli, one file each; each returns the exit status.

constexpr int kExitSuccess = 0;
constexpr int kExitFailures = 1;
constexpr int kExitUsage = 2;

/// --dry-run: one record per listed file with its new path, numbered as the run numbers
/// clashes within the list.
int dryRun(const CliRequest &request);

/// --out: the "Start Changing" run over the listed files into the output folder, told
/// from what the run returns: "SOURCE -> DESTINATION" for each file copied, each file
/// not copied with its reason and each error on standard error, and the counts at the
/// end.
int copyListedFiles(const CliRequest &request);

/// --runs: one line per record, newest first.
int listRuns();

/// --undo [ID] [--dry-run]: takes back a run and tells what was removed and what was left.
/// Returns 0 when every copy was removed, 1 when any was left, 2 for an unknown ID.
int undoRun(const CliRequest &request);

/// --list-options: the 36 option texts in index order.
int listOptions();

/// --list-presets: each readable preset's name, a tab and what it holds.
int listPresets(const PresetStore &presets);

} // namespace plenvoy::cli
