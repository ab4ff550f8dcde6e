#include "vrelCodePage.h"
#include "vrelMenu.h"

#include <QtTest>

namespace {

// An item of another class, to be refused by TMenuCollectionItem::Assign.
class TOtherCollectionItem : public TXMLCollectionItem {
public:
    QByteArray ClassName() const override { return "TOtherCollectionItem"; }
    const TPropList &GetPropertyList() const override
    {
        static const TPropList list({});
        return list;
    }
};

// Records what a menu collection tells its owner.
class TRecordingOwner : public TMenuCollectionOwner {
public:
    void RegisterItem(TMenuCollectionItem &item) override
    {
        Events << QStringLiteral("+%1@%2").arg(item.Caption()).arg(item.Index());
        Registered << &item;
    }
    void UnregisterItem(TMenuCollectionItem &item) override
    {
        Events << QStringLiteral("-%1@%2").arg(item.Caption()).arg(item.Index());
    }
    QStringList Events;
    QList<TMenuCollectionItem *> Registered;
};

const QByteArray kNewEntryLine =
    "  <Menu><Buttons>[coShare,coSDI,coZoom,coLock,coHelp]</Buttons><Cache>False</Cache><Caption></Caption>"
    "<Checked>False</Checked><Command></Command><Count>0</Count><Enabled>True</Enabled><Group></Group>"
    "<GroupIndex>0</GroupIndex><Hidden>False</Hidden><Hint></Hint><HotKey></HotKey><ImageIndex>-1</ImageIndex>"
    "<MenuStyle>msNormal</MenuStyle><ModuleName></ModuleName><Options>[soMulti,soTab]</Options>"
    "<Parameters></Parameters><Path></Path><Permission>0</Permission><RunStyle>rsDLL</RunStyle>"
    "<ScreenStyle>1</ScreenStyle><Search>True</Search><ShortCaption></ShortCaption><TabIndex>0</TabIndex>"
    "<Tag>0</Tag><Toogle>False</Toogle><Top></Top><UnLoad>False</UnLoad><Visible>True</Visible></Menu>";

// Every stored property away from its default.
const QByteArray kChangedEntryLine =
    "  <Menu><Buttons>[coSDI,coHelp]</Buttons><Cache>True</Cache><Caption>[1000] 고객리스트</Caption>"
    "<Checked>True</Checked><Command>1000</Command><Count>3</Count><Enabled>False</Enabled><Group>영업</Group>"
    "<GroupIndex>2</GroupIndex><Hidden>True</Hidden><Hint>힌트</Hint><HotKey>Ctrl+F1</HotKey>"
    "<ImageIndex>4</ImageIndex><MenuStyle>msWindowsItem</MenuStyle><ModuleName>m1000</ModuleName>"
    "<Options>[soMini,soTop]</Options><Parameters>p=1</Parameters><Path>http://x/</Path>"
    "<Permission>65535</Permission><RunStyle>rsApplication</RunStyle><ScreenStyle>2</ScreenStyle>"
    "<Search>False</Search><ShortCaption>고객</ShortCaption><TabIndex>5</TabIndex><Tag>-6</Tag>"
    "<Toogle>True</Toogle><Top>고객관리</Top><UnLoad>True</UnLoad><Visible>False</Visible></Menu>";

QByteArray encoded(const QByteArray &utf8)
{
    return toCodePage(QString::fromUtf8(utf8));
}

} // namespace

class TestMenu : public QObject {
    Q_OBJECT
private slots:
    void newEntryHasTheDefaults()
    {
        TMenuCollection c;
        TMenuCollectionItem *item = TMenuCollectionItem::Create(c);
        QCOMPARE(c.Count(), 1);
        QCOMPARE(item->Index(), 0);
        QCOMPARE(item->Collection(), &c);
        QCOMPARE(item->Entity(), kNewEntryLine);
        QCOMPARE(item->Buttons().Mask(), quint8(31));
        QCOMPARE(item->Options().Mask(), quint8(9));
        QCOMPARE(item->NoAdd(), false);
        QCOMPARE(c.Add()->Entity(), kNewEntryLine);
    }

    void storedPropertiesInFileOrder()
    {
        QList<QByteArray> names;
        for (const TPropInfo &p : TMenuCollectionItem::PropertyList().Items())
            names << p.Name;
        QCOMPARE(names, (QList<QByteArray>{"Buttons", "Cache", "Caption", "Checked", "Command", "Count",
                                           "Enabled", "Group", "GroupIndex", "Hidden", "Hint", "HotKey",
                                           "ImageIndex", "MenuStyle", "ModuleName", "Options", "Parameters",
                                           "Path", "Permission", "RunStyle", "ScreenStyle", "Search",
                                           "ShortCaption", "TabIndex", "Tag", "Toogle", "Top", "UnLoad",
                                           "Visible"}));
        TMenuCollection c;
        QCOMPARE(c.DTDName(), QByteArray("Menu-list"));
        QCOMPARE(c.Add()->GetElementName(), QByteArray("Menu"));
    }

    void everyPropertyReadsBack()
    {
        TMenuCollection c;
        TMenuCollectionItem *item = c.Add();
        item->ParseXML(encoded(kChangedEntryLine));
        QCOMPARE(item->Entity(), encoded(kChangedEntryLine));
        QCOMPARE(item->Caption(), u"[1000] 고객리스트"_qs);
        QCOMPARE(item->Buttons(), (TCaptionButtons{coSDI, coHelp}));
        QCOMPARE(item->Options(), (TScreenOptions{soMini, soTop}));
        QCOMPARE(item->MenuStyle(), msWindowsItem);
        QCOMPARE(item->RunStyle(), rsApplication);
        QCOMPARE(item->Tag(), -6);
        QCOMPARE(item->Visible(), false);
    }

    void memberNames_data()
    {
        QTest::addColumn<QByteArray>("element");
        QTest::addColumn<QByteArray>("text");
        const char *menuStyles[] = {"msNormal", "msContainer", "msWindows", "msWindowsItem"};
        for (const char *m : menuStyles)
            QTest::addRow("MenuStyle %s", m) << QByteArray("MenuStyle") << QByteArray(m);
        const char *runStyles[] = {"rsNone", "rsCommand", "rsForm", "rsDLL",
                                   "rsMap", "rsURL", "rsExplorer", "rsApplication"};
        for (const char *m : runStyles)
            QTest::addRow("RunStyle %s", m) << QByteArray("RunStyle") << QByteArray(m);
        const char *options[] = {"soMulti", "soMini", "soTop", "soTab"};
        for (const char *m : options)
            QTest::addRow("Options %s", m) << QByteArray("Options") << "[" + QByteArray(m) + "]";
        const char *buttons[] = {"coShare", "coSDI", "coZoom", "coLock", "coHelp"};
        for (const char *m : buttons)
            QTest::addRow("Buttons %s", m) << QByteArray("Buttons") << "[" + QByteArray(m) + "]";
    }
    void memberNames()
    {
        QFETCH(QByteArray, element);
        QFETCH(QByteArray, text);
        TMenuCollection c;
        TMenuCollectionItem *item = c.Add();
        const QByteArray xml = "<" + element + ">" + text + "</" + element + ">";
        item->ParseXML(xml);
        QVERIFY2(item->Entity().contains(xml), item->Entity().constData());
    }

    void memberOrdinals()
    {
        QCOMPARE(int(msWindowsItem), 3);
        QCOMPARE(int(rsDLL), 3);
        QCOMPARE(int(rsApplication), 7);
        QCOMPARE(TScreenOptions{soTab}.Mask(), quint8(8));
        QCOMPARE(TCaptionButtons{coHelp}.Mask(), quint8(16));
        QCOMPARE(sizeof(TMenuStyle), size_t(1));
        QCOMPARE(sizeof(TCaptionButtons), size_t(1));
    }

    // Reading one element into an entry whose MenuStyle is msWindows and whose
    // other properties are at their defaults.
    void readingElements_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("expected");
        auto row = [](const char *tag, const QByteArray &line, const QByteArray &expected) {
            QTest::newRow(tag) << line << expected;
        };
        row("permission in lower case", "<permission>5</permission>", "<Permission>5</Permission>");
        row("permission not a number", "<Permission>abc</Permission>", "<Permission>0</Permission>");
        row("permission in hex", "<Permission>$FFFF</Permission>", "<Permission>65535</Permission>");
        row("unknown element", "<Foo>1</Foo>", "<Permission>0</Permission>");
        row("options one member", "<Options>[soTab]</Options>", "<Options>[soTab]</Options>");
        row("options empty", "<Options>[]</Options>", "<Options>[]</Options>");
        row("options unknown member", "<Options>[soTab,soNothing]</Options>", "<Options>[soMulti,soTab]</Options>");
        row("caption with less-than", "<Caption>A<B</Caption>", "<Caption>A<B</Caption>");
        row("caption with its own closing tag", "<Caption>A</Caption>B</Caption>", "<Caption>A</Caption>");
        row("menu style by name", "<MenuStyle>msContainer</MenuStyle>", "<MenuStyle>msContainer</MenuStyle>");
        row("menu style in other case", "<MenuStyle>MSNORMAL</MenuStyle>", "<MenuStyle>msNormal</MenuStyle>");
        row("menu style not a member", "<MenuStyle>msBogus</MenuStyle>", "<MenuStyle>msWindows</MenuStyle>");
        row("menu style empty", "<MenuStyle></MenuStyle>", "<MenuStyle>msWindows</MenuStyle>");
        row("menu style ordinal", "<MenuStyle>0</MenuStyle>", "<MenuStyle>msWindows</MenuStyle>");
        row("boolean not a name", "<Enabled>no</Enabled>", "<Enabled>True</Enabled>");
    }
    void readingElements()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, expected);
        TMenuCollection c;
        TMenuCollectionItem *item = c.Add();
        item->SetMenuStyle(msWindows);
        item->ParseXML(line);
        QVERIFY2(item->Entity().contains(expected), item->Entity().constData());
    }

    void name_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("name");
        QTest::newRow("screen entry") << u"[1000] 고객리스트"_qs << u"고객리스트"_qs;
        QTest::newRow("no bracket") << u"고객리스트"_qs << u"고객리스트"_qs;
        QTest::newRow("no bracket, blanks kept") << u" 고객 "_qs << u" 고객 "_qs;
        QTest::newRow("code only") << u"[1000]"_qs << QString();
        QTest::newRow("several brackets") << u"a]b]c"_qs << u"b]c"_qs;
        QTest::newRow("blanks and controls trimmed") << u"[1]\t 창 \r\n"_qs << u"창"_qs;
        QTest::newRow("inner blanks kept") << u"[1] 신규고객 등록"_qs << u"신규고객 등록"_qs;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("separator") << u"-"_qs << u"-"_qs;
    }
    void name()
    {
        QFETCH(QString, caption);
        QFETCH(QString, name);
        TMenuCollection c;
        TMenuCollectionItem *item = c.Add();
        item->SetCaption(caption);
        QCOMPARE(item->Name(), name);
    }

    void matchPermission_data()
    {
        QTest::addColumn<qint64>("level");
        QTest::addColumn<qint64>("permission");
        QTest::addColumn<bool>("match");
        QTest::newRow("entry for nobody") << qint64(65535) << qint64(0) << false;
        QTest::newRow("user without groups") << qint64(0) << qint64(65535) << false;
        QTest::newRow("one shared bit") << qint64(2) << qint64(3) << true;
        QTest::newRow("no shared bit") << qint64(1) << qint64(2) << false;
        QTest::newRow("group 16") << qint64(0x8000) << qint64(0xFFFF) << true;
        QTest::newRow("above bit 15 only") << qint64(65536) << qint64(65536) << false;
        QTest::newRow("high bits ignored") << qint64(0x10001) << qint64(0x30001) << true;
        QTest::newRow("negative level") << qint64(-1) << qint64(4) << true;
        QTest::newRow("negative, low bits clear") << qint64(-65536) << qint64(-65536) << false;
    }
    void matchPermission()
    {
        QFETCH(qint64, level);
        QFETCH(qint64, permission);
        QFETCH(bool, match);
        QCOMPARE(MatchPermission(level, permission), match);
    }

    void assignCopiesEverything()
    {
        TMenuCollection from, to;
        from.Add();
        TMenuCollectionItem *source = from.Add();
        source->ParseXML(encoded(kChangedEntryLine));
        source->SetNoAdd(true);
        to.Add();
        to.Add();
        TMenuCollectionItem *target = to.Add();
        target->Assign(*source);
        QCOMPARE(target->Entity(), source->Entity());
        QCOMPARE(target->NoAdd(), true);
        QCOMPARE(target->Count(), 3);
        QCOMPARE(target->Top(), u"고객관리"_qs);
        QCOMPARE(target->Index(), 2);
        QCOMPARE(target->Collection(), &to);
        QCOMPARE(source->Index(), 1);
        QCOMPARE(from.Count(), 2);
        QCOMPARE(to.Count(), 3);
    }

    void assignRefusesAnotherClass()
    {
        TMenuCollection c;
        TMenuCollectionItem *target = c.Add();
        target->SetCaption(u"kept"_qs);
        TOtherCollectionItem other;
        try {
            target->Assign(other);
            QFAIL("no error raised");
        } catch (const EConvertError &e) {
            QCOMPARE(e.Message(), u"Cannot assign a TOtherCollectionItem to a TMenuCollectionItem"_qs);
        }
        QCOMPARE(target->Caption(), u"kept"_qs);
    }

    void itemsOutsideTheList()
    {
        TMenuCollection c;
        c.Add();
        try {
            c.Items(1);
            QFAIL("no error raised");
        } catch (const EListError &e) {
            QCOMPARE(e.Message(), u"List index out of bounds (1)"_qs);
        }
    }

    void ownerIsToldOfReadAndRemovedEntries()
    {
        TRecordingOwner owner;
        TMenuCollection c(&owner);
        QCOMPARE(c.Owner(), &owner);
        c.Add()->SetCaption(u"made"_qs); // added, not read: not registered
        c.SetXML("h\r\nl\r\n<Caption>A</Caption>\r\n<Caption>B</Caption>\r\n<Caption>C</Caption>\r\ne");
        QCOMPARE(owner.Events, (QStringList{"-made@0", "+A@0", "+B@1", "+C@2"}));
        QCOMPARE(owner.Registered, (QList<TMenuCollectionItem *>{c.Items(0), c.Items(1), c.Items(2)}));
        owner.Events.clear();
        c.Delete(1);
        std::unique_ptr<TXMLCollectionItem> taken = c.Extract(0);
        QCOMPARE(owner.Events, (QStringList{"-B@1", "-A@0"}));
        owner.Events.clear();
        c.Clear();
        QCOMPARE(owner.Events, (QStringList{"-C@0"}));
    }

    void withoutOwnerNothingIsTold()
    {
        TMenuCollection c;
        QCOMPARE(c.Owner(), nullptr);
        c.SetXML("h\r\nl\r\n<Caption>A</Caption>\r\ne");
        QCOMPARE(c.Items(0)->Caption(), u"A"_qs);
        c.Delete(0);
        QCOMPARE(c.Count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestMenu)
#include "tst_menu.moc"
