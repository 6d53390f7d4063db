#pragma once

#include "CliArguments.h"

namespace plenvoy::cli {

/// --runs: one line per record, newest first. Returns the exit status.
int listRuns();

/// --undo [ID] [--dry-run]: takes back a run and tells what was removed and what was left.
/// Returns 0 when every copy was removed, 1 when any was left, 2 for an unknown ID.
int undoRun(const CliRequest &request);

} // namespace plenvoy::cli
