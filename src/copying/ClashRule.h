#pragma once

#include "FilePlacement.h"

#include <QString>

#include <functional>

namespace plenvoy {

/// "Base (n).ext": the number goes before the name's last dot; a name without a dot, or
/// whose only dot begins it (".profile"), gets it at the end.
QString numberedName(const QString &path, int number);

/// "Base (n).ext" for the numbers from `from` on until `taken` answers false for one; nullopt
/// when a numbered name passes nameMax bytes or every number is taken.
struct NumberedName {
    QString name;
    int number = 0;
    bool tooLong = false;
};
NumberedName firstFreeNumberedName(const QString &name, int from, qsizetype nameMax,
                                   const std::function<bool(const QString &)> &taken);

/// Who holds the name a copy is to get, as the run judges it.
enum class NameHolder {
    Nothing,         ///< the name is free
    OwnCopy,         ///< this source's own copy, written by this run: replaced, no clash
    OwnReadOnlyCopy, ///< as OwnCopy, but read-only: left alone
    OtherCopy,       ///< this run's copy of another source: the copy takes a numbered name
    OwnSource,       ///< the source itself: left alone
    ListedFile,      ///< another listed file: the copy takes a numbered name
    NotAFile,        ///< a folder, a broken link or another non-file: left alone
    ReadOnly,        ///< a file from before the run this user may not replace: left alone
    Replaceable,     ///< a file from before the run: replaced
    Unreadable       ///< whether the name is taken could not be read (lookError tells why)
};

/// What is known of whatever holds a name. Past `regular` the facts are read only for a
/// regular file: nothing else is asked about.
struct HolderFacts {
    /// The errno of a look at the name that failed for another reason than its absence.
    int lookError = 0;
    bool exists = false;
    /// A regular file, a link followed.
    bool regular = false;
    /// The copy's own source (same device and inode).
    bool isSource = false;
    /// Written by this run from the same source, or from another one.
    bool writtenFromThisSource = false;
    bool writtenFromAnotherSource = false;
    /// One of the listed files.
    bool listed = false;
    /// No write bit at all, or not writable by this user.
    bool readOnly = false;
};

/// The one verdict on a name that is taken, shared by the plan and by the copy that checks
/// it on the disk at the moment it names the file.
NameHolder holderOfName(const HolderFacts &facts);

/// What a copy onto a name so held meets: None when the name is free or may be replaced,
/// ListedFileInTheWay when the copy takes a numbered name instead. Unreadable has no problem
/// of its own: the caller tells it by its lookError.
CopyProblem clashProblem(NameHolder holder);

/// True when a numbered name so held is taken: anything but nothing or this source's own
/// earlier copy holds it.
bool takesNumberedName(NameHolder holder);

} // namespace plenvoy
