#include "CliOptions.h"

#include <initializer_list>

namespace plenvoy::cli {

namespace {

/// The column where --help's option texts start; longer names take a line of their own.
constexpr qsizetype kHelpColumn = 18;

/// An option without a value; names as --help writes them: "--quiet", "-0, --null".
CliOption flag(OptionId id, const char *names, const char *help) {
    CliOption option;
    option.id = id;
    for (const QString &name : QString::fromLatin1(names).split(QStringLiteral(", ")))
        (name.startsWith(QLatin1String("--")) ? option.name : option.shortName) = name;
    option.help = QString::fromLatin1(help);
    return option;
}

/// An option that always takes a value, named in --help as valueName.
CliOption valued(OptionId id, const char *names, const char *valueName, const char *help) {
    CliOption option = flag(id, names, help);
    option.value = OptionValue::Required;
    option.valueName = QString::fromLatin1(valueName);
    return option;
}

/// An option whose value may be left out: only "--name=value" or a next argument that does
/// not start with "-" gives one.
CliOption optionalValue(OptionId id, const char *names, const char *valueName, const char *help) {
    CliOption option = valued(id, names, valueName, help);
    option.value = OptionValue::Optional;
    return option;
}

/// The option's value is one of the words.
CliOption oneOf(CliOption option, std::initializer_list<const char *> words) {
    for (const char *word : words)
        option.words << QString::fromLatin1(word);
    return option;
}

/// Given twice, the option is a usage error.
CliOption once(CliOption option) {
    option.once = true;
    return option;
}

} // namespace

const QList<CliOption> &cliOptions() {
    static const QList<CliOption> options = {
        flag(OptionId::ListOptions, "--list-options",
             "print the 36 rename options, one a line, in index order (0 to 35)"),
        flag(OptionId::ListPresets, "--list-presets",
             "print the names of the presets saved in the window's stamp\n"
             "settings, one a line, each followed by a tab and what it holds"),
        once(valued(OptionId::Preset, "--preset", "NAME",
                    "use the preset NAME saved in the window: its option, n, stamp\n"
                    "form or pattern, creation time, shift, layout, skip setting and\n"
                    "output folder. Options given here override the preset's; with\n"
                    "it --option and -n may be left out, and --out DIR too when the\n"
                    "preset holds an output folder (a --dry-run then plans against\n"
                    "it). The window's settings file ($XDG_CONFIG_HOME/Marnoval.ini,\n"
                    "by default ~/.config/Marnoval.ini) is only read, never written.\n"
                    "A NAME that names no preset is a usage error")),
        valued(OptionId::Option, "--option", "OPT",
               "the rename option: an index 0..35 or an option's exact text. Any\n"
               "other text (36, -1, a misspelt text) is a usage error. The empty\n"
               "text \"\" leaves every name as it is, and says so on standard error"),
        valued(OptionId::Nth, "-n", "N",
               "n for the options \"after nth character\" (required by them), read\n"
               "as the answer to \"Enter n:\": a number, rounded half to even, from\n"
               "0 to 32767; anything else is a usage error. Given to another\n"
               "option, it is not used and a warning says so"),
        valued(OptionId::At, "--at", "MOMENT",
               "current-time options use this local moment, written\n"
               "\"YYYY-MM-DD HH:MM:SS\", instead of the clock"),
        oneOf(valued(OptionId::Form, "--form", "FORM",
                     "how stamps write dates and times: regional (the default, the\n"
                     "locale's forms), sortable (2026-12-07 14-05-09) or compact\n"
                     "(20261207-140509); sortable and compact are the same in every\n"
                     "locale. custom is the --pattern's own form"),
              {"regional", "sortable", "compact", "custom"}),
        valued(OptionId::Pattern, "--pattern", "PATTERN",
               "the whole stamp written from PATTERN, as date +FORMAT writes it\n"
               "(implies --form custom): %Y year, %y its last two digits, %m\n"
               "month, %d day, %e day padded with a blank, %H hour (00-23), %I\n"
               "hour (01-12), %M minute, %S second, %p AM or PM, %b and %B short\n"
               "and full month name, %a and %A short and full weekday name, %j\n"
               "day of the year, %V ISO week, %G its year, %u weekday (1 is\n"
               "Monday), %% a \"%\"; names are those of the locale (LC_ALL,\n"
               "LC_TIME, LANG), every other character stands as itself. A\n"
               "pattern that holds / \\ : * ? \" < > |, a control character or an\n"
               "unknown %-token, whose stamp could pass 64 bytes or be empty, is\n"
               "a usage error"),
        oneOf(valued(OptionId::Creation, "--creation", "WHEN",
                     "the moment the \"file creation\" options stamp: file (the\n"
                     "default, the file's creation time on this computer) or taken\n"
                     "(for a photo or video, the moment its metadata records; a file\n"
                     "without one keeps its file time)"),
              {"file", "taken"}),
        valued(OptionId::Shift, "--shift", "SHIFT",
               "add SHIFT, written [+|-][D:]HH:MM:SS (-1:00:00 is an hour back),\n"
               "to every moment taken from a photo or video, for a camera clock\n"
               "that was wrong; file times and the clock are never shifted. The\n"
               "shifted moment must still be plausible (a photo's not before\n"
               "1900 nor more than a day ahead, a video's not before 1990 nor\n"
               "ahead), else the file keeps its file time. Without --creation\n"
               "taken it is not used and a warning says so"),
        oneOf(valued(OptionId::Layout, "--layout", "LAYOUT",
                     "where the copies go in DIR: flat (the default, all directly in\n"
                     "it), tree (a file listed through --folder keeps its path below\n"
                     "that folder, under the folder's own name: DIR/Holiday/day 1/...)\n"
                     "or dates (DIR/YYYY/YYYY-MM-DD/ of the moment the stamp uses).\n"
                     "Folders are made as needed, never through a link in the way"),
              {"flat", "tree", "dates"}),
        flag(OptionId::SkipCopied, "--skip-copied",
             "do not copy a file again into the folder that holds an earlier\n"
             "run's copy of it, still unchanged (a source is known by its path\n"
             "below the --folder it came through, its size and its time)"),
        flag(OptionId::NoSkipCopied, "--no-skip-copied",
             "copy every file, even when a preset skips files copied before"),
        flag(OptionId::DryRun, "--dry-run",
             "print the new path of each listed file; no file is read or\n"
             "written beyond looking up its times. With --out DIR the names\n"
             "are planned against DIR as the run would copy them (the files\n"
             "in it, its name-length limit); nothing is written"),
        once(valued(OptionId::Out, "--out", "DIR",
                    "copy each listed file into the folder DIR under its new name, as\n"
                    "\"Start Changing\" does; sources are never changed. When standard\n"
                    "error is a terminal and the run takes longer than about a second,\n"
                    "a progress line shows there")),
        flag(OptionId::Quiet, "--quiet", "no progress line"),
        flag(OptionId::Null, "-0, --null",
             "end each name printed on standard output with a NUL byte instead\n"
             "of a line feed, for names that hold line breaks (as find -print0,\n"
             "xargs -0)"),
        valued(OptionId::Folder, "--folder", "DIR",
               "list every file of DIR and of its sub-folders, at any depth, as\n"
               "\"Add All Files In Folder\" does: names starting with \"~\" and\n"
               "writable names starting with \".\" are left out, and symbolic\n"
               "links to sub-folders are not followed. Repeatable; a DIR that\n"
               "is not a folder adds nothing and gets a warning on standard\n"
               "error (the exit status stays as the rest of the run makes it)"),
        valued(OptionId::Extension, "--extension", "EXT",
               "after --folder DIR: list only names matching \"*.\" + EXT,\n"
               "ignoring case (txt, jp?, tar.gz); the default * lists every file"),
        flag(OptionId::Runs, "--runs",
             "list the records of the runs that wrote copies, newest first: id,\n"
             "start time (UTC), front (window or cli), output folder, copied\n"
             "and not copied, \"did not finish\" for a run that was ended,\n"
             "\"undone\" for a run already taken back"),
        once(optionalValue(OptionId::Undo, "--undo", "ID",
                           "take back the newest run not yet undone, or the run ID (whole, or\n"
                           "its last four hex digits where they are unique): each copy it\n"
                           "wrote is removed when it is still the same file, unchanged since;\n"
                           "any other copy is left as it is and named on standard error with\n"
                           "what changed. A copy that replaced an earlier file of its name is\n"
                           "kept. Sources are never touched. With --dry-run, only tells what\n"
                           "would be removed and what would be left")),
        flag(OptionId::EndOfOptions, "--", "every later argument is a PATH"),
        flag(OptionId::Help, "-h, --help", "print this help"),
        flag(OptionId::Version, "--version", "print the version"),
    };
    return options;
}

const CliOption *findOption(const QString &name) {
    for (const CliOption &option : cliOptions())
        if (option.id != OptionId::EndOfOptions &&
            (name == option.name || (!option.shortName.isEmpty() && name == option.shortName)))
            return &option;
    return nullptr;
}

QStringList namesOf(const CliOption &option) {
    QStringList names;
    if (!option.shortName.isEmpty())
        names << option.shortName;
    if (!option.name.isEmpty())
        names << option.name;
    return names;
}

QString wordsText(const QStringList &words) {
    if (words.size() < 2)
        return words.join(QString());
    return words.mid(0, words.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ") +
           words.last();
}

namespace {

/// --help's lines of every option, the names and value in a column of their own.
QString optionLinesText() {
    const QString indent(kHelpColumn, QLatin1Char(' '));
    QString text;
    for (const CliOption &option : cliOptions()) {
        QString names = QStringLiteral("  ") + namesOf(option).join(QStringLiteral(", "));
        if (option.value == OptionValue::Required)
            names += QLatin1Char(' ') + option.valueName;
        else if (option.value == OptionValue::Optional)
            names += QStringLiteral(" [") + option.valueName + QLatin1Char(']');
        if (names.size() < kHelpColumn)
            text += names.leftJustified(kHelpColumn);
        else
            text += names + QLatin1Char('\n') + indent;
        text += QString(option.help).replace(QLatin1Char('\n'), QLatin1Char('\n') + indent) +
                QLatin1Char('\n');
    }
    return text;
}

} // namespace

QString helpText() {
    // The prose around the options' lines, which the table makes.
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
               "\n") +
           optionLinesText() +
           QStringLiteral(
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
               "gets an empty line and \"plenvoy-cli: PATH: not copied: REASON\" on standard "
               "error;\n"
               "a name that cannot be composed gets \"plenvoy-cli: PATH: DESCRIPTION\" there. "
               "With\n"
               "-0 each line is DESTINATION NUL.\n"
               "\n"
               "--out prints \"SOURCE -> DESTINATION\" on standard output for each file copied,\n"
               "\"plenvoy-cli: SOURCE: not copied: REASON\" on standard error for each file not\n"
               "copied, the reason in plain words, \"plenvoy-cli: SOURCE: ...\" for each error, "
               "and\n"
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
