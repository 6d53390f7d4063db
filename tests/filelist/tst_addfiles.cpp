#include "FakeWindow.h"
#include "TestFiles.h"
#include "core/PathCodec.h"
#include "core/SettingsAccess.h"
#include "filelist/AddFiles.h"
#include "filelist/FileAttributes.h"
#include "filelist/FileList.h"
#include "filelist/FolderListing.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace plenvoy;
using plenvoy::test::writeFile;

namespace {

QStringList namesOf(const FileList &list, const QString &root) {
    QStringList names;
    for (const QString &entry : list.entries())
        names.append(entry.startsWith(root) ? entry.mid(root.size() + 1) : entry);
    return names;
}

// The stored answers, kept in memory.
class StoredAnswers final : public SettingsAccess {
public:
    QString readSetting(const QString &key, const QString &fallback) const override {
        return m_values.value(key, fallback);
    }
    bool writeSetting(const QString &key, const QString &value) override {
        m_values.insert(key, value);
        return true;
    }

private:
    QHash<QString, QString> m_values;
};

} // namespace

class TestAddFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // "Add File(s)"
    void cancellingTheDialogChangesNothing();
    void oneChosenFileIsListedExactlyAsGiven();
    void severalChosenFilesAreCleanedAndListedInOrder();
    void aChosenFileThatCannotBeFoundIsRefusedWithAMessage();
    void choosingTheSameFileTwiceListsItTwice();

    // "Add All Files In Folder"
    void extensionMatchingFollowsTheListing_data();
    void extensionMatchingFollowsTheListing();
    void foldersAreTakenLevelByLevel();
    void tildeNamesAndHiddenArchiveFilesAreSkipped();
    void questionsUseAndKeepTheStoredAnswers();
    void cancellingEitherQuestionListsNothing();
    void addingTheSameFolderTwiceListsEveryFileTwice();
    void closingTheWindowStopsTheWalk_data();
    void closingTheWindowStopsTheWalk();
    void linksPipesAndOddNamesAreListedAsEachFolderAlone();
    void aChosenFolderTheWalkLeavesUnreadIsStillListed();
};

void TestAddFiles::cancellingTheDialogChangesNothing() {
    FileList list;
    test::FakeWindow ui;
    addChosenFiles(list, ui);
    QCOMPARE(list.count(), 0);
    QCOMPARE(ui.fileDialogTitles, QStringList{kAddFilesDialogTitle});
    QVERIFY(ui.messages.isEmpty());
    QVERIFY(ui.errorReports.isEmpty());
}

void TestAddFiles::oneChosenFileIsListedExactlyAsGiven() {
    FileList list;
    test::FakeWindow ui;
    // No clean-up and no test for a single file: even a missing one with doubled
    // separators is listed as the dialog gives it.
    const QString odd = QStringLiteral("/nowhere//at all/\u20ac.txt");
    ui.fileAnswers = {{odd}};
    addChosenFiles(list, ui);
    QCOMPARE(list.entries(), QStringList{odd});
    QVERIFY(ui.messages.isEmpty());
}

void TestAddFiles::severalChosenFilesAreCleanedAndListedInOrder() {
    QTemporaryDir dir;
    const QString root = dir.path();
    for (const char *name : {"c.txt", "a.txt", "b"})
        QVERIFY(writeFile(root + QLatin1Char('/') + QLatin1String(name)));
    FileList list;
    test::FakeWindow ui;
    ui.fileAnswers = {{root + QStringLiteral("//c.txt"), root + QStringLiteral("/a.txt"),
                       root + QStringLiteral("///b")}};
    addChosenFiles(list, ui);
    QCOMPARE(list.entries(),
             (QStringList{root + QStringLiteral("/c.txt"), root + QStringLiteral("/a.txt"),
                          root + QStringLiteral("//b")}));
    QVERIFY(ui.messages.isEmpty());
}

void TestAddFiles::aChosenFileThatCannotBeFoundIsRefusedWithAMessage() {
    QTemporaryDir dir;
    const QString root = dir.path();
    QVERIFY(writeFile(root + QStringLiteral("/one.txt")));
    QVERIFY(writeFile(root + QStringLiteral("/three.txt")));
    FileList list;
    test::FakeWindow ui;
    const QString missing = root + QStringLiteral("/two.txt");
    ui.fileAnswers = {
        {root + QStringLiteral("/one.txt"), missing, root + QStringLiteral("/three.txt")}};
    addChosenFiles(list, ui);
    QCOMPARE(list.entries(),
             (QStringList{root + QStringLiteral("/one.txt"), root + QStringLiteral("/three.txt")}));
    QCOMPARE(ui.messages,
             QStringList{missing +
                         QStringLiteral("\r\rwas not added because it has bad characters in the "
                                        "filename.")});
}

void TestAddFiles::choosingTheSameFileTwiceListsItTwice() {
    FileList list;
    test::FakeWindow ui;
    ui.fileAnswers = {{QStringLiteral("/a/b.txt")}, {QStringLiteral("/a/b.txt")}};
    addChosenFiles(list, ui);
    addChosenFiles(list, ui);
    QCOMPARE(list.count(), 2);
}

void TestAddFiles::extensionMatchingFollowsTheListing_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("star takes every file, with or without a dot")
        << QStringLiteral("*")
        << QStringList{QStringLiteral("Makefile"), QStringLiteral("a..txt"),
                       QStringLiteral("notes.txt"), QStringLiteral("photo.JPG"),
                       QStringLiteral("report~.doc")};
    QTest::newRow("capitals match lower case")
        << QStringLiteral("TXT")
        << QStringList{QStringLiteral("a..txt"), QStringLiteral("notes.txt")};
    // Typed out of habit, a leading "." or "*." and blanks around the answer are dropped.
    const QStringList txt{QStringLiteral("a..txt"), QStringLiteral("notes.txt")};
    QTest::newRow("a leading dot") << QStringLiteral(".txt") << txt;
    QTest::newRow("a leading star and dot") << QStringLiteral("*.txt") << txt;
    QTest::newRow("blanks around") << QStringLiteral(" txt ") << txt;
    QTest::newRow("blanks alone are no answer") << QStringLiteral("   ") << QStringList{};
    QTest::newRow("nothing is no answer") << QStringLiteral("") << QStringList{};
    QTest::newRow("wildcards of the answer")
        << QStringLiteral("?pg") << QStringList{QStringLiteral("photo.JPG")};
    QTest::newRow("no match lists nothing") << QStringLiteral("pdf") << QStringList{};
}

void TestAddFiles::extensionMatchingFollowsTheListing() {
    QFETCH(QString, answer);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    const QString root = dir.path();
    for (const char *name :
         {"notes.txt", "a..txt", "Makefile", "photo.JPG", "~report.doc", "report~.doc"})
        QVERIFY(writeFile(root + QLatin1Char('/') + QLatin1String(name)));
    StoredAnswers settings;
    FileList list;
    test::FakeWindow ui;
    ui.textAnswers = {answer};
    ui.folderAnswers = {root};
    addAllFilesInFolder(list, settings, ui);
    QStringList names = namesOf(list, root);
    names.sort();
    QCOMPARE(names, expected);
    QVERIFY(ui.errorReports.isEmpty());
    // The answer is kept as typed; no answer asks for no folder and keeps nothing.
    const bool answered = !answer.trimmed().isEmpty();
    QCOMPARE(settings.readSetting(kKeyExtension, QStringLiteral("(none)")),
             answered ? answer : QStringLiteral("(none)"));
    QCOMPARE(ui.folderPrompts.size(), answered ? 1 : 0);
}

void TestAddFiles::foldersAreTakenLevelByLevel() {
    QTemporaryDir dir;
    const QString root = dir.path();
    QVERIFY(writeFile(root + QStringLiteral("/top.txt")));
    QVERIFY(writeFile(root + QStringLiteral("/a/x/deep.txt")));
    QVERIFY(writeFile(root + QStringLiteral("/a/mid.txt")));
    QVERIFY(writeFile(root + QStringLiteral("/b/other.txt")));
    QVERIFY(writeFile(root + QStringLiteral("/b/second.txt")));
    StoredAnswers settings;
    FileList list;
    const QSignalSpy insertions(&list, &FileList::rowsInserted);
    test::FakeWindow ui;
    ui.textAnswers = {QStringLiteral("txt")};
    ui.folderAnswers = {root};
    addAllFilesInFolder(list, settings, ui);
    QStringList names = namesOf(list, root);
    // The chosen folder first, then a and b, then a/x; the order of a and b is the
    // listing's, so compare by level. Each folder's files join the list at once.
    QCOMPARE(names.size(), 5);
    QCOMPARE(insertions.size(), 4);
    QCOMPARE(names.first(), QStringLiteral("top.txt"));
    QCOMPARE(names.last(), QStringLiteral("a/x/deep.txt"));
    QVERIFY(names.contains(QStringLiteral("a/mid.txt")));
    QVERIFY(names.contains(QStringLiteral("b/other.txt")));
    QCOMPARE(ui.pointerChanges, (QList<PointerMode>{PointerMode::Busy, PointerMode::Default}));
    QVERIFY(ui.processEventsCalls > 0);
}

void TestAddFiles::tildeNamesAndHiddenArchiveFilesAreSkipped() {
    QTemporaryDir dir;
    const QString root = dir.path();
    QVERIFY(writeFile(root + QStringLiteral("/~report.doc")));
    QVERIFY(writeFile(root + QStringLiteral("/report~.doc")));
    QVERIFY(writeFile(root + QStringLiteral("/.hidden.doc"))); // hidden and archive only: 34
    QVERIFY(writeFile(root + QStringLiteral("/.locked.doc"))); // hidden, archive and read-only: 35
    QVERIFY(QFile::setPermissions(root + QStringLiteral("/.locked.doc"),
                                  QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QCOMPARE(FileAttributes(root + QStringLiteral("/.hidden.doc")), 34);
    QCOMPARE(FileAttributes(root + QStringLiteral("/.locked.doc")), 35);
    StoredAnswers settings;
    FileList list;
    test::FakeWindow ui;
    ui.textAnswers = {QStringLiteral("doc")};
    ui.folderAnswers = {root};
    addAllFilesInFolder(list, settings, ui);
    QStringList names = namesOf(list, root);
    names.sort();
    QCOMPARE(names, (QStringList{QStringLiteral(".locked.doc"), QStringLiteral("report~.doc")}));
}

void TestAddFiles::questionsUseAndKeepTheStoredAnswers() {
    QTemporaryDir dir;
    const QString root = dir.path();
    QVERIFY(writeFile(root + QStringLiteral("/tree/f.doc")));
    StoredAnswers settings;
    FileList list;
    test::FakeWindow ui;
    ui.textAnswers = {QStringLiteral("doc"), QStringLiteral("doc")};
    ui.folderAnswers = {root + QStringLiteral("/tree")};
    addAllFilesInFolder(list, settings, ui);
    QCOMPARE(ui.prompts.first(),
             QStringLiteral("Enter file extension to load:\r\r(* for all files, txt for all txt "
                            "files, doc for all doc files, etc.)"));
    QCOMPARE(ui.promptDefaults.first(), QStringLiteral("*"));
    QCOMPARE(ui.folderPrompts.first(), QStringLiteral("Please select folder:"));
    QCOMPARE(ui.folderStarts.first(), QString());
    QCOMPARE(settings.readSetting(kKeyExtension, QStringLiteral("*")), QStringLiteral("doc"));
    QCOMPARE(settings.readSetting(kKeyLastAddedFolder, QString()), root + QStringLiteral("/tree"));

    // The next use offers the last answers.
    addAllFilesInFolder(list, settings, ui);
    QCOMPARE(ui.promptDefaults.at(1), QStringLiteral("doc"));
    QCOMPARE(ui.folderStarts.at(1), root + QStringLiteral("/tree"));
}

void TestAddFiles::cancellingEitherQuestionListsNothing() {
    QTemporaryDir dir;
    const QString root = dir.path();
    QVERIFY(writeFile(root + QStringLiteral("/f.doc")));
    StoredAnswers settings;
    FileList list;
    test::FakeWindow ui;
    // Cancel at the extension: nothing stored, no folder dialog.
    addAllFilesInFolder(list, settings, ui);
    QVERIFY(ui.folderPrompts.isEmpty());
    QCOMPARE(settings.readSetting(kKeyExtension, QStringLiteral("unset")), QStringLiteral("unset"));
    // Cancel at the folder after typing doc: doc stays the next default.
    ui.textAnswers = {QStringLiteral("doc")};
    addAllFilesInFolder(list, settings, ui);
    QCOMPARE(ui.folderPrompts.size(), 1);
    QCOMPARE(settings.readSetting(kKeyExtension, QStringLiteral("*")), QStringLiteral("doc"));
    QCOMPARE(settings.readSetting(kKeyLastAddedFolder, QStringLiteral("unset")),
             QStringLiteral("unset"));
    QCOMPARE(list.count(), 0);
    QVERIFY(ui.pointerChanges.isEmpty());
}

void TestAddFiles::addingTheSameFolderTwiceListsEveryFileTwice() {
    QTemporaryDir dir;
    const QString root = dir.path() + QStringLiteral("/t");
    QVERIFY(writeFile(root + QStringLiteral("/one.txt")));
    QVERIFY(writeFile(root + QStringLiteral("/sub/two.txt")));
    StoredAnswers settings;
    FileList list;
    test::FakeWindow ui;
    ui.textAnswers = {QStringLiteral("*"), QStringLiteral("*")};
    ui.folderAnswers = {root, root};
    addAllFilesInFolder(list, settings, ui);
    addAllFilesInFolder(list, settings, ui);
    QCOMPARE(list.count(), 4);
    QCOMPARE(list.textAt(1), list.textAt(3));
    QCOMPARE(list.textAt(2), list.textAt(4));
}

void TestAddFiles::closingTheWindowStopsTheWalk_data() {
    QTest::addColumn<bool>("duringTheListing");
    QTest::newRow("closed during the walk") << false;
    QTest::newRow("closed while the walked folders are listed") << true;
}

void TestAddFiles::closingTheWindowStopsTheWalk() {
    QFETCH(bool, duringTheListing);
    QTemporaryDir dir;
    const QString root = dir.path() + QStringLiteral("/t");
    for (int i = 0; i < 5; ++i)
        QVERIFY(writeFile(root + QStringLiteral("/d%1/f.txt").arg(i)));
    StoredAnswers settings;
    FileList list;
    test::FakeWindow ui;
    ui.textAnswers = {QStringLiteral("txt")};
    ui.folderAnswers = {root};
    int closedAt = 0;
    ui.onProcessEvents = [&](int call) {
        if (closedAt == 0 && (duringTheListing ? list.count() > 0 : call == 1)) {
            closedAt = call;
            ui.m_closing = true;
        }
    };
    addAllFilesInFolder(list, settings, ui);
    // Nothing more is listed and the window is not asked to answer again.
    QCOMPARE(ui.processEventsCalls, closedAt);
    QCOMPARE(list.count(), duringTheListing ? 1 : 0);
    QVERIFY(ui.errorReports.isEmpty());
}

void TestAddFiles::linksPipesAndOddNamesAreListedAsEachFolderAlone() {
    QTemporaryDir dir;
    const QString root = dir.path() + QLatin1Char('/');
    for (const char *name : {"plain.txt", "Loud.TXT", "caf\xc3\xa9.txt", "\xff\xfe.txt",
                             "other.doc", "sub/only.doc", "sub/\xff.TXT", "sub/deeper/x.txt"})
        QVERIFY(writeFile(root + pathFromBytes(name)));
    // The sub-folder's links are relative: they name a file only when examined from there.
    const char *const links[][2] = {{"link.txt", "plain.txt"},
                                    {"broken.txt", "gone"},
                                    {"folder.txt", "sub"},
                                    {"sub/here.txt", "only.doc"},
                                    {"sub/up.txt", "../other.doc"}};
    for (const auto &link : links)
        QVERIFY(::symlink(link[1], pathToBytes(root + QLatin1String(link[0])).constData()) == 0);
    QVERIFY(::mkfifo(pathToBytes(root + QStringLiteral("pipe.txt")).constData(), 0644) == 0);

    FileList list;
    test::FakeWindow ui;
    addFolderTree(list, dir.path(), QStringLiteral("txt"), ui);
    // Each folder that the walk finds, read on its own, in the walk's order.
    QStringList folders{root};
    appendSubFolders(folders, true, ui);
    QStringList expected;
    for (const QString &folder : std::as_const(folders)) {
        const FolderNames names = ListFolderFiles(folder, QStringLiteral("*.txt"));
        for (const QString &name : names.names())
            expected.append(folder + name);
    }
    QCOMPARE(list.entries(), expected);
    QCOMPARE(list.count(), 9);
}

void TestAddFiles::aChosenFolderTheWalkLeavesUnreadIsStillListed() {
    // The walk does not read a pseudo file system, even when it is the chosen folder.
    const QString kernel = QStringLiteral("/proc/sys/kernel");
    if (::access("/proc/sys/kernel/ostype", R_OK) != 0)
        QSKIP("no /proc/sys/kernel here");
    FileList list;
    test::FakeWindow ui;
    addFolderTree(list, kernel, QStringLiteral("*"), ui);
    QVERIFY(list.entries().contains(kernel + QStringLiteral("/ostype")));
}

QTEST_GUILESS_MAIN(TestAddFiles)
#include "tst_addfiles.moc"
