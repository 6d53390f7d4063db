#pragma once

#include "CliArguments.h"

#include <QString>

namespace plenvoy {
class FileList;
}

namespace plenvoy::cli {

class CliWindowPort;

constexpr int kExitSuccess = 0;
constexpr int kExitFailures = 1;
constexpr int kExitUsage = 2;

/// Fills the list from the request's sources in their order: a PATH as it is, a folder by
/// the rules of "Add All Files In Folder". A folder that does not exist adds nothing and
/// gets a warning. Returns the number of error reports shown while adding. With
/// seenRegular, one flag an entry: whether a folder's listing saw it as a regular file.
int addSources(FileList &list, const QList<CliSource> &sources, CliWindowPort &ui,
               QList<bool> *seenRegular = nullptr);

/// --dry-run: one record per listed file with its new path, numbered as the run numbers
/// clashes within the list. Returns the exit status.
int dryRun(const CliRequest &request);

/// --out: the "Start Changing" run over the listed files into the output folder, told
/// from what the run returns: "SOURCE -> DESTINATION" for each file copied, each file
/// not copied with its reason and each error on standard error, and the counts at the
/// end. Returns the exit status.
int copyListedFiles(const CliRequest &request);

} // namespace plenvoy::cli
