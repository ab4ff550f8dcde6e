// The editor's settings file and the settings dialog, driven as the user does:
// tick boxes, type names, press OK or Cancel; then the values and the bytes.
#include "Config.h"
#include "Global.h"
#include "ScriptedPrompter.h"
#include "vrelCodePage.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class TestSettings : public QObject {
    Q_OBJECT

    QTemporaryDir FDir;
    QString FPath;

    void writeFile(const QByteArray &bytes)
    {
        QFile f(FPath);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray readFile() const
    {
        QFile f(FPath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        FPath = FDir.filePath(QStringLiteral("Brenvik.INI"));
        QFile::remove(FPath);
        SetSettingsFileName(FPath);
    }
    void cleanupTestCase() { SetSettingsFileName(QString()); }

    void settingsFileSitsBesideTheProgram()
    {
        SetSettingsFileName(QString());
        const QFileInfo program(QCoreApplication::applicationFilePath());
        QCOMPARE(SettingsFileName(), program.path() + u'/' + program.completeBaseName() + u".INI"_qs);
    }

    void noFileGivesTheDefaults()
    {
        LoadSettings();
        QCOMPARE(UserGroupNames.size(), 16);
        QCOMPARE(UserGroupNames.first(), u"Level 1"_qs);
        QCOMPARE(UserGroupNames.last(), u"Level 16"_qs);
        QCOMPARE(DefaultPermission, 65535);
        QVERIFY(MenuGroupNames.isEmpty());
        QVERIFY(DefaultMenuGroup.isEmpty());
        QVERIFY(!QFile::exists(FPath));
    }

    void firstOkCreatesTheFile()
    {
        LoadSettings();
        TfrmConfig dialog;
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        const QByteArray bytes = readFile();
        QVERIFY(bytes.startsWith("[PERMITION]\r\nDEFAULT=65535\r\nCOUNT=16\r\nNAME01=Level 1\r\n"));
        QVERIFY(bytes.contains("NAME16=Level 16\r\n"));
        QVERIFY(!bytes.contains("NAME17"));
    }

    void countBelowSixteenStillNamesSixteenGroups()
    {
        writeFile("[PERMITION]\r\nCOUNT=3\r\nNAME01=" + toCodePage(u"관리자") + "\r\nNAME02=b\r\nNAME03=c\r\nNAME04=beyond\r\n");
        LoadSettings();
        QCOMPARE(UserGroupNames.size(), 16);
        QCOMPARE(UserGroupNames.at(0), u"관리자"_qs);
        QCOMPARE(UserGroupNames.at(2), u"c"_qs);
        QCOMPARE(UserGroupNames.at(3), u"Level 4"_qs); // NAME04 lies beyond the count
        QCOMPARE(UserGroupNames.at(15), u"Level 16"_qs);
    }

    void twentyNamesThenOkKeepsTheRestInTheFile()
    {
        QByteArray text = "[PERMITION]\r\nCOUNT=20\r\n";
        for (int i = 1; i <= 20; ++i)
            text += QStringLiteral("NAME%1=G%2\r\n").arg(i, 2, 10, QLatin1Char('0')).arg(i).toLatin1();
        writeFile(text);
        LoadSettings();
        QCOMPARE(UserGroupNames.size(), 20);
        {
            TfrmConfig dialog;
            QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        }
        QCOMPARE(UserGroupNames.size(), 16);
        const QByteArray bytes = readFile();
        QVERIFY(bytes.contains("COUNT=16\r\n"));
        QVERIFY(bytes.contains("NAME17=G17\r\n"));
        QVERIFY(bytes.contains("NAME20=G20\r\n"));
        LoadSettings();
        QCOMPARE(UserGroupNames.size(), 16);
        QCOMPARE(UserGroupNames.at(15), u"G16"_qs);
    }

    void menuGroupsUpToTheCount()
    {
        writeFile("[groups]\r\ndefault=B\r\ncount=3\r\ngroup01=A\r\nGROUP02=B\r\nGroup03=C\r\nGROUP04=D\r\n");
        LoadSettings();
        QCOMPARE(MenuGroupNames, (QStringList{u"A"_qs, u"B"_qs, u"C"_qs}));
        QCOMPARE(DefaultMenuGroup, u"B"_qs);
    }

    void defaultPermission_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("hexadecimal") << QByteArray("0x00FF") << 255;
        QTest::newRow("dollar") << QByteArray("$10") << 16;
        QTest::newRow("decimal") << QByteArray("5") << 5;
        QTest::newRow("not a number") << QByteArray("abc") << 65535;
    }
    void defaultPermission()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, expected);
        writeFile("[PERMITION]\r\nDEFAULT=" + text + "\r\n");
        LoadSettings();
        QCOMPARE(DefaultPermission, expected);
    }

    void dialogShowsMaskAndNames()
    {
        writeFile("[PERMITION]\r\nDEFAULT=5\r\nNAME02=" + toCodePage(u"영업") + "\r\n");
        LoadSettings();
        TfrmConfig dialog;
        QCOMPARE(dialog.windowTitle(), u"환경설정"_qs);
        QCOMPARE(dialog.size(), QSize(587, 349));
        QVERIFY(dialog.C[0]->isChecked());
        QVERIFY(!dialog.C[1]->isChecked());
        QVERIFY(dialog.C[2]->isChecked());
        QCOMPARE(dialog.N[1]->text(), u"영업"_qs);
        QCOMPARE(dialog.N[15]->text(), u"Level 16"_qs);
    }

    void untickingFirstAndLastGroupStores32766()
    {
        LoadSettings();
        TfrmConfig dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(dialog.C[0], Qt::LeftButton);
        QTest::mouseClick(dialog.C[15], Qt::LeftButton);
        QCOMPARE(dialog.Level, quint16(32766));
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        QCOMPARE(DefaultPermission, 32766);
        QVERIFY(readFile().contains("DEFAULT=32766\r\n"));
    }

    void cancelChangesNothing()
    {
        writeFile("[PERMITION]\r\nDEFAULT=7\r\n");
        const QByteArray before = readFile();
        LoadSettings();
        TfrmConfig dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(dialog.C[0], Qt::LeftButton);
        QTest::mouseClick(dialog.C[4], Qt::LeftButton);
        QCOMPARE(dialog.Level, quint16((7 & ~1) | 16));
        dialog.N[0]->setText(u"바뀐 이름"_qs);
        QTest::mouseClick(dialog.Button2, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(DefaultPermission, 7);
        QCOMPARE(UserGroupNames.first(), u"Level 1"_qs);
        QCOMPARE(readFile(), before);
    }

    void koreanNamesKeepTheFilesEncoding_data()
    {
        QTest::addColumn<QByteArray>("bom");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("code page 949") << QByteArray() << false;
        QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF") << true;
    }
    void koreanNamesKeepTheFilesEncoding()
    {
        QFETCH(QByteArray, bom);
        QFETCH(bool, utf8);
        const QString name = u"관리자"_qs;
        const QByteArray encoded = utf8 ? name.toUtf8() : toCodePage(name);
        writeFile(bom + "[PERMITION]\r\nNAME01=" + encoded + "\r\n");
        LoadSettings();
        QCOMPARE(UserGroupNames.first(), name);
        TfrmConfig dialog;
        dialog.N[1]->setText(u"영업부"_qs);
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        const QByteArray bytes = readFile();
        QCOMPARE(bytes.startsWith("\xEF\xBB\xBF"), utf8);
        const QString other = u"영업부"_qs;
        QVERIFY(bytes.contains("NAME01=" + encoded + "\r\n"));
        QVERIFY(bytes.contains("NAME02=" + (utf8 ? other.toUtf8() : toCodePage(other)) + "\r\n"));
    }

    void unwritableFileIsReportedAndValuesStay()
    {
        ScriptedPrompter prompter;
        // A directory where the file should be: it cannot be replaced.
        QVERIFY(QDir().mkpath(FPath));
        LoadSettings();
        TfrmConfig dialog;
        QTest::mouseClick(dialog.C[0], Qt::LeftButton);
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        QCOMPARE(prompter.Errors, QStringList{u"Unable to write to %1"_qs.arg(FPath)});
        QCOMPARE(DefaultPermission, 65534);
        QDir(FPath).removeRecursively();
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
