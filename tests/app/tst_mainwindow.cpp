#include "BoxWatcher.h"
#include "TestFiles.h"
#include "WindowTest.h"
#include "app/MainWindow.h"
#include "app/MainWindowPort.h"
#include "app/MnemonicStyle.h"
#include "core/ErrorReport.h"
#include "core/Failure.h"
#include "core/LocationTags.h"
#include "core/PathCodec.h"
#include "naming/RenameOptions.h"
#include "settings/AppTexts.h"
#include "settings/SettingsKeys.h"
#include "settings/ShellRules.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest/qtestspontaneevent.h>
#include <QtTest>

#include <cstdio>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace plenvoy;
using namespace plenvoy::test;

namespace {

const QString kClosingChild = QStringLiteral("--closing-child");
const QString kClosingRunChild = QStringLiteral("--closing-run-child");
constexpr int kRunFiles = 3000;

// Runs in a child process: a long loop like the batch run is under way when the window is
// closed; the program must end, and the loop must stop at its next processEvents().
int closingChild(int argc, char *argv[]) {
    QApplication application(argc, argv);
    QTemporaryDir empty;
    MainWindow window(empty.path());
    window.startUp();
    window.show();
    QTimer::singleShot(20000, [] { _exit(3); });
    QTimer::singleShot(50, [&] {
        window.port().setPointer(PointerMode::Busy);
        for (int file = 1;; ++file) {
            window.port().processEvents();
            if (window.port().closing()) {
                std::printf("loop stopped\n");
                return;
            }
        }
    });
    QTimer::singleShot(400, &window, &QWidget::close);
    const int status = QApplication::exec();
    std::printf("ended\n");
    return status;
}

// Runs in a child process: the window is closed while "Start Changing" copies the files of
// the folder given; the run stops without its "Done." box (which would block until the
// watchdog) and the program ends.
int closingRunChild(int argc, char *argv[]) {
    QApplication application(argc, argv);
    QTemporaryDir empty;
    const QString folder = QString::fromLocal8Bit(argv[2]);
    MainWindow window(empty.path());
    window.startUp();
    for (int i = 0; i < kRunFiles; ++i)
        window.fileList().append(folder + QStringLiteral("/src/f%1.txt").arg(i));
    window.findChild<QLineEdit *>(QStringLiteral("Text1"))
        ->setText(folder + QStringLiteral("/out/"));
    window.show();
    QTimer::singleShot(20000, [] { _exit(3); });
    // Closing asks first; Yes ends the run as a close does.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || box->property("answered").toBool())
            return;
        box->setProperty("answered", true);
        std::printf("%s\n", qPrintable(box->text()));
        box->button(QMessageBox::Yes)->click();
    });
    answer.start(5);
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(30, &window, &QWidget::close);
        window.findChild<QPushButton *>(QStringLiteral("PushButton2"))->click();
        std::printf("run returned\n");
    });
    const int status = QApplication::exec();
    std::printf("ended\n");
    return status;
}

} // namespace

class TestMainWindow : public WindowTest {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void focusSelectsTheWholeFolderText();
    void browseButtonGoesThroughTheFolderDialog();
    void realBoxesShowTheirTexts();
    void clearListButtonEmptiesTheListUnlessBusy();
    void startChangingCopiesTheListedFiles();
    void runRemembersTheAnswerToN();
    void newNamesColumnFollowsItsSetting_data();
    void newNamesColumnFollowsItsSetting();
    void windowSizeIsWrittenOnlyAfterTheUserResized_data();
    void windowSizeIsWrittenOnlyAfterTheUserResized();
    void closedWindowShowsNoMoreBoxes();
    void closingEndsTheProgramInsideALoop();
    void closingEndsTheProgramInsideARun();
};

void TestMainWindow::init() {
    QVERIFY(makeWindowFolders());
}

void TestMainWindow::cleanup() {
    restoreWindowEnvironment();
}

void TestMainWindow::focusSelectsTheWholeFolderText() {
    auto form = startForm("[Plenvoy]\nText1=/home/ann/out/\n");
    auto *text = form->findChild<QLineEdit *>(QStringLiteral("Text1"));
    text->deselect();
    QFocusEvent focus(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(text, &focus);
    QTRY_COMPARE(text->selectedText(), QStringLiteral("/home/ann/out/"));
    QCOMPARE(text->selectionStart(), 0);
}

void TestMainWindow::browseButtonGoesThroughTheFolderDialog() {
    QTemporaryDir target;
    const QString chosen = target.filePath(QStringLiteral("results"));
    QVERIFY(QDir().mkdir(chosen));
    auto form = startForm();
    auto *text = form->findChild<QLineEdit *>(QStringLiteral("Text1"));
    auto *browse = form->findChild<QPushButton *>(QStringLiteral("PushButton6"));
    QStringList dialogTitles;
    {
        BoxWatcher dialogs([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            QVERIFY(dialog);
            dialogTitles << dialog->windowTitle();
            dialog->setDirectory(chosen);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        browse->click();
    }
    QCOMPARE(dialogTitles, QStringList{QStringLiteral("Please select folder:")});
    QCOMPARE(text->text(), chosen + QStringLiteral("/"));
    QCOMPARE(stored(kKeyOutputFolder), chosen + QStringLiteral("/"));
    QCOMPARE(stored(kKeyLastOutputFolder), chosen);
    {
        BoxWatcher cancel; // rejects the dialog
        browse->click();
        QCOMPARE(cancel.titles.size(), 1);
    }
    QCOMPARE(text->text(), chosen + QStringLiteral("/"));
    QCOMPARE(stored(kKeyLastOutputFolder), chosen);
}

void TestMainWindow::realBoxesShowTheirTexts() {
    auto form = startForm();
    MainWindowPort &port = form->port();
    {
        BoxWatcher boxes;
        port.showErrorReport(QStringLiteral("Overflow\r\nin X at line 3\r\rPlease"));
        port.showMessage(QStringLiteral("Done."));
        QCOMPARE(boxes.titles,
                 (QStringList{QStringLiteral("Application Error"), QStringLiteral("Plenvoy")}));
        QCOMPARE(boxes.texts, (QStringList{QStringLiteral("Overflow\nin X at line 3\n\nPlease"),
                                           QStringLiteral("Done.")}));
        QCOMPARE(boxes.icons,
                 (QList<QMessageBox::Icon>{QMessageBox::Warning, QMessageBox::NoIcon}));
    }
    {
        BoxWatcher yes([](QWidget *modal) {
            qobject_cast<QMessageBox *>(modal)->button(QMessageBox::Yes)->click();
        });
        QVERIFY(port.askYesNo(QStringLiteral("Open?")));
    }
    {
        BoxWatcher no; // closing the box answers No
        QVERIFY(!port.askYesNo(QStringLiteral("Open?")));
    }
    // Enter answers Yes to a question, and No to one whose Yes takes something away.
    for (const bool takesAway : {false, true}) {
        BoxWatcher enter([](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Return); });
        QCOMPARE(takesAway ? port.askYesNoDefaultNo(QStringLiteral("Take it back?"))
                           : port.askYesNo(QStringLiteral("Open?")),
                 !takesAway);
    }
    {
        BoxWatcher typing([](QWidget *modal) {
            auto *input = qobject_cast<QInputDialog *>(modal);
            input->setTextValue(input->textValue() + QStringLiteral("5"));
            input->accept();
        });
        QCOMPARE(port.askText(QStringLiteral("Enter n:"), QStringLiteral("1")),
                 QStringLiteral("15"));
        QCOMPARE(typing.titles, QStringList{QStringLiteral("Plenvoy")});
        QCOMPARE(typing.texts, QStringList{QStringLiteral("Enter n:")});
    }
    {
        BoxWatcher cancel;
        QVERIFY(port.askText(QStringLiteral("Enter n:"), QStringLiteral("1")).isNull());
    }
    {
        // OK on an empty box is an answer (asked again), not Cancel (which ends the run).
        BoxWatcher empty([](QWidget *modal) { qobject_cast<QInputDialog *>(modal)->accept(); });
        const QString answer = port.askText(QStringLiteral("Enter n:"), QString());
        QVERIFY(answer.isEmpty());
        QVERIFY(!answer.isNull());
    }
}

void TestMainWindow::clearListButtonEmptiesTheListUnlessBusy() {
    auto form = startForm();
    auto *clear = form->findChild<QPushButton *>(QStringLiteral("PushButton4"));
    form->fileList().append(QStringList{QStringLiteral("/a.txt"), QStringLiteral("/b.txt")});
    form->port().setPointer(PointerMode::Busy);
    clear->click();
    QCOMPARE(form->fileList().count(), 2);
    form->port().setPointer(PointerMode::Default);
    clear->click();
    QCOMPARE(form->fileList().count(), 0);
}

void TestMainWindow::startChangingCopiesTheListedFiles() {
    auto form = startForm();
    auto *start = form->findChild<QPushButton *>(QStringLiteral("PushButton2"));
    {
        BoxWatcher boxes;
        start->click();
        QCOMPARE(boxes.texts, QStringList{QStringLiteral("No files added.")});
    }
    QTemporaryDir sources;
    QTemporaryDir output;
    const QString source = sources.filePath(QStringLiteral("Notes.txt"));
    QVERIFY(writeFile(source, "note"));
    form->fileList().append(source);
    form->findChild<QLineEdit *>(QStringLiteral("Text1"))
        ->setText(output.path() + QStringLiteral("/"));
    form->findChild<QComboBox *>(QStringLiteral("Combo1"))
        ->setCurrentText(QStringLiteral("Add last modified date to end of filename"));
    {
        BoxWatcher boxes;
        start->click();
        QCOMPARE(boxes.texts, QStringList{QStringLiteral("Done.")});
        QCOMPARE(
            boxes.details,
            QStringList{QStringLiteral("Copied: 1, numbered: 0, replaced: 0, not copied: 0\n") +
                        output.path() + QLatin1Char('/')});
        QCOMPARE(boxes.titles, QStringList{QStringLiteral("Plenvoy")});
    }
    const QStringList written = QDir(output.path()).entryList(QDir::Files);
    QCOMPARE(written.size(), 1);
    QVERIFY2(written.first().startsWith(QStringLiteral("Notes ")) &&
                 written.first().endsWith(QStringLiteral(".txt")),
             qPrintable(written.first()));
    QCOMPARE(contentOf(output.filePath(written.first())), QByteArray("note"));
    QCOMPARE(form->port().pointer(), PointerMode::Default);
}

void TestMainWindow::runRemembersTheAnswerToN() {
    auto form = startForm();
    QTemporaryDir sources;
    QTemporaryDir output;
    const QString source = sources.filePath(QStringLiteral("Notes.txt"));
    QVERIFY(writeFile(source, "note"));
    form->fileList().append(source);
    form->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(output.path());
    form->findChild<QComboBox *>(QStringLiteral("Combo1"))
        ->setCurrentText(QStringLiteral("Add last modified date after nth character in filename"));
    const QAbstractItemModel *model =
        form->findChild<QTreeView *>(QStringLiteral("ListView1"))->model();
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(),
             QStringLiteral("New Name (n not yet given)"));
    {
        BoxWatcher boxes([](QWidget *modal) {
            if (auto *input = qobject_cast<QInputDialog *>(modal)) {
                input->setTextValue(QStringLiteral("2.5"));
                input->accept();
            } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
                dialog->accept();
            }
        });
        form->findChild<QPushButton *>(QStringLiteral("PushButton2"))->click();
    }
    // The answer as the run converted it.
    QCOMPARE(stored(QStringLiteral("LastN")), QStringLiteral("2"));
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("New Name (n = 2)"));
}

void TestMainWindow::newNamesColumnFollowsItsSetting_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<int>("firstWidth");
    QTest::newRow("shown by default") << QByteArray() << true << 260;
    QTest::newRow("hidden: the first column as designed")
        << QByteArray("[Plenvoy]\nShowNewNames=0\n") << false << 467;
}

void TestMainWindow::newNamesColumnFollowsItsSetting() {
    QFETCH(QByteArray, ini);
    QFETCH(bool, shown);
    QFETCH(int, firstWidth);
    auto form = startForm(ini);
    auto *list = form->findChild<QTreeView *>(QStringLiteral("ListView1"));
    QCOMPARE(!list->isColumnHidden(1), shown);
    QCOMPARE(list->columnWidth(0), firstWidth);
    // Starting writes nothing of the window's own.
    QCOMPARE(stored(QStringLiteral("ShowNewNames")),
             shown ? QStringLiteral("<absent>") : QStringLiteral("0"));
    QCOMPARE(stored(QStringLiteral("WindowSize")), QStringLiteral("<absent>"));
}

void TestMainWindow::windowSizeIsWrittenOnlyAfterTheUserResized_data() {
    QTest::addColumn<bool>("byUser");
    QTest::newRow("resized by the user") << true;
    QTest::newRow("resized by the program") << false;
}

void TestMainWindow::windowSizeIsWrittenOnlyAfterTheUserResized() {
    QFETCH(bool, byUser);
    auto form = startForm();
    form->show();
    const QSize before = form->size();
    const QSize after = before + QSize(120, 80);
    form->resize(after);
    if (byUser) {
        // As the window system tells of an edge the user dragged.
        QResizeEvent dragged(after, before);
        QSpontaneKeyEvent::setSpontaneous(&dragged);
        QApplication::instance()->notify(form.get(), &dragged);
    }
    form->close();
    QCOMPARE(stored(kKeyWindowSize),
             byUser ? QStringLiteral("%1x%2").arg(after.width()).arg(after.height())
                    : QStringLiteral("<absent>"));
}

void TestMainWindow::closedWindowShowsNoMoreBoxes() {
    auto form = startForm();
    form->show();
    QVERIFY(!form->port().closing());
    form->close();
    QVERIFY(form->port().closing());
    BoxWatcher boxes;
    form->port().showMessage(QStringLiteral("Done."));
    form->port().showErrorReport(QStringLiteral("late"));
    QVERIFY(!form->port().askYesNo(QStringLiteral("?")));
    QCOMPARE(form->port().askText(QStringLiteral("Enter n:"), QString()), QString());
    QVERIFY(boxes.titles.isEmpty());
}

void TestMainWindow::closingEndsTheProgramInsideALoop() {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {kClosingChild});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(child.readAllStandardOutput())
                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             (QStringList{QStringLiteral("loop stopped"), QStringLiteral("ended")}));
}

void TestMainWindow::closingEndsTheProgramInsideARun() {
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("src")));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("out")));
    for (int i = 0; i < kRunFiles; ++i)
        QVERIFY(writeFile(folder.filePath(QStringLiteral("src/f%1.txt").arg(i)), "x"));
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {kClosingRunChild, folder.path()});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(child.readAllStandardOutput())
                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             (QStringList{QStringLiteral("Stop the run and close Plenvoy?"),
                          QStringLiteral("run returned"), QStringLiteral("ended")}));
    const int copied =
        int(QDir(folder.filePath(QStringLiteral("out"))).entryList(QDir::Files).size());
    QVERIFY2(copied < kRunFiles, qPrintable(QString::number(copied)));
}

int main(int argc, char *argv[]) {
    if (argc > 1 && QString::fromLocal8Bit(argv[1]) == kClosingChild)
        return closingChild(argc, argv);
    if (argc > 2 && QString::fromLocal8Bit(argv[1]) == kClosingRunChild)
        return closingRunChild(argc, argv);
    QApplication application(argc, argv);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"
