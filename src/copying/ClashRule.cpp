#include "ClashRule.h"

#include "core/PathCodec.h"
#include "core/PathHelpers.h"

namespace plenvoy {

namespace {
/// The highest number a numbered name gets before every name counts as taken.
constexpr int kMaxNumberedName = 100000;
} // namespace

QString numberedName(const QString &path, int number) {
    const qsizetype nameStart = path.lastIndexOf(platformSeparator()) + 1;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const QString tag = QStringLiteral(" (") + QString::number(number) + QLatin1Char(')');
    if (dot <= nameStart)
        return path + tag;
    return path.left(dot) + tag + path.mid(dot);
}

NumberedName firstFreeNumberedName(const QString &name, int from, qsizetype nameMax,
                                   const std::function<bool(const QString &)> &taken) {
    for (int number = from; number <= kMaxNumberedName; ++number) {
        NumberedName candidate{numberedName(name, number), number, false};
        if (pathToBytes(candidate.name).size() > nameMax) {
            candidate.tooLong = true;
            return candidate;
        }
        if (!taken(candidate.name))
            return candidate;
    }
    return NumberedName{};
}

NameHolder holderOfName(const HolderFacts &facts) {
    if (facts.lookError != 0)
        return NameHolder::Unreadable;
    if (!facts.exists)
        return NameHolder::Nothing;
    if (!facts.regular)
        return NameHolder::NotAFile;
    if (facts.writtenFromThisSource)
        return facts.readOnly ? NameHolder::OwnReadOnlyCopy : NameHolder::OwnCopy;
    if (facts.writtenFromAnotherSource)
        return NameHolder::OtherCopy;
    if (facts.isSource)
        return NameHolder::OwnSource;
    if (facts.listed)
        return NameHolder::ListedFile;
    return facts.readOnly ? NameHolder::ReadOnly : NameHolder::Replaceable;
}

CopyProblem clashProblem(NameHolder holder) {
    switch (holder) {
    case NameHolder::Nothing:
    case NameHolder::OwnCopy:
    case NameHolder::Replaceable:
    case NameHolder::Unreadable:
        return CopyProblem::None;
    case NameHolder::OwnReadOnlyCopy:
    case NameHolder::ReadOnly:
        return CopyProblem::ReadOnlyInTheWay;
    case NameHolder::OtherCopy:
    case NameHolder::ListedFile:
        return CopyProblem::ListedFileInTheWay;
    case NameHolder::OwnSource:
        return CopyProblem::OwnSource;
    case NameHolder::NotAFile:
        return CopyProblem::NotAFileInTheWay;
    }
    return CopyProblem::None;
}

bool takesNumberedName(NameHolder holder) {
    return holder != NameHolder::Nothing && holder != NameHolder::OwnCopy &&
           holder != NameHolder::OwnReadOnlyCopy;
}

} // namespace plenvoy
