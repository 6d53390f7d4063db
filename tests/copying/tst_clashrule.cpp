#include "copying/ClashRule.h"

#include <QTest>

#include <cerrno>

using namespace plenvoy;

Q_DECLARE_METATYPE(plenvoy::HolderFacts)
Q_DECLARE_METATYPE(plenvoy::NameHolder)
Q_DECLARE_METATYPE(plenvoy::CopyProblem)

namespace {

/// A regular file holds the name; the changes make it what the row describes.
HolderFacts file(void (*change)(HolderFacts &) = nullptr) {
    HolderFacts facts;
    facts.exists = true;
    facts.regular = true;
    if (change)
        change(facts);
    return facts;
}

} // namespace

class ClashRuleTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theHolderOfANameGetsOneVerdict_data() {
        QTest::addColumn<HolderFacts>("facts");
        QTest::addColumn<NameHolder>("holder");
        QTest::addColumn<CopyProblem>("problem");
        QTest::addColumn<bool>("takesNumbered");
        HolderFacts none;
        QTest::newRow("free name") << none << NameHolder::Nothing << CopyProblem::None << false;
        QTest::newRow("the look failed, even with facts beside it")
            << file([](HolderFacts &f) { f.lookError = EIO; }) << NameHolder::Unreadable
            << CopyProblem::None << true;
        QTest::newRow("a file from before the run")
            << file() << NameHolder::Replaceable << CopyProblem::None << true;
        QTest::newRow("read-only") << file([](HolderFacts &f) { f.readOnly = true; })
                                   << NameHolder::ReadOnly << CopyProblem::ReadOnlyInTheWay << true;
        QTest::newRow("not a file, whatever else is said of it") << file([](HolderFacts &f) {
            f.regular = false;
            f.isSource = true;
            f.writtenFromThisSource = true;
        }) << NameHolder::NotAFile << CopyProblem::NotAFileInTheWay
                                                                 << true;
        QTest::newRow("the source itself, though listed and read-only") << file([](HolderFacts &f) {
            f.isSource = true;
            f.listed = true;
            f.readOnly = true;
        }) << NameHolder::OwnSource << CopyProblem::OwnSource << true;
        QTest::newRow("another listed file, though read-only") << file([](HolderFacts &f) {
            f.listed = true;
            f.readOnly = true;
        }) << NameHolder::ListedFile << CopyProblem::ListedFileInTheWay
                                                               << true;
        QTest::newRow("this run's copy of another source, though listed")
            << file([](HolderFacts &f) {
                   f.writtenFromAnotherSource = true;
                   f.listed = true;
               })
            << NameHolder::OtherCopy << CopyProblem::ListedFileInTheWay << true;
        QTest::newRow("this source's own copy is replaced")
            << file([](HolderFacts &f) { f.writtenFromThisSource = true; }) << NameHolder::OwnCopy
            << CopyProblem::None << false;
        QTest::newRow("this source's own read-only copy is left alone") << file([](HolderFacts &f) {
            f.writtenFromThisSource = true;
            f.readOnly = true;
        }) << NameHolder::OwnReadOnlyCopy << CopyProblem::ReadOnlyInTheWay
                                                                        << false;
    }
    void theHolderOfANameGetsOneVerdict() {
        QFETCH(HolderFacts, facts);
        QFETCH(NameHolder, holder);
        QFETCH(CopyProblem, problem);
        QFETCH(bool, takesNumbered);
        const NameHolder verdict = holderOfName(facts);
        QCOMPARE(verdict, holder);
        QCOMPARE(clashProblem(verdict), problem);
        QCOMPARE(takesNumberedName(verdict), takesNumbered);
    }
};

QTEST_APPLESS_MAIN(ClashRuleTest)
#include "tst_clashrule.moc"
