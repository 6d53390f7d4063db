#include "FakeWindow.h"
#include "TestFiles.h"
#include "filelist/FileList.h"
#include "settings/Samples.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace plenvoy;
using plenvoy::test::writeFile;

namespace {} // namespace

class TestSamples : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // "Load Sample/Example Files"
    void samplesAreAddedOnceAndTheQuestionIsAlwaysAsked();
    void aListedSampleIsMatchedExactly();
    void aMissingSamplesFolderAddsNothingButStillAsks();
    void yesShowsTheSamplesFolder();
};

void TestSamples::samplesAreAddedOnceAndTheQuestionIsAlwaysAsked() {
    QTemporaryDir dir;
    const QString program = dir.path();
    QVERIFY(writeFile(program + QStringLiteral("/Samples/Notes.txt")));
    QVERIFY(writeFile(program + QStringLiteral("/Samples/README")));
    FileList list;
    list.append(QStringLiteral("/already/there.txt"));
    test::FakeWindow ui;
    loadSampleFiles(list, ui, program);
    loadSampleFiles(list, ui, program);
    QCOMPARE(list.count(), 3);
    QCOMPARE(list.textAt(1), QStringLiteral("/already/there.txt"));
    QStringList added{list.textAt(2), list.textAt(3)};
    added.sort();
    QCOMPARE(added, (QStringList{program + QStringLiteral("/Samples/Notes.txt"),
                                 program + QStringLiteral("/Samples/README")}));
    QCOMPARE(ui.questions, (QStringList{kOpenSamplesQuestion, kOpenSamplesQuestion}));
    QCOMPARE(kOpenSamplesQuestion,
             QStringLiteral("Would you like this software to open the folder where these sample "
                            "files are stored (so that you can view them before working with "
                            "them)?"));
    QVERIFY(ui.openedFolders.isEmpty());
}

void TestSamples::aListedSampleIsMatchedExactly() {
    QTemporaryDir dir;
    const QString program = dir.path();
    const QString sample = program + QStringLiteral("/Samples/Notes.txt");
    QVERIFY(writeFile(sample));
    FileList list;
    list.append(sample.toUpper());
    QVERIFY(!ListHasPath(list, sample));
    test::FakeWindow ui;
    loadSampleFiles(list, ui, program);
    QCOMPARE(list.count(), 2);
    QVERIFY(ListHasPath(list, sample));
    loadSampleFiles(list, ui, program);
    QCOMPARE(list.count(), 2);
}

void TestSamples::aMissingSamplesFolderAddsNothingButStillAsks() {
    QTemporaryDir dir;
    FileList list;
    test::FakeWindow ui;
    loadSampleFiles(list, ui, dir.path());
    QCOMPARE(list.count(), 0);
    QCOMPARE(ui.questions.size(), 1);
    QVERIFY(ui.errorReports.isEmpty());
}

void TestSamples::yesShowsTheSamplesFolder() {
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.path() + QStringLiteral("/Samples/a.csv")));
    FileList list;
    test::FakeWindow ui;
    ui.yesNoAnswers = {true};
    loadSampleFiles(list, ui, dir.path());
    QCOMPARE(ui.openedFolders, QStringList{dir.path() + QStringLiteral("/Samples/")});
}

QTEST_GUILESS_MAIN(TestSamples)
#include "tst_samples.moc"
