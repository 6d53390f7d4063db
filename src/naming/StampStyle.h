#pragma once

#include <QString>

#include <optional>

namespace plenvoy {

/// How a stamp writes its date and time. Regional is the locale's forms (the option texts'
/// own meaning); Sortable ("2026-12-07 14-05-09") and Compact ("20261207-140509") are the
/// same in every locale, zero-padded and 24-hour, and always whole. Custom is the user's own
/// pattern (see StampPattern.h), which makes the whole stamp.
enum class StampForm { Regional, Sortable, Compact, Custom };

/// Where the "file creation" options of a photo or video take their moment from: the file
/// system's creation time, or the moment recorded in the file's metadata where it has one.
enum class CreationTime { File, Taken };

/// Where the copies go inside the output folder: all directly in it; below the folder each
/// file was listed through, under that folder's own name; or in year and day folders of the
/// moment the stamp uses.
enum class OutputLayout { Flat, Tree, Dates };

/// The longest shift of taken times, in days either way.
constexpr int kLongestTakenShiftDays = 99'999;

/// The stored and typed words: "regional", "sortable", "compact", "custom"; "file", "taken".
QString stampFormName(StampForm form);
QString creationTimeName(CreationTime creation);
/// "flat", "tree", "dates".
QString outputLayoutName(OutputLayout layout);
/// The choice a word names (exactly, lower case), or nullopt for any other text.
std::optional<StampForm> stampFormNamed(const QString &name);
std::optional<CreationTime> creationTimeNamed(const QString &name);
std::optional<OutputLayout> outputLayoutNamed(const QString &name);
/// A shift of taken times as it is stored: "+D:HH:MM:SS" or "-D:HH:MM:SS".
QString takenShiftText(qint64 seconds);
/// The seconds of a shift written "[+|-][D:]HH:MM:SS" (hours, minutes and seconds of one or
/// two digits, below 24, 60 and 60; D up to kLongestTakenShiftDays); nullopt for any other
/// text.
std::optional<qint64> takenShiftNamed(const QString &text);

} // namespace plenvoy
