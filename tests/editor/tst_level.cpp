// The level calculator: user groups ticked by name compose the mask that the
// toolbar's Level field gives new top-level entries.
#include "EditorWindow.h"
#include "Global.h"
#include "Level.h"
#include "vrelFramework.h"

#include <QListWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

class TestLevel : public QObject {
    Q_OBJECT

    TVrelFramework FFramework;
    EditorWindowFixture F;
    QStringList FNames;

    // The calculator with `user` playing the user's part.
    void calculateWith(const std::function<void(TfrmLevel &)> &user)
    {
        F.Main->LevelCalculator = [user] { return ShowLevel(nullptr, user); };
    }

    static void tick(TfrmLevel &d, int row)
    {
        d.clPermition->item(row)->setCheckState(Qt::Checked);
    }

private slots:
    void initTestCase()
    {
        SetSettingsFileName(F.path(u"Brenvik.INI"_qs));
        LoadSettings();
        FNames = UserGroupNames;
    }
    void init()
    {
        UserGroupNames = FNames;
        F.start();
        F.open(u"A(A1),B"_qs);
    }
    void cleanup() { F.stop(); }

    void dialog()
    {
        UserGroupNames[0] = u"관리자"_qs;
        TfrmLevel d;
        QCOMPARE(d.windowTitle(), u"Level"_qs);
        QCOMPARE(d.size(), QSize(306, 212));
        QCOMPARE(d.clPermition->count(), 16);
        QCOMPARE(d.clPermition->item(0)->text(), u"관리자"_qs);
        QCOMPARE(d.clPermition->item(15)->text(), UserGroupNames[15]);
        QCOMPARE(d.sbSelectAll->text(), u"모두선택"_qs);
        QCOMPARE(d.sbSelectNone->text(), u"모두해제"_qs);
        QCOMPARE(d.Button1->text(), u"확인"_qs);
        QCOMPARE(d.Button2->text(), u"취소"_qs);
        QVERIFY(d.Button1->isDefault());
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        // Two columns: the ninth name stands beside the first.
        const QRect first = d.clPermition->visualItemRect(d.clPermition->item(0));
        QTRY_COMPARE(d.clPermition->visualItemRect(d.clPermition->item(8)).top(), first.top());
        const QRect ninth = d.clPermition->visualItemRect(d.clPermition->item(8));
        QVERIFY(ninth.left() > first.left());
        QCOMPARE(first.height(), 16);
    }

    void calculatorSetsTheLevelField_data()
    {
        QTest::addColumn<QList<int>>("ticked");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("level");
        QTest::newRow("groups 1 and 3") << QList<int>{0, 2} << u"Button1"_qs << u"5"_qs;
        QTest::newRow("select all") << QList<int>{} << u"sbSelectAll"_qs << u"65535"_qs;
        QTest::newRow("select none") << QList<int>{0, 1, 15} << u"sbSelectNone"_qs << u"0"_qs;
        QTest::newRow("last group") << QList<int>{15} << u"Button1"_qs << u"32768"_qs;
        QTest::newRow("cancel keeps the field") << QList<int>{0} << u"Button2"_qs << u"7"_qs;
    }
    void calculatorSetsTheLevelField()
    {
        QFETCH(QList<int>, ticked);
        QFETCH(QString, button);
        QFETCH(QString, level);
        F.Main->Level->setText(u"7"_qs);
        bool openedEmpty = false;
        calculateWith([&](TfrmLevel &d) {
            openedEmpty = true;
            for (int i = 0; i < d.clPermition->count(); ++i)
                openedEmpty = openedEmpty && d.clPermition->item(i)->checkState() == Qt::Unchecked;
            for (int row : ticked)
                tick(d, row);
            QTest::mouseClick(d.findChild<QAbstractButton *>(button), Qt::LeftButton);
            if (button.startsWith(u"sb"_qs))
                QTest::mouseClick(d.Button1, Qt::LeftButton);
        });
        QTest::mouseClick(F.Main->tbCalc, Qt::LeftButton);
        QVERIFY(openedEmpty); // whatever the field held
        QCOMPARE(F.Main->Level->text(), level);

        // The next top-level entry takes the mask into the saved file.
        F.select(u"B"_qs);
        F.Main->EditMenuItem = [](TMenuCollectionItem &item, bool &) {
            item.SetCaption(u"C"_qs);
            return true;
        };
        F.Main->actAdd->trigger();
        TMenuCollection saved;
        saved.SetSaveMode(smText);
        QVERIFY(saved.LoadFromFile(F.savedFile()));
        QCOMPARE(saved.Count(), 4);
        QCOMPARE(saved.Items(3)->Caption(), u"C"_qs);
        QCOMPARE(saved.Items(3)->Permission(), level.toInt());
    }

    void untickingClearsTheBit()
    {
        TfrmLevel d;
        tick(d, 0);
        tick(d, 4);
        QCOMPARE(d.Permition, quint16(17));
        d.clPermition->item(0)->setCheckState(Qt::Unchecked);
        QCOMPARE(d.Permition, quint16(16));
    }

    void namesBeyondTheSixteenthStandForNoBit()
    {
        for (int i = 17; i <= 20; ++i)
            UserGroupNames << u"Level %1"_qs.arg(i);
        TfrmLevel d;
        QCOMPARE(d.clPermition->count(), 20);
        tick(d, 17);
        QCOMPARE(d.Permition, quint16(0));
        QTest::mouseClick(d.sbSelectAll, Qt::LeftButton);
        QCOMPARE(d.Permition, quint16(65535));
        QCOMPARE(d.clPermition->item(19)->checkState(), Qt::Checked);
    }
};

QTEST_MAIN(TestLevel)
#include "tst_level.moc"
