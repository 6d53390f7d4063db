#include "core/Failure.h"
#include "core/PathCodec.h"

#include <QTest>

using namespace plenvoy;

class PathCodecTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void bytesSurviveTheRoundTrip_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const QString dcff = QString(QChar(char16_t(0xDCFF)));
        const QString dcfe = QString(QChar(char16_t(0xDCFE)));
        QTest::newRow("ascii") << QByteArray("/tmp/a b.txt") << QStringLiteral("/tmp/a b.txt");
        QTest::newRow("valid utf-8 in several scripts")
            << QByteArray("\xd0\x9f\xe6\x97\xa5 \xe2\x80\x93 \xf0\x9f\x93\xb7")
            << QStringLiteral(u"П日 – 📷");
        QTest::newRow("bytes that are no utf-8")
            << QByteArray("\xff\xfe.txt") << dcff + dcfe + QStringLiteral(".txt");
        QTest::newRow("a cut sequence before ascii")
            << QByteArray("a\xe6\x97.b")
            << QStringLiteral("a") + QChar(char16_t(0xDCE6)) + QChar(char16_t(0xDC97)) +
                   QStringLiteral(".b");
        QTest::newRow("overlong slash stays bytes")
            << QByteArray("\xc0\xaf") << QString(QChar(char16_t(0xDCC0))) + QChar(char16_t(0xDCAF));
        QTest::newRow("encoded surrogate stays bytes")
            << QByteArray("\xed\xb3\xbf")
            << QString(QChar(char16_t(0xDCED))) + QChar(char16_t(0xDCB3)) + QChar(char16_t(0xDCBF));
        QTest::newRow("past U+10FFFF stays bytes")
            << QByteArray("\xf4\x90\x80\x80")
            << QString(QChar(char16_t(0xDCF4))) + QChar(char16_t(0xDC90)) +
                   QChar(char16_t(0xDC80)) + QChar(char16_t(0xDC80));
        QTest::newRow("an escaped byte after a real pair")
            << QByteArray("\xf0\x9f\x93\xb7\xb7") << QStringLiteral(u"📷") + QChar(char16_t(0xDCB7));
    }
    void bytesSurviveTheRoundTrip() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(pathFromBytes(bytes), text);
        QCOMPARE(pathToBytes(text), bytes);
    }

    void everyShortByteStringSurvives() {
        // Every one- and two-byte string, and three-byte strings over the bytes that start
        // or continue sequences: none is lost or taken for another.
        QByteArray bytes(2, '\0');
        for (int a = 1; a < 256; ++a) {
            for (int b = 1; b < 256; ++b) {
                bytes[0] = char(a);
                bytes[1] = char(b);
                QCOMPARE(pathToBytes(pathFromBytes(bytes)), bytes);
            }
        }
        const unsigned char picks[] = {0x2f, 0x80, 0x9f, 0xa0, 0xbf, 0xc2,
                                       0xe0, 0xed, 0xef, 0xf0, 0xf4, 0xff};
        QByteArray three(3, '\0');
        for (unsigned char a : picks)
            for (unsigned char b : picks)
                for (unsigned char c : picks) {
                    three[0] = char(a);
                    three[1] = char(b);
                    three[2] = char(c);
                    QCOMPARE(pathToBytes(pathFromBytes(three)), three);
                }
    }

    void textThatNoNameSpellsNamesNothingElse() {
        // A lone high surrogate or a low one below U+DC80 cannot come from disk; it must
        // not turn into an ASCII byte or into another character.
        const QByteArray high = pathToBytes(QString(QChar(char16_t(0xD800))));
        QCOMPARE(high, QByteArray("\xed\xa0\x80"));
        QCOMPARE(pathToBytes(QString(QChar(char16_t(0xDC41)))), QByteArray("\xed\xb1\x81"));
    }

    void aPathReachesTheSystemOnlyWhenNoNulCutsItShort_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("named");
        QTest::addColumn<QByteArray>("bytes");
        const QString nul(QChar(u'\0'));
        QTest::newRow("plain path")
            << QStringLiteral("/tmp/a.txt") << true << QByteArray("/tmp/a.txt");
        QTest::newRow("escaped byte")
            << pathFromBytes(QByteArray("/tmp/\xff")) << true << QByteArray("/tmp/\xff");
        QTest::newRow("empty path names nothing") << QString() << true << QByteArray();
        QTest::newRow("NUL inside would name its prefix")
            << QStringLiteral("/tmp/a") + nul + QStringLiteral("b") << false << QByteArray();
        QTest::newRow("NUL at the end") << QStringLiteral("/tmp/a") + nul << false << QByteArray();
        QTest::newRow("NUL alone") << nul << false << QByteArray();
    }
    void aPathReachesTheSystemOnlyWhenNoNulCutsItShort() {
        QFETCH(QString, path);
        QFETCH(bool, named);
        QFETCH(QByteArray, bytes);
        const std::optional<QByteArray> encoded = systemPathBytes(path);
        QCOMPARE(encoded.has_value(), named);
        if (named)
            QCOMPARE(*encoded, bytes);
        // The failing form also refuses a path that names nothing at all.
        bool failed = false;
        try {
            QCOMPARE(systemPathBytesOrFail(path), bytes);
        } catch (const Failure &failure) {
            failed = true;
            QCOMPARE(failure.number(), ErrorNumber::PathNotFound);
        }
        QCOMPARE(failed, !named || bytes.isEmpty());
    }

    void theWindowShowsEscapedBytesAsTheReplacementMark() {
        const QString name = pathFromBytes(QByteArray("a\xff\xf0\x9f\x93\xb7.txt"));
        QVERIFY(hasEscapedBytes(name));
        QCOMPARE(pathForDisplay(name), QStringLiteral(u"a\uFFFD📷.txt"));
        QVERIFY(!hasEscapedBytes(QStringLiteral(u"📷.txt")));
        QVERIFY(startsSurrogatePair(QStringLiteral(u"a📷"), 1));
        QVERIFY(!startsSurrogatePair(QStringLiteral(u"a📷"), 2));
    }
};

QTEST_APPLESS_MAIN(PathCodecTest)
#include "tst_pathcodec.moc"
