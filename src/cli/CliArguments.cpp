#include "CliArguments.h"

#include "CliOptions.h"

#include "core/Failure.h"
#include "core/PathText.h"
#include "naming/NthValue.h"
#include "naming/RegionalForms.h"
#include "naming/RenameOptions.h"
#include "naming/StampPattern.h"

#include <set>

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

/// The choice that one of the option's words names; any other word is a usage error.
template <typename Choice>
Choice choiceOf(const CliOption &option, const QString &value,
                std::optional<Choice> (*named)(const QString &)) {
    if (option.words.contains(value))
        if (const std::optional<Choice> choice = named(value))
            return *choice;
    throw UsageError{option.name + QStringLiteral(" \"") + value + QStringLiteral("\": give ") +
                     wordsText(option.words)};
}

/// What the command line gives, before a preset fills in what it leaves out.
struct Given {
    CliRequest request;
    /// The options given, each once however often it was given.
    std::set<OptionId> seen;
    std::optional<QString> presetName;
    std::optional<QString> option;
    std::optional<QString> nText;
    std::optional<QString> outputFolder;
    std::optional<StampForm> form;
    std::optional<QString> pattern;
    bool nFromPreset = false;
    bool patternFromPreset = false;
    // True while the last source is a --folder that has no --extension yet.
    bool extensionOpen = false;
    // Arguments other than --runs, --undo [ID] and --dry-run, which those take none of.
    int others = 0;

    bool has(OptionId id) const { return seen.count(id) != 0; }
    bool styleGiven() const {
        return has(OptionId::Form) || has(OptionId::Pattern) || has(OptionId::Creation) ||
               has(OptionId::Shift) || has(OptionId::SkipCopied) || has(OptionId::NoSkipCopied) ||
               has(OptionId::Layout);
    }
};

/// The option's value: from "--name=value" or the next argument, as the option takes one.
QString valueOf(const CliOption &option, const QString &name,
                const std::optional<QString> &inlineValue, const QStringList &arguments,
                qsizetype &i) {
    switch (option.value) {
    case OptionValue::None:
        if (inlineValue)
            throw UsageError{name + QStringLiteral(" takes no value")};
        return QString();
    case OptionValue::Required:
        if (inlineValue)
            return *inlineValue;
        if (i + 1 >= arguments.size())
            throw UsageError{name + QStringLiteral(" needs a value")};
        return arguments.at(++i);
    case OptionValue::Optional:
        // The value is the next argument when it does not start with "-".
        if (inlineValue)
            return *inlineValue;
        if (i + 1 < arguments.size() && !arguments.at(i + 1).startsWith(QLatin1Char('-')))
            return arguments.at(++i);
        return QString();
    }
    return QString();
}

/// The options that choose how stamps are written and where copies go.
void applyStyleOption(Given &given, const CliOption &option, const QString &value) {
    RunChoices &style = given.request.style;
    switch (option.id) {
    case OptionId::Form:
        given.form = choiceOf(option, value, stampFormNamed);
        break;
    case OptionId::Pattern:
        given.pattern = value;
        break;
    case OptionId::Creation:
        style.creation = choiceOf(option, value, creationTimeNamed);
        break;
    case OptionId::Shift:
        if (const std::optional<qint64> shift = takenShiftNamed(value))
            style.takenShift = *shift;
        else
            throw UsageError{QStringLiteral("--shift \"") + value +
                             QStringLiteral("\": give [+|-][D:]HH:MM:SS, e.g. -1:00:00 or "
                                            "+2:03:00:00")};
        break;
    case OptionId::SkipCopied:
    case OptionId::NoSkipCopied:
        style.skipCopied = option.id == OptionId::SkipCopied;
        break;
    case OptionId::Layout:
        style.layout = choiceOf(option, value, outputLayoutNamed);
        break;
    default:
        break;
    }
}

/// Takes in one option with its value. Options that only choose an action are in the
/// options seen, and need nothing more here.
void applyOption(Given &given, const CliOption &option, const QString &value) {
    CliRequest &request = given.request;
    switch (option.id) {
    case OptionId::Preset:
        given.presetName = value;
        break;
    case OptionId::Option:
        given.option = value;
        break;
    case OptionId::Nth:
        given.nText = value;
        break;
    case OptionId::At:
        request.at = momentOf(value);
        break;
    case OptionId::Quiet:
        request.quiet = true;
        break;
    case OptionId::Null:
        request.nullSeparated = true;
        break;
    case OptionId::Undo:
        request.undoId = value;
        break;
    case OptionId::Out:
        given.outputFolder = value;
        break;
    case OptionId::Folder:
        if (value.isEmpty())
            throw UsageError{QStringLiteral("--folder needs a folder")};
        request.sources.append(
            {CliSource::Kind::Folder, withoutTrailingSeparators(value), QStringLiteral("*")});
        given.extensionOpen = true;
        break;
    case OptionId::Extension:
        if (!given.extensionOpen)
            throw UsageError{QStringLiteral("--extension must follow its --folder DIR")};
        // An empty answer to the window's question adds nothing: it is no extension.
        if (value.isEmpty())
            throw UsageError{QStringLiteral("--extension needs an extension (* for all)")};
        request.sources.last().extension = value;
        given.extensionOpen = false;
        break;
    default:
        applyStyleOption(given, option, value);
        break;
    }
}

/// Reads the arguments in order: PATHs, and options with their values.
Given readArguments(const QStringList &arguments) {
    Given given;
    bool pathsOnly = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (pathsOnly || argument == QLatin1String("-") || !argument.startsWith(QLatin1Char('-'))) {
            ++given.others;
            given.request.sources.append({CliSource::Kind::Path, argument, QString()});
            given.extensionOpen = false;
            continue;
        }
        if (argument == QLatin1String("--")) {
            pathsOnly = true;
            continue;
        }
        QString name = argument;
        std::optional<QString> inlineValue;
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        if (argument.startsWith(QLatin1String("--")) && equals > 0) {
            name = argument.left(equals);
            inlineValue = argument.mid(equals + 1);
        }
        const CliOption *option = findOption(name);
        if (!option)
            throw UsageError{QStringLiteral("unknown option ") + argument};
        if (option->id != OptionId::Runs && option->id != OptionId::Undo &&
            option->id != OptionId::DryRun)
            ++given.others;
        if (option->once && given.has(option->id))
            throw UsageError{option->name + QStringLiteral(" is given twice")};
        const QString value = valueOf(*option, name, inlineValue, arguments, i);
        given.seen.insert(option->id);
        applyOption(given, *option, value);
    }
    return given;
}

/// What the command line does not give, the preset does.
void applyPreset(Given &given, const PresetLookup &presets) {
    if (!given.presetName)
        return;
    const std::optional<Preset> preset = presets ? presets(*given.presetName) : std::nullopt;
    if (!preset)
        throw UsageError{QStringLiteral("--preset \"") + *given.presetName +
                         QStringLiteral("\" names no preset saved in the window (see "
                                        "--list-presets)")};
    if (!given.option && !preset->option.isEmpty())
        given.option = preset->option;
    if (!given.nText && preset->nthValue) {
        given.nText = QString::number(*preset->nthValue);
        given.nFromPreset = true;
    }
    const RunChoices &saved = preset->style;
    if (!given.pattern && (!given.form || *given.form == StampForm::Custom)) {
        if (saved.form == StampForm::Custom) {
            given.pattern = saved.pattern;
            given.patternFromPreset = true;
        } else if (!given.form) {
            given.form = saved.form;
        }
    }
    RunChoices &style = given.request.style;
    if (!given.has(OptionId::Creation))
        style.creation = saved.creation;
    if (!given.has(OptionId::Shift))
        style.takenShift = saved.takenShift;
    if (!given.has(OptionId::Layout))
        style.layout = saved.layout;
    if (!given.has(OptionId::SkipCopied) && !given.has(OptionId::NoSkipCopied))
        style.skipCopied = saved.skipCopied;
    if (!given.outputFolder && !preset->outputFolder.isEmpty())
        given.outputFolder = preset->outputFolder;
}

/// The stamp's form: a pattern makes it custom, custom needs a pattern.
void settleForm(Given &given) {
    RunChoices &style = given.request.style;
    if (given.pattern) {
        if (given.form && *given.form != StampForm::Custom)
            throw UsageError{QStringLiteral("--pattern goes with --form custom only")};
        const PatternCheck check = checkStampPattern(*given.pattern, RegionalForms::system());
        if (!check.isValid())
            throw UsageError{(given.patternFromPreset ? QStringLiteral("the preset's pattern \"")
                                                      : QStringLiteral("--pattern \"")) +
                             *given.pattern + QStringLiteral("\": ") + patternFaultText(check)};
        style.form = StampForm::Custom;
        style.pattern = *given.pattern;
    } else if (given.form) {
        if (*given.form == StampForm::Custom)
            throw UsageError{QStringLiteral("--form custom needs --pattern PATTERN")};
        style.form = *given.form;
    }
}

/// The action of a call that names no files to stamp; nullopt for a dry run or a run.
std::optional<CliRequest::Action> actionAlone(const Given &given) {
    if (given.has(OptionId::Runs)) {
        if (given.has(OptionId::Undo) || given.has(OptionId::DryRun) || given.others > 0)
            throw UsageError{QStringLiteral("--runs takes no other arguments")};
        return CliRequest::Action::Runs;
    }
    if (given.has(OptionId::Undo)) {
        if (given.others > 0)
            throw UsageError{QStringLiteral("--undo combines only with --dry-run")};
        return CliRequest::Action::Undo;
    }
    if (given.has(OptionId::Help))
        return CliRequest::Action::Help;
    if (given.has(OptionId::Version))
        return CliRequest::Action::Version;
    const bool listOptions = given.has(OptionId::ListOptions);
    if (!listOptions && !given.has(OptionId::ListPresets))
        return std::nullopt;
    const CliRequest &request = given.request;
    if (given.option || given.nText || request.at || given.has(OptionId::DryRun) ||
        given.outputFolder || request.nullSeparated || given.styleGiven() ||
        !request.sources.isEmpty() || given.presetName ||
        (listOptions && given.has(OptionId::ListPresets)))
        throw UsageError{listOptions ? QStringLiteral("--list-options takes no other arguments")
                                     : QStringLiteral("--list-presets takes no other arguments")};
    return listOptions ? CliRequest::Action::ListOptions : CliRequest::Action::ListPresets;
}

/// A dry run or a run: the option, its n and the output folder, checked.
CliRequest namingRequest(Given &given) {
    CliRequest &request = given.request;
    const bool fromPreset = given.presetName.has_value();
    if (!given.option)
        throw UsageError{fromPreset ? QStringLiteral("--option is missing: the preset holds none")
                                    : QStringLiteral("--option is missing (see --help)")};
    request.optionText = optionTextOf(*given.option);
    request.nthText = given.nText;
    if (given.nText)
        request.nthValue = nthValueOf(*given.nText);
    if (!given.nText && needsNthValue(request.optionText))
        throw UsageError{QStringLiteral("the option \"") + request.optionText +
                         QStringLiteral("\" needs -n") +
                         (fromPreset ? QStringLiteral(": the preset holds none") : QString())};
    if (given.nText && !given.nFromPreset && !needsNthValue(request.optionText))
        request.warnings.append(QStringLiteral("-n is not used by the option \"") +
                                request.optionText + QLatin1Char('"'));
    if (given.has(OptionId::Shift) && request.style.takenShift != 0 &&
        request.style.creation != CreationTime::Taken)
        request.warnings.append(QStringLiteral("--shift is not used without --creation taken"));
    if (request.optionText.isEmpty())
        request.warnings.append(QStringLiteral("the empty option keeps every name as it is"));
    const bool dryRun = given.has(OptionId::DryRun);
    if (given.outputFolder) {
        request.outputFolder = *given.outputFolder;
        request.outputFolderGiven = true;
        // A run with nothing to add goes on to the run's own check: "No files added."
        if (!dryRun) {
            request.action = CliRequest::Action::Run;
            return request;
        }
    }
    if (!dryRun)
        throw UsageError{fromPreset ? QStringLiteral("--dry-run or --out DIR is missing: the "
                                                     "preset holds no output folder")
                                    : QStringLiteral("--dry-run or --out DIR is missing")};
    if (request.sources.isEmpty())
        throw UsageError{QStringLiteral("no PATH or --folder given")};
    request.action = CliRequest::Action::DryRun;
    return request;
}

} // namespace

CliRequest parseArguments(const QStringList &arguments, const PresetLookup &presets) {
    Given given = readArguments(arguments);
    applyPreset(given, presets);
    settleForm(given);
    if (const std::optional<CliRequest::Action> action = actionAlone(given)) {
        given.request.action = *action;
        given.request.undoDryRun =
            *action == CliRequest::Action::Undo && given.has(OptionId::DryRun);
        return given.request;
    }
    return namingRequest(given);
}

} // namespace plenvoy::cli
