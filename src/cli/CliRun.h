#pragma once

#include "CliArguments.h"

#include <QString>

#include <cstdio>

namespace plenvoy {
class FileList;
}

namespace plenvoy::cli {

class CliWindowPort;

constexpr int kExitSuccess = 0;
constexpr int kExitFailures = 1;
constexpr int kExitUsage = 2;

/// Writes the text and a line feed, in UTF-8.
void writeLine(std::FILE *stream, const QString &text);

/// Fills the list from the request's sources in their order: a PATH as it is, a folder by
/// the rules of "Add All Files In Folder". A folder that does not exist adds nothing and
/// gets a warning. Returns the number of error reports shown while adding.
int addSources(FileList &list, const QList<CliSource> &sources, CliWindowPort &ui);

/// --dry-run: one line per listed file with its new path. Returns the exit status.
int dryRun(const CliRequest &request);

/// --out: the "Start Changing" run over the listed files into the output folder. Prints
/// "SOURCE -> DESTINATION" for each file copied, errors on standard error with the file
/// they concern, and "N copied, N not copied" at the end. Returns the exit status.
int startChanging(const CliRequest &request);

} // namespace plenvoy::cli
