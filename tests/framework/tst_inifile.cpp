#include "FileSizeLimit.h"
#include "vrelCodePage.h"
#include "vrelIniFile.h"

#include <QTemporaryDir>
#include <QtTest>

class TestIniFile : public QObject {
    Q_OBJECT

    QTemporaryDir FDir;

    QString write(const QByteArray &bytes)
    {
        const QString path = FDir.filePath(QStringLiteral("t.ini"));
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
        return path;
    }
    static QByteArray read(const QString &path)
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

private slots:
    void readsWithoutRegardToCase()
    {
        TVrelIniFile ini(write("[Permition]\r\nname01 = " + toCodePage(u"관리자") + "\r\n[GROUPS]\r\nCOUNT=2\r\n"));
        QCOMPARE(ini.ReadString("PERMITION", "NAME01", "x"), u"관리자"_qs);
        QCOMPARE(ini.ReadInteger("groups", "count", 0), 2);
        QCOMPARE(ini.ReadString("PERMITION", "NAME02", "Level 2"), u"Level 2"_qs);
        QCOMPARE(ini.ReadString("NOSECTION", "NAME01", "d"), u"d"_qs);
    }

    void integers_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("decimal") << QByteArray("255") << qint64(255);
        QTest::newRow("0x") << QByteArray("0x00FF") << qint64(255);
        QTest::newRow("0X") << QByteArray("0X10") << qint64(16);
        QTest::newRow("dollar") << QByteArray("$FF") << qint64(255);
        QTest::newRow("negative") << QByteArray("-3") << qint64(-3);
        QTest::newRow("not a number") << QByteArray("abc") << qint64(65535);
        QTest::newRow("empty") << QByteArray("") << qint64(65535);
        QTest::newRow("trailing text") << QByteArray("12ab") << qint64(65535);
    }
    void integers()
    {
        QFETCH(QByteArray, text);
        QFETCH(qint64, expected);
        TVrelIniFile ini(write("[PERMITION]\r\nDEFAULT=" + text + "\r\n"));
        QCOMPARE(ini.ReadInteger("PERMITION", "DEFAULT", 65535), expected);
    }

    void writingKeepsOtherLines()
    {
        const QString path = write("; comment\r\n[PERMITION]\r\nCOUNT=20\r\nNAME17=x\r\n\r\n[GROUPS]\r\nGROUP01=a\r\n");
        TVrelIniFile ini(path);
        ini.WriteInteger("permition", "count", 16);
        ini.WriteString("PERMITION", "NAME01", u"영업"_qs);
        ini.WriteString("NEW", "KEY", "v");
        ini.UpdateFile();
        QCOMPARE(read(path), "; comment\r\n[PERMITION]\r\ncount=16\r\nNAME17=x\r\nNAME01="
                                 + toCodePage(u"영업") + "\r\n\r\n[GROUPS]\r\nGROUP01=a\r\n[NEW]\r\nKEY=v\r\n");
    }

    void keepsTheEncodingItWasReadIn()
    {
        const QString path = write("\xEF\xBB\xBF[A]\r\nK=" + u"고객"_qs.toUtf8() + "\r\n");
        TVrelIniFile ini(path);
        QCOMPARE(ini.ReadString("A", "K", {}), u"고객"_qs);
        ini.WriteString("A", "L", u"등록"_qs);
        ini.UpdateFile();
        QCOMPARE(read(path), "\xEF\xBB\xBF[A]\r\nK=" + u"고객"_qs.toUtf8() + "\r\nL=" + u"등록"_qs.toUtf8() + "\r\n");
    }

    void createsAMissingFile()
    {
        const QString path = FDir.filePath(QStringLiteral("new.ini"));
        TVrelIniFile ini(path);
        ini.WriteInteger("POSITION", "LEFT", -5);
        ini.UpdateFile();
        QCOMPARE(read(path), QByteArray("[POSITION]\r\nLEFT=-5\r\n"));
    }

    // The file system refuses the write half-way, as on a full disk.
    void writeCutShortRaisesAndKeepsTheOldFile()
    {
        const QString path = write("[GROUPS]\r\nCOUNT=1\r\n");
        TVrelIniFile ini(path);
        ini.WriteString("GROUPS", "NAME", QString(5000, u'x'));
        {
            FileSizeLimit limit(1000);
            QVERIFY(limit.IsActive());
            QVERIFY_THROWS_EXCEPTION(EIniFileException, ini.UpdateFile());
        }
        QCOMPARE(read(path), QByteArray("[GROUPS]\r\nCOUNT=1\r\n"));
    }

    void unwritableFileRaisesAndKeepsNothingHalfWritten()
    {
        const QString path = FDir.filePath(QStringLiteral("missing-dir/x.ini"));
        TVrelIniFile ini(path);
        ini.WriteString("A", "B", "C");
        try {
            ini.UpdateFile();
            QFAIL("no error raised");
        } catch (const EIniFileException &e) {
            QCOMPARE(e.Message(), QStringLiteral("Unable to write to %1").arg(path));
        }
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
