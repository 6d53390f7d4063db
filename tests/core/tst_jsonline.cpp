#include "core/JsonLine.h"

#include <QtTest>

using namespace plenvoy;

class TestJsonLine final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stringsAreDecodedOrRefused_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("plain") << QByteArray("\"a b\"") << true << QByteArray("a b");
        QTest::newRow("one-letter escapes") << QByteArray("\"\\\"\\\\\\/\\b\\f\\n\\r\\t\"") << true
                                            << QByteArray("\"\\/\b\f\n\r\t");
        QTest::newRow("\\u below 0x80, 0x800, 0x10000")
            << QByteArray("\"\\u0041\\u00e9\\u20ac\"") << true
            << QByteArray("A\xc3\xa9\xe2\x82\xac");
        QTest::newRow("a surrogate pair")
            << QByteArray("\"\\ud83d\\udcf7\"") << true << QByteArray("\xf0\x9f\x93\xb7");
        QTest::newRow("UTF-8 as it is")
            << QByteArray("\"\xc3\xa9\"") << true << QByteArray("\xc3\xa9");
        QTest::newRow("a lone low surrogate") << QByteArray("\"\\udc80\"") << false << QByteArray();
        QTest::newRow("a high surrogate alone")
            << QByteArray("\"\\ud83dx\"") << false << QByteArray();
        QTest::newRow("an unknown escape") << QByteArray("\"\\q\"") << false << QByteArray();
        QTest::newRow("a short \\u") << QByteArray("\"\\u00\"") << false << QByteArray();
        QTest::newRow("a control character") << QByteArray("\"a\tb\"") << false << QByteArray();
        QTest::newRow("not closed") << QByteArray("\"abc") << false << QByteArray();
    }
    void stringsAreDecodedOrRefused() {
        QFETCH(QByteArray, json);
        QFETCH(bool, read);
        QFETCH(QByteArray, bytes);
        JsonLine line(json.constData(), json.constData() + json.size());
        QByteArray out;
        QCOMPARE(line.string(&out), read);
        if (read) {
            QCOMPARE(out, bytes);
            QVERIFY(line.atEnd());
        }
        // Written back and read again, the bytes are the same.
        if (read) {
            QByteArray written;
            appendJsonString(written, bytes);
            JsonLine again(written.constData(), written.constData() + written.size());
            QByteArray back;
            QVERIFY(again.string(&back));
            QCOMPARE(back, bytes);
        }
    }

    void valuesArePassedOver_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<bool>("passed");
        QTest::newRow("nested") << QByteArray("{\"a\": [1, -2.5e3, {\"b\": null}], \"c\": true}")
                                << true;
        QTest::newRow("empty ones") << QByteArray("[{}, [], \"\"]") << true;
        QTest::newRow("a missing colon") << QByteArray("{\"a\" 1}") << false;
        QTest::newRow("a trailing comma") << QByteArray("[1,]") << false;
        QTest::newRow("a bare word") << QByteArray("nil") << false;
        QTest::newRow("seventeen deep") << QByteArray(17, '[') + QByteArray(17, ']') << true;
        QTest::newRow("eighteen deep") << QByteArray(18, '[') + QByteArray(18, ']') << false;
    }
    void valuesArePassedOver() {
        QFETCH(QByteArray, json);
        QFETCH(bool, passed);
        JsonLine line(json.constData(), json.constData() + json.size());
        QCOMPARE(line.skipValue() && line.atEnd(), passed);
    }
};

QTEST_GUILESS_MAIN(TestJsonLine)
#include "tst_jsonline.moc"
