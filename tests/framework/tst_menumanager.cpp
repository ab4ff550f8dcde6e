#include "MenuFixture.h"
#include "ScriptedPrompter.h"
#include "vrelFramework.h"
#include "vrelMenu.h"
#include "vrelZLib.h"

#include <QtTest>

namespace {
// Entries that exercise every lookup table:
//   0 caption with blanks around it, 3 children
//   1 code 1010, upper-case frame of an rsMap entry
//   2 code 1010 again, the same caption as 1
//   3 code "0000"
//   4 caption of blanks only, a frame list with lower-case letters
//   5 a frame list with an empty frame name in it
void fillLookupFixture(TMenuCollection &items)
{
    addEntry(items, "  고객관리  ", 3);
    TMenuCollectionItem &a = addEntry(items, "[1010] 신규고객 등록");
    a.SetCommand("1010");
    a.SetParameters("FRAMEA");
    a.SetModuleName("MapMod");
    a.SetRunStyle(rsMap);
    TMenuCollectionItem &b = addEntry(items, "[1010] 신규고객 등록");
    b.SetCommand("1010");
    b.SetGroup("그룹");
    addEntry(items, "zero").SetCommand("0000");
    TMenuCollectionItem &blank = addEntry(items, "   ");
    blank.SetCommand("2000");
    blank.SetParameters("lower,x");
    blank.SetModuleName("m2");
    TMenuCollectionItem &after = addEntry(items, "after");
    after.SetCommand("3000");
    after.SetParameters("P1,,P2");
    after.SetModuleName("m3");
}
} // namespace

class TestMenuManager : public QObject {
    Q_OBJECT
private:
    QTemporaryDir FDir;
    QString FLookupFile;

    QString writeFile(const QString &name, void (*fill)(TMenuCollection &), TSaveMode mode = smText)
    {
        TMenuCollection items;
        fill(items);
        const QString path = FDir.filePath(name);
        writeMenuFile(items, path, mode);
        return path;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        FLookupFile = writeFile("lookup.dat", fillLookupFixture);
    }

    void initialValues()
    {
        TVrelMenuManager m;
        QCOMPARE(m.ActionList(), nullptr);
        QCOMPARE(m.BuildMode(), bmAppend);
        QCOMPARE(m.ButtonHeight(), 32);
        QCOMPARE(m.ButtonWidth(), 32);
        QCOMPARE(m.Compress(), false);
        QCOMPARE(m.FileName(), "");
        QCOMPARE(m.Count(), 0);
        QCOMPARE(m.Items().Owner(), &m);
        QCOMPARE(m.Level(), quint16(65535));
        QCOMPARE(m.Path(), "");
        QCOMPARE(m.Position(), -1);
        QCOMPARE(m.WindowCascade(), u"계단식 정렬(&C)"_qs);
        QCOMPARE(m.WindowCloseAll(), u"모두 닫기(&A)"_qs);
        QCOMPARE(m.WindowTileHorz(), u"수평 바둑판식 정렬(&H)"_qs);
        QCOMPARE(m.WindowTileVert(), u"수직 바둑판식 정렬(&V)"_qs);
        QVERIFY(!m.OnCloseForm && !m.OnOpenForm && !m.OnCommand && !m.OnLoad);
        QCOMPARE(m.Form(), nullptr);
        QCOMPARE(m.HideMode(), false);
        QCOMPARE(m.Short(), false);
        QCOMPARE(m.Module().Find("x"), "");
    }

    void setPath_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("path");
        QTest::newRow("empty") << "" << "/";
        QTest::newRow("no separator") << "/data/menus" << "/data/menus/";
        QTest::newRow("separator kept") << "/data/menus/" << "/data/menus/";
        QTest::newRow("relative") << "menus" << "menus/";
    }
    void setPath()
    {
        QFETCH(QString, value);
        QFETCH(QString, path);
        TVrelMenuManager m;
        m.SetPath(value);
        QCOMPARE(m.Path(), path);
        QCOMPARE(m.Count(), 0);
    }

    void fileNameLoadsAndSplits()
    {
        ScriptedPrompter prompter;
        TVrelMenuManager m;
        int loads = 0;
        QObject *sender = nullptr;
        m.OnLoad = [&](QObject *s) { ++loads, sender = s; };
        QVERIFY(m.SetFileName(FLookupFile));
        QCOMPARE(m.Path(), FDir.path() + u'/');
        QCOMPARE(m.FileName(), "lookup.dat");
        QCOMPARE(m.Count(), 6);
        QCOMPARE(loads, 1);
        QCOMPARE(sender, &m);
        QCOMPARE(m.LastError(), "");
        // The same full path reloads; a bare name equal to FileName does nothing.
        QVERIFY(m.SetFileName(FLookupFile));
        QCOMPARE(loads, 2);
        QVERIFY(m.SetFileName("lookup.dat"));
        QCOMPARE(loads, 2);
        QCOMPARE(m.Path(), FDir.path() + u'/');
        QVERIFY(prompter.Messages.isEmpty());
    }

    void missingFileShowsTheMessageAndKeepsTheDefinition()
    {
        ScriptedPrompter prompter;
        TVrelMenuManager m;
        QVERIFY(m.SetFileName(FLookupFile));
        int loads = 0;
        m.OnLoad = [&](QObject *) { ++loads; };
        const QString missing = FDir.filePath("missing.dat");
        QVERIFY(!m.SetFileName(missing));
        QCOMPARE(prompter.Messages, QStringList{u"메뉴 파일이 없습니다"_qs});
        QCOMPARE(m.LastError(), u"메뉴 파일이 없습니다"_qs);
        QCOMPARE(m.Count(), 6);
        QVERIFY(m.FindByCode("1010"));
        QCOMPARE(m.FileName(), "missing.dat");
        QCOMPARE(m.Path(), FDir.path() + u'/');
        QCOMPARE(loads, 0);
        // A later successful load clears the error.
        QVERIFY(m.SetFileName(FLookupFile));
        QCOMPARE(m.LastError(), "");
    }

    void loadErrorIsToldToTheCaller()
    {
        ScriptedPrompter prompter;
        TVrelMenuManager m;
        m.OnLoad = [](QObject *) { throw EConvertError("broken handler"); };
        QVERIFY(!m.SetFileName(FLookupFile));
        QCOMPARE(m.LastError(), "broken handler");
        QCOMPARE(m.Count(), 6); // entries read before the error stay
        QVERIFY(prompter.Messages.isEmpty());
    }

    // Entries read elsewhere become the definition as if the manager had
    // read the file itself: the same entries move in, each is registered,
    // OnLoad is raised, and what was there before leaves with its keys.
    void takeLoadedIsLikeLoadingTheFile()
    {
        ScriptedPrompter prompter;
        TVrelMenuManager m;
        QVERIFY(m.SetFileName(writeFile("before.dat", [](TMenuCollection &items) {
            addEntry(items, "before").SetCommand("5000");
        })));
        QVERIFY(!m.SetFileName(FDir.filePath("missing.dat"))); // leaves a LastError
        int loads = 0;
        QObject *sender = nullptr;
        int registeredAtLoad = -2;
        m.OnLoad = [&](QObject *s) { ++loads, sender = s, registeredAtLoad = m.FindIndex("3000"); };
        TMenuCollection read;
        read.SetSaveMode(smText);
        QVERIFY(read.LoadFromFile(FLookupFile));
        const TMenuCollectionItem *first = read.Items(0);

        m.TakeLoaded(FLookupFile, read);

        QCOMPARE(read.Count(), 0);
        QCOMPARE(m.Count(), 6);
        QCOMPARE(m.FindByIndex(0), first);
        QCOMPARE(m.FindByIndex(5)->Collection(), &m.Items());
        QCOMPARE(loads, 1);
        QCOMPARE(sender, &m);
        QCOMPARE(registeredAtLoad, 5);
        QCOMPARE(m.LastError(), "");
        QCOMPARE(m.Path(), FDir.path() + u'/');
        QCOMPARE(m.FileName(), "lookup.dat");
        QCOMPARE(m.FindByCode("5000"), nullptr);
        QCOMPARE(m.FindIndex("1010"), 1);
        QCOMPARE(m.FindByCaption(u"고객관리"_qs), first);
        QCOMPARE(m.FindByParam("framea"), m.FindByIndex(1));
        QCOMPARE(m.FindModule("x"), "M2");
        // A taken entry that leaves takes its keys, as a loaded one does.
        m.Items().Delete(1);
        QCOMPARE(m.FindByCode("1010"), nullptr);
    }

    // Entries taken from another manager's definition leave no keys there.
    void takeLoadedFromAnotherManager()
    {
        TVrelMenuManager from, to;
        QVERIFY(from.SetFileName(FLookupFile));
        to.TakeLoaded(FLookupFile, from.Items());
        QCOMPARE(from.Count(), 0);
        QCOMPARE(from.FindByCode("1010"), nullptr);
        QCOMPARE(from.FindByCaption(u"고객관리"_qs), nullptr);
        QCOMPARE(to.FindIndex("1010"), 1);
    }

    void lookups_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("index"); // -1: none
        QTest::newRow("duplicate code: first") << "code" << "1010" << 1;
        QTest::newRow("code 0000 not entered") << "code" << "0000" << -1;
        QTest::newRow("entry with blank caption") << "code" << "2000" << 4;
        QTest::newRow("entry after blank caption") << "code" << "3000" << 5;
        QTest::newRow("code never loaded") << "code" << "9999" << -1;
        QTest::newRow("caption trimmed") << "caption" << u"고객관리"_qs << 0;
        QTest::newRow("argument not trimmed") << "caption" << u"  고객관리  "_qs << -1;
        QTest::newRow("duplicate caption: first") << "caption" << u"[1010] 신규고객 등록"_qs << 1;
        QTest::newRow("upper-case param, lower argument") << "param" << "framea" << 1;
        QTest::newRow("upper-case param, same argument") << "param" << "FRAMEA" << 1;
        QTest::newRow("lower-case param as stored") << "param" << "lower,x" << -1;
        QTest::newRow("lower-case param upper-cased") << "param" << "LOWER,X" << -1;
        QTest::newRow("param with empty frame") << "param" << "P1,,P2" << 5;
    }
    void lookups()
    {
        QFETCH(QString, kind);
        QFETCH(QString, key);
        QFETCH(int, index);
        TVrelMenuManager m;
        QVERIFY(m.SetFileName(FLookupFile));
        const TMenuCollectionItem *found = kind == "code"      ? m.FindByCode(key)
                                           : kind == "caption" ? m.FindByCaption(key)
                                                               : m.FindByParam(key);
        QCOMPARE(found ? int(found->Index()) : -1, index);
        if (kind == "code") {
            QCOMPARE(m.FindIndex(key), index);
            QCOMPARE(m.FindCaption(key), found ? found->Caption() : QString());
            QCOMPARE(m.FindGroup(key), m.FindCaption(key));
        }
    }

    void findModule_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("module");
        QTest::newRow("rsMap entry: its module as stored") << "framea" << "MapMod";
        QTest::newRow("other run style: module table") << "x" << "M2";
        QTest::newRow("frame after an empty one") << "p2" << "M3";
        QTest::newRow("frame before an empty one") << "P1" << "M3";
        QTest::newRow("unknown") << "nothing" << "";
    }
    void findModule()
    {
        QFETCH(QString, frame);
        QFETCH(QString, module);
        TVrelMenuManager m;
        QVERIFY(m.SetFileName(FLookupFile));
        QCOMPARE(m.FindModule(frame), module);
    }

    void emptyKeysAreRangeErrors()
    {
        TVrelMenuManager m;
        QVERIFY(m.SetFileName(FLookupFile));
        QVERIFY_THROWS_EXCEPTION(ERangeError, m.FindByCaption(""));
        QVERIFY_THROWS_EXCEPTION(ERangeError, m.FindByCode(""));
        QVERIFY_THROWS_EXCEPTION(ERangeError, m.FindByParam(""));
        QVERIFY_THROWS_EXCEPTION(ERangeError, m.FindCaption(""));
        QVERIFY_THROWS_EXCEPTION(ERangeError, m.FindIndex(""));
        QVERIFY_THROWS_EXCEPTION(ERangeError, m.FindModule(""));
        QVERIFY_THROWS_EXCEPTION(EListError, m.FindByIndex(6));
        QCOMPARE(m.FindByIndex(5)->Caption(), "after");
    }

    void secondFileReplacesTheFirst()
    {
        TVrelMenuManager m;
        QVERIFY(m.SetFileName(FLookupFile));
        const QString other = writeFile("other.dat", [](TMenuCollection &items) {
            addEntry(items, "other").SetCommand("5000");
        });
        QVERIFY(m.SetFileName(other));
        QCOMPARE(m.Count(), 1);
        QCOMPARE(m.FindByCode("1010"), nullptr);
        QCOMPARE(m.FindByCaption("after"), nullptr);
        QCOMPARE(m.FindModule("x"), "");
        QCOMPARE(m.FindIndex("5000"), 0);
    }

    void clearEmptiesEverything()
    {
        TVrelMenuManager m;
        QVERIFY(m.SetFileName(FLookupFile));
        m.Clear();
        QCOMPARE(m.Count(), 0);
        QCOMPARE(m.FindByCode("1010"), nullptr);
        QCOMPARE(m.FindByCaption(u"고객관리"_qs), nullptr);
        QCOMPARE(m.FindByParam("FRAMEA"), nullptr);
        QCOMPARE(m.FindCaption("1010"), "");
        QCOMPARE(m.FindModule("p2"), "");
    }

    void removingAnEntryRemovesItsKeys()
    {
        TVrelMenuManager m;
        QVERIFY(m.SetFileName(FLookupFile));
        // Entry 2 shares code and caption with entry 1, which holds both keys:
        // removing entry 2 leaves them.
        m.Items().Delete(2);
        QCOMPARE(m.FindIndex("1010"), 1);
        QCOMPARE(m.FindByCaption(u"[1010] 신규고객 등록"_qs), m.FindByIndex(1));
        // Removing entry 1 takes its code, caption and frame keys with it.
        m.Items().Delete(1);
        QCOMPARE(m.FindByCode("1010"), nullptr);
        QCOMPARE(m.FindByCaption(u"[1010] 신규고객 등록"_qs), nullptr);
        QCOMPARE(m.FindByParam("FRAMEA"), nullptr);
        // Later entries keep theirs, at their new places.
        QCOMPARE(m.FindIndex("3000"), 3);
    }

    void appendAddsACompressedFile()
    {
        const QString extra = writeFile(
            "extra.dat",
            [](TMenuCollection &items) {
                addEntry(items, "extra", 1).SetCommand("1010");
                TMenuCollectionItem &leaf = addEntry(items, "extra leaf");
                leaf.SetCommand("7000");
                leaf.SetParameters("EXTRA");
                leaf.SetModuleName("ex");
            },
            smBinary);
        TVrelMenuManager m;
        QVERIFY(m.SetFileName(FLookupFile));
        m.Append(extra);
        QCOMPARE(m.Count(), 8);
        QCOMPARE(m.FindIndex("1010"), 1); // the loaded entry comes first
        QCOMPARE(m.FindIndex("7000"), 7);
        QCOMPARE(m.FindByIndex(6)->Count(), 1);
        QCOMPARE(m.FindModule("extra"), "EX");
    }

    void appendErrorsReachTheCaller()
    {
        TVrelMenuManager m;
        QVERIFY(m.SetFileName(FLookupFile));
        QVERIFY_THROWS_EXCEPTION(EFOpenError, m.Append(FDir.filePath("missing.dat")));
        try {
            m.Append(FLookupFile); // plain text is not a zlib stream
            QFAIL("no error");
        } catch (const EZLibError &e) {
            QCOMPARE(e.Message(), "data error"); // zlib's own text
        }
        QCOMPARE(m.Count(), 6);
    }

    void checkLevel_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("permission");
        QTest::addColumn<bool>("granted");
        QTest::newRow("level 0, all groups") << 0 << 65535 << false;
        QTest::newRow("all groups, permission 0") << 65535 << 0 << false;
        QTest::newRow("all groups, group 1") << 65535 << 1 << true;
        QTest::newRow("shared bit") << 2 << 3 << true;
        QTest::newRow("no shared bit") << 1 << 2 << false;
    }
    void checkLevel()
    {
        QFETCH(int, level);
        QFETCH(int, permission);
        QFETCH(bool, granted);
        TVrelMenuManager m;
        m.SetLevel(quint16(level));
        QCOMPARE(m.CheckLevel(permission), granted);
    }

    void checkLevelOutOfRange()
    {
        TVrelMenuManager m;
        QVERIFY_THROWS_EXCEPTION(ERangeError, m.CheckLevel(65536));
        QVERIFY_THROWS_EXCEPTION(ERangeError, m.CheckLevel(-1));
    }

    void setLevelBit_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("bit");
        QTest::addColumn<bool>("value");
        QTest::addColumn<int>("level");
        QTest::newRow("clear group 1") << 65535 << 0 << false << 65534;
        QTest::newRow("set group 16") << 0 << 15 << true << 32768;
        QTest::newRow("16 ignored") << 0 << 16 << true << 0;
        QTest::newRow("-1 ignored") << 0 << -1 << true << 0;
    }
    void setLevelBit()
    {
        QFETCH(int, start);
        QFETCH(int, bit);
        QFETCH(bool, value);
        QFETCH(int, level);
        TVrelMenuManager m;
        m.SetLevel(quint16(start));
        m.SetLevel(bit, value);
        QCOMPARE(int(m.Level()), level);
    }

    void actionListIsForgottenWhenDestroyed()
    {
        TVrelMenuManager m;
        auto *actions = new QObject;
        m.SetActionList(actions);
        QCOMPARE(m.ActionList(), actions);
        delete actions;
        QCOMPARE(m.ActionList(), nullptr);
    }

    void frameworkStartUpIsCounted()
    {
        QCOMPARE(MenuManager, nullptr);
        {
            TVrelFramework program;
            TVrelMenuManager *first = MenuManager;
            QVERIFY(first);
            VrelInitialize(); // a module library's start-up
            QCOMPARE(MenuManager, first);
            VrelFinalize();
            QCOMPARE(MenuManager, first);
            QCOMPARE(MenuManager->Level(), quint16(65535));
        }
        QCOMPARE(MenuManager, nullptr);
        VrelFinalize(); // one shut-down too many changes nothing
        TVrelFramework again;
        QVERIFY(MenuManager);
    }
};

QTEST_MAIN(TestMenuManager)
#include "tst_menumanager.moc"
