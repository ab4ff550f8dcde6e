#include "vrelMenu.h"

#include <QTemporaryDir>
#include <QtTest>

class TestModuleTable : public QObject {
    Q_OBJECT
private slots:
    void find_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("module");
        const QStringList abc{"abc=x1, x2"};
        QTest::newRow("upper-case frame") << abc << "X1" << "ABC";
        QTest::newRow("lower-case frame") << abc << "x1" << "ABC";
        QTest::newRow("frame after blank") << abc << "x2" << "ABC";
        QTest::newRow("argument not trimmed") << abc << " x1" << "";
        QTest::newRow("first line decides") << QStringList{"abc=x1", "other=X1,y"} << "x1" << "ABC";
        QTest::newRow("second line's other frame") << QStringList{"abc=x1", "other=X1,y"} << "Y"
                                                   << "OTHER";
        QTest::newRow("no = enters an empty module") << QStringList{"x1,x2"} << "x1" << "";
        QTest::newRow("comma at the end") << QStringList{"m=a,"} << "a" << "M";
        QTest::newRow("further = belongs to the frame") << QStringList{"m=a=b"} << "A=B" << "M";
        QTest::newRow("module name not trimmed") << QStringList{" m =a"} << "a" << " M ";
        QTest::newRow("line breaks cut frames") << QStringList{"m=a\r\nb\rc\nd"} << "c" << "M";
        QTest::newRow("only ASCII letters upper-cased") << QStringList{"모듈é=프레임é"} << "프레임é"
                                                       << "모듈é";
        QTest::newRow("unknown frame") << abc << "zz" << "";
        // Empty pieces name no frame; the frames after them are still entered.
        QTest::newRow("two commas in a row") << QStringList{"m=a,,b"} << "b" << "M";
        QTest::newRow("comma at the start") << QStringList{"m=,b"} << "b" << "M";
        QTest::newRow("blank piece") << QStringList{"m=a,  ,b"} << "b" << "M";
        QTest::newRow("empty frame list") << QStringList{"m=", "n=a"} << "a" << "N";
    }
    void find()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, frame);
        QFETCH(QString, module);
        TModuleManager table;
        for (const QString &line : lines)
            table.Add(line);
        QCOMPARE(table.Find(frame), module);
    }

    void emptyFrameIsARangeError()
    {
        TModuleManager table;
        QVERIFY_THROWS_EXCEPTION(ERangeError, table.Find(QString()));
    }

    void loadFromListTakesModuleLinesOnly()
    {
        TModuleManager table;
        table.LoadFromList({"m=A,B", "", "C"});
        QCOMPARE(table.Find("a"), "M");
        QCOMPARE(table.Find("b"), "M");
        table.Add("n=C");
        QCOMPARE(table.Find("C"), "N"); // "C" was not entered by the list
    }

    void clearEmptiesTheTable()
    {
        TModuleManager table;
        table.Add("m=a,b");
        table.Clear();
        QCOMPARE(table.Find("a"), "");
        table.Add("n=a");
        QCOMPARE(table.Find("a"), "N");
    }

    void loadFromFileAddsAfterWhatIsThere_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("code page, CR LF") << QByteArray("m=a\r\n\r\nnothing here\r\nn=b,\xB0\xED\r\n");
        QTest::newRow("lone LF") << QByteArray("m=a\n\nnothing here\nn=b,\xB0\xED");
        QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBFm=a\r\nn=b,") + u"고"_qs.toUtf8();
    }
    void loadFromFileAddsAfterWhatIsThere()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString name = dir.filePath("modules.txt");
        QFile f(name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        TModuleManager table;
        table.Add("first=a");
        table.LoadFromFile(name);
        QCOMPARE(table.Find("a"), "FIRST");
        QCOMPARE(table.Find("b"), "N");
        QCOMPARE(table.Find(u"고"_qs), "N");
        QCOMPARE(table.Find("nothing here"), "");
    }

    void missingFileRaisesAndKeepsTheTable()
    {
        TModuleManager table;
        table.Add("m=a");
        QTemporaryDir dir;
        const QString name = dir.filePath("missing.txt");
        try {
            table.Append(name);
            QFAIL("no error");
        } catch (const EFOpenError &e) {
            QVERIFY(e.Message().startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(name)));
        }
        QCOMPARE(table.Find("a"), "M");
    }
};

QTEST_GUILESS_MAIN(TestModuleTable)
#include "tst_moduletable.moc"
