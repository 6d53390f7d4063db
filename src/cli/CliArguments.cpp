#include "CliArguments.h"

#include "core/Failure.h"
#include "engine/NthValue.h"
#include "engine/RenameOptions.h"

namespace plenvoy::cli {

namespace {

/// "0".."35" names an option by its index; every other text is passed on as a display text.
QString optionTextOf(const QString &value) {
    bool isIndex = !value.isEmpty() && value.size() <= 2;
    for (const QChar c : value)
        isIndex = isIndex && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (isIndex) {
        const int index = value.toInt();
        if (index < kRenameOptionCount)
            return renameOptionTexts().at(index);
    }
    return value;
}

QDateTime momentOf(const QString &value) {
    const QDateTime moment = QDateTime::fromString(value, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!moment.isValid())
        throw UsageError{QStringLiteral("--at: \"") + value +
                         QStringLiteral("\" is not a local time of the form "
                                        "\"YYYY-MM-DD HH:MM:SS\"")};
    return moment;
}

/// A folder as the folder dialog gives it: without trailing separators, "/" kept.
QString folderText(const QString &value) {
    QString folder = value;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

} // namespace

CliRequest parseArguments(const QStringList &arguments) {
    CliRequest request;
    bool help = false;
    bool listOptions = false;
    bool dryRun = false;
    std::optional<QString> option;
    std::optional<QString> nText;
    std::optional<QString> outputFolder;
    bool pathsOnly = false;
    // True while the last source is a --folder that has no --extension yet.
    bool extensionOpen = false;

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (pathsOnly || argument == QLatin1String("-") || !argument.startsWith(QLatin1Char('-'))) {
            request.sources.append({CliSource::Kind::Path, argument, QString()});
            extensionOpen = false;
            continue;
        }
        if (argument == QLatin1String("--")) {
            pathsOnly = true;
            continue;
        }
        // Options with a value take it from "--name=value" or from the next argument.
        QString name = argument;
        std::optional<QString> inlineValue;
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        if (argument.startsWith(QLatin1String("--")) && equals > 0) {
            name = argument.left(equals);
            inlineValue = argument.mid(equals + 1);
        }
        auto value = [&]() -> QString {
            if (inlineValue)
                return *inlineValue;
            if (i + 1 >= arguments.size())
                throw UsageError{name + QStringLiteral(" needs a value")};
            return arguments.at(++i);
        };
        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            help = true;
        } else if (name == QLatin1String("--list-options")) {
            listOptions = true;
        } else if (name == QLatin1String("--dry-run")) {
            dryRun = true;
        } else if (name == QLatin1String("--option")) {
            option = value();
        } else if (name == QLatin1String("-n")) {
            nText = value();
        } else if (name == QLatin1String("--at")) {
            request.at = momentOf(value());
        } else if (name == QLatin1String("--out")) {
            if (outputFolder)
                throw UsageError{QStringLiteral("--out is given twice")};
            outputFolder = value();
        } else if (name == QLatin1String("--folder")) {
            const QString folder = value();
            if (folder.isEmpty())
                throw UsageError{QStringLiteral("--folder needs a folder")};
            request.sources.append(
                {CliSource::Kind::Folder, folderText(folder), QStringLiteral("*")});
            extensionOpen = true;
        } else if (name == QLatin1String("--extension")) {
            const QString extension = value();
            if (!extensionOpen)
                throw UsageError{QStringLiteral("--extension must follow its --folder DIR")};
            // An empty answer to the window's question adds nothing: it is no extension.
            if (extension.isEmpty())
                throw UsageError{QStringLiteral("--extension needs an extension (* for all)")};
            request.sources.last().extension = extension;
            extensionOpen = false;
        } else {
            throw UsageError{QStringLiteral("unknown option ") + argument};
        }
        if (inlineValue &&
            (name == QLatin1String("--help") || name == QLatin1String("--list-options") ||
             name == QLatin1String("--dry-run")))
            throw UsageError{name + QStringLiteral(" takes no value")};
    }

    if (help) {
        request.action = CliRequest::Action::Help;
        return request;
    }
    if (listOptions) {
        if (option || nText || request.at || dryRun || outputFolder || !request.sources.isEmpty())
            throw UsageError{QStringLiteral("--list-options takes no other arguments")};
        request.action = CliRequest::Action::ListOptions;
        return request;
    }
    if (!option)
        throw UsageError{QStringLiteral("--option is missing (see --help)")};
    request.optionText = optionTextOf(*option);
    request.nthText = nText;
    if (nText) {
        try {
            request.nthValue = convertNthValue(*nText);
        } catch (const Failure &failure) {
            throw UsageError{QStringLiteral("-n \"") + *nText + QStringLiteral("\": ") +
                             failure.description()};
        }
    } else if (needsNthValue(request.optionText)) {
        throw UsageError{QStringLiteral("the option \"") + request.optionText +
                         QStringLiteral("\" needs -n")};
    }
    if (dryRun && outputFolder)
        throw UsageError{QStringLiteral("--dry-run and --out exclude each other")};
    if (outputFolder) {
        // A run with nothing to add goes on to the run's own check: "No files added."
        request.outputFolder = *outputFolder;
        request.action = CliRequest::Action::Run;
        return request;
    }
    if (!dryRun)
        throw UsageError{QStringLiteral("--dry-run or --out DIR is missing")};
    if (request.sources.isEmpty())
        throw UsageError{QStringLiteral("no PATH or --folder given")};
    request.action = CliRequest::Action::DryRun;
    return request;
}

QString helpText() {
    return QStringLiteral(
        "Usage: plenvoy-cli --list-options\n"
        "       plenvoy-cli --option OPT [-n N] [--at MOMENT] --dry-run SOURCE...\n"
        "       plenvoy-cli --option OPT [-n N] [--at MOMENT] --out DIR [SOURCE...]\n"
        "       plenvoy-cli --help\n"
        "where SOURCE is a PATH or --folder DIR [--extension EXT].\n"
        "\n"
        "Shows the names that Plenvoy gives its stamped copies, or writes the copies.\n"
        "\n"
        "  --list-options  print the 36 rename options, one a line, in index order (0 to 35)\n"
        "  --option OPT    the rename option: an index 0..35 or an exact option text; an\n"
        "                  empty text leaves every name as it is, an unknown text gives an\n"
        "                  empty name\n"
        "  -n N            n for the options \"after nth character\" (required by them), read\n"
        "                  as the answer to \"Enter n:\": a number, rounded half to even, from\n"
        "                  -32768 to 32767; without -n the value is -1\n"
        "  --at MOMENT     current-time options use this local moment, written\n"
        "                  \"YYYY-MM-DD HH:MM:SS\", instead of the clock\n"
        "  --dry-run       print the new path of each listed file; no file is read or\n"
        "                  written beyond looking up its times\n"
        "  --out DIR       copy each listed file into the folder DIR under its new name, as\n"
        "                  \"Start Changing\" does; sources are never changed\n"
        "  --folder DIR    list every file of DIR and of its sub-folders, at any depth, as\n"
        "                  \"Add All Files In Folder\" does: names starting with \"~\" and\n"
        "                  writable names starting with \".\" are left out, and symbolic\n"
        "                  links to sub-folders are not followed. Repeatable; a DIR that\n"
        "                  is not a folder adds nothing and gets a warning on standard\n"
        "                  error (the exit status stays as the rest of the run makes it)\n"
        "  --extension EXT after --folder DIR: list only names matching \"*.\" + EXT,\n"
        "                  ignoring case (txt, jp?, tar.gz); the default * lists every file\n"
        "  --              every later argument is a PATH\n"
        "  -h, --help      print this help\n"
        "\n"
        "The files are listed in the order of the SOURCE arguments: a PATH as it is given,\n"
        "a --folder's files at that point, folder by folder, level by level.\n"
        "\n"
        "--dry-run prints one line per listed file on standard output, in order: its new\n"
        "path (an empty line for an empty name). When a name cannot be composed, standard\n"
        "error gets \"plenvoy-cli: PATH: DESCRIPTION\", standard output an empty line, and\n"
        "the next file follows.\n"
        "\n"
        "--out prints \"SOURCE -> DESTINATION\" on standard output for each file copied,\n"
        "\"plenvoy-cli: SOURCE: ...\" on standard error for each error and each file not\n"
        "copied, and \"N copied, N not copied\" at the end. A file counts as copied only when\n"
        "this run wrote its destination with the source's size and modification time. An\n"
        "existing destination of the same name is replaced, except the source itself,\n"
        "another listed file and a read-only file. An empty list gives \"No files added.\",\n"
        "then a DIR that is not an existing folder gives \"Folder does not exist. Please\n"
        "select another folder.\"; either ends the run before any file is touched.\n"
        "\n"
        "Exit status: 0 success (with --out: every listed file copied); 1 when some name\n"
        "could not be composed, some file was not copied, an error was reported, or the\n"
        "run refused to start; 2 for a usage error.\n"
        "Dates and times are written in the regional forms of the locale (LC_ALL, LC_TIME,\n"
        "LANG); the C and en_US locales give 12/6/2026 and 2:05:09 PM.\n");
}

} // namespace plenvoy::cli
