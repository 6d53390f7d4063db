#include "cli/CliArguments.h"
#include "cli/CliOptions.h"

#include <QtTest>

using namespace plenvoy::cli;

namespace {

/// The message of the usage error that the arguments give; empty when they give none.
QString usageErrorOf(const QStringList &arguments) {
    try {
        parseArguments(arguments);
    } catch (const UsageError &error) {
        return error.message.isEmpty() ? QStringLiteral("(an empty message)") : error.message;
    }
    return QString();
}

/// A dry run that any option may join.
const QStringList kDryRun{QStringLiteral("--option"), QStringLiteral("0"),
                          QStringLiteral("--dry-run"), QStringLiteral("a.txt")};

} // namespace

/// Every option of the table is parsed as it is declared there.
class TestCliOptions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void valuesAreTakenAsDeclared_data();
    void valuesAreTakenAsDeclared();
    void onceOptionsRefuseASecondTime_data();
    void onceOptionsRefuseASecondTime();
    void valueWordsAreTheWordsTaken_data();
    void valueWordsAreTheWordsTaken();
};

void TestCliOptions::valuesAreTakenAsDeclared_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    for (const CliOption &option : cliOptions()) {
        if (option.id == OptionId::EndOfOptions)
            continue;
        const QByteArray row = namesOf(option).constFirst().toUtf8();
        switch (option.value) {
        case OptionValue::None:
            // Only a long name can be given a value with "=".
            if (!option.name.isEmpty())
                QTest::newRow(row) << QStringList{option.name + QStringLiteral("=1")}
                                   << option.name + QStringLiteral(" takes no value");
            break;
        case OptionValue::Required:
            for (const QString &name : namesOf(option))
                QTest::newRow(name.toUtf8())
                    << kDryRun + QStringList{name} << name + QStringLiteral(" needs a value");
            break;
        case OptionValue::Optional:
            // The next argument is the value unless it starts with "-"; "-" is then a PATH,
            // which --undo (the one such option) combines with no more than --runs does.
            QTest::newRow(QByteArray(row + " and a value").constData())
                << QStringList{option.name, QStringLiteral("ab12")} << QString();
            QTest::newRow(QByteArray(row + " and a PATH \"-\"").constData())
                << QStringList{option.name, QStringLiteral("-")}
                << option.name + QStringLiteral(" combines only with --dry-run");
            break;
        }
    }
}

void TestCliOptions::valuesAreTakenAsDeclared() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    QCOMPARE(usageErrorOf(arguments), error);
}

void TestCliOptions::onceOptionsRefuseASecondTime_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("refused");
    for (const CliOption &option : cliOptions()) {
        if (option.value == OptionValue::None || option.name.isEmpty())
            continue;
        const QString value = option.words.value(0, QStringLiteral("x"));
        const QString given = option.name + QLatin1Char('=') + value;
        QTest::newRow(option.name.toUtf8())
            << QStringList{given, given, QStringLiteral("a.txt")} << option.once;
    }
}

void TestCliOptions::onceOptionsRefuseASecondTime() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, refused);
    const QString twice =
        arguments.constFirst().section(QLatin1Char('='), 0, 0) + QStringLiteral(" is given twice");
    QCOMPARE(usageErrorOf(arguments) == twice, refused);
}

void TestCliOptions::valueWordsAreTheWordsTaken_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("taken");
    for (const CliOption &option : cliOptions()) {
        for (const QString &word : option.words)
            QTest::newRow(QString(option.name + QLatin1Char(' ') + word).toUtf8())
                << kDryRun + QStringList{option.name, word} << true;
        if (!option.words.isEmpty())
            QTest::newRow(QString(option.name + QStringLiteral(" of another word")).toUtf8())
                << kDryRun + QStringList{option.name, option.words.join(QString())} << false;
    }
}

void TestCliOptions::valueWordsAreTheWordsTaken() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, taken);
    // A word that is taken may still lack a companion (--form custom wants --pattern).
    const QString refusal = arguments.at(arguments.size() - 2) + QStringLiteral(" \"") +
                            arguments.last() + QStringLiteral("\": give ");
    const QString error = usageErrorOf(arguments);
    QCOMPARE(error.startsWith(refusal), !taken);
}

QTEST_GUILESS_MAIN(TestCliOptions)
#include "tst_clioptions.moc"
