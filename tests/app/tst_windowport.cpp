// The window's port: event processing that routines ask for at every step, the boxes, and
// the file dialogs, whose answers are found on the disk and which remember nothing.
#include "TestFiles.h"
#include "app/MainWindowPort.h"
#include "core/PathCodec.h"
#include "filelist/AddFiles.h"
#include "filelist/BrowseForFolder.h"
#include "settings/AppTexts.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QtTest>

using namespace plenvoy;

class TestWindowPort final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dialogAnswersAreFoundOnTheDisk_data();
    void dialogAnswersAreFoundOnTheDisk();
    void folderUrlCarriesTheBytes();
    void dialogsRememberNothingAndLeaveNothing_data();
    void dialogsRememberNothingAndLeaveNothing();
    // A routine asks at every step; the window processes its events only every few
    // milliseconds, and an event waiting that long is processed at the next call.
    void callsInQuickSuccessionProcessEventsOnlyEveryFewMilliseconds() {
        QWidget window;
        MainWindowPort port(window);
        bool delivered = false;
        QMetaObject::invokeMethod(
            &window, [&] { delivered = true; }, Qt::QueuedConnection);
        port.processEvents();
        QVERIFY(delivered); // the first call always processes
        QCOMPARE(port.eventRounds(), qint64(1));

        QElapsedTimer clock;
        clock.start();
        for (int step = 0; step < 200000; ++step)
            port.processEvents();
        const qint64 allowed = clock.elapsed() / MainWindowPort::kEventInterval.count() + 2;
        QVERIFY2(port.eventRounds() <= allowed, qPrintable(QString::number(port.eventRounds())));
        QVERIFY(port.eventRounds() < 200000 / 10);

        delivered = false;
        QMetaObject::invokeMethod(
            &window, [&] { delivered = true; }, Qt::QueuedConnection);
        QThread::msleep(2 * MainWindowPort::kEventInterval.count());
        const qint64 before = port.eventRounds();
        port.processEvents();
        QVERIFY(delivered);
        QCOMPARE(port.eventRounds(), before + 1);
    }

    // However short its text, a box is wide enough for its whole title.
    void boxesShowTheirWholeTitle_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("message") << 0;
        QTest::newRow("question") << 1;
        QTest::newRow("error report") << 2;
        QTest::newRow("input") << 3;
    }
    void boxesShowTheirWholeTitle() {
        QFETCH(int, kind);
        QWidget window;
        MainWindowPort port(window);
        int width = 0;
        int needed = 0;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                width = box->width();
                needed = boxMinimumWidth(box->windowTitle(), box->font());
                box->close();
            }
        });
        closer.start(10);
        if (kind == 0)
            port.showMessage(QStringLiteral("Done."));
        else if (kind == 1)
            port.askYesNo(QStringLiteral("Go?"));
        else if (kind == 2)
            port.showErrorReport(QStringLiteral("x"));
        else
            port.askText(QStringLiteral("n"), QString());
        QVERIFY(needed > QFontMetrics(window.font()).horizontalAdvance(QStringLiteral("Plenvoy")));
        QVERIFY2(width >= needed, qPrintable(QStringLiteral("%1 < %2").arg(width).arg(needed)));
    }

    // The closing box of a run that wrote a copy offers "Undo Run"; OK stays the default
    // and Escape, and only the button itself answers true.
    void closingBoxOffersUndoRun_data() {
        QTest::addColumn<bool>("canUndo");
        QTest::addColumn<bool>("clickUndo");
        QTest::newRow("Escape") << true << false;
        QTest::newRow("Undo Run") << true << true;
        QTest::newRow("a run that wrote nothing") << false << false;
    }
    void closingBoxOffersUndoRun() {
        QFETCH(bool, canUndo);
        QFETCH(bool, clickUndo);
        QWidget window;
        MainWindowPort port(window);
        QStringList buttons;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            QAbstractButton *undo = nullptr;
            for (QAbstractButton *button : box->buttons()) {
                buttons.append(button->text());
                if (button->text() == QStringLiteral("Undo Run"))
                    undo = button;
            }
            QVERIFY(box->defaultButton() == box->button(QMessageBox::Ok));
            if (clickUndo && undo)
                undo->click();
            else
                QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(port.showClosingBox(QStringLiteral("Done."), QString(), canUndo), clickUndo);
        QCOMPARE(buttons.contains(QStringLiteral("Undo Run")), canUndo);
    }
};

void TestWindowPort::dialogAnswersAreFoundOnTheDisk_data() {
    QTest::addColumn<QList<QByteArray>>("files");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QByteArray>("expected"); // empty: the answer stays as it came
    const QString mark(QChar(0xFFFD));
    QTest::newRow("one name shows alike")
        << QList<QByteArray>{"\xff.txt", "a.txt"} << mark + QStringLiteral(".txt")
        << QByteArray("\xff.txt");
    QTest::newRow("two names show alike") << QList<QByteArray>{"\xff.txt", "\xfe.txt"}
                                          << mark + QStringLiteral(".txt") << QByteArray();
    QTest::newRow("folder and file both with bytes")
        << QList<QByteArray>{"d\xe9/\xfe\xfe.txt"}
        << QStringLiteral("d") + mark + QStringLiteral("/") + mark + mark + QStringLiteral(".txt")
        << QByteArray("d\xe9/\xfe\xfe.txt");
    QTest::newRow("no name shows alike")
        << QList<QByteArray>{"b.txt"} << mark + QStringLiteral(".txt") << QByteArray();
    QTest::newRow("a name with the mark itself, beside a byte")
        << QList<QByteArray>{"\xef\xbf\xbd.txt", "\xff.txt"} << mark + QStringLiteral(".txt")
        << QByteArray();
    QTest::newRow("plain name, not looked up")
        << QList<QByteArray>{} << QStringLiteral("gone.txt") << QByteArray();
}

void TestWindowPort::dialogAnswersAreFoundOnTheDisk() {
    QFETCH(QList<QByteArray>, files);
    QFETCH(QString, answer);
    QFETCH(QByteArray, expected);
    test::ByteNamedTempDir dir;
    const QByteArray root = pathToBytes(dir.path()) + '/';
    for (const QByteArray &file : files) {
        const qsizetype slash = file.lastIndexOf('/');
        if (slash > 0)
            QCOMPARE(::mkdir(QByteArray(root + file.left(slash)).constData(), 0755), 0);
        // Made through the bytes: QFile would name the file with U+FFFD.
        const int fd =
            ::open(QByteArray(root + file).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
    }
    const QString asked = dir.path() + QLatin1Char('/') + answer;
    const QString resolved = pathFromDialog(asked);
    QCOMPARE(resolved, expected.isEmpty() ? asked : pathFromBytes(root + expected));
}

void TestWindowPort::folderUrlCarriesTheBytes() {
    const QUrl url = localFileUrl(pathFromBytes("/tmp/a b/\xff\xc3\xa9"));
    QVERIFY(url.isLocalFile());
    QCOMPARE(url.toEncoded(), QByteArray("file:///tmp/a%20b/%FF%C3%A9"));
}

void TestWindowPort::dialogsRememberNothingAndLeaveNothing_data() {
    QTest::addColumn<bool>("filesFirst");
    QTest::newRow("file dialog, then folder dialog") << true;
    QTest::newRow("folder dialog, then file dialog") << false;
}

void TestWindowPort::dialogsRememberNothingAndLeaveNothing() {
    QFETCH(bool, filesFirst);
    QTemporaryDir chosen;
    QTemporaryDir working;
    const QString file = chosen.filePath(QStringLiteral("a.txt"));
    QVERIFY(test::writeFile(file, "x"));
    const QString savedWorking = QDir::currentPath();
    QDir::setCurrent(working.path());
    QWidget window;
    MainWindowPort port(window);
    QStringList openedAt;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || dialog->property("answered").toBool())
            return;
        dialog->setProperty("answered", true);
        openedAt << dialog->directory().absolutePath();
        if (openedAt.size() > 1) {
            dialog->reject();
            return;
        }
        if (filesFirst)
            dialog->selectFile(file);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    answer.start(10);
    const QString noFolder = chosen.filePath(QStringLiteral("gone"));
    if (filesFirst) {
        QCOMPARE(port.chooseFiles(kCaptionAddFiles), QStringList{file});
        port.chooseFolder(kPromptSelectFolder, noFolder);
    } else {
        QCOMPARE(port.chooseFolder(kPromptSelectFolder, chosen.path()), chosen.path());
        port.chooseFiles(kCaptionAddFiles);
    }
    QDir::setCurrent(savedWorking);
    // The second dialog knows nothing of where the first one was.
    QCOMPARE(openedAt.size(), 2);
    QCOMPARE(openedAt.at(1), working.path());
    const QString history =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
        QStringLiteral("/QtProject.conf");
    QVERIFY2(!QFile::exists(history), qPrintable(history));
}

QTEST_MAIN(TestWindowPort)
#include "tst_windowport.moc"
