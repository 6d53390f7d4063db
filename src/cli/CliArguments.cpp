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

} // namespace

CliRequest parseArguments(const QStringList &arguments) {
    CliRequest request;
    bool help = false;
    bool listOptions = false;
    bool dryRun = false;
    std::optional<QString> option;
    std::optional<QString> nText;
    bool pathsOnly = false;

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (pathsOnly || argument == QLatin1String("-") || !argument.startsWith(QLatin1Char('-'))) {
            request.paths.append(argument);
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
        if (option || nText || request.at || dryRun || !request.paths.isEmpty())
            throw UsageError{QStringLiteral("--list-options takes no other arguments")};
        request.action = CliRequest::Action::ListOptions;
        return request;
    }
    if (!option)
        throw UsageError{QStringLiteral("--option is missing (see --help)")};
    request.optionText = optionTextOf(*option);
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
    if (!dryRun)
        throw UsageError{QStringLiteral("--dry-run is missing: only dry runs are offered")};
    if (request.paths.isEmpty())
        throw UsageError{QStringLiteral("no PATH given")};
    request.action = CliRequest::Action::DryRun;
    return request;
}

QString helpText() {
    return QStringLiteral(
        "Usage: plenvoy-cli --list-options\n"
        "       plenvoy-cli --option OPT [-n N] [--at \"YYYY-MM-DD HH:MM:SS\"] --dry-run PATH...\n"
        "       plenvoy-cli --help\n"
        "\n"
        "Shows the names that Plenvoy gives its stamped copies.\n"
        "\n"
        "  --list-options  print the 36 rename options, one a line, in index order (0 to 35)\n"
        "  --option OPT    the rename option: an index 0..35 or an exact option text; an\n"
        "                  empty text leaves every name as it is, an unknown text gives an\n"
        "                  empty name\n"
        "  -n N            n for the options \"after nth character\" (required by them), read\n"
        "                  as the answer to \"Enter n:\": a number, rounded half to even, from\n"
        "                  -32768 to 32767; without -n the value is -1\n"
        "  --at MOMENT     current-time options use this local moment instead of the clock\n"
        "  --dry-run       print the new path of each PATH; no file is read or written\n"
        "                  beyond looking up its times\n"
        "  --              every later argument is a PATH\n"
        "  -h, --help      print this help\n"
        "\n"
        "Each PATH gives one line on standard output, in order: its new path (an empty line\n"
        "for an empty name). When a name cannot be composed, standard error gets\n"
        "\"plenvoy-cli: PATH: DESCRIPTION\", standard output an empty line, and the next PATH\n"
        "follows.\n"
        "\n"
        "Exit status: 0 success, 1 when some name could not be composed, 2 for a usage error.\n"
        "Dates and times are written in the regional forms of the locale (LC_ALL, LC_TIME,\n"
        "LANG); the C and en_US locales give 12/6/2026 and 2:05:09 PM.\n");
}

} // namespace plenvoy::cli
