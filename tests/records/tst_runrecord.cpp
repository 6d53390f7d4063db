#include "FixedRunInputs.h"
#include "TestFiles.h"
#include "TestMount.h"
#include "core/PathCodec.h"
#include "core/SilentWindowPort.h"
#include "naming/ComposeNewName.h"
#include "naming/FileMoment.h"
#include "records/RecordWriter.h"
#include "records/UndoDialogue.h"
#include "run/StartChanging.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace plenvoy;
using plenvoy::test::namesIn;
using plenvoy::test::TestMount;
using plenvoy::test::writeFile;

namespace {

/// Keeps what the closing box was told.
class RecordingPort final : public SilentWindowPort {
public:
    void showMessageWithDetails(const QString &text, const QString &) override { shown += text; }
    void showMessage(const QString &text) override { shown += text; }
    bool askYesNo(const QString &text) override {
        asked.append(text);
        return answer;
    }
    bool showClosingBox(const QString &text, const QString &details, bool canUndo) override {
        offeredUndo = canUndo;
        showMessageWithDetails(text, details);
        return answer;
    }
    QString shown;
    QStringList asked;
    bool offeredUndo = false;
    bool answer = false;
};

/// The record's lines, parsed.
QList<QJsonObject> recordLines(const QString &id) {
    QFile file(runRecordPath(id));
    QList<QJsonObject> lines;
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (!line.isEmpty())
            lines.append(QJsonDocument::fromJson(line).object());
    return lines;
}

} // namespace

class TestRunRecord : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_sources;
    QString m_output;

    /// Copies the named sources into the output folder with the empty option (names kept).
    RunOutcome run(const QStringList &names, RecordingPort *port = nullptr) {
        QStringList entries;
        for (const QString &name : names)
            entries.append(m_sources + QLatin1Char('/') + name);
        FixedRunInputs inputs(entries, m_output, QString());
        RecordingPort silent;
        return startChanging(inputs, port ? *port : silent);
    }

private Q_SLOTS:
    void init() {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_STATE_HOME", pathToBytes(m_dir.path() + QStringLiteral("/state")));
        enableRunRecords(QStringLiteral("window"));
        m_sources = m_dir.path() + QStringLiteral("/sources");
        m_output = m_dir.path() + QStringLiteral("/out");
        QDir(m_dir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_sources) && QDir().mkpath(m_output));
        for (const QString &name : {QStringLiteral("a.txt"), QStringLiteral("b.txt"),
                                    QStringLiteral("c.txt"), pathFromBytes("n\xff.txt")})
            QVERIFY(writeFile(m_sources + QLatin1Char('/') + name, name.toUtf8()));
    }

    // Qt can't name a file whose name is not UTF-8: it goes first, so the folders can go.
    void cleanup() {
        for (const QString &folder : {m_sources, m_output})
            ::unlink(
                pathToBytes(folder + QLatin1Char('/') + pathFromBytes("n\xff.txt")).constData());
    }

    void recordReadsBack() {
        QVERIFY(writeFile(m_output + QStringLiteral("/b.txt"), "earlier"));
        const RunOutcome outcome = run({QStringLiteral("a.txt"), QStringLiteral("b.txt"),
                                        QStringLiteral("missing"), pathFromBytes("n\xff.txt")});
        QVERIFY(outcome.recordProblem.isEmpty());
        const QList<QJsonObject> lines = recordLines(outcome.recordId);
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[0][QLatin1String("run")].toString(), outcome.recordId);
        QCOMPARE(lines[0][QLatin1String("front")].toString(), QStringLiteral("window"));
        QCOMPARE(lines[0][QLatin1String("output")].toString(), m_output);
        QStringList outcomes;
        for (int i = 1; i <= 4; ++i)
            outcomes.append(lines[i][QLatin1String("outcome")].toString());
        QCOMPARE(outcomes, QStringList({QStringLiteral("copied"), QStringLiteral("replaced"),
                                        QStringLiteral("not-copied"), QStringLiteral("copied")}));
        // A name that is not UTF-8 keeps its bytes.
        QCOMPARE(
            QByteArray::fromBase64(
                lines[4][QLatin1String("destination")][QLatin1String("b64")].toString().toLatin1()),
            pathToBytes(m_output) + "/n\xff.txt");
        struct stat status {};
        QCOMPARE(::stat(qPrintable(m_output + QStringLiteral("/a.txt")), &status), 0);
        QCOMPARE(lines[1][QLatin1String("ino")].toInteger(), qint64(status.st_ino));
        QCOMPARE(lines[1][QLatin1String("ctime_ns")].toInteger(),
                 qint64(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec);
        QCOMPARE(lines[5][QLatin1String("counts")][QLatin1String("not-copied")].toInteger(),
                 qint64(1));
        const QList<RunSummary> runs = listRunRecords();
        QCOMPARE(runs.size(), 1);
        QVERIFY(runs[0].finished && !runs[0].undone);
        QCOMPARE(runs[0].copied, qint64(3));
        QCOMPARE(runs[0].notCopied, qint64(1));
    }

    void runWithoutCopyLeavesNoRecord() {
        RecordingPort port;
        port.answer = true;
        QVERIFY(run({QStringLiteral("a.txt")}, &port).undoAsked);
        QVERIFY(port.offeredUndo);
        QVERIFY(QFile::remove(runRecordPath(listRunRecords()[0].id)));
        const RunOutcome outcome = run({QStringLiteral("missing")}, &port);
        QVERIFY(!port.offeredUndo);
        QVERIFY(outcome.recordId.isEmpty());
        QVERIFY(listRunRecords().isEmpty());
    }

    void undoLeavesTouchedCopies_data() {
        QTest::addColumn<int>("touch");
        QTest::addColumn<QString>("why");
        QTest::newRow("unchanged: removed") << 0 << QString();
        QTest::newRow("written since") << 1 << QStringLiteral("left: its size changed");
        QTest::newRow("moved") << 2 << QStringLiteral("left: it was moved or removed since");
        QTest::newRow("another file put in its place")
            << 3 << QStringLiteral("left: another file was put in its place");
        QTest::newRow("permissions changed")
            << 4 << QStringLiteral("left: its status changed (permissions, links or name)");
        QTest::newRow("a link put in its place")
            << 5 << QStringLiteral("left: a link was put in its place");
    }
    void undoLeavesTouchedCopies() {
        QFETCH(int, touch);
        QFETCH(QString, why);
        const RunOutcome outcome = run({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
        const QString copy = m_output + QStringLiteral("/b.txt");
        const QByteArray bytes = pathToBytes(copy);
        if (touch == 1)
            QVERIFY(writeFile(copy, "changed"));
        if (touch == 2 || touch == 3 || touch == 5)
            QCOMPARE(::rename(bytes.constData(), QByteArray(bytes + ".moved").constData()), 0);
        if (touch == 3)
            QVERIFY(writeFile(copy, "b.txt"));
        if (touch == 4)
            QCOMPARE(::chmod(bytes.constData(), 0600), 0);
        if (touch == 5)
            QCOMPARE(::symlink("b.txt.moved", bytes.constData()), 0);

        const UndoResult dry = undoRun(QString(), true);
        QCOMPARE(dry.removed.size(), touch == 0 ? 2 : 1);
        QVERIFY(QFile::exists(m_output + QStringLiteral("/a.txt")));
        const UndoResult result = undoRun(outcome.recordId.right(4), false);
        QCOMPARE(result.status, UndoResult::Status::Done);
        QCOMPARE(result.removed, QStringList(m_output + QStringLiteral("/a.txt")) +
                                     (touch == 0 ? QStringList(copy) : QStringList()));
        QCOMPARE(result.left.size(), touch == 0 ? 0 : 1);
        if (touch != 0) {
            QCOMPARE(result.left[0].why, why);
            QVERIFY(QFileInfo::exists(copy) || touch == 2);
        }
        // Sources are never touched; the run is marked and not taken back twice.
        QCOMPARE(namesIn(m_sources).size(), 4);
        QVERIFY(listRunRecords()[0].undone);
        QCOMPARE(undoRun(outcome.recordId, false).status, UndoResult::Status::AlreadyUndone);
        QCOMPARE(undoRun(QString(), false).status, UndoResult::Status::NoRun);
    }

    // Large runs are taken back by two removers, each with half of the names: every name's
    // lines still count in record order, and what was left is told in record order.
    void largeRunIsTakenBackWhole() {
        QStringList names;
        for (int i = 0; i < 1201; ++i) {
            names.append(QStringLiteral("s%1.txt").arg(i, 4, 10, QLatin1Char('0')));
            QVERIFY(writeFile(m_sources + QLatin1Char('/') + names.last(), "x"));
        }
        // Sources listed again a batch later are copied over their own earlier copies.
        const QStringList listedTwice = names.mid(0, 40);
        QCOMPARE(run(names + listedTwice).copiedCount(), 1241);
        QStringList expectedLeft;
        int changed = 0;
        for (int i = 7; i < 1201; i += 97) {
            const QString copy = m_output + QLatin1Char('/') + names[i];
            QVERIFY(i % 2 ? writeFile(copy, "changed") : QFile::remove(copy));
            changed += i % 2;
            expectedLeft.append(copy);
        }
        // A name listed twice is told where its last line is.
        expectedLeft.move(0, expectedLeft.size() - 1);
        const UndoResult result = undoRun(QString(), false);
        QStringList left;
        for (const LeftCopy &copy : result.left)
            left.append(copy.path);
        QCOMPARE(left, expectedLeft);
        QCOMPARE(result.removedCount, qint64(1201 - expectedLeft.size()));
        QCOMPARE(result.removed.size(), result.removedCount);
        QCOMPARE(namesIn(m_output).size(), changed);
    }

    void copyThatReplacedIsKept() {
        QVERIFY(writeFile(m_output + QStringLiteral("/a.txt"), "earlier"));
        run({QStringLiteral("a.txt")});
        const UndoResult result = undoRun(QString(), false);
        QVERIFY(result.removed.isEmpty());
        QCOMPARE(result.left.size(), 1);
        QCOMPARE(result.left[0].why, kKeptReplaced);
        QVERIFY(QFile::exists(m_output + QStringLiteral("/a.txt")));
    }

    void linkPutInPlaceOfTheFolderIsNotFollowed() {
        run({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
        // The folder is moved away and a link to another folder holding the same names,
        // unchanged to the byte, is put in its place.
        const QString other = m_dir.path() + QStringLiteral("/other");
        QVERIFY(QDir().rename(m_output, m_dir.path() + QStringLiteral("/moved")));
        QVERIFY(QDir().mkpath(other));
        for (const QString &name : {QStringLiteral("a.txt"), QStringLiteral("b.txt")})
            QVERIFY(QFile::copy(m_dir.path() + QStringLiteral("/moved/") + name,
                                other + QLatin1Char('/') + name));
        QCOMPARE(::symlink(qPrintable(other), qPrintable(m_output)), 0);
        const UndoResult result = undoRun(QString(), false);
        QVERIFY(result.removed.isEmpty());
        QCOMPARE(result.left.size(), 2);
        QCOMPARE(result.left[0].why,
                 QStringLiteral("left: its folder is no longer the one the run wrote into"));
        QCOMPARE(namesIn(other).size(), 2);
    }

    void unwritableRecordNeverStopsTheRun_data() {
        QTest::addColumn<bool>("stateIsAFile");
        QTest::addColumn<qint64>("fileSizeLimit");
        QTest::newRow("no record can be made") << true << qint64(-1);
        // Copies of a few bytes fit; the record's lines outgrow the limit (EFBIG).
        QTest::newRow("the record stops growing") << false << qint64(600);
    }
    void unwritableRecordNeverStopsTheRun() {
        QFETCH(bool, stateIsAFile);
        QFETCH(qint64, fileSizeLimit);
        if (stateIsAFile)
            QVERIFY(writeFile(m_dir.path() + QStringLiteral("/state")));
        QStringList names;
        for (int i = 0; i < 20; ++i) {
            names.append(QStringLiteral("many%1.txt").arg(i));
            QVERIFY(writeFile(m_sources + QLatin1Char('/') + names.last()));
        }
        struct rlimit before {};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &before), 0);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        if (fileSizeLimit > 0) {
            const struct rlimit limit = {rlim_t(fileSizeLimit), before.rlim_max};
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        }
        RecordingPort port;
        const RunOutcome outcome = run(names, &port);
        ::setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, previous);
        QCOMPARE(outcome.copiedCount(), 20);
        QCOMPARE(namesIn(m_output).size(), 20);
        QCOMPARE(port.shown.count(kRecordNotWritten), 1);
    }

    void recordLinesAreReadOrNamedDamaged_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("damaged");
        // %P is the copy's path as a JSON string, %B in base64, %I its identity's fields.
        QTest::newRow("as written") << QByteArray("{\"source\":\"/s\",\"destination\":%P,"
                                                  "\"outcome\":\"copied\",\"reason\":\"\",%I}")
                                    << false;
        QTest::newRow("blanks, escapes, other field order")
            << QByteArray(" { \"source\" : \"\\u002fs\\\"\" , \"outcome\" : \"copied\", "
                          "\"destination\" : %E , \"extra\" : [1, {\"a\": null}, true], %I } ")
            << false;
        QTest::newRow("path in base64")
            << QByteArray("{\"source\":\"/s\",\"destination\":{\"b64\":\"%B\"},"
                          "\"outcome\":\"copied\",\"reason\":\"\",%I}")
            << false;
        QTest::newRow("cut short")
            << QByteArray("{\"source\":\"/s\",\"destination\":%P,\"outcome\":\"cop") << true;
        QTest::newRow("a number as text")
            << QByteArray("{\"source\":\"/s\",\"destination\":%P,\"outcome\":\"copied\","
                          "\"dev\":\"1\"}")
            << true;
        QTest::newRow("an unknown escape")
            << QByteArray("{\"source\":\"/\\qs\",\"destination\":%P,\"outcome\":\"copied\"}")
            << true;
        QTest::newRow("a lone surrogate")
            << QByteArray("{\"source\":\"\\udc80\",\"destination\":%P,\"outcome\":\"copied\"}")
            << true;
        QTest::newRow("no outcome")
            << QByteArray("{\"source\":\"/s\",\"destination\":%P,%I}") << true;
        QTest::newRow("more after the object")
            << QByteArray("{\"source\":\"/s\",\"destination\":%P,\"outcome\":\"copied\"} x")
            << true;
    }
    void recordLinesAreReadOrNamedDamaged() {
        QFETCH(QByteArray, line);
        QFETCH(bool, damaged);
        const RunOutcome outcome = run({QStringLiteral("a.txt")});
        const QString copy = m_output + QStringLiteral("/a.txt");
        struct stat status {};
        QCOMPARE(::stat(pathToBytes(copy).constData(), &status), 0);
        const QByteArray identity =
            "\"dev\":" + QByteArray::number(qint64(status.st_dev)) +
            ",\"ino\":" + QByteArray::number(qint64(status.st_ino)) +
            ",\"size\":" + QByteArray::number(qint64(status.st_size)) + ",\"mtime_ns\":" +
            QByteArray::number(qint64(status.st_mtim.tv_sec) * 1000000000 +
                               status.st_mtim.tv_nsec) +
            ",\"ctime_ns\":" +
            QByteArray::number(qint64(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec);
        // The record keeps its first line; its copy line is the row's.
        QFile file(runRecordPath(outcome.recordId));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray header = file.readLine();
        file.close();
        const QByteArray bytes = pathToBytes(copy);
        QByteArray escaped = recordPathJson(copy);
        escaped.replace("/a.txt", "\\/\\u0061.txt");
        line.replace("%P", recordPathJson(copy))
            .replace("%E", escaped)
            .replace("%B", bytes.toBase64())
            .replace("%I", identity);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(header + line + "\n");
        file.close();

        const UndoResult result = undoRun(outcome.recordId, false);
        QCOMPARE(result.damaged, damaged ? QStringList(outcome.recordId +
                                                       QStringLiteral(" line 2: damaged, skipped"))
                                         : QStringList());
        QCOMPARE(result.removed, damaged ? QStringList() : QStringList(copy));
        QCOMPARE(QFile::exists(copy), damaged);
    }

    void sourceListedTwiceIsTakenBackWhole_data() {
        QTest::addColumn<bool>("onFat");
        QTest::newRow("inodes hold") << false;
        QTest::newRow("FAT: name, size and time") << true;
    }
    void sourceListedTwiceIsTakenBackWhole() {
        QFETCH(bool, onFat);
        TestMount mount;
        if (onFat) {
            SKIP_WITHOUT_MOUNT(TestMount::Kind::Fat);
            QVERIFY2(mount.mount(TestMount::Kind::Fat), qPrintable(mount.error()));
            m_output = mount.path();
        }
        // The second copy replaced the first under the same name: the name's last line holds.
        run({QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("a.txt")});
        const UndoResult result = undoRun(QString(), false);
        QCOMPARE(result.removedCount, qint64(2));
        QVERIFY2(result.left.isEmpty(), qPrintable(result.left.value(0).why));
        QVERIFY(namesIn(m_output).isEmpty());
    }

    void namesComeBackFromTheRecord_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("plain") << QByteArray("plain.txt");
        QTest::newRow("quote and backslash") << QByteArray("q\"b\\s.txt");
        QTest::newRow("line feed and tab") << QByteArray("l\nf\t.txt");
        QTest::newRow("UTF-8") << QByteArray("\xc3\xa9t\xc3\xa9 \xf0\x9f\x93\xb7.txt");
        QTest::newRow("not UTF-8") << QByteArray("n\xff.txt");
        // Long names: what needs escaping lies among plain characters read many at a time.
        const QByteArray plain(40, 'p');
        for (const QByteArray &odd :
             {QByteArray("\""), QByteArray("\\"), QByteArray("\x1f"), QByteArray("\x7f"),
              QByteArray("\xc3\xa9"), QByteArray("\xe4\xb8\xad"), QByteArray("\xf0\x9f\x93\xb7")})
            QTest::addRow("long, 0x%02x inside", static_cast<unsigned char>(odd[0]))
                << plain + odd + plain + odd;
    }
    void namesComeBackFromTheRecord() {
        QFETCH(QByteArray, name);
        const QString source = pathFromBytes(pathToBytes(m_sources) + '/' + name);
        const QString copy = pathFromBytes(pathToBytes(m_output) + '/' + name);
        QVERIFY(::close(::creat(pathToBytes(source).constData(), 0644)) == 0);
        FixedRunInputs inputs({source}, m_output, QString());
        RecordingPort port;
        QCOMPARE(startChanging(inputs, port).copiedCount(), 1);
        const UndoResult result = undoRun(QString(), false);
        QCOMPARE(result.removed, QStringList(copy));
        QVERIFY(result.damaged.isEmpty());
        ::unlink(pathToBytes(source).constData());
    }

    void modificationTimesReadBack_data() {
        QTest::addColumn<qint64>("mtimeNs");
        for (const qint64 ns :
             {-1'500'000'000LL, 0LL, 7LL, 99'999'999LL, 100'000'000LL, 9'999'999'999'999'999LL,
              10'000'000'000'000'000LL, 1'796'688'739'123'456'789LL})
            QTest::addRow("%lld", static_cast<long long>(ns)) << ns;
    }
    void modificationTimesReadBack() {
        QFETCH(qint64, mtimeNs);
        const QByteArray source = pathToBytes(m_sources + QStringLiteral("/a.txt"));
        lldiv_t split = std::lldiv(mtimeNs, 1'000'000'000LL);
        if (split.rem < 0) {
            split.quot -= 1;
            split.rem += 1'000'000'000LL;
        }
        const struct timespec times[2] = {{split.quot, long(split.rem)},
                                          {split.quot, long(split.rem)}};
        QCOMPARE(::utimensat(AT_FDCWD, source.constData(), times, 0), 0);
        const RunOutcome outcome = run({QStringLiteral("a.txt")});
        QCOMPARE(recordLines(outcome.recordId)[1][QLatin1String("mtime_ns")].toInteger(), mtimeNs);
        QCOMPARE(undoRun(QString(), false).removedCount, qint64(1));
    }

    void recordedCopiesKeepTheirSourcesBits_data() {
        QTest::addColumn<int>("mask");
        QTest::newRow("umask 022") << 022;
        QTest::newRow("umask 027") << 027;
        QTest::newRow("umask 0") << 0;
    }
    void recordedCopiesKeepTheirSourcesBits() {
        // A record reads each copy's status once named; the bits are still checked for each
        // mode the folder has not given as asked before.
        QFETCH(int, mask);
        const QList<mode_t> modes{0644, 0644, 0666, 0600, 0666, 0755, 0644};
        QStringList names;
        for (int i = 0; i < modes.size(); ++i) {
            names.append(QStringLiteral("mode%1").arg(i));
            const QByteArray source = pathToBytes(m_sources + QLatin1Char('/') + names.last());
            QVERIFY(::close(::creat(source.constData(), 0600)) == 0);
            QCOMPARE(::chmod(source.constData(), modes[i]), 0);
        }
        const mode_t before = ::umask(mode_t(mask));
        const RunOutcome outcome = run(names);
        ::umask(before);
        QCOMPARE(outcome.copiedCount(), int(modes.size()));
        for (int i = 0; i < modes.size(); ++i) {
            struct stat status {};
            QCOMPARE(
                ::stat(pathToBytes(m_output + QLatin1Char('/') + names[i]).constData(), &status),
                0);
            QCOMPARE(status.st_mode & 07777, modes[i]);
        }
    }

    void runKeepsTenOfEachKindAndHandsOnEveryFile() {
        QStringList names;
        for (int i = 0; i < 12; ++i)
            names << QStringLiteral("gone%1").arg(i) << QStringLiteral("a.txt");
        FixedRunInputs inputs;
        for (const QString &name : names)
            inputs.entries.append(m_sources + QLatin1Char('/') + name);
        inputs.outputFolder = m_output;
        RecordingPort port;
        QList<int> told;
        const RunOutcome outcome =
            startChanging(inputs, port, systemClock(), systemFileTimes(), RunChoices(),
                          [&told](const FileOutcome &file) { told.append(file.position); });
        QCOMPARE(told.size(), 24);
        QCOMPARE(told.first(), 1);
        QCOMPARE(told.last(), 24);
        QCOMPARE(outcome.notCopiedCount(), 12);
        QCOMPARE(outcome.copiedCount(), 12);
        QCOMPARE(outcome.files.size(), kMaxFilesNamedWhenDone);
        QCOMPARE(outcome.files.last().position, 19);
        QVERIFY(port.shown.contains(QStringLiteral("and 2 more.")));
    }

    void windowTakesBackItsNewestRunAfterAsking() {
        WindowRuns runs;
        runs.note(run({QStringLiteral("a.txt")}).recordId);
        runs.note(run({QStringLiteral("b.txt"), QStringLiteral("c.txt")}).recordId);
        RecordingPort port;
        QCOMPARE(runs.offerUndo(port).removed.size(), 0); // answered No
        port.answer = true;
        QCOMPARE(runs.offerUndo(port).removed.size(), 2);
        QCOMPARE(runs.offerUndo(port).removed.size(), 1);
        QCOMPARE(runs.offerUndo(port).status, UndoResult::Status::NoRun);
        const QString question =
            QStringLiteral("Remove the 2 copies this run made in ") + m_output + QLatin1Char('?');
        QCOMPARE(port.asked, QStringList({question, question,
                                          QStringLiteral("Remove the 1 copy this run made in ") +
                                              m_output + QLatin1Char('?')}));
        QCOMPARE(port.shown, QStringLiteral("2 copies were removed.1 copy was removed."));
        QCOMPARE(undoQuestion(1234, QStringLiteral("/home/ana/stamped")),
                 QStringLiteral("Remove the 1,234 copies this run made in /home/ana/stamped?"));
    }

    // A signal taken by another thread while the run's thread writes its record (the
    // signals blocked) goes to the run's thread: each line is written once, and it still
    // ends the program.
    void signalOnAnotherThreadGoesToTheRecordsThread() {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--signal-on-another-thread"), m_output});
        QVERIFY(child.waitForFinished(20000));
        QCOMPARE(child.readAllStandardOutput(), QByteArray("handed over\n"));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        const QStringList records = namesIn(runRecordFolder());
        QCOMPARE(records.size(), 1);
        QCOMPARE(test::contentOf(runRecordFolder() + QLatin1Char('/') + records.first())
                     .count("\"source\":\"/sources/a.txt\""),
                 1);
    }

    void oldAndSurplusRecordsArePruned() {
        const QString folder = runRecordFolder();
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeFile(folder + QStringLiteral("/2020-01-01T00-00-00Z-0001.jsonl")));
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (int i = 0; i < 205; ++i)
            QVERIFY(writeFile(folder + QLatin1Char('/') +
                              now.addSecs(-i).toString(QStringLiteral("yyyy-MM-ddTHH-mm-ssZ")) +
                              QStringLiteral("-abcd.jsonl")));
        run({QStringLiteral("a.txt")});
        const QStringList names = namesIn(folder);
        QCOMPARE(names.size(), 201);
        QVERIFY(!names.contains(QStringLiteral("2020-01-01T00-00-00Z-0001.jsonl")));
    }
};

#include "tst_runrecord.moc"

namespace {

/// A record holding a line not yet written, its thread writing with the signals blocked
/// while another thread takes SIGTERM; then the signals are let through.
int signalOnAnotherThread(const QString &output) {
    enableRunRecords(QStringLiteral("cli"));
    RecordWriter record(output, QString(), RunChoices());
    FileOutcome file;
    file.source = QStringLiteral("/sources/a.txt");
    file.destination = output + QStringLiteral("/a.txt");
    file.problem = CopyProblem::None;
    record.add(file);
    sigset_t ending;
    sigemptyset(&ending);
    sigaddset(&ending, SIGTERM);
    ::pthread_sigmask(SIG_BLOCK, &ending, nullptr);
    std::thread([&ending] {
        ::pthread_sigmask(SIG_UNBLOCK, &ending, nullptr);
        ::pthread_kill(::pthread_self(), SIGTERM);
    }).join();
    const char said[] = "handed over\n";
    if (::write(STDOUT_FILENO, said, sizeof said - 1) < 0)
        return 1;
    ::pthread_sigmask(SIG_UNBLOCK, &ending, nullptr);
    return 0; // not reached: the signal ends the program
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 3 && qstrcmp(argv[1], "--signal-on-another-thread") == 0) {
        QCoreApplication app(argc, argv);
        return signalOnAnotherThread(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    TestRunRecord test;
    return QTest::qExec(&test, argc, argv);
}
