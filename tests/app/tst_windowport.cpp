// The window's port: event processing that routines ask for at every step.
#include "app/MainWindowPort.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
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
};

QTEST_MAIN(TestWindowPort)
#include "tst_windowport.moc"
