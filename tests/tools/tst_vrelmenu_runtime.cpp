// vrelmenu's find and menu commands as a black box: the built program is run
// on menu files written by the test, and its exit code, stdout and stderr are
// compared with what a user must see.
#include "VrelMenuRunner.h"
#include "MenuFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Caption, "!" when shown and disabled, "~" when hidden, "*" for a
// TMenuItemAccess, then the submenu's items in parentheses.
QString shape(const QJsonArray &items)
{
    QStringList parts;
    for (const QJsonValue &v : items) {
        const QJsonObject o = v.toObject();
        QString s = o["caption"].toString();
        if (o["visible"].toBool() && !o["enabled"].toBool())
            s += u'!';
        if (!o["visible"].toBool())
            s += u'~';
        if (o["class"].toString() == u"TMenuItemAccess")
            s += u'*';
        if (!o["items"].toArray().isEmpty())
            s += u'(' + shape(o["items"].toArray()) + u')';
        parts << s;
    }
    return parts.join(u',');
}

QString treeShape(const QJsonArray &nodes)
{
    QStringList parts;
    for (const QJsonValue &v : nodes) {
        const QJsonObject o = v.toObject();
        QString s = o["text"].toString();
        if (!o["children"].toArray().isEmpty())
            s += u'(' + treeShape(o["children"].toArray()) + u')';
        parts << s;
    }
    return parts.join(u',');
}

// Lookups: 0 " 고객관리 " (4 children), 1 code 1010 rsMap frame FRAMEA,
// 2 code 1010 again, 3 code 0000, 4 a caption of blanks with frames, 5 "창"
// the window menu holder with its msWindows leaf.
void fillDefinition(TMenuCollection &items)
{
    addEntry(items, u" 고객관리 "_qs, 4);
    TMenuCollectionItem &a = addEntry(items, u"[1010] 신규고객 등록"_qs);
    a.SetCommand("1010");
    a.SetParameters("FRAMEA");
    a.SetModuleName("MapMod");
    a.SetRunStyle(rsMap);
    a.SetHotKey("Ctrl+F1");
    a.SetHint("hint");
    a.SetGroupIndex(2);
    a.SetImageIndex(7);
    addEntry(items, "dup").SetCommand("1010");
    addEntry(items, "zero", 0, 2).SetCommand("0000");
    TMenuCollectionItem &blank = addEntry(items, "   ");
    blank.SetParameters("x");
    blank.SetModuleName("m2");
    addEntry(items, u"창"_qs, 1).SetShortCaption("W");
    addEntry(items, "windows").SetMenuStyle(msWindows);
}

} // namespace

class TestVrelMenuRuntime : public QObject {
    Q_OBJECT

    QTemporaryDir FTemp;
    QString FPlain;
    QString FCompressed;

    QString temp(const char *name) const { return FTemp.filePath(QLatin1StringView(name)); }

private slots:
    void initTestCase()
    {
        QVERIFY(FTemp.isValid());
        TMenuCollection items;
        fillDefinition(items);
        FPlain = temp("plain.dat");
        FCompressed = temp("compressed.dat");
        writeMenuFile(items, FPlain, smText);
        writeMenuFile(items, FCompressed, smBinary);
    }

    void find_data()
    {
        QTest::addColumn<QStringList>("key");
        QTest::addColumn<int>("index");
        QTest::newRow("first of two codes") << QStringList{"--code", "1010"} << 1;
        QTest::newRow("code 0000") << QStringList{"--code", "0000"} << -1;
        QTest::newRow("trimmed caption") << QStringList{"--caption", u"고객관리"_qs} << 0;
        QTest::newRow("caption with blanks") << QStringList{"--caption", u" 고객관리 "_qs} << -1;
        QTest::newRow("parameter in any case") << QStringList{"--param", "framea"} << 1;
        QTest::newRow("index") << QStringList{"--index", "4"} << 4;
        QTest::newRow("index past the end") << QStringList{"--index", "7"} << -1;
        QTest::newRow("negative index") << QStringList{"--index", "-2"} << -1;
    }
    void find()
    {
        QFETCH(QStringList, key);
        QFETCH(int, index);
        for (const QString &file : {FPlain, FCompressed}) {
            const VrelMenuResult r = vrelmenu(QStringList{"find", file} + key);
            QCOMPARE(r.Code, index < 0 ? 1 : 0);
            QCOMPARE(r.Err, QByteArray());
            const QJsonObject o = QJsonDocument::fromJson(r.Out).object();
            QCOMPARE(o["index"].toInt(), index);
            if (index < 0) {
                QCOMPARE(o.size(), 1);
                continue;
            }
            const QJsonObject entry = o["entry"].toObject();
            QCOMPARE(entry.size(), 29);
            QCOMPARE(entry["Permission"].toString(), "65535");
            QVERIFY(entry.contains("Toogle"));
        }
    }

    void findEntryProperties()
    {
        const VrelMenuResult r = vrelmenu({"find", FPlain, "--code", "1010"});
        const QJsonObject entry = QJsonDocument::fromJson(r.Out).object()["entry"].toObject();
        QCOMPARE(entry["Caption"].toString(), u"[1010] 신규고객 등록"_qs);
        QCOMPARE(entry["RunStyle"].toString(), "rsMap");
        QCOMPARE(entry["Options"].toString(), "[soMulti,soTab]");
        QCOMPARE(entry["HotKey"].toString(), "Ctrl+F1");
    }

    void findModule_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("module");
        QTest::newRow("rsMap entry") << "framea" << "MapMod";
        QTest::newRow("module table") << "X" << "M2";
        QTest::newRow("unknown") << "nothing" << "";
    }
    void findModule()
    {
        QFETCH(QString, frame);
        QFETCH(QString, module);
        const VrelMenuResult r = vrelmenu({"find", FPlain, "--module", frame});
        QCOMPARE(r.Code, 0);
        QCOMPARE(QJsonDocument::fromJson(r.Out).object(), (QJsonObject{{"module", module}}));
    }

    void findErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("error");
        QTest::newRow("empty code") << QStringList{"find", FPlain, "--code", ""}
                                    << QByteArray("vrelmenu: Range check error\n");
        QTest::newRow("empty frame") << QStringList{"find", FPlain, "--module", ""}
                                     << QByteArray("vrelmenu: Range check error\n");
        QTest::newRow("no key") << QStringList{"find", FPlain}
                                << QByteArray("vrelmenu: give exactly one of --code, --caption, --param, "
                                              "--index, --module\n");
        QTest::newRow("two keys") << QStringList{"find", FPlain, "--code", "1", "--index", "1"}
                                  << QByteArray("vrelmenu: give exactly one of --code, --caption, --param, "
                                                "--index, --module\n");
        QTest::newRow("index not a number") << QStringList{"find", FPlain, "--index", "x"}
                                            << QByteArray("vrelmenu: --index needs a whole number, not x\n");
        const QString missing = temp("missing.dat");
        QTest::newRow("missing file")
            << QStringList{"find", missing, "--code", "1"}
            << "vrelmenu: Cannot open file \"" + missing.toUtf8() + "\". No such file or directory\n";
    }
    void findErrors()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, error);
        const VrelMenuResult r = vrelmenu(args);
        QCOMPARE(r.Code, 1);
        QVERIFY2(r.Err.startsWith(error), r.Err.constData());
        QCOMPARE(r.Out, QByteArray());
    }

    void menu_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("items");
        const QString six = u"계단식 정렬(&C),수평 바둑판식 정렬(&H),수직 바둑판식 정렬(&V),-,모두 닫기(&A),-"_qs;
        const QString full = u" 고객관리 *([1010] 신규고객 등록*,dup*,zero*,   *),창*("_qs + six + u')';
        QTest::newRow("all groups") << QStringList{} << full;
        QTest::newRow("all groups, hide") << QStringList{"--hide"} << full;
        QTest::newRow("level 1, hide") << QStringList{"--level", "1", "--hide"}
                                       << u" 고객관리 *([1010] 신규고객 등록*,dup*,   *),창*("_qs + six + u')';
        QTest::newRow("level 1, disable") << QStringList{"--level", "1"}
                                          << u" 고객관리 *([1010] 신규고객 등록*,dup*,zero!*,   *),창*("_qs
                                                 + six + u')';
        QTest::newRow("short") << QStringList{"--short"}
                               << u"*([1010] 신규고객 등록*,dup*,zero*,   *),W*("_qs + six + u')';
        QTest::newRow("insert between") << QStringList{"--insert", "1"} << u"Before,"_qs + full + QStringLiteral(",After");
    }
    void menu()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, items);
        for (const QString &file : {FPlain, FCompressed}) {
            const VrelMenuResult r = vrelmenu(QStringList{"menu", file} + options);
            QCOMPARE(r.Err, QByteArray());
            QCOMPARE(r.Code, 0);
            QCOMPARE(shape(QJsonDocument::fromJson(r.Out).object()["items"].toArray()), items);
        }
    }

    void menuItemFields()
    {
        const VrelMenuResult r = vrelmenu({"menu", FPlain});
        const QJsonArray top = QJsonDocument::fromJson(r.Out).object()["items"].toArray();
        const QJsonObject submenu = top[0].toObject();
        QCOMPARE(submenu["onClick"].toString(), "");
        QCOMPARE(submenu["imageIndex"].toInt(), -1);
        const QJsonObject item = submenu["items"].toArray()[0].toObject();
        const QJsonObject expected{
            {"class", "TMenuItemAccess"}, {"caption", u"[1010] 신규고객 등록"_qs},
            {"enabled", true},            {"visible", true},
            {"checked", false},           {"radio", true},
            {"groupIndex", 2},            {"shortcut", "Ctrl+F1"},
            {"hint", "hint"},             {"imageIndex", 7},
            {"tag", 1},                   {"command", "1010"},
            {"menuIndex", 1},             {"executable", true},
            {"onClick", "MenuClick"},     {"items", QJsonArray()},
        };
        QCOMPARE(item, expected);
        const QJsonArray windowItems = top[1].toObject()["items"].toArray();
        QCOMPARE(windowItems.size(), 6);
        const QJsonObject closeAll = windowItems[4].toObject();
        QCOMPARE(closeAll["class"].toString(), "TMenuItem");
        QCOMPARE(closeAll["tag"].toInt(), 3);
        QCOMPARE(closeAll["onClick"].toString(), "WindowClick");
        QVERIFY(!closeAll.contains("command"));
        QCOMPARE(windowItems[5].toObject()["onClick"].toString(), "");
    }

    void menuErrorsKeepWhatWasBuilt_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("items");
        QTest::addColumn<QByteArray>("error");
        QTest::newRow("insert past the end") << QStringList{"menu", FPlain, "--insert", "3"} << "Before,After"
                                             << QByteArray("vrelmenu: List index out of bounds (3)\n");
        QTest::newRow("insert at the initial -1") << QStringList{"menu", FPlain, "--insert", "-1"}
                                                  << "Before,After"
                                                  << QByteArray("vrelmenu: List index out of bounds (-1)\n");
    }
    void menuErrorsKeepWhatWasBuilt()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, items);
        QFETCH(QByteArray, error);
        const VrelMenuResult r = vrelmenu(args);
        QCOMPARE(r.Code, 1);
        QCOMPARE(r.Err, error);
        QCOMPARE(shape(QJsonDocument::fromJson(r.Out).object()["items"].toArray()), items);
    }

    void countTooLarge()
    {
        TMenuCollection items;
        addEntry(items, "B");
        addEntry(items, "A", 2);
        addEntry(items, "A1");
        const QString file = temp("count.dat");
        writeMenuFile(items, file);
        VrelMenuResult r = vrelmenu({"menu", file});
        QCOMPARE(r.Code, 1);
        QCOMPARE(r.Err, QByteArray("vrelmenu: List index out of bounds (3)\n"));
        QCOMPARE(shape(QJsonDocument::fromJson(r.Out).object()["items"].toArray()), "B*,A*(A1*)");
        r = vrelmenu({"menu", file, "--tree"});
        QCOMPARE(r.Code, 1);
        QCOMPARE(r.Err, QByteArray("vrelmenu: List index out of bounds (3)\n"));
        QCOMPARE(treeShape(QJsonDocument::fromJson(r.Out).array()), "B,A(A1)");
    }

    void tree_data()
    {
        QTest::addColumn<QStringList>("flags");
        QTest::addColumn<QString>("nodes");
        QTest::newRow("every entry") << QStringList{"--tree"} << "X(X1),Y";
        QTest::newRow("searchable only") << QStringList{"--tree", "--searchable"} << "Y";
    }
    void tree()
    {
        QFETCH(QStringList, flags);
        QFETCH(QString, nodes);
        TMenuCollection items;
        addEntry(items, " X ", 1).SetSearch(false);
        addEntry(items, "X1");
        addEntry(items, "Y");
        const QString file = temp("tree.dat");
        writeMenuFile(items, file);
        const VrelMenuResult r = vrelmenu(QStringList{"menu", file} + flags);
        QCOMPARE(r.Code, 0);
        QCOMPARE(treeShape(QJsonDocument::fromJson(r.Out).array()), nodes);
    }

    void menuUsageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("error");
        QTest::newRow("level too large") << QStringList{"menu", FPlain, "--level", "65536"}
                                         << QByteArray("vrelmenu: --level must be a whole number from 0 to "
                                                       "65535, not 65536\n");
        QTest::newRow("searchable without tree") << QStringList{"menu", FPlain, "--searchable"}
                                                 << QByteArray("vrelmenu: --searchable goes with --tree\n");
    }
    void menuUsageErrors()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, error);
        const VrelMenuResult r = vrelmenu(args);
        QCOMPARE(r.Code, 1);
        QVERIFY2(r.Err.startsWith(error), r.Err.constData());
        QCOMPARE(r.Out, QByteArray());
    }

    void statThroughTheMenuManager()
    {
        // The load registers every entry; the caption of blanks stops nothing.
        const VrelMenuResult r = vrelmenu({"stat", FPlain});
        QCOMPARE(r.Code, 0);
        QVERIFY2(r.Out.startsWith("entries: 7\ntop-level entries: 2\ngreatest depth: 2\n"), r.Out.constData());
    }
};

QTEST_GUILESS_MAIN(TestVrelMenuRuntime)
#include "tst_vrelmenu_runtime.moc"
