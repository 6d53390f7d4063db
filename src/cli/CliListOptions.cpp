#include "CliCommands.h"
#include "CliOutput.h"

#include "naming/RenameOptions.h"

namespace plenvoy::cli {

int listOptions() {
    for (const QString &text : renameOptionTexts())
        printLine(text);
    return kExitSuccess;
}

} // namespace plenvoy::cli
