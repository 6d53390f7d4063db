// The choices the window keeps in the settings file, read back as written or not at all.
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"
#include "settings/StoredChoices.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace plenvoy;

class TestStoredChoices final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowsOwnChoicesReadAsStoredOrNotAtAll_data();
    void windowsOwnChoicesReadAsStoredOrNotAtAll();

private:
    QTemporaryDir m_dir;
};

void TestStoredChoices::windowsOwnChoicesReadAsStoredOrNotAtAll_data() {
    // A stored text as the window reads it back ("none": as if nothing were stored).
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("read");
    const auto row = [](const char *what, const QString &key, const char *stored,
                        const char *read) {
        QTest::newRow(what) << key << QString::fromLatin1(stored) << QString::fromLatin1(read);
    };
    row("n as answered", kKeyLastN, "7", "7");
    row("n at its largest", kKeyLastN, "32767", "32767");
    row("n too large for a name", kKeyLastN, "32768", "none");
    row("n below zero", kKeyLastN, "-1", "none");
    row("n not a number", kKeyLastN, "seven", "none");
    row("the size as resized", kKeyWindowSize, "900x700", "900x700");
    row("a size without its height", kKeyWindowSize, "900", "none");
    row("New Name hidden", kKeyShowNewNames, "0", "0");
    row("New Name shown", kKeyShowNewNames, "1", "1");
    row("New Name unknown is shown", kKeyShowNewNames, "no", "1");
}

void TestStoredChoices::windowsOwnChoicesReadAsStoredOrNotAtAll() {
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(QString, read);
    SettingsStore settings(m_dir.filePath(QString::fromLatin1(QTest::currentDataTag())));
    QVERIFY(settings.writeSetting(key, stored));
    const auto reading = [&]() -> QString {
        if (key == kKeyLastN) {
            const std::optional<qint16> n = storedLastN(settings);
            return n ? QString::number(*n) : QStringLiteral("none");
        }
        if (key == kKeyWindowSize) {
            const std::optional<QSize> size = storedWindowSize(settings);
            return size ? QStringLiteral("%1x%2").arg(size->width()).arg(size->height())
                        : QStringLiteral("none");
        }
        return storedShowNewNames(settings) ? QStringLiteral("1") : QStringLiteral("0");
    };
    QCOMPARE(reading(), read);
    if (read == QLatin1String("none"))
        return;
    // What is read is written back in the same words.
    QVERIFY(settings.writeSetting(key, QString()));
    if (key == kKeyLastN)
        storeLastN(settings, qint16(read.toInt()));
    else if (key == kKeyWindowSize)
        storeWindowSize(settings, QSize(read.section(QLatin1Char('x'), 0, 0).toInt(),
                                        read.section(QLatin1Char('x'), 1, 1).toInt()));
    else
        storeShowNewNames(settings, read == QLatin1String("1"));
    QCOMPARE(settings.readSetting(key, QString()), read);
}

QTEST_GUILESS_MAIN(TestStoredChoices)
#include "tst_storedchoices.moc"
