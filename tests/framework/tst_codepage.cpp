#include "vrelCodePage.h"

#include <QtTest>

class TestCodePage : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << u"Menu-list"_qs << QByteArray("Menu-list");
        QTest::newRow("screen caption") << u"[1000] 고객리스트"_qs
                                        << QByteArray::fromHex("5B313030305D20B0EDB0B4B8AEBDBAC6AE");
        QTest::newRow("extended hangul") << u"똠"_qs << QByteArray::fromHex("8C63");
        QTest::newRow("euro sign") << u"€"_qs << QByteArray::fromHex("A2E6");
        QTest::newRow("empty") << QString() << QByteArray();
    }
    void roundTrip()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(toCodePage(text), bytes);
        QCOMPARE(fromCodePage(bytes), text);
    }

    void unrepresentableBecomesQuestionMark_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("thai") << u"aกb"_qs << QByteArray("a?b");
        QTest::newRow("emoji") << u"가😀"_qs << QByteArray::fromHex("B0A1") + "?";
    }
    void unrepresentableBecomesQuestionMark()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(toCodePage(text), bytes);
    }

    void byteOrderMarksSelectTheirEncoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("utf-8") << QByteArray("\xEF\xBB\xBF") + u"고객"_qs.toUtf8();
        QTest::newRow("utf-16le") << QByteArray::fromHex("FFFEE0AC1DAC");
        QTest::newRow("code page") << QByteArray::fromHex("B0EDB0B4");
    }
    void byteOrderMarksSelectTheirEncoding()
    {
        QFETCH(QByteArray, bytes);
        QCOMPARE(decodeFileText(bytes), u"고객"_qs);
    }
};

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
