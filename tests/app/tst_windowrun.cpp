// The window during a run and at the keyboard: progress, Stop, the closing box's buttons,
// the keys, the About box and the help.
#include "TestFiles.h"
#include "app/HelpRoute.h"
#include "app/MainWindow.h"
#include "app/RunProgressBar.h"
#include "naming/TakenTime.h"
#include "records/RecordWriter.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

using namespace plenvoy;
using plenvoy::test::writeFile;

namespace {

/// Answers each modal box as it appears and notes "title|text" and its buttons.
class BoxAnswerer final : public QObject {
public:
    explicit BoxAnswerer(std::function<void(QWidget *)> act)
        : m_act(std::move(act)) {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || modal->property("answered").toBool())
                return;
            modal->setProperty("answered", true);
            auto *box = qobject_cast<QMessageBox *>(modal);
            seen << modal->windowTitle() + QLatin1Char('|') + (box ? box->text() : QString());
            m_act(modal);
        });
        m_timer.start(5);
    }
    QStringList seen;

private:
    std::function<void(QWidget *)> m_act;
    QTimer m_timer;
};

QAbstractButton *buttonNamed(QMessageBox *box, const QString &text) {
    for (QAbstractButton *button : box->buttons())
        if (button->text().remove(QLatin1Char('&')) == text)
            return button;
    return nullptr;
}

/// Notes the addresses that the desktop is asked to open.
class OpenedUrls final : public QObject {
    Q_OBJECT
public:
    explicit OpenedUrls(const QStringList &schemes)
        : m_schemes(schemes) {
        for (const QString &scheme : m_schemes)
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~OpenedUrls() override {
        for (const QString &scheme : m_schemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls << url; }

private:
    QStringList m_schemes;
};

} // namespace

class TestWindowRun : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void aRunShowsItsProgressAndStopsAfterTheFileInHand_data();
    void aRunShowsItsProgressAndStopsAfterTheFileInHand();
    void keysReachTheirActions_data();
    void keysReachTheirActions();
    void undoTakesBackTheWindowsNewestRun_data();
    void undoTakesBackTheWindowsNewestRun();
    void progressTextTellsFilesBytesAndTimeLeft_data();
    void progressTextTellsFilesBytesAndTimeLeft();
    void progressBarUpdatesAtMostTenTimesASecond();
    void helpGoesToTheDesktopsViewerOrTheProjectsAddress_data();
    void helpGoesToTheDesktopsViewerOrTheProjectsAddress();

private:
    std::unique_ptr<MainWindow> startWindow();

    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestWindowRun::init() {
    m_folder = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", m_folder->filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_STATE_HOME", m_folder->filePath(QStringLiteral("state")).toLocal8Bit());
    QDir(m_folder->path()).mkpath(QStringLiteral("out"));
    QDir(m_folder->path()).mkpath(QStringLiteral("program"));
}

std::unique_ptr<MainWindow> TestWindowRun::startWindow() {
    auto window = std::make_unique<MainWindow>(m_folder->filePath(QStringLiteral("program")));
    window->startUp();
    window->findChild<QLineEdit *>(QStringLiteral("Text1"))
        ->setText(m_folder->filePath(QStringLiteral("out")));
    window->show();
    window->activateWindow();
    return window;
}

void TestWindowRun::aRunShowsItsProgressAndStopsAfterTheFileInHand_data() {
    QTest::addColumn<QString>("press");  // how Stop is asked for
    QTest::addColumn<QString>("answer"); // to "Stop after the current file?"
    QTest::addColumn<QString>("closing");
    QTest::addColumn<int>("copied");
    QTest::newRow("Stop, Yes: after the second file") << "Stop"
                                                      << "Yes"
                                                      << "Stopped after 2 of 3 files." << 2;
    QTest::newRow("Escape, Yes") << "Escape"
                                 << "Yes"
                                 << "Stopped after 2 of 3 files." << 2;
    QTest::newRow("Return on Stop, No: the run goes on") << "Return"
                                                         << "No"
                                                         << "Done." << 3;
    QTest::newRow("Open Folder") << ""
                                 << ""
                                 << "Done." << 3;
}

void TestWindowRun::aRunShowsItsProgressAndStopsAfterTheFileInHand() {
    QFETCH(QString, press);
    QFETCH(QString, answer);
    QFETCH(QString, closing);
    QFETCH(int, copied);
    auto window = startWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    for (int i = 1; i <= 3; ++i) {
        const QString path = m_folder->filePath(QStringLiteral("f%1.txt").arg(i));
        QVERIFY(writeFile(path, QByteArray(64 * 1024, 'x')));
        window->fileList().append(path);
    }
    auto *start = window->findChild<QPushButton *>(QStringLiteral("PushButton2"));
    auto *bar = window->findChild<QProgressBar *>(QStringLiteral("RunProgress"));
    QVERIFY(bar && bar->isHidden());

    // The copy of the second file stops half-way, so the window is seen during the run.
    int copies = 0;
    QStringList during;
    CopyHooks hooks;
    hooks.faults.emplace();
    hooks.faults->chunkBytes = 4096;
    hooks.faults->afterFirstChunk = [&] {
        if (++copies != 2)
            return;
        during << start->text().remove(QLatin1Char('&'))
               << (bar->isVisible() ? QStringLiteral("bar shown") : QStringLiteral("no bar"));
        if (press == QLatin1String("Stop"))
            QTest::mouseClick(start, Qt::LeftButton);
        else if (press == QLatin1String("Escape"))
            QTest::keyClick(window.get(), Qt::Key_Escape);
        else if (press == QLatin1String("Return"))
            QTest::keyClick(start, Qt::Key_Return);
    };
    window->setCopyHooks(hooks);

    QString titleAtClosing;
    QStringList closingButtons;
    OpenedUrls opened({QStringLiteral("file")});
    BoxAnswerer boxes([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        if (box->text() == QLatin1String("Stop after the current file?")) {
            buttonNamed(box, answer)->click();
            return;
        }
        titleAtClosing = window->windowTitle();
        for (QAbstractButton *button : box->buttons())
            closingButtons << button->text().remove(QLatin1Char('&'));
        QVERIFY(box->defaultButton() == box->button(QMessageBox::Ok));
        if (press.isEmpty())
            buttonNamed(box, QStringLiteral("Open Folder"))->click();
        else
            QTest::keyClick(box, Qt::Key_Escape); // Escape is OK
    });
    start->click();

    QCOMPARE(during, (QStringList{QStringLiteral("Stop"), QStringLiteral("bar shown")}));
    QStringList expectedBoxes;
    if (!press.isEmpty())
        expectedBoxes << QStringLiteral("Plenvoy|Stop after the current file?");
    expectedBoxes << QStringLiteral("Plenvoy|") + closing;
    QCOMPARE(boxes.seen, expectedBoxes);
    QCOMPARE(titleAtClosing, QStringLiteral("Plenvoy"));
    QVERIFY(closingButtons.contains(QStringLiteral("Open Folder")));
    QVERIFY(closingButtons.contains(QStringLiteral("OK")));
    QCOMPARE(int(QDir(m_folder->filePath(QStringLiteral("out"))).entryList(QDir::Files).size()),
             copied);
    QCOMPARE(opened.urls.size(), press.isEmpty() ? 1 : 0);
    if (press.isEmpty())
        QCOMPARE(opened.urls.first().toLocalFile(), m_folder->filePath(QStringLiteral("out")));
    // Back to the idle face; the next run starts afresh.
    QVERIFY(bar->isHidden());
    QCOMPARE(start->text().remove(QLatin1Char('&')), QStringLiteral("Start Changing"));
    QVERIFY(!window->running());
}

void TestWindowRun::keysReachTheirActions_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QKeyCombination>("keys");
    QTest::addColumn<QString>("seen"); // the start of the first box's "title|text"
    QTest::newRow("Return on Start Changing")
        << "PushButton2" << QKeyCombination(Qt::Key_Return) << "Plenvoy|No files added.";
    QTest::newRow("Enter on Start Changing")
        << "PushButton2" << QKeyCombination(Qt::KeypadModifier, Qt::Key_Enter)
        << "Plenvoy|No files added.";
    QTest::newRow("Ctrl+Return") << "ListView1" << (Qt::CTRL | Qt::Key_Return)
                                 << "Plenvoy|No files added.";
    QTest::newRow("Ctrl+O adds files") << "ListView1" << (Qt::CTRL | Qt::Key_O) << "Add File(s)";
    QTest::newRow("Ctrl+Shift+O adds a folder's files")
        << "ListView1" << (Qt::CTRL | Qt::SHIFT | Qt::Key_O) << "Plenvoy|";
    QTest::newRow("Ctrl+F1 tells about Plenvoy")
        << "ListView1" << (Qt::CTRL | Qt::Key_F1)
        << "About Plenvoy|<h3>Plenvoy " PLENVOY_VERSION "</h3>";
    QTest::newRow("Alt+S presses Start Changing")
        << "Text1" << (Qt::ALT | Qt::Key_S) << "Plenvoy|No files added.";
    QTest::newRow("Ctrl+Q closes the window") << "ListView1" << (Qt::CTRL | Qt::Key_Q) << "";
}

void TestWindowRun::keysReachTheirActions() {
    QFETCH(QString, focus);
    QFETCH(QKeyCombination, keys);
    QFETCH(QString, seen);
    auto window = startWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QWidget *target = window->findChild<QWidget *>(focus);
    target->setFocus();
    QStringList texts;
    BoxAnswerer boxes([&](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            texts << box->text();
        qobject_cast<QDialog *>(modal)->reject();
    });
    QTest::keyClick(target, keys.key(), keys.keyboardModifiers());
    QTRY_COMPARE(boxes.seen.size() + (window->isVisible() ? 0 : 1), 1);
    if (seen.isEmpty()) {
        QVERIFY(!window->isVisible());
        return;
    }
    QVERIFY2(boxes.seen.first().startsWith(seen), qPrintable(boxes.seen.first()));
    if (seen.startsWith(QLatin1String("About"))) {
        const QString about = texts.first();
        for (const QString &part : {QString::fromLatin1(qVersion()), photoLibraryVersion(),
                                    QStringLiteral(PLENVOY_HOMEPAGE), QStringLiteral("MIT")})
            QVERIFY2(about.contains(part), qPrintable(part));
    }
}

void TestWindowRun::undoTakesBackTheWindowsNewestRun_data() {
    QTest::addColumn<QString>("how"); // "Undo Run" in the closing box, or Ctrl+Z in a control
    QTest::addColumn<bool>("asked");
    QTest::newRow("Undo Run in the closing box") << "Undo Run" << true;
    QTest::newRow("Ctrl+Z in the list") << "ListView1" << true;
    QTest::newRow("Ctrl+Z in the output folder box is the box's own") << "Text1" << false;
}

void TestWindowRun::undoTakesBackTheWindowsNewestRun() {
    QFETCH(QString, how);
    QFETCH(bool, asked);
    enableRunRecords(QStringLiteral("window"));
    auto window = startWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    const QString source = m_folder->filePath(QStringLiteral("a.txt"));
    QVERIFY(writeFile(source, QByteArray("a")));
    window->fileList().append(source);
    const QDir output(m_folder->filePath(QStringLiteral("out")));
    BoxAnswerer boxes([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        if (QAbstractButton *undo = buttonNamed(box, QStringLiteral("Undo Run")))
            (how == QLatin1String("Undo Run") ? undo : box->button(QMessageBox::Ok))->click();
        else
            box->button(box->button(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok)
                ->click();
    });
    window->findChild<QPushButton *>(QStringLiteral("PushButton2"))->click();
    if (how != QLatin1String("Undo Run")) {
        QCOMPARE(int(output.entryList(QDir::Files).size()), 1);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QWidget *focus = window->findChild<QWidget *>(how);
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier);
    }
    disableRunRecords();
    const QString question = QStringLiteral("Plenvoy|Remove the 1 copy this run made in ");
    QCOMPARE(boxes.seen.size(), asked ? 3 : 1);
    QCOMPARE(asked, boxes.seen.size() > 1 && boxes.seen.at(1).startsWith(question));
    QCOMPARE(int(output.entryList(QDir::Files).size()), asked ? 0 : 1);
}

void TestWindowRun::progressTextTellsFilesBytesAndTimeLeft_data() {
    QTest::addColumn<qint64>("done");
    QTest::addColumn<qint64>("written");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("secondsLeft");
    QTest::addColumn<QString>("text");
    const qint64 mib = 1 << 20;
    QTest::newRow("files alone") << 3LL << 0LL << 1000LL << -1LL << "3 of 1,200 files";
    QTest::newRow("a small file shows no bytes")
        << 3LL << 10LL << 31 * mib << -1LL << "3 of 1,200 files";
    QTest::newRow("a large file's bytes")
        << 3LL << 16 * mib << 32 * mib << -1LL
        << "3 of 1,200 files \u2013 this file: 16.0 MiB of 32.0 MiB";
    QTest::newRow("time left") << 3LL << 0LL << 0LL << 75LL << "3 of 1,200 files \u2013 1:15 left";
    QTest::newRow("hours left") << 0LL << 0LL << 0LL << 3725LL
                                << "0 of 1,200 files \u2013 1:02:05 left";
}

void TestWindowRun::progressTextTellsFilesBytesAndTimeLeft() {
    QFETCH(qint64, done);
    QFETCH(qint64, written);
    QFETCH(qint64, size);
    QFETCH(qint64, secondsLeft);
    QFETCH(QString, text);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(RunProgressBar::progressText(done, 1200, written, size, secondsLeft), text);
}

void TestWindowRun::progressBarUpdatesAtMostTenTimesASecond() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    qint64 now = 0;
    RunProgressBar bar(nullptr, [&now] { return now; });
    bar.begin();
    bar.reportFiles(0, 4);
    QCOMPARE(bar.format(), QStringLiteral("0 of 4 files"));
    now = 50;
    bar.reportFiles(1, 4); // too soon after the last
    QCOMPARE(bar.format(), QStringLiteral("0 of 4 files"));
    now = 1000;
    bar.reportFiles(1, 4); // a quarter in a second: no estimate before two
    QCOMPARE(bar.format(), QStringLiteral("1 of 4 files"));
    QCOMPARE(bar.value(), bar.maximum() / 4);
    now = 2000;
    bar.reportFiles(2, 4);
    QCOMPARE(bar.format(), QStringLiteral("2 of 4 files \u2013 0:02 left"));
    QCOMPARE(bar.accessibleDescription(), bar.format());
}

void TestWindowRun::helpGoesToTheDesktopsViewerOrTheProjectsAddress_data() {
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("url");
    QTest::newRow("GNOME's viewer")
        << QStringList{QStringLiteral("yelp"), QStringLiteral("khelpcenter")} << "/usr/bin/yelp"
        << "";
    QTest::newRow("KDE's viewer") << QStringList{QStringLiteral("khelpcenter")}
                                  << "/usr/bin/khelpcenter"
                                  << "";
    QTest::newRow("none: the project's address") << QStringList() << ""
                                                 << "https://example.org";
}

void TestWindowRun::helpGoesToTheDesktopsViewerOrTheProjectsAddress() {
    QFETCH(QStringList, installed);
    QFETCH(QString, program);
    QFETCH(QString, url);
    const HelpRoute route = helpRoute(
        [&](const QString &name) {
            return installed.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
        },
        QStringLiteral("https://example.org"));
    QCOMPARE(route.program, program);
    QCOMPARE(route.arguments,
             program.isEmpty() ? QStringList() : QStringList{QStringLiteral("man:plenvoy")});
    QCOMPARE(route.url.toString(), url);
}

QTEST_MAIN(TestWindowRun)
#include "tst_windowrun.moc"
