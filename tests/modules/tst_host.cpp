#include "HostWindow.h"
#include "ModuleFixture.h"
#include "ScriptedPrompter.h"

#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>

// The whole way in the host: a menu file, the menu bar built from it, a click
// on a command item, the screen module opened by its code.
class TestHost : public QObject {
    Q_OBJECT

    std::unique_ptr<TModuleFixture> FFramework;
    std::unique_ptr<THostWindow> FWindow;
    std::unique_ptr<QTemporaryDir> FDir;
    ScriptedPrompter FNoDialogs;

    static QString sample() { return QStringLiteral(VREL_TEST_DATA "/../../examples/sample.dat"); }

    // The sample with every entry's screen style set to `style`.
    QString sampleWithStyle(int style)
    {
        TMenuCollection menu;
        menu.SetSaveMode(smText);
        if (!menu.LoadFromFile(sample()))
            return QString();
        for (qsizetype i = 0; i < menu.Count(); ++i)
            menu.Items(i)->SetScreenStyle(style);
        const QString path = FDir->filePath("styled.dat");
        menu.SaveToFile(path);
        return path;
    }

    // The built menu item of screen `code`.
    QAction *menuItem(const QString &code)
    {
        for (auto *item : FWindow->menuBar()->findChildren<TMenuItemAccess *>())
            if (item->Command() == code)
                return item;
        return nullptr;
    }
    QList<QMdiSubWindow *> children() const { return FWindow->MdiArea()->subWindowList(); }

private slots:
    void init()
    {
        FFramework = std::make_unique<TModuleFixture>();
        FDir = std::make_unique<QTemporaryDir>();
        ModuleLoader->SetSavePath(FDir->path() + u'/');
        FWindow = std::make_unique<THostWindow>();
        FWindow->show();
    }
    void cleanup()
    {
        FWindow.reset();
        FFramework.reset();
        QVERIFY(FNoDialogs.Messages.isEmpty());
        QVERIFY(FNoDialogs.Errors.isEmpty());
    }

    void menuBarFromTheSample()
    {
        QVERIFY(FWindow->OpenMenu(sample(), 65535, false));
        QStringList titles;
        for (QAction *action : FWindow->menuBar()->actions())
            titles.append(action->text());
        QCOMPARE(titles, (QStringList{u"고객관리"_qs, u"창"_qs}));
        QVERIFY(menuItem("1000") && menuItem("1010"));
        QVERIFY(FWindow->windowTitle().endsWith("sample.dat"));
    }

    // The sample's screens are ordinary forms (screen style 1).
    void sampleOpensModelessScreens()
    {
        QVERIFY(FWindow->OpenMenu(sample(), 65535, false));
        menuItem("1000")->trigger();
        menuItem("1010")->trigger();
        QCOMPARE(TVrelForm::Forms().size(), 2);
        for (TVrelForm *form : TVrelForm::Forms())
            QVERIFY(form->isWindow() && form->isVisible());
        menuItem("1000")->trigger();
        QCOMPARE(TVrelForm::Forms().size(), 2);
    }

    // As MDI children: open, open again (brought to front), close (position
    // file written), open again (position restored).
    void wholeWayAsMdiChildren()
    {
        QVERIFY(FWindow->OpenMenu(sampleWithStyle(0), 65535, false));
        menuItem("1000")->trigger();
        QCOMPARE(children().size(), 1);
        QMdiSubWindow *list = children().first();
        QCOMPARE(list->widget()->windowTitle(), u"[1000] 고객리스트"_qs);
        menuItem("1010")->trigger();
        QCOMPARE(children().size(), 2);
        QVERIFY(FWindow->MdiArea()->activeSubWindow() != list);

        menuItem("1000")->trigger();
        QCOMPARE(children().size(), 2);
        QCOMPARE(FWindow->MdiArea()->activeSubWindow(), list);

        list->setGeometry(50, 60, 500, 300);
        list->close();
        runDeferredDeletes();
        QCOMPARE(children().size(), 1);
        QVERIFY(QFileInfo::exists(FDir->filePath("1000.sav")));

        menuItem("1000")->trigger();
        QCOMPARE(children().size(), 2);
        QMdiSubWindow *again = FWindow->MdiArea()->activeSubWindow();
        QCOMPARE(again->widget()->windowTitle(), u"[1000] 고객리스트"_qs);
        QCOMPARE(again->geometry(), QRect(50, 60, 500, 300));
    }

    // Level 0 grants nothing: the entries are disabled, or left out with --hide.
    void levelWithoutGrant_data()
    {
        QTest::addColumn<bool>("hide");
        QTest::newRow("disabled") << false;
        QTest::newRow("hidden") << true;
    }
    void levelWithoutGrant()
    {
        QFETCH(bool, hide);
        QVERIFY(FWindow->OpenMenu(sample(), 0, hide));
        QAction *customers = nullptr;
        for (QAction *action : FWindow->menuBar()->actions())
            if (action->text() == u"고객관리"_qs)
                customers = action;
        if (hide)
            QVERIFY(!customers);
        else
            QVERIFY(customers && !customers->isEnabled());
    }
};

QTEST_MAIN(TestHost)
#include "tst_host.moc"
