// The window's port: event processing that routines ask for at every step.
#include "app/MainWindowPort.h"

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

QTEST_MAIN(TestWindowPort)
#include "tst_windowport.moc"
