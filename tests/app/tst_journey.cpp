// A user's whole journey through the real window: load the samples, pick an option, type
// an output folder, start the run, and find the stamped copies; then start again and find
// the choices restored.

#include "TestFiles.h"
#include "app/MainWindow.h"
#include "filelist/FileList.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDirIterator>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

using namespace plenvoy;
using plenvoy::test::snapshotOf;
using plenvoy::test::TreeSnapshot;

namespace {

/// Answers every modal box as it appears, through its real buttons, and records its text.
class BoxAnswerer final : public QObject {
public:
    explicit BoxAnswerer(QMessageBox::StandardButton answer)
        : m_answer(answer) {
        connect(&m_timer, &QTimer::timeout, this, &BoxAnswerer::poll);
        m_timer.start(10);
    }

    QStringList texts;

private:
    void poll() {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || box->property("answered").toBool())
            return;
        box->setProperty("answered", true);
        texts << box->text();
        QAbstractButton *button = box->button(m_answer);
        if (!button)
            button = box->button(QMessageBox::Ok);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
};

void copyTree(const QString &from, const QString &to) {
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        it.next();
        QVERIFY(QFile::copy(it.filePath(), to + QLatin1Char('/') + it.fileName()));
    }
}

/// The name a copy gets under "Add last modified date to end of filename".
QString stampedName(const QString &path) {
    const QFileInfo info(path);
    const QString stamp = info.lastModified().toString(QStringLiteral("MM-dd-yyyy"));
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return name + QLatin1Char(' ') + stamp;
    return name.left(dot) + QLatin1Char(' ') + stamp + name.mid(dot);
}

/// One stamped copy of each sample in the folder, with the sample's content.
void checkOneStampedCopyPerSample(const QString &samplesFolder, const QString &folder,
                                  const QStringList &samples) {
    QStringList expected;
    for (const QString &name : samples)
        expected << stampedName(samplesFolder + QLatin1Char('/') + name);
    expected.sort();
    QStringList written = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    written.sort();
    QCOMPARE(written, expected);
    QVERIFY(written.contains(QStringLiteral("backup.tar ") +
                             QFileInfo(samplesFolder + QStringLiteral("/backup.tar.gz"))
                                 .lastModified()
                                 .toString(QStringLiteral("MM-dd-yyyy")) +
                             QStringLiteral(".gz")));
    for (const QString &name : samples) {
        QFile original(samplesFolder + QLatin1Char('/') + name);
        QFile copy(folder + QLatin1Char('/') +
                   stampedName(samplesFolder + QLatin1Char('/') + name));
        QVERIFY(original.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), original.readAll());
    }
}

} // namespace

class TestJourney : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aUserStampsTheSamplesAndFindsTheChoicesKept();
};

void TestJourney::aUserStampsTheSamplesAndFindsTheChoicesKept() {
    QTemporaryDir config;
    QTemporaryDir home;
    QTemporaryDir program;
    QTemporaryDir output;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv("HOME", home.path().toLocal8Bit());
    copyTree(QStringLiteral(PLENVOY_ASSETS_DIR "/Samples"),
             program.path() + QStringLiteral("/Samples"));
    const QStringList samples =
        QDir(program.path() + QStringLiteral("/Samples")).entryList(QDir::Files | QDir::Hidden);
    QVERIFY(samples.size() >= 5);
    // Every sample's content, mode and time, read before the run touches anything.
    const TreeSnapshot samplesBefore = snapshotOf(program.path() + QStringLiteral("/Samples"));
    QCOMPARE(samplesBefore.size(), samples.size());

    const QString option = QStringLiteral("Add last modified date to end of filename");
    const QString folder = output.path() + QStringLiteral("/stamped");
    QVERIFY(QDir().mkpath(folder));

    {
        MainWindow window(program.path());
        window.startUp();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        // Load the samples and decline to open their folder.
        {
            BoxAnswerer boxes(QMessageBox::No);
            QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("PushButton5")),
                              Qt::LeftButton);
            QCOMPARE(boxes.texts.size(), 1);
            QVERIFY(boxes.texts.first().startsWith(
                QStringLiteral("Would you like this software to open the folder")));
        }
        QCOMPARE(window.fileList().count(), samples.size());

        // Pick the option and type the output folder.
        auto *combo = window.findChild<QComboBox *>(QStringLiteral("Combo1"));
        combo->setFocus();
        const int index = combo->findText(option);
        QVERIFY(index > 0);
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(combo->currentText(), option);
        auto *box = window.findChild<QLineEdit *>(QStringLiteral("Text1"));
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, folder);
        QCOMPARE(box->text(), folder);

        // Start the run and see it finish.
        {
            BoxAnswerer boxes(QMessageBox::Ok);
            QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("PushButton2")),
                              Qt::LeftButton);
            QCOMPARE(boxes.texts, QStringList{QStringLiteral("Done.")});
        }
        window.close();
    }

    // One stamped copy per sample, with the sample's content; the samples stay as they were.
    checkOneStampedCopyPerSample(program.path() + QStringLiteral("/Samples"), folder, samples);
    if (QTest::currentTestFailed())
        return;
    COMPARE_TREE(samplesBefore, snapshotOf(program.path() + QStringLiteral("/Samples")));

    // A new start restores the option and the folder.
    MainWindow again(program.path());
    again.startUp();
    QCOMPARE(again.findChild<QComboBox *>(QStringLiteral("Combo1"))->currentText(), option);
    QCOMPARE(again.findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), folder);
    QCOMPARE(again.fileList().count(), 0);
}

QTEST_MAIN(TestJourney)
#include "tst_journey.moc"
