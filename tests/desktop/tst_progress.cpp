#include "FixedRunInputs.h"
#include "cli/ProgressLine.h"
#include "core/SilentWindowPort.h"
#include "desktop/RunProgress.h"
#include "run/StartChanging.h"
#include "settings/AppTexts.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace plenvoy;

namespace {

/// A window that records the run's progress reports.
class ProgressWindow final : public SilentWindowPort {
public:
    void reportProgress(qint64 done, qint64 total) override { reports.append({done, total}); }
    QList<QPair<qint64, qint64>> reports;
};

} // namespace

class ProgressTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void titleText_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<qint64>("done");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QString>("title");
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("grouped") << english << qint64(1234) << qint64(10000)
                                 << QStringLiteral("Plenvoy \u2013 1,234 of 10,000");
        QTest::newRow("small") << english << qint64(0) << qint64(3)
                               << QStringLiteral("Plenvoy \u2013 0 of 3");
        QTest::newRow("German groups with dots")
            << QLocale(QLocale::German, QLocale::Germany) << qint64(1234567) << qint64(2000000)
            << QStringLiteral("Plenvoy \u2013 1.234.567 of 2.000.000");
    }
    void titleText() {
        QFETCH(QLocale, locale);
        QFETCH(qint64, done);
        QFETCH(qint64, total);
        QFETCH(QString, title);
        QCOMPARE(progressTitle(kProductName, done, total, locale), title);
    }

    /// At most one title in each tenth of a second; the end puts the title back.
    void titleThrottledAndRestored() {
        qint64 now = 0;
        QStringList titles;
        RunProgress progress(
            kProductName, [&](const QString &title) { titles.append(title); }, QString(),
            [&] { return now; });
        const QList<qint64> times{0, 50, 99, 100, 150, 260, 261};
        for (qsizetype i = 0; i < times.size(); ++i) {
            now = times.at(i);
            progress.report(i, 100);
        }
        const QLocale locale;
        QCOMPARE(titles, (QStringList{progressTitle(kProductName, 0, 100, locale),
                                      progressTitle(kProductName, 3, 100, locale),
                                      progressTitle(kProductName, 5, 100, locale)}));
        progress.finish();
        QCOMPARE(titles.last(), kProductName);
        QVERIFY(!progress.showing());
        // Nothing shown, nothing to put back.
        titles.clear();
        progress.finish();
        QVERIFY(titles.isEmpty());
    }

    /// The run reports before each file and once at its end.
    void runReportsEachFile() {
        QTemporaryDir dir;
        QStringList files;
        for (int i = 0; i < 3; ++i) {
            files.append(dir.path() + QStringLiteral("/f%1.txt").arg(i));
            QVERIFY(test::writeFile(files.last()));
        }
        QVERIFY(QDir().mkpath(dir.path() + QStringLiteral("/out")));
        FixedRunInputs inputs(files, dir.path() + QStringLiteral("/out"), QString());
        ProgressWindow window;
        startChanging(inputs, window);
        const QList<QPair<qint64, qint64>> expected{{0, 3}, {1, 3}, {2, 3}, {3, 3}};
        QCOMPARE(window.reports, expected);
    }

    void commandLineProgress() {
        qint64 now = 0;
        QByteArray written;
        cli::ProgressLine line(
            true, [&](const QByteArray &bytes) { written += bytes; }, [&] { return now; },
            QLocale(QLocale::English, QLocale::UnitedStates));
        line.report(1, 20000);
        now = 999;
        line.report(2, 20000);
        QVERIFY(written.isEmpty()); // a short run shows nothing
        now = 1000;
        line.report(1234, 20000);
        now = 1050;
        line.report(1300, 20000);
        now = 1100;
        line.report(1400, 20000);
        QCOMPARE(written, QByteArray("\rplenvoy-cli: 1,234 of 20,000\x1b[K"
                                     "\rplenvoy-cli: 1,400 of 20,000\x1b[K"));
        written.clear();
        line.finish();
        QCOMPARE(written, QByteArray("\r\x1b[K"));

        // Quiet, or not a terminal: never a byte.
        cli::ProgressLine quiet(
            false, [&](const QByteArray &bytes) { written += bytes; }, [] { return 5000; });
        written.clear();
        quiet.report(1, 2);
        quiet.finish();
        QVERIFY(written.isEmpty());
    }
};

QTEST_GUILESS_MAIN(ProgressTest)
#include "tst_progress.moc"
