#include "FakeWindow.h"
#include "FixedRunInputs.h"
#include "TestFiles.h"
#include "core/PathCodec.h"
#include "naming/ComposeNewName.h"
#include "records/CopiedIndex.h"
#include "records/RecordFormat.h"
#include "records/RecordWriter.h"
#include "records/RunUndo.h"
#include "run/StartChanging.h"

#include <QRegularExpression>
#include <QtTest>

#include <sys/stat.h>

using namespace plenvoy;
using plenvoy::test::contentOf;
using plenvoy::test::setFileTimes;
using plenvoy::test::writeFile;

Q_DECLARE_METATYPE(RecordHeader)
Q_DECLARE_METATYPE(RecordedCopy)
Q_DECLARE_METATYPE(IndexLine)

namespace {

/// Where version 1.1.0 made the run kept in the test data: its paths begin with this.
const QString kEarlierPrefix = QStringLiteral("/tmp/plenvoy-110");
const QString kEarlierRecord = QStringLiteral("2026-12-08T04-33-37Z-6262");
const FileIdentity kIdentity{2049, 1234567, 42, 1'781'265'600'123'456'789,
                             1'781'265'700'000'000'001};

QByteArray earlierData(const char *name) {
    return contentOf(QStringLiteral(PLENVOY_TEST_DATA "/records/") + QLatin1String(name));
}

struct ReadLine {
    RecordLine kind;
    RecordLineReader reader;
    RecordedCopy copy;
};

/// Reads one line as a record's reader does, all fields asked for.
ReadLine readLine(const QByteArray &line) {
    ReadLine read{RecordLine::Blank, RecordLineReader(RecordLineReader::Fields::All), {}};
    const QByteArray bare = line.endsWith('\n') ? line.chopped(1) : line;
    read.kind = read.reader.read(bare.constData(), bare.constData() + bare.size(), read.copy);
    return read;
}

QByteArray copyLine(const RecordedCopy &copy) {
    std::string line;
    const bool known = copy.identity.device >= 0;
    appendCopyLine(line, pathFromBytes(copy.source), pathFromBytes(copy.destination), copy.outcome,
                   copy.reason, known ? &copy.identity : nullptr);
    return QByteArray::fromStdString(line);
}

RecordedCopy recorded(const QByteArray &source, const QByteArray &destination,
                      RecordOutcome outcome, const QString &reason, const FileIdentity &identity) {
    RecordedCopy copy;
    copy.source = source;
    copy.destination = destination;
    copy.outcome = outcome;
    copy.reason = reason;
    copy.identity = identity;
    return copy;
}

} // namespace

class TestRecordFormat final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void init() {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_STATE_HOME", pathToBytes(m_dir.path() + QStringLiteral("/state")));
    }
    void cleanup() {
        disableRunRecords();
        QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), m_dir.path()});
        QVERIFY(QDir().mkpath(m_dir.path()));
    }

    void headerReadsBack_data() {
        QTest::addColumn<RecordHeader>("header");
        RecordHeader plain;
        plain.id = QStringLiteral("2026-12-08T04-33-37Z-6262");
        plain.start = QStringLiteral("2026-12-08T04:33:37.971Z");
        plain.version = QStringLiteral("1.2.0");
        plain.front = QStringLiteral("cli");
        plain.output = QStringLiteral("/home/ana/stamped");
        plain.outputDevice = 65024;
        plain.outputInode = 10961093;
        plain.option = QStringLiteral("Add current date to end of filename");
        plain.form = QStringLiteral("regional");
        plain.creation = QStringLiteral("file");
        plain.layout = QStringLiteral("flat");
        QTest::newRow("plain") << plain;
        RecordHeader custom = plain;
        custom.form = QStringLiteral("custom");
        custom.pattern = QStringLiteral("%Y \"%m\" \\ %d");
        custom.shift = QStringLiteral("+01:30");
        custom.nthValue = qint16(32767);
        QTest::newRow("pattern with quotes, shift and n") << custom;
        RecordHeader unknown = plain;
        unknown.outputDevice = -1;
        unknown.outputInode = -1;
        unknown.output = pathFromBytes("/media/n\xff\n");
        QTest::newRow("folder not UTF-8 and not found") << unknown;
    }
    void headerReadsBack() {
        QFETCH(RecordHeader, header);
        const ReadLine read = readLine(headerLine(header));
        QCOMPARE(read.kind, RecordLine::Header);
        QCOMPARE(read.reader.header.format, kRecordFormat);
        QVERIFY(read.reader.header == header);
    }

    void copyLineReadsBack_data() {
        QTest::addColumn<RecordedCopy>("copy");
        QTest::newRow("copied") << recorded("/s/a.txt", "/o/a 2026.txt", RecordOutcome::Copied,
                                            QString(), kIdentity);
        QTest::newRow("numbered") << recorded("/s/a.txt", "/o/a (2).txt", RecordOutcome::Numbered,
                                              QString(), kIdentity);
        QTest::newRow("replaced") << recorded("/s/a.txt", "/o/a.txt", RecordOutcome::Replaced,
                                              QString(), kIdentity);
        QTest::newRow("not copied, with a reason to escape")
            << recorded("/s/gone", "/o/gone", RecordOutcome::NotCopied,
                        QStringLiteral("it \"vanished\"\t\\ here"), FileIdentity());
        QTest::newRow("skipped") << recorded("/s/b", "/o/b", RecordOutcome::Skipped,
                                             QStringLiteral("copied before on 12/7/2026 as b"),
                                             FileIdentity());
        QTest::newRow("names to escape")
            << recorded("/s/q\"b\\s\n.txt", "/o/\xc3\xa9t\xc3\xa9 \xf0\x9f\x93\xb7.txt",
                        RecordOutcome::Copied, QString(), kIdentity);
        QTest::newRow("names not UTF-8")
            << recorded("/s/n\xff", "/o/n\xfe", RecordOutcome::Copied, QString(), kIdentity);
    }
    void copyLineReadsBack() {
        QFETCH(RecordedCopy, copy);
        const QByteArray line = copyLine(copy);
        const ReadLine read = readLine(line);
        QCOMPARE(read.kind, RecordLine::Copy);
        QCOMPARE(read.copy.source, copy.source);
        QCOMPARE(read.copy.destination, copy.destination);
        QCOMPARE(read.copy.outcome, copy.outcome);
        QCOMPARE(read.copy.reason, copy.reason);
        QVERIFY(read.copy.identity == copy.identity);
        // Undo's reading leaves the source and the reason out, the rest alike.
        RecordLineReader undo;
        RecordedCopy forUndo;
        QCOMPARE(undo.read(line.constData(), line.constData() + line.size() - 1, forUndo),
                 RecordLine::Copy);
        QCOMPARE(forUndo.destination, copy.destination);
        QVERIFY(forUndo.source.isEmpty() && forUndo.identity == copy.identity);
    }

    void madeLineReadsBack_data() {
        QTest::addColumn<QString>("folder");
        QTest::newRow("plain") << QStringLiteral("/o/2026/2026-12-08");
        QTest::newRow("not UTF-8") << pathFromBytes("/o/\xff\"");
    }
    void madeLineReadsBack() {
        QFETCH(QString, folder);
        const ReadLine read = readLine(madeLine(folder));
        QCOMPARE(read.kind, RecordLine::Made);
        QCOMPARE(read.reader.made, folder);
    }

    void endLineReadsBack_data() {
        QTest::addColumn<QList<qint64>>("counts");
        QTest::newRow("none") << QList<qint64>{0, 0, 0, 0, 0};
        QTest::newRow("each its own") << QList<qint64>{1, 2, 3, 4, 5'000'000'000};
    }
    void endLineReadsBack() {
        QFETCH(QList<qint64>, counts);
        RecordEnd end;
        end.at = QStringLiteral("2026-12-08T04:33:38.005Z");
        std::copy(counts.begin(), counts.end(), std::begin(end.counts));
        const ReadLine read = readLine(endLine(end));
        QCOMPARE(read.kind, RecordLine::End);
        QCOMPARE(read.reader.closing.at, end.at);
        QCOMPARE(QList<qint64>(std::begin(read.reader.closing.counts),
                               std::end(read.reader.closing.counts)),
                 counts);
    }

    void undoneLineReadsBack_data() {
        QTest::addColumn<qint64>("removed");
        QTest::addColumn<qint64>("left");
        QTest::newRow("all removed") << qint64(1'000'000) << qint64(0);
        QTest::newRow("some left") << qint64(3) << qint64(2);
    }
    void undoneLineReadsBack() {
        QFETCH(qint64, removed);
        QFETCH(qint64, left);
        const RecordUndone undone{QStringLiteral("2026-12-09T10:00:00.000Z"), removed, left};
        const QByteArray line = undoneLine(undone);
        const ReadLine read = readLine(line);
        QCOMPARE(read.kind, RecordLine::Undone);
        QCOMPARE(read.reader.undone.at, undone.at);
        QCOMPARE(read.reader.undone.removed, removed);
        QCOMPARE(read.reader.undone.left, left);
        QVERIFY(isUndoneLine(line.chopped(1)));
    }

    void indexLineReadsBack_data() {
        QTest::addColumn<IndexLine>("line");
        IndexLine plain{QStringLiteral("/home/ana/out"),
                        QStringLiteral("CARD/DCIM/a 2026.jpg"),
                        QStringLiteral("DCIM/a.jpg"),
                        5,
                        1'781'265'600'000'000'000,
                        kIdentity,
                        1'796'704'420};
        QTest::newRow("ASCII") << plain;
        IndexLine lengths = plain;
        lengths.copy = QStringLiteral("ab");
        lengths.sourceKey = QStringLiteral("abcd");
        QTest::newRow("names of other lengths") << lengths;
        IndexLine other = plain;
        other.output = QStringLiteral("/home/ana/caf\u00e9");
        other.copy = pathFromBytes("x\xff");
        other.sourceKey = QStringLiteral("/s/\u20ac\t.jpg");
        QTest::newRow("not ASCII, not UTF-8, a tab") << other;
    }
    void indexLineReadsBack() {
        QFETCH(IndexLine, line);
        const QByteArray written = indexLine(line);
        QVERIFY(written.endsWith('\n'));
        IndexLine read;
        QVERIFY(readIndexLine(QByteArrayView(written).chopped(1), read));
        QVERIFY(read == line);
        // A line of another shape is passed over.
        const QByteArray longer = written.chopped(1) + "\t1";
        QVERIFY(!readIndexLine(longer, read));
    }

    void earlierVersionsLinesRead() {
        // Version 1.1.0's record: no format, no skipped count.
        const QList<QByteArray> lines = earlierData("2026-12-08T04-33-37Z-6262.jsonl").split('\n');
        QCOMPARE(lines.size(), 6);
        ReadLine read = readLine(lines[0]);
        QCOMPARE(read.kind, RecordLine::Header);
        QCOMPARE(read.reader.header.format, 1);
        QCOMPARE(read.reader.header.output, kEarlierPrefix + QStringLiteral("/out"));
        QCOMPARE(read.reader.header.outputInode, qint64(10961093));
        read = readLine(lines[2]);
        QCOMPARE(read.kind, RecordLine::Copy);
        QCOMPARE(read.copy.destination, pathToBytes(kEarlierPrefix) + "/out/\xc3\xa9 b.txt");
        QCOMPARE(read.copy.identity.mtimeNs, qint64(1796211000500000000));
        read = readLine(lines[3]);
        QCOMPARE(read.copy.outcome, RecordOutcome::NotCopied);
        QCOMPARE(read.copy.reason, QStringLiteral("it no longer exists"));
        QCOMPARE(read.copy.identity.device, qint64(-1));
        read = readLine(lines[4]);
        QCOMPARE(read.kind, RecordLine::End);
        QCOMPARE(read.reader.closing.counts[int(RecordOutcome::NotCopied)], qint64(1));
        QCOMPARE(read.reader.closing.counts[int(RecordOutcome::Skipped)], qint64(0));
        // The index as it was written before records had a format.
        IndexLine index;
        QVERIFY(readIndexLine(earlierData("copied.index").split('\n').at(1), index));
        QCOMPARE(index.output, kEarlierPrefix + QStringLiteral("/indexed"));
        QCOMPARE(index.copy, QStringLiteral("a.txt"));
        QCOMPARE(index.sourceKey, QStringLiteral("a.txt"));
        QCOMPARE(index.sourceSize, qint64(6));
        QCOMPARE(index.sourceMtimeNs, qint64(1796119200123456789));
        QCOMPARE(index.identity.ctimeNs, qint64(1796704420613740228));
        QCOMPARE(index.madeAt, qint64(1796704420));
    }

    void earlierRunIsListedAndTakenBack();
    void earlierIndexSkipsItsFiles();
};

namespace {

/// Makes the file with the content and modification time the earlier run saw.
bool makeFile(const QString &path, const QByteArray &content, qint64 mtimeNs) {
    const struct timespec time { time_t(mtimeNs / 1'000'000'000), long(mtimeNs % 1'000'000'000) };
    return writeFile(path, content) && setFileTimes(path, time, time);
}

QByteArray identityFields(const QString &path, bool wholeFile) {
    struct stat status {};
    if (::stat(pathToBytes(path).constData(), &status) != 0)
        return QByteArray();
    const FileIdentity identity = FileIdentity::of(status);
    QByteArray fields = "\"dev\":" + QByteArray::number(identity.device) +
                        ",\"ino\":" + QByteArray::number(identity.inode);
    if (wholeFile)
        fields += ",\"size\":" + QByteArray::number(identity.size) +
                  ",\"mtime_ns\":" + QByteArray::number(identity.mtimeNs) +
                  ",\"ctime_ns\":" + QByteArray::number(identity.ctimeNs);
    return fields;
}

} // namespace

void TestRecordFormat::earlierRunIsListedAndTakenBack() {
    // The earlier run's folders, made again here: its paths and the identities of its
    // folder and copies are those of the files made now.
    const QString prefix = m_dir.path() + QStringLiteral("/earlier");
    const QString output = prefix + QStringLiteral("/out");
    const QString copyA = output + QStringLiteral("/a.txt");
    const QString copyB = output + QStringLiteral("/\u00e9 b.txt");
    QVERIFY(QDir().mkpath(output));
    QVERIFY(makeFile(copyA, "alpha\n", 1796119200123456789));
    QVERIFY(makeFile(copyB, "beta, the second\n", 1796211000500000000));
    const QRegularExpression identity(
        QStringLiteral("\"dev\":\\d+,\"ino\":\\d+(,\"size\".*_ns\":\\d+)?"));
    QByteArray record;
    for (QByteArray line : earlierData("2026-12-08T04-33-37Z-6262.jsonl").split('\n')) {
        QString text = QString::fromUtf8(line).replace(kEarlierPrefix, prefix);
        const QString path = text.contains(QLatin1String("\"run\""))         ? output
                             : text.contains(QLatin1String("out/a.txt"))     ? copyA
                             : text.contains(QStringLiteral("out/\u00e9 b")) ? copyB
                                                                             : QString();
        if (!path.isEmpty())
            text.replace(identity, QString::fromUtf8(identityFields(path, path != output)));
        if (!text.isEmpty())
            record += text.toUtf8() + '\n';
    }
    QVERIFY(writeFile(runRecordPath(kEarlierRecord), record));

    const QList<RunSummary> runs = listRunRecords();
    QCOMPARE(runs.size(), 1);
    QCOMPARE(runs[0].output, output);
    QCOMPARE(runs[0].copied, qint64(2));
    QCOMPARE(runs[0].notCopied, qint64(1));
    QVERIFY(runs[0].finished && !runs[0].undone);
    const UndoResult result = undoRun(QStringLiteral("6262"), false);
    QVERIFY(result.damaged.isEmpty());
    QCOMPARE(result.removed, QStringList({copyA, copyB}));
    QVERIFY(result.left.isEmpty());
    QVERIFY(!QFileInfo::exists(copyA) && !QFileInfo::exists(copyB));
    QVERIFY(listRunRecords()[0].undone);
}

void TestRecordFormat::earlierIndexSkipsItsFiles() {
    const QString prefix = m_dir.path() + QStringLiteral("/earlier");
    const QString sources = prefix + QStringLiteral("/sources");
    const QString output = prefix + QStringLiteral("/indexed");
    QVERIFY(QDir().mkpath(output));
    QByteArray index;
    QStringList entries;
    for (const QByteArray &line : earlierData("copied.index").split('\n')) {
        IndexLine copy;
        if (!readIndexLine(line, copy))
            continue;
        // The source and its copy as they were, in the folders made here.
        const QByteArray content = copy.sourceSize == 6 ? "alpha\n" : "beta, the second\n";
        entries.append(sources + QLatin1Char('/') + copy.sourceKey);
        QVERIFY(makeFile(entries.last(), content, copy.sourceMtimeNs));
        const QString made = output + QLatin1Char('/') + copy.copy;
        QVERIFY(makeFile(made, content, copy.identity.mtimeNs));
        struct stat status {};
        QCOMPARE(::stat(pathToBytes(made).constData(), &status), 0);
        copy.output = output;
        copy.identity = FileIdentity::of(status);
        index += indexLine(copy);
    }
    QCOMPARE(entries.size(), 2);
    QVERIFY(writeFile(copiedIndexPath(), index));

    enableRunRecords(QStringLiteral("cli"));
    FixedRunInputs inputs(entries, output, QString());
    inputs.through = QStringList{sources, sources};
    RunChoices style;
    style.skipCopied = true;
    test::FakeWindow window;
    QList<CopyProblem> problems;
    startChanging(inputs, window, systemClock(), systemFileTimes(), style,
                  [&problems](const FileOutcome &file) { problems.append(file.problem); });
    QCOMPARE(problems, QList<CopyProblem>({CopyProblem::CopiedBefore, CopyProblem::CopiedBefore}));
    QCOMPARE(QDir(output).entryList(QDir::Files).size(), 2);
}

QTEST_GUILESS_MAIN(TestRecordFormat)
#include "tst_recordformat.moc"
