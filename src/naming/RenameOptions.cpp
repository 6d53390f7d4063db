#include "RenameOptions.h"

namespace plenvoy {

namespace {

QList<RenameOption> buildCatalogue() {
    const struct {
        TimeSource source;
        const char *phrase;
    } sources[] = {{TimeSource::Clock, "current"},
                   {TimeSource::Creation, "file creation"},
                   {TimeSource::LastWrite, "last modified"},
                   {TimeSource::LastAccess, "last accessed"}};
    const struct {
        StampKind kind;
        const char *phrase;
    } kinds[] = {{StampKind::Time, "time"},
                 {StampKind::Date, "date"},
                 {StampKind::TimeAndDate, "time and date"}};
    const struct {
        InsertPosition position;
        const char *phrase;
    } positions[] = {{InsertPosition::Beginning, "to beginning of filename"},
                     {InsertPosition::End, "to end of filename"},
                     {InsertPosition::AfterNth, "after nth character in filename"}};

    QList<RenameOption> options;
    options.reserve(kRenameOptionCount);
    for (const auto &s : sources) {
        for (const auto &k : kinds) {
            for (const auto &p : positions) {
                QString text = QStringLiteral("Add ") + QLatin1String(s.phrase) + QLatin1Char(' ') +
                               QLatin1String(k.phrase) + QLatin1Char(' ') + QLatin1String(p.phrase);
                // One text departs from the pattern; its wording is part of its identity.
                if (s.source == TimeSource::LastWrite && k.kind == StampKind::Time &&
                    p.position == InsertPosition::End)
                    text = QStringLiteral("Add last modification time to end of filename");
                options.append({s.source, k.kind, p.position, text});
            }
        }
    }
    return options;
}

} // namespace

const QList<RenameOption> &renameOptions() {
    static const QList<RenameOption> catalogue = buildCatalogue();
    return catalogue;
}

QStringList renameOptionTexts() {
    QStringList texts;
    for (const RenameOption &option : renameOptions())
        texts.append(option.text);
    return texts;
}

int renameOptionIndex(const QString &text) {
    const QList<RenameOption> &options = renameOptions();
    for (qsizetype i = 0; i < options.size(); ++i) {
        if (options.at(i).text == text)
            return int(i);
    }
    return -1;
}

bool needsNthValue(const QString &optionText) {
    return optionText.contains(QStringLiteral("nth character"));
}

} // namespace plenvoy
