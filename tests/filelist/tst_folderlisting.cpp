// The folder services on real trees: the listing of one folder, wildcards, attributes and
// the folder dialog.
#include "FakeWindow.h"
#include "FolderTrees.h"

#include "core/Failure.h"
#include "core/LocationTags.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"
#include "filelist/AddFiles.h"
#include "filelist/BrowseForFolder.h"
#include "filelist/FileAttributes.h"
#include "filelist/FileList.h"
#include "filelist/FolderListing.h"
#include "filelist/FolderWalk.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace plenvoy;
using namespace plenvoy::test;

class FolderListingTest final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString root() const { return m_dir.path() + QStringLiteral("/root/"); }

private Q_SLOTS:
    void init() {
        QVERIFY(m_dir.isValid());
        QCOMPARE(QProcess::execute(QStringLiteral("rm"),
                                   {QStringLiteral("-rf"), m_dir.path() + QStringLiteral("/root")}),
                 0);
        makeFolder(m_dir.path() + QStringLiteral("/root"));
    }

    void listingKeepsMatchingFilesOnly() {
        makeFile(root() + QStringLiteral("notes.txt"));
        makeFile(root() + QStringLiteral("SHOUT.TXT"));
        makeFile(root() + QStringLiteral(".hidden.txt"));
        makeFile(root() + QStringLiteral("other.doc"));
        makeFolder(root() + QStringLiteral("folder.txt"));
        QVERIFY(
            QFile::link(root() + QStringLiteral("notes.txt"), root() + QStringLiteral("link.txt")));
        QVERIFY(
            QFile::link(root() + QStringLiteral("gone"), root() + QStringLiteral("broken.txt")));
        QVERIFY(::mkfifo(pathToBytes(root() + QStringLiteral("pipe.txt")).constData(), 0644) == 0);
        // A name that is not valid text is listed too, by the codec's text for its bytes.
        makeFile(root() + pathFromBytes("bad\xff.txt"));

        const FolderNames names = ListFolderFiles(root(), QStringLiteral("*.txt"));
        QCOMPARE(names.lowerBound(), 1);
        QCOMPARE(setOf(names.names()),
                 (QSet<QString>{QStringLiteral("notes.txt"), QStringLiteral("SHOUT.TXT"),
                                QStringLiteral(".hidden.txt"), QStringLiteral("link.txt"),
                                pathFromBytes("bad\xff.txt")}));
        // The listing saw each regular file itself; the link only through its target.
        for (int position = 1; position <= names.upperBound(); ++position)
            QCOMPARE(names.seenRegular(position), names.at(position) != QStringLiteral("link.txt"));
        // The folder may be given without its trailing separator.
        QCOMPARE(
            setOf(ListFolderFiles(m_dir.path() + QStringLiteral("/root"), QStringLiteral("*.TXT"))
                      .names()),
            setOf(names.names()));
    }

    void listingWithoutMatchesIsOneEmptySlotAtZero() {
        makeFile(root() + QStringLiteral("a.doc"));
        for (const QString &folder : QStringList{root(), root() + QStringLiteral("missing")}) {
            const FolderNames names = ListFolderFiles(folder, QStringLiteral("*.txt"));
            QCOMPARE(names.lowerBound(), 0);
            QCOMPARE(names.upperBound(), 0);
            QCOMPARE(names.at(0), QString());
            QVERIFY_THROWS_EXCEPTION(Failure, names.at(1));
        }
    }

    void listingGrowsPastOneHundredNames() {
        QSet<QString> expected;
        for (int i = 1; i <= 101; ++i) {
            const QString name = QStringLiteral("file%1.txt").arg(i);
            makeFile(root() + name);
            expected.insert(name);
        }
        makeFile(root() + QStringLiteral("skip.dat"));
        const FolderNames names = ListFolderFiles(root(), QStringLiteral("*.txt"));
        QCOMPARE(names.upperBound(), 101);
        QSet<QString> got;
        for (int position = 1; position <= names.upperBound(); ++position)
            got.insert(names.at(position));
        QCOMPARE(got, expected);
        QVERIFY_THROWS_EXCEPTION(Failure, names.at(102));
    }

    void wildcardsMatchAsTheWindowsListingDoes_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");
        QTest::newRow("every name") << "*.*"
                                    << "a.txt" << true;
        QTest::newRow("every name, also without a dot") << "*.*"
                                                        << "Makefile" << true;
        QTest::newRow("star alone") << "*"
                                    << "Makefile" << true;
        QTest::newRow("extension") << "*.txt"
                                   << "notes.txt" << true;
        QTest::newRow("extension ignores case") << "*.TXT"
                                                << "notes.txt" << true;
        QTest::newRow("name ignores case") << "*.txt"
                                           << "NOTES.TxT" << true;
        QTest::newRow("dotless name has no extension") << "*.txt"
                                                       << "Makefile" << false;
        QTest::newRow("longer extension") << "*.txt"
                                          << "a.txtx" << false;
        QTest::newRow("two extensions") << "*.txt"
                                        << "a.tar.txt" << true;
        QTest::newRow("star dot takes dotless names") << "*."
                                                      << "README" << true;
        QTest::newRow("star dot refuses extensions") << "*."
                                                     << "a.txt" << false;
        QTest::newRow("typed dot needs two dots") << "*..txt"
                                                  << "a.txt" << false;
        QTest::newRow("typed dot matches two dots") << "*..txt"
                                                    << "a..txt" << true;
        QTest::newRow("question mark, one character") << "a?.txt"
                                                      << "ab.txt" << true;
        QTest::newRow("question mark, not none") << "a?.txt"
                                                 << "a.txt" << false;
        QTest::newRow("wildcards in the extension") << "*.t?t"
                                                    << "a.tXt" << true;
        QTest::newRow("star in the middle") << "*.d*c"
                                            << "a.docx" << false;
        QTest::newRow("backtracking star") << "*a*b.txt"
                                           << "xaxab.txt" << true;
        QTest::newRow("hidden name") << "*.txt"
                                     << ".hidden.txt" << true;
        QTest::newRow("accented, case folded") << "*.\u00c9T\u00c9"
                                               << "x.\u00e9t\u00e9" << true;
    }
    void wildcardsMatchAsTheWindowsListingDoes() {
        QFETCH(QString, pattern);
        QFETCH(QString, name);
        QFETCH(bool, matches);
        const WildcardPattern wildcard(pattern);
        QCOMPARE(wildcard.matches(name), matches);
        // The test on the name's bytes agrees wherever it can answer.
        const int onBytes = wildcard.matchesAscii(name.toUtf8().constData());
        if (onBytes >= 0)
            QCOMPARE(onBytes == 1, matches);
    }

    void onlyControlCharactersAreBad_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("bad");
        QTest::newRow("abc") << QStringLiteral("abc") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("question mark") << QStringLiteral("a?c") << false;
        QTest::newRow("tab") << QStringLiteral("a\tc") << true;
        QTest::newRow("newline") << QStringLiteral("a\nc") << true;
        QTest::newRow("unit separator, 31") << QStringLiteral("\u001f") << true;
        QTest::newRow("euro sign") << QStringLiteral("\u20ac") << false;
        QTest::newRow("en dash") << QStringLiteral("\u2013") << false;
        QTest::newRow("right single quote") << QStringLiteral("\u2019") << false;
        QTest::newRow("delete, 127") << QStringLiteral("\u007f") << true;
        QTest::newRow("control 129") << QStringLiteral("\u0081") << true;
        QTest::newRow("control 159") << QStringLiteral("\u009f") << true;
        QTest::newRow("no-break space, 160") << QStringLiteral("\u00a0") << false;
        QTest::newRow("e acute, 233") << QStringLiteral("\u00e9") << false;
        QTest::newRow("y diaeresis, 255") << QStringLiteral("\u00ff") << false;
        QTest::newRow("Cyrillic") << QStringLiteral("\u0436") << false;
        QTest::newRow("CJK") << QStringLiteral("\u4e2d") << false;
        QTest::newRow("outside the plane") << QStringLiteral("\U0001F600") << false;
        QTest::newRow("escaped bytes") << pathFromBytes("\x80\x9f\xff") << false;
        QTest::newRow("blank and tilde") << QStringLiteral(" ~") << false;
    }
    void onlyControlCharactersAreBad() {
        QFETCH(QString, text);
        QFETCH(bool, bad);
        QCOMPARE(HasBadCharacters(text), bad);
    }

    void attributesAsNumbers() {
        makeFile(root() + QStringLiteral("plain"));
        makeFile(root() + QStringLiteral(".dot"));
        makeFile(root() + QStringLiteral(".readonly"));
        setMode(root() + QStringLiteral(".readonly"), 0444);
        makeFolder(root() + QStringLiteral("dir"));
        makeFolder(root() + QStringLiteral(".dotdir"));
        QVERIFY(QFile::link(root() + QStringLiteral("plain"), root() + QStringLiteral("flink")));
        QVERIFY(QFile::link(root() + QStringLiteral("dir"), root() + QStringLiteral("dlink")));
        QVERIFY(QFile::link(root() + QStringLiteral("none"), root() + QStringLiteral("broken")));

        QCOMPARE(FileAttributes(root() + QStringLiteral("plain")), 32);
        QCOMPARE(FileAttributes(root() + QStringLiteral(".dot")), 34);
        QCOMPARE(FileAttributes(root() + QStringLiteral(".readonly")), 35);
        QCOMPARE(FileAttributes(root() + QStringLiteral("dir")), 16);
        QCOMPARE(FileAttributes(root() + QStringLiteral("dir/")), 16);
        QCOMPARE(FileAttributes(root() + QStringLiteral(".dotdir/")), 18);
        QCOMPARE(FileAttributes(root() + QStringLiteral("flink")), 1056);
        QCOMPARE(FileAttributes(root() + QStringLiteral("dlink/")), 1040);
        QCOMPARE(FileAttributes(root() + QStringLiteral("broken")), 1056);
        QCOMPARE(FileAttributes(QStringLiteral("/")), 16);
        try {
            FileAttributes(root() + QStringLiteral("missing"));
            QFAIL("a missing path has no attributes");
        } catch (const Failure &failure) {
            QCOMPARE(failure.number(), ErrorNumber::PathNotFound);
        }

        QVERIFY(!AttributesUnreadable(root() + QStringLiteral("plain")));
        QVERIFY(!AttributesUnreadable(root() + QStringLiteral("broken")));
        QVERIFY(AttributesUnreadable(root() + QStringLiteral("missing")));
        QVERIFY(AttributesUnreadable(QString()));
        QVERIFY(
            AttributesUnreadable(root() + QStringLiteral("nul") + QChar(0) + QStringLiteral("x")));
    }

    void browseReturnsTheFolderWithoutTrailingSeparator_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("folder") << "/home/user/docs"
                                << "/home/user/docs";
        QTest::newRow("trailing separator") << "/home/user/docs/"
                                            << "/home/user/docs";
        QTest::newRow("root") << "/"
                              << "/";
        QTest::newRow("cancel") << ""
                                << "";
    }
    void browseReturnsTheFolderWithoutTrailingSeparator() {
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        FakeWindow ui;
        ui.folderAnswers.append(answer);
        QCOMPARE(BrowseForFolder(ui, QStringLiteral("Please select folder:"), root()), expected);
        QCOMPARE(ui.folderPrompts, QStringList{QStringLiteral("Please select folder:")});
        QCOMPARE(ui.folderStarts, QStringList{root()});
    }
};

QTEST_GUILESS_MAIN(FolderListingTest)
#include "tst_folderlisting.moc"
