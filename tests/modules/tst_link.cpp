#include "vrelForm.h"
#include "vrelLink.h"

#include <QtTest>

class TestLink : public QObject {
    Q_OBJECT

private slots:
    void newLinkHasItsDefaults()
    {
        TVrelLink link;
        QCOMPARE(link.Group(), -1);
        QCOMPARE(link.Target(), stApplication);
        QCOMPARE(link.SenderHandle(), quintptr(0));
        QCOMPARE(link.Count(), 0);
        QCOMPARE(link.Tag(), 0);
        QVERIFY(link.Command().isEmpty() && link.ReceiverID().isEmpty() && link.SenderID().isEmpty()
                && link.Module().isEmpty());
        QCOMPARE(int(stMain), 0);
        QCOMPARE(int(stWindow), 3);
    }

    // The parameter rule, applied step by step to one link.
    void parameterRule()
    {
        TVrelLink link;
        link.AddParams("CustNo", "1001");
        link.AddParams("Name", u"홍길동"_qs);
        QCOMPARE(link.Count(), 2);

        link.AddParams("CUSTNO", "2002"); // other letter case replaces
        QCOMPARE(link.Count(), 2);
        QCOMPARE(link.Strings(0), u"CUSTNO=2002"_qs);
        QCOMPARE(link.Values("custno"), u"2002"_qs);

        link.AddParams("name", ""); // empty value removes
        QCOMPARE(link.Count(), 1);
        QVERIFY(!link.HasParam("Name"));

        link.AddParams("Missing", ""); // empty value for an absent name: nothing
        QCOMPARE(link.Count(), 1);
    }

    void readsByNameAndPosition()
    {
        TVrelLink link;
        link.AddParams("A", "x=y");
        link.AddParams("B", "2");
        QCOMPARE(link.Names(0), u"A"_qs);
        QCOMPARE(link.ValueFromIndex(0), u"x=y"_qs);
        QCOMPARE(link.Values("a"), u"x=y"_qs);
        QCOMPARE(link.Names(1), u"B"_qs);
        QVERIFY(link.Values("C").isEmpty());
        QVERIFY_THROWS_EXCEPTION(EListError, link.Names(2));
    }

    void screenParams()
    {
        TVrelParams params;
        params.Add("Key", "1");
        params.Add("KEY", "2");
        QCOMPARE(params.Count(), 1);
        QCOMPARE(params.Values("key"), u"2"_qs);
        params.Add("Other", "3");
        params.Clear();
        QCOMPARE(params.Count(), 0);
    }

    void linkMenuItems()
    {
        QObject owner;
        TLinkMenuItems items(&owner);
        QCOMPARE(items.Owner(), &owner);
        TLinkMenuItem *item = items.Add();
        QCOMPARE(items.Count(), 1);
        QCOMPARE(item->Collection(), &items);
        QVERIFY(item->Enabled());
        QCOMPARE(item->ShortCut(), TShortCut(0));
        QVERIFY(item->Caption().isEmpty() && item->ScreenID().isEmpty());
        QCOMPARE(items.Items(0), item);
        QVERIFY_THROWS_EXCEPTION(EListError, items.Items(1));
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
