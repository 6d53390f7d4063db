// Prints plenvoy-cli's option table for the check of its man page and completions: one
// name a line ("--" included), then, for an option whose value is one of a fixed set, a
// tab and its words separated by blanks.
#include "cli/CliOptions.h"

#include <cstdio>

int main() {
    for (const plenvoy::cli::CliOption &option : plenvoy::cli::cliOptions()) {
        for (const QString &name : plenvoy::cli::namesOf(option)) {
            QString line = name;
            if (!option.words.isEmpty())
                line += QLatin1Char('\t') + option.words.join(QLatin1Char(' '));
            std::printf("%s\n", line.toUtf8().constData());
        }
    }
    return 0;
}
