#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace plenvoy::cli {

/// Every option of plenvoy-cli, in the order --help lists them.
enum class OptionId {
    ListOptions,
    ListPresets,
    Preset,
    Option,
    Nth,
    At,
    Form,
    Pattern,
    Creation,
    Shift,
    Layout,
    SkipCopied,
    NoSkipCopied,
    DryRun,
    Out,
    Quiet,
    Null,
    Folder,
    Extension,
    Runs,
    Undo,
    EndOfOptions,
    Help,
    Version,
};

/// Whether an option takes a value: none, always (from "--name=value" or the next
/// argument), or only "--name=value" and a next argument that does not start with "-".
enum class OptionValue { None, Required, Optional };

/// One option, declared once: parsing, --help and the check of the man page and the
/// completions all read it from here.
struct CliOption {
    OptionId id = OptionId::Help;
    /// "--form"; empty for an option that has only a short name.
    QString name;
    /// "-0"; empty when there is none.
    QString shortName;
    OptionValue value = OptionValue::None;
    /// The value's name in --help: "FORM".
    QString valueName;
    /// The words the value must be one of; empty when the value is free.
    QStringList words;
    /// Given twice, the option is a usage error.
    bool once = false;
    /// The option's lines in --help, without their indentation, '\n' between lines.
    QString help;
};

/// The table of every option, in --help's order. "--" is in it too: no option, but --help
/// lists it and the man page and bash complete it.
const QList<CliOption> &cliOptions();

/// The option that the long or short name names; nullptr for any other text, "--" included.
const CliOption *findOption(const QString &name);

/// The option's names as typed: "-0" and "--null"; "--form"; "-n".
QStringList namesOf(const CliOption &option);

/// The words as a usage error lists them: "flat, tree or dates".
QString wordsText(const QStringList &words);

/// The text that --help prints: the usage, every option's lines, what the program prints
/// and its exit status.
QString helpText();

} // namespace plenvoy::cli
