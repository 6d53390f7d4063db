#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace plenvoy::cli {

/// What one call of plenvoy-cli asks for, parsed before anything is done.
struct CliRequest {
    enum class Action { Help, ListOptions, DryRun };
    Action action = Action::Help;
    /// The option's display text: the text given, or the text of the index given.
    QString optionText;
    /// The converted -n answer; -1 when -n was not given.
    qint16 nthValue = -1;
    /// The local moment that current-time options use instead of the clock.
    std::optional<QDateTime> at;
    QStringList paths;
};

/// A command line that cannot be acted on; the message is one line.
struct UsageError {
    QString message;
};

/// Parses the arguments after the program name. Throws UsageError.
CliRequest parseArguments(const QStringList &arguments);

/// The text that --help prints.
QString helpText();

} // namespace plenvoy::cli
