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

} // namespace plenvoy
