#include "app/MainWindow.h"
#include "app/Translations.h"
#include "core/Translation.h"
#include "naming/RegionalForms.h"
#include "naming/RenameOptions.h"
#include "records/UndoDialogue.h"
#include "settings/AppTexts.h"
#include "settings/SettingsKeys.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStyle>
#include <QTreeView>
#include <QtTest>

#include <cstdio>

using namespace plenvoy;

namespace {

const QString kStampChild = QStringLiteral("--stamp-child");
const QString kTranslationsDir = QStringLiteral(PLENVOY_TRANSLATIONS_DIR);

/// Prints, as the program would show and stamp them at start, the caption of "Start
/// Changing", 6 December 2026, 14:05:09 in the regional forms and the count of a question.
int stampChild(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    installUserTranslations();
    const RegionalForms &forms = RegionalForms::system();
    const QString line = shownText("MainWindow", kCaptionStartChanging).remove(QLatin1Char('&')) +
                         QLatin1Char('|') + forms.shortDate(QDate(2026, 12, 6)) + QLatin1Char(' ') +
                         forms.longTime(14, 5, 9) + QLatin1Char('|') +
                         undoQuestion(1234, QStringLiteral("/x")).section(QLatin1Char(' '), 0, 2) +
                         QLatin1Char('\n');
    std::fputs(line.toUtf8().constData(), stdout);
    return 0;
}

/// The placeholders ("%1") and line breaks of each text in use in a .ts file, as source and
/// translation; a translation left unfinished gives a null text.
QList<QPair<QString, QString>> markersOf(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString ts = QString::fromUtf8(file.readAll());
    const QRegularExpression message(QStringLiteral(
        "<source>(.*?)</source>\\s*<translation( type=\"(\\w+)\")?>(.*?)</translation>"));
    const QRegularExpression marker(QStringLiteral("%\\d|<byte value=\"xd\"/>"));
    const auto markers = [&](const QString &text) {
        QStringList found;
        for (auto it = marker.globalMatch(text); it.hasNext();)
            found << it.next().captured();
        found.sort();
        return found.join(u' ');
    };
    QList<QPair<QString, QString>> texts;
    for (auto it = message.globalMatch(ts); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString type = match.captured(3);
        if (type == QLatin1String("vanished") || type == QLatin1String("obsolete"))
            continue;
        const bool done = type.isEmpty() && !match.captured(4).isEmpty();
        texts.append(
            {match.captured(1) + QLatin1Char('|') + markers(match.captured(1)),
             done ? match.captured(1) + QLatin1Char('|') + markers(match.captured(4)) : QString()});
    }
    return texts;
}

} // namespace

class TestTranslations final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { removeTranslations(); }
    void theUsersLanguagesPickOne_data();
    void theUsersLanguagesPickOne();
    void eachLanguageTranslatesTheWindow_data();
    void eachLanguageTranslatesTheWindow();
    void translationFilesAreComplete_data();
    void translationFilesAreComplete();
    void stampsFollowTheTimeLocaleAlone_data();
    void stampsFollowTheTimeLocaleAlone();
};

void TestTranslations::theUsersLanguagesPickOne_data() {
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("startChanging");
    const QString english = QString(kCaptionStartChanging).remove(QLatin1Char('&'));
    QTest::newRow("C") << QStringList{QStringLiteral("C")} << QString() << english;
    QTest::newRow("none") << QStringList() << QString() << english;
    QTest::newRow("English before German")
        << QStringList{QStringLiteral("en-GB"), QStringLiteral("de-DE"), QStringLiteral("de")}
        << QString() << english;
    QTest::newRow("Austrian German") << QStringList{QStringLiteral("de-AT"), QStringLiteral("de")}
                                     << QStringLiteral("de") << QStringLiteral("Kopieren starten");
    QTest::newRow("an unknown language, then French")
        << QStringList{QStringLiteral("sw-KE"), QStringLiteral("fr-CA")} << QStringLiteral("fr")
        << QStringLiteral("Lancer la copie");
    QTest::newRow("Brazilian Portuguese")
        << QStringList{QStringLiteral("pt-BR")} << QStringLiteral("pt_BR")
        << QStringLiteral("Iniciar a cópia");
}

void TestTranslations::theUsersLanguagesPickOne() {
    QFETCH(QStringList, uiLanguages);
    QFETCH(QString, chosen);
    QFETCH(QString, startChanging);
    QCOMPARE(installTranslations(uiLanguages), chosen);
    QCOMPARE(shownText("MainWindow", kCaptionStartChanging).remove(QLatin1Char('&')),
             startChanging);
    // Qt's own buttons speak the same language.
    const QString yes = QCoreApplication::translate("QPlatformTheme", "&Yes");
    QCOMPARE(yes == QLatin1String("&Yes"), chosen.isEmpty());
}

void TestTranslations::eachLanguageTranslatesTheWindow_data() {
    QTest::addColumn<QString>("language");
    for (const QString &language : shippedLanguages())
        QTest::newRow(qPrintable(language)) << language;
}

void TestTranslations::eachLanguageTranslatesTheWindow() {
    QFETCH(QString, language);
    QCOMPARE(installTranslations({language}), language);
    MainWindow window;
    window.startUp();

    // Every caption is the language's and is seen whole at the window's smallest size.
    const QStringList english{kCaptionAddFiles, kCaptionAddFolder, kCaptionStartChanging,
                              kCaptionClearList, kCaptionLoadSamples};
    for (QPushButton *button : window.findChildren<QPushButton *>()) {
        const int room =
            button->width() - 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin);
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) <= room,
                 qPrintable(button->text()));
        QVERIFY2(!english.contains(button->text()), qPrintable(button->text()));
    }
    const auto *outputFrame = window.findChild<QGroupBox *>(QStringLiteral("Frame2"));
    QVERIFY(outputFrame->title() != kCaptionOutputFrame);
    const auto *list = window.findChild<QTreeView *>(QStringLiteral("ListView1"));
    QVERIFY(list->model()->headerData(0, Qt::Horizontal).toString() !=
            QLatin1String("All File(s)"));

    // The drop-down shows 36 texts of the language, each its own and whole, while the run,
    // the preview and the settings keep the English option and its position.
    auto *options = window.findChild<QComboBox *>(QStringLiteral("Combo1"));
    QCOMPARE(options->count(), kRenameOptionCount);
    QSet<QString> shown;
    const int room =
        options->width() - options->style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 8;
    for (int i = 0; i < options->count(); ++i) {
        const QString text = options->itemText(i);
        QCOMPARE(options->itemData(i).toString(), renameOptionTexts().at(i));
        QVERIFY2(text != renameOptionTexts().at(i), qPrintable(text));
        QVERIFY2(options->fontMetrics().horizontalAdvance(text) <= room, qPrintable(text));
        shown.insert(text);
    }
    QCOMPARE(shown.size(), kRenameOptionCount);
    options->setCurrentIndex(20);
    QCOMPARE(window.settings().readSetting(kKeyChosenOption, QString()), QStringLiteral("20"));
}

void TestTranslations::translationFilesAreComplete_data() {
    QTest::addColumn<QString>("language");
    for (const QString &language : shippedLanguages())
        QTest::newRow(qPrintable(language)) << language;
}

void TestTranslations::translationFilesAreComplete() {
    QFETCH(QString, language);
    const auto texts = markersOf(kTranslationsDir + QStringLiteral("/plenvoy_%1.ts").arg(language));
    QVERIFY(texts.size() > kRenameOptionCount);
    for (const auto &[source, translation] : texts)
        QCOMPARE(translation, source);
}

void TestTranslations::stampsFollowTheTimeLocaleAlone_data() {
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("expected");
    QTest::newRow("German window, C stamps")
        << QStringList{QStringLiteral("LANG=de_DE.UTF-8"), QStringLiteral("LC_TIME=C")}
        << QStringLiteral("Kopieren starten|12/6/2026 2:05:09 PM|Die 1.234 Kopien");
    QTest::newRow("English window, German stamps")
        << QStringList{QStringLiteral("LANG=C.UTF-8"), QStringLiteral("LC_TIME=de_DE.UTF-8")}
        << QStringLiteral("Start Changing|06.12.2026 14:05:09|Remove the 1,234");
    QTest::newRow("German throughout")
        << QStringList{QStringLiteral("LANG=de_DE.UTF-8")}
        << QStringLiteral("Kopieren starten|06.12.2026 14:05:09|Die 1.234 Kopien");
    QTest::newRow("LC_ALL over both")
        << QStringList{QStringLiteral("LC_ALL=C"), QStringLiteral("LANG=de_DE.UTF-8"),
                       QStringLiteral("LC_TIME=de_DE.UTF-8")}
        << QStringLiteral("Start Changing|12/6/2026 2:05:09 PM|Remove the 1,234");
    QTest::newRow("LC_MESSAGES picks the window's language")
        << QStringList{QStringLiteral("LANG=en_US.UTF-8"),
                       QStringLiteral("LC_MESSAGES=it_IT.UTF-8")}
        << QStringLiteral("Avvia la copia|12/6/2026 2:05:09 PM|Rimuovere le 1,234");
}

void TestTranslations::stampsFollowTheTimeLocaleAlone() {
    QFETCH(QStringList, environment);
    QFETCH(QString, expected);
    QProcessEnvironment system = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LC_ALL", "LC_TIME", "LC_MESSAGES", "LANG", "LANGUAGE"})
        system.remove(QString::fromLatin1(name));
    for (const QString &setting : environment)
        system.insert(setting.section(QLatin1Char('='), 0, 0),
                      setting.section(QLatin1Char('='), 1));
    QProcess child;
    child.setProcessEnvironment(system);
    child.start(QCoreApplication::applicationFilePath(), {kStampChild});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).trimmed(), expected);
}

int main(int argc, char *argv[]) {
    if (argc > 1 && QString::fromLocal8Bit(argv[1]) == kStampChild)
        return stampChild(argc, argv);
    QApplication application(argc, argv);
    TestTranslations test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_translations.moc"
