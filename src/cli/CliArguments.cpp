#include "CliArguments.h"

#include "core/Failure.h"
#include "core/PathText.h"
#include "naming/NthValue.h"
#include "naming/RegionalForms.h"
#include "naming/RenameOptions.h"
#include "naming/StampPattern.h"

namespace plenvoy::cli {

namespace {

/// "0".."35" names an option by its index, every other text must be an option's exact
/// text; the empty text is the window with no option chosen. Throws UsageError.
QString optionTextOf(const QString &value) {
    if (value.isEmpty() || renameOptionIndex(value) >= 0)
        return value;
    bool isIndex = value.size() <= 2;
    for (const QChar c : value)
        isIndex = isIndex && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (isIndex && value.toInt() < kRenameOptionCount)
        return renameOptionTexts().at(value.toInt());
    throw UsageError{QStringLiteral("--option \"") + value +
                     QStringLiteral("\" names none of the options: give an index 0..35 or an "
                                    "exact text (see --list-options)")};
}

/// The -n text as the run converts it; a value no file could use is a usage error.
qint16 nthValueOf(const QString &text) {
    qint16 value = 0;
    try {
        value = convertNthValue(text);
    } catch (const Failure &failure) {
        throw UsageError{QStringLiteral("-n \"") + text + QStringLiteral("\": ") +
                         failure.description() +
                         QStringLiteral(" (a number from 0 to 32767 is needed)")};
    }
    if (value < 0)
        throw UsageError{QStringLiteral("-n \"") + text +
                         QStringLiteral("\": no file has a negative nth character "
                                        "(a number from 0 to 32767 is needed)")};
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

/// The choice that one of the words names; any other word is a usage error.
template <typename Choice>
Choice choiceOf(const QString &option, const QString &value,
                std::optional<Choice> (*named)(const QString &), const char *words) {
    if (const std::optional<Choice> choice = named(value))
        return *choice;
    throw UsageError{option + QStringLiteral(" \"") + value + QStringLiteral("\": give ") +
                     QLatin1String(words)};
}

} // namespace

CliRequest parseArguments(const QStringList &arguments, const PresetLookup &presets) {
    CliRequest request;
    bool help = false;
    bool version = false;
    bool listOptions = false;
    bool listPresets = false;
    std::optional<QString> presetName;
    bool creationGiven = false;
    bool shiftGiven = false;
    bool layoutGiven = false;
    bool skipGiven = false;
    bool dryRun = false;
    std::optional<QString> option;
    std::optional<QString> nText;
    std::optional<QString> outputFolder;
    bool pathsOnly = false;
    bool styleGiven = false;
    std::optional<StampForm> form;
    std::optional<QString> pattern;
    // True while the last source is a --folder that has no --extension yet.
    bool extensionOpen = false;
    bool runs = false;
    bool undo = false;
    // Arguments other than --runs, --undo [ID] and --dry-run, which those take none of.
    int others = 0;

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (pathsOnly || argument == QLatin1String("-") || !argument.startsWith(QLatin1Char('-'))) {
            ++others;
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
        if (name != QLatin1String("--runs") && name != QLatin1String("--undo") &&
            name != QLatin1String("--dry-run"))
            ++others;
        if (name == QLatin1String("--runs")) {
            runs = true;
        } else if (name == QLatin1String("--undo")) {
            if (undo)
                throw UsageError{QStringLiteral("--undo is given twice")};
            undo = true;
            // The id is the next argument when it does not start with "-".
            if (inlineValue)
                request.undoId = *inlineValue;
            else if (i + 1 < arguments.size() && !arguments.at(i + 1).startsWith(QLatin1Char('-')))
                request.undoId = arguments.at(++i);
        } else if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            help = true;
        } else if (name == QLatin1String("--version")) {
            version = true;
        } else if (name == QLatin1String("--quiet")) {
            request.quiet = true;
        } else if (name == QLatin1String("--list-options")) {
            listOptions = true;
        } else if (name == QLatin1String("--list-presets")) {
            listPresets = true;
        } else if (name == QLatin1String("--preset")) {
            if (presetName)
                throw UsageError{QStringLiteral("--preset is given twice")};
            presetName = value();
        } else if (name == QLatin1String("--dry-run")) {
            dryRun = true;
        } else if (name == QLatin1String("-0") || name == QLatin1String("--null")) {
            request.nullSeparated = true;
        } else if (name == QLatin1String("--option")) {
            option = value();
        } else if (name == QLatin1String("-n")) {
            nText = value();
        } else if (name == QLatin1String("--at")) {
            request.at = momentOf(value());
        } else if (name == QLatin1String("--form")) {
            form = choiceOf(name, value(), stampFormNamed, "regional, sortable, compact or custom");
            styleGiven = true;
        } else if (name == QLatin1String("--pattern")) {
            pattern = value();
            styleGiven = true;
        } else if (name == QLatin1String("--creation")) {
            request.style.creation = choiceOf(name, value(), creationTimeNamed, "file or taken");
            styleGiven = creationGiven = true;
        } else if (name == QLatin1String("--shift")) {
            const QString text = value();
            const std::optional<qint64> shift = takenShiftNamed(text);
            if (!shift)
                throw UsageError{QStringLiteral("--shift \"") + text +
                                 QStringLiteral("\": give [+|-][D:]HH:MM:SS, e.g. -1:00:00 or "
                                                "+2:03:00:00")};
            request.style.takenShift = *shift;
            styleGiven = shiftGiven = true;
        } else if (name == QLatin1String("--skip-copied")) {
            request.style.skipCopied = true;
            styleGiven = skipGiven = true;
        } else if (name == QLatin1String("--no-skip-copied")) {
            request.style.skipCopied = false;
            styleGiven = skipGiven = true;
        } else if (name == QLatin1String("--layout")) {
            request.style.layout =
                choiceOf(name, value(), outputLayoutNamed, "flat, tree or dates");
            styleGiven = layoutGiven = true;
        } else if (name == QLatin1String("--out")) {
            if (outputFolder)
                throw UsageError{QStringLiteral("--out is given twice")};
            outputFolder = value();
        } else if (name == QLatin1String("--folder")) {
            const QString folder = value();
            if (folder.isEmpty())
                throw UsageError{QStringLiteral("--folder needs a folder")};
            request.sources.append(
                {CliSource::Kind::Folder, withoutTrailingSeparators(folder), QStringLiteral("*")});
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
             name == QLatin1String("--dry-run") || name == QLatin1String("--null") ||
             name == QLatin1String("--version") || name == QLatin1String("--quiet") ||
             name == QLatin1String("--runs") || name == QLatin1String("--list-presets") ||
             name == QLatin1String("--skip-copied") || name == QLatin1String("--no-skip-copied")))
            throw UsageError{name + QStringLiteral(" takes no value")};
    }

    // What the command line does not give, the preset does.
    bool nFromPreset = false;
    bool patternFromPreset = false;
    if (presetName) {
        const std::optional<Preset> preset = presets ? presets(*presetName) : std::nullopt;
        if (!preset)
            throw UsageError{QStringLiteral("--preset \"") + *presetName +
                             QStringLiteral("\" names no preset saved in the window (see "
                                            "--list-presets)")};
        if (!option && !preset->option.isEmpty())
            option = preset->option;
        if (!nText && preset->nthValue) {
            nText = QString::number(*preset->nthValue);
            nFromPreset = true;
        }
        const StampStyle &saved = preset->style;
        if (!pattern && (!form || *form == StampForm::Custom)) {
            if (saved.form == StampForm::Custom) {
                pattern = saved.pattern;
                patternFromPreset = true;
            } else if (!form) {
                form = saved.form;
            }
        }
        if (!creationGiven)
            request.style.creation = saved.creation;
        if (!shiftGiven)
            request.style.takenShift = saved.takenShift;
        if (!layoutGiven)
            request.style.layout = saved.layout;
        if (!skipGiven)
            request.style.skipCopied = saved.skipCopied;
        if (!outputFolder && !preset->outputFolder.isEmpty())
            outputFolder = preset->outputFolder;
    }

    if (pattern) {
        if (form && *form != StampForm::Custom)
            throw UsageError{QStringLiteral("--pattern goes with --form custom only")};
        const PatternCheck check = checkStampPattern(*pattern, RegionalForms::system());
        if (!check.isValid())
            throw UsageError{(patternFromPreset ? QStringLiteral("the preset's pattern \"")
                                                : QStringLiteral("--pattern \"")) +
                             *pattern + QStringLiteral("\": ") + patternFaultText(check)};
        request.style.form = StampForm::Custom;
        request.style.pattern = *pattern;
    } else if (form) {
        if (*form == StampForm::Custom)
            throw UsageError{QStringLiteral("--form custom needs --pattern PATTERN")};
        request.style.form = *form;
    }

    if (runs) {
        if (undo || dryRun || others > 0)
            throw UsageError{QStringLiteral("--runs takes no other arguments")};
        request.action = CliRequest::Action::Runs;
        return request;
    }
    if (undo) {
        if (others > 0)
            throw UsageError{QStringLiteral("--undo combines only with --dry-run")};
        request.undoDryRun = dryRun;
        request.action = CliRequest::Action::Undo;
        return request;
    }
    if (help) {
        request.action = CliRequest::Action::Help;
        return request;
    }
    if (version) {
        request.action = CliRequest::Action::Version;
        return request;
    }
    if (listOptions || listPresets) {
        if (option || nText || request.at || dryRun || outputFolder || request.nullSeparated ||
            styleGiven || !request.sources.isEmpty() || presetName || (listOptions && listPresets))
            throw UsageError{listOptions
                                 ? QStringLiteral("--list-options takes no other arguments")
                                 : QStringLiteral("--list-presets takes no other arguments")};
        request.action =
            listOptions ? CliRequest::Action::ListOptions : CliRequest::Action::ListPresets;
        return request;
    }
    if (!option)
        throw UsageError{presetName ? QStringLiteral("--option is missing: the preset holds none")
                                    : QStringLiteral("--option is missing (see --help)")};
    request.optionText = optionTextOf(*option);
    request.nthText = nText;
    if (nText)
        request.nthValue = nthValueOf(*nText);
    if (!nText && needsNthValue(request.optionText))
        throw UsageError{QStringLiteral("the option \"") + request.optionText +
                         QStringLiteral("\" needs -n") +
                         (presetName ? QStringLiteral(": the preset holds none") : QString())};
    if (nText && !nFromPreset && !needsNthValue(request.optionText))
        request.warnings.append(QStringLiteral("-n is not used by the option \"") +
                                request.optionText + QLatin1Char('"'));
    if (shiftGiven && request.style.takenShift != 0 &&
        request.style.creation != CreationTime::Taken)
        request.warnings.append(QStringLiteral("--shift is not used without --creation taken"));
    if (request.optionText.isEmpty())
        request.warnings.append(QStringLiteral("the empty option keeps every name as it is"));
    if (outputFolder) {
        request.outputFolder = *outputFolder;
        request.outputFolderGiven = true;
    }
    if (outputFolder && !dryRun) {
        // A run with nothing to add goes on to the run's own check: "No files added."
        request.action = CliRequest::Action::Run;
        return request;
    }
    if (!dryRun)
        throw UsageError{presetName ? QStringLiteral("--dry-run or --out DIR is missing: the "
                                                     "preset holds no output folder")
                                    : QStringLiteral("--dry-run or --out DIR is missing")};
    if (request.sources.isEmpty())
        throw UsageError{QStringLiteral("no PATH or --folder given")};
    request.action = CliRequest::Action::DryRun;
    return request;
}

QString helpText() {
    return QStringLiteral(
        "Usage: plenvoy-cli --list-options | --list-presets\n"
        "       plenvoy-cli --option OPT [-n N] [--at MOMENT] [-0] --dry-run [--out DIR] "
        "SOURCE...\n"
        "       plenvoy-cli --option OPT [-n N] [--at MOMENT] [-0] [--quiet] --out DIR "
        "[SOURCE...]\n"
        "       plenvoy-cli --preset NAME [--option OPT] [-n N] [...] [--out DIR] "
        "[SOURCE...]\n"
        "       plenvoy-cli --runs\n"
        "       plenvoy-cli --undo [ID] [--dry-run]\n"
        "       plenvoy-cli --help | --version\n"
        "where SOURCE is a PATH or --folder DIR [--extension EXT]; --form FORM,\n"
        "--pattern PATTERN, --creation WHEN, --shift SHIFT, --layout LAYOUT and\n"
        "--[no-]skip-copied may join any of the three.\n"
        "\n"
        "Shows the names that Plenvoy gives its stamped copies, or writes the copies.\n"
        "\n"
        "  --list-options  print the 36 rename options, one a line, in index order (0 to 35)\n"
        "  --list-presets  print the names of the presets saved in the window's stamp\n"
        "                  settings, one a line, each followed by a tab and what it holds\n"
        "  --preset NAME   use the preset NAME saved in the window: its option, n, stamp\n"
        "                  form or pattern, creation time, shift, layout, skip setting and\n"
        "                  output folder. Options given here override the preset's; with\n"
        "                  it --option and -n may be left out, and --out DIR too when the\n"
        "                  preset holds an output folder (a --dry-run then plans against\n"
        "                  it). The window's settings file ($XDG_CONFIG_HOME/Marnoval.ini,\n"
        "                  by default ~/.config/Marnoval.ini) is only read, never written.\n"
        "                  A NAME that names no preset is a usage error\n"
        "  --option OPT    the rename option: an index 0..35 or an option's exact text. Any\n"
        "                  other text (36, -1, a misspelt text) is a usage error. The empty\n"
        "                  text \"\" leaves every name as it is, and says so on standard error\n"
        "  -n N            n for the options \"after nth character\" (required by them), read\n"
        "                  as the answer to \"Enter n:\": a number, rounded half to even, from\n"
        "                  0 to 32767; anything else is a usage error. Given to another\n"
        "                  option, it is not used and a warning says so\n"
        "  --at MOMENT     current-time options use this local moment, written\n"
        "                  \"YYYY-MM-DD HH:MM:SS\", instead of the clock\n"
        "  --form FORM     how stamps write dates and times: regional (the default, the\n"
        "                  locale's forms), sortable (2026-12-07 14-05-09) or compact\n"
        "                  (20261207-140509); sortable and compact are the same in every\n"
        "                  locale. custom is the --pattern's own form\n"
        "  --pattern PATTERN\n"
        "                  the whole stamp written from PATTERN, as date +FORMAT writes it\n"
        "                  (implies --form custom): %Y year, %y its last two digits, %m\n"
        "                  month, %d day, %e day padded with a blank, %H hour (00-23), %I\n"
        "                  hour (01-12), %M minute, %S second, %p AM or PM, %b and %B short\n"
        "                  and full month name, %a and %A short and full weekday name, %j\n"
        "                  day of the year, %V ISO week, %G its year, %u weekday (1 is\n"
        "                  Monday), %% a \"%\"; names are those of the locale (LC_ALL,\n"
        "                  LC_TIME, LANG), every other character stands as itself. A\n"
        "                  pattern that holds / \\ : * ? \" < > |, a control character or an\n"
        "                  unknown %-token, whose stamp could pass 64 bytes or be empty, is\n"
        "                  a usage error\n"
        "  --creation WHEN the moment the \"file creation\" options stamp: file (the\n"
        "                  default, the file's creation time on this computer) or taken\n"
        "                  (for a photo or video, the moment its metadata records; a file\n"
        "                  without one keeps its file time)\n"
        "  --shift SHIFT   add SHIFT, written [+|-][D:]HH:MM:SS (-1:00:00 is an hour back),\n"
        "                  to every moment taken from a photo or video, for a camera clock\n"
        "                  that was wrong; file times and the clock are never shifted. The\n"
        "                  shifted moment must still be plausible (a photo's not before\n"
        "                  1900 nor more than a day ahead, a video's not before 1990 nor\n"
        "                  ahead), else the file keeps its file time. Without --creation\n"
        "                  taken it is not used and a warning says so\n"
        "  --layout LAYOUT where the copies go in DIR: flat (the default, all directly in\n"
        "                  it), tree (a file listed through --folder keeps its path below\n"
        "                  that folder, under the folder's own name: DIR/Holiday/day 1/...)\n"
        "                  or dates (DIR/YYYY/YYYY-MM-DD/ of the moment the stamp uses).\n"
        "                  Folders are made as needed, never through a link in the way\n"
        "  --skip-copied   do not copy a file again into the folder that holds an earlier\n"
        "                  run's copy of it, still unchanged (a source is known by its path\n"
        "                  below the --folder it came through, its size and its time)\n"
        "  --no-skip-copied\n"
        "                  copy every file, even when a preset skips files copied before\n"
        "  --dry-run       print the new path of each listed file; no file is read or\n"
        "                  written beyond looking up its times. With --out DIR the names\n"
        "                  are planned against DIR as the run would copy them (the files\n"
        "                  in it, its name-length limit); nothing is written\n"
        "  --out DIR       copy each listed file into the folder DIR under its new name, as\n"
        "                  \"Start Changing\" does; sources are never changed. When standard\n"
        "                  error is a terminal and the run takes longer than about a second,\n"
        "                  a progress line shows there\n"
        "  --quiet         no progress line\n"
        "  -0, --null      end each name printed on standard output with a NUL byte instead\n"
        "                  of a line feed, for names that hold line breaks (as find -print0,\n"
        "                  xargs -0)\n"
        "  --folder DIR    list every file of DIR and of its sub-folders, at any depth, as\n"
        "                  \"Add All Files In Folder\" does: names starting with \"~\" and\n"
        "                  writable names starting with \".\" are left out, and symbolic\n"
        "                  links to sub-folders are not followed. Repeatable; a DIR that\n"
        "                  is not a folder adds nothing and gets a warning on standard\n"
        "                  error (the exit status stays as the rest of the run makes it)\n"
        "  --extension EXT after --folder DIR: list only names matching \"*.\" + EXT,\n"
        "                  ignoring case (txt, jp?, tar.gz); the default * lists every file\n"
        "  --runs          list the records of the runs that wrote copies, newest first: id,\n"
        "                  start time (UTC), front (window or cli), output folder, copied\n"
        "                  and not copied, \"did not finish\" for a run that was ended,\n"
        "                  \"undone\" for a run already taken back\n"
        "  --undo [ID]     take back the newest run not yet undone, or the run ID (whole, or\n"
        "                  its last four hex digits where they are unique): each copy it\n"
        "                  wrote is removed when it is still the same file, unchanged since;\n"
        "                  any other copy is left as it is and named on standard error with\n"
        "                  what changed. A copy that replaced an earlier file of its name is\n"
        "                  kept. Sources are never touched. With --dry-run, only tells what\n"
        "                  would be removed and what would be left\n"
        "  --              every later argument is a PATH\n"
        "  -h, --help      print this help\n"
        "  --version       print the version\n"
        "\n"
        "The files are listed in the order of the SOURCE arguments: a PATH as it is given,\n"
        "a --folder's files at that point, folder by folder, level by level. Names are\n"
        "taken and printed as the bytes the file system holds, UTF-8 or not.\n"
        "\n"
        "--dry-run prints one line per listed file on standard output, in order: its new\n"
        "path. When two listed files would get the same new name, or a new name is another\n"
        "listed file, the line shows the numbered name the run gives: \"Base (2).ext\",\n"
        "\"Base (3).ext\", ... With --out DIR the names are those the run would write into\n"
        "DIR, numbered also past the files already there. A file the run would not copy\n"
        "gets an empty line and \"plenvoy-cli: PATH: not copied: REASON\" on standard error;\n"
        "a name that cannot be composed gets \"plenvoy-cli: PATH: DESCRIPTION\" there. With\n"
        "-0 each line is DESTINATION NUL.\n"
        "\n"
        "--out prints \"SOURCE -> DESTINATION\" on standard output for each file copied,\n"
        "\"plenvoy-cli: SOURCE: not copied: REASON\" on standard error for each file not\n"
        "copied, the reason in plain words, \"plenvoy-cli: SOURCE: ...\" for each error, and\n"
        "\"N copied, N not copied\" at the end, with \", N renamed to avoid a clash\" when\n"
        "some copies got a numbered name. With -0 each copied file is SOURCE NUL\n"
        "DESTINATION NUL, and the summary goes to standard error. A file counts as copied\n"
        "only when this run wrote its destination with the source's size and modification\n"
        "time. An existing destination of the same name is replaced, except the source\n"
        "itself and a read-only file, which are left alone (the file is not copied), and\n"
        "another listed file or a copy this run wrote from another source, which make the\n"
        "copy take a numbered name. An empty list gives \"No files added.\", then a DIR\n"
        "that is not an existing folder gives \"Folder does not exist. Please select\n"
        "another folder.\"; either ends the run before any file is touched.\n"
        "\n"
        "Without -0, a name that holds a line break is printed as an empty line, with a\n"
        "warning. When standard output cannot be written (a full disk, a closed pipe), the\n"
        "printing stops but the run goes on, and standard error says so once.\n"
        "\n"
        "Exit status: 0 success (with --out: every listed file copied); 1 when some name\n"
        "could not be composed, some file was not copied or would not be (--dry-run), an\n"
        "error was reported, a name was printed as an empty line, standard output could\n"
        "not be written, or the run refused to start; 2 for a usage error. --undo: 0 when\n"
        "every copy of the run was removed, 1 when any was left, 2 for a usage error or an\n"
        "unknown ID.\n"
        "\n"
        "Every run that writes a copy, from the window or from here, leaves a record in\n"
        "$XDG_STATE_HOME/plenvoy/runs (~/.local/state/plenvoy/runs); the records of the\n"
        "newest 200 runs of the last 90 days are kept.\n"
        "Dates and times are written in the regional forms of the locale (LC_ALL, LC_TIME,\n"
        "LANG); the C and en_US locales give 12/6/2026 and 2:05:09 PM. --form sortable or\n"
        "compact writes them the same in every locale.\n");
}

} // namespace plenvoy::cli
