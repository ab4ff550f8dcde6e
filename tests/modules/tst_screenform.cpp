#include "ModuleFixture.h"
#include "ScriptedPrompter.h"
#include "vrelIniFile.h"
#include "vrelStatusBar.h"

#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// Records every screen message that reaches a widget (the main window).
class TMessageRecorder : public QObject {
public:
    QList<int> Codes;
    QStringList Commands;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == TVrelMessage::MessageType()) {
            auto *message = static_cast<TVrelMessage *>(event);
            Codes.append(message->Code());
            if (message->Link())
                Commands.append(message->Link()->Command());
        }
        return false;
    }
};

// The screen form base on forms made in the test: position files, status
// messages, closing, the system menu entry, links and their routes.
class TestScreenForm : public QObject {
    Q_OBJECT

    std::unique_ptr<TModuleFixture> FFramework;
    std::unique_ptr<TMdiHost> FHost;
    std::unique_ptr<QTemporaryDir> FSaved;

    TVrelForm *newScreen(const QString &screenId, int group = -1)
    {
        auto *form = new TVrelForm;
        form->SetScreenID(screenId);
        form->SetGroup(group);
        form->resize(300, 200);
        return form;
    }
    QMdiSubWindow *asMdiChild(TVrelForm *form)
    {
        QMdiSubWindow *sub = FHost->Area->addSubWindow(form);
        form->show();
        return sub;
    }
    QString positionFile(const QString &screenId) const { return FSaved->filePath(screenId + ".sav"); }
    void writePosition(const QString &screenId, const QByteArray &text)
    {
        QFile file(positionFile(screenId));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

private slots:
    void init()
    {
        FFramework = std::make_unique<TModuleFixture>();
        FHost = std::make_unique<TMdiHost>();
        FSaved = std::make_unique<QTemporaryDir>();
        ModuleLoader->SetSavePath(FSaved->path() + u'/');
    }
    void cleanup()
    {
        FHost.reset();
        FFramework.reset();
        QVERIFY(TVrelForm::Forms().isEmpty());
    }

    void newFormDefaults()
    {
        TVrelForm form;
        QCOMPARE(form.Group(), -1);
        QCOMPARE(form.MaxInstance(), 0);
        QVERIFY(form.SavePosition());
        QVERIFY(form.Options().IsEmpty());
        QCOMPARE(form.ModuleInfo().Version(), u"1.0.0.0"_qs);
        QVERIFY(form.ModuleInfo().Author().isEmpty() && form.ModuleInfo().Description().isEmpty());
        QCOMPARE(form.LinkMenuItems().Count(), 0);
        QCOMPARE(form.LinkMenuItems().Owner(), &form);
        QCOMPARE(form.Params().Count(), 0);
        QCOMPARE(form.InitWidth(), 0);
        QCOMPARE(form.InitHeight(), 0);
        QCOMPARE(form.Monitor(), 0);
        form.SetParentCaption("x");
        QVERIFY(form.ParentCaption().isEmpty());
        QVERIFY(TVrelForm::Forms().contains(&form));
        TVrelForm other;
        QVERIFY(other.Handle() != form.Handle());
    }

    void loadScreenPosition_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: no file
        QTest::addColumn<int>("initWidth");
        QTest::addColumn<int>("initHeight");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("all keys") << QByteArray("[POSITION]\r\nLEFT=10\r\nTOP=20\r\nWIDTH=400\r\nHEIGHT=250\r\n")
                                  << 0 << 0 << QRect(10, 20, 400, 250);
        QTest::newRow("negative left and top") << QByteArray("[position]\nleft=-30\ntop=-4\nwidth=410\nheight=260\n")
                                               << 0 << 0 << QRect(0, 0, 410, 260);
        QTest::newRow("missing width keeps it") << QByteArray("[POSITION]\nLEFT=5\nTOP=6\nHEIGHT=270\n")
                                                << 0 << 0 << QRect(5, 6, -1, 270);
        QTest::newRow("not a number reads as default") << QByteArray("[POSITION]\nLEFT=x\nTOP=7\n")
                                                       << 0 << 0 << QRect(0, 7, -1, -1);
        QTest::newRow("no file, initial size") << QByteArray() << 500 << 320 << QRect(-1, -1, 500, 320);
        QTest::newRow("no file, one initial size") << QByteArray() << 800 << 0 << QRect(-1, -1, -1, -1);
    }
    void loadScreenPosition()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, initWidth);
        QFETCH(int, initHeight);
        QFETCH(QRect, expected);
        if (!file.isEmpty())
            writePosition("1000", file);
        TVrelForm *form = newScreen("1000");
        QMdiSubWindow *sub = asMdiChild(form);
        sub->setGeometry(33, 44, 333, 222);
        form->SetInitWidth(initWidth);
        form->SetInitHeight(initHeight);
        form->LoadScreenPosition();
        const QRect before(33, 44, 333, 222);
        QCOMPARE(sub->x(), expected.x() < 0 ? before.x() : expected.x());
        QCOMPARE(sub->y(), expected.y() < 0 ? before.y() : expected.y());
        QCOMPARE(sub->width(), expected.width() < 0 ? before.width() : expected.width());
        QCOMPARE(sub->height(), expected.height() < 0 ? before.height() : expected.height());
    }

    void maximizedFirstChildKeepsEverything()
    {
        writePosition("1000", "[POSITION]\nLEFT=10\nTOP=20\nWIDTH=400\nHEIGHT=250\n");
        asMdiChild(newScreen("2000"))->showMaximized();
        TVrelForm *form = newScreen("1000");
        form->SetInitWidth(500);
        form->SetInitHeight(300);
        QMdiSubWindow *sub = asMdiChild(form);
        const QRect before = sub->geometry();
        form->LoadScreenPosition();
        QCOMPARE(sub->geometry(), before);
    }

    void initControlsOnShow()
    {
        TVrelForm *form = newScreen("1000");
        form->SetInitWidth(800);
        form->show();
        QCOMPARE(form->width(), 800);
        QCOMPARE(form->height(), 200);
    }

    // Closing an MDI child frees form and sub-window, writes the position
    // file with the sub-window's bounds and gives back the module's window.
    void closingAnMdiChildSavesAndFrees()
    {
        QVERIFY(AcquireWindowUsage("trtest.so"));
        TVrelForm *form = newScreen("1000");
        form->SetModuleName("trtest.so");
        QPointer<TVrelForm> alive(form);
        QPointer<QMdiSubWindow> sub = asMdiChild(form);
        sub->setGeometry(12, 34, 456, 321);
        QVERIFY(sub->close());
        runDeferredDeletes();
        QVERIFY(!alive);
        QVERIFY(!sub);
        QCOMPARE(FHost->Area->subWindowList().size(), 0);
        QCOMPARE(WindowUsageList->Count(), 0);
        const TVrelIniFile ini(positionFile("1000"));
        QCOMPARE(ini.ReadInteger("POSITION", "LEFT", -1), 12);
        QCOMPARE(ini.ReadInteger("POSITION", "TOP", -1), 34);
        QCOMPARE(ini.ReadInteger("POSITION", "WIDTH", -1), 456);
        QCOMPARE(ini.ReadInteger("POSITION", "HEIGHT", -1), 321);
    }

    void closingFreesInEveryStyle_data()
    {
        QTest::addColumn<int>("style"); // 0 MDI child (closed from the form), 1 modeless, 2 modal
        QTest::newRow("mdi child") << 0;
        QTest::newRow("modeless") << 1;
        QTest::newRow("modal") << 2;
    }
    void closingFreesInEveryStyle()
    {
        QFETCH(int, style);
        TVrelForm *form = newScreen("1000");
        QPointer<TVrelForm> alive(form);
        int result = -5;
        if (style == 0) {
            QPointer<QMdiSubWindow> sub = asMdiChild(form);
            QVERIFY(form->close());
            runDeferredDeletes();
            QVERIFY(!sub);
        } else if (style == 1) {
            form->show();
            QVERIFY(form->close());
        } else {
            QTimer::singleShot(0, form, [form] { form->SetModalResult(mrOk); });
            result = form->ShowModal();
            QCOMPARE(result, int(mrOk));
        }
        runDeferredDeletes();
        QVERIFY(!alive);
        QVERIFY(QFileInfo::exists(positionFile("1000")));
    }

    void closeHandlerMayKeepTheForm()
    {
        TVrelForm *form = newScreen("1000");
        form->OnClose = [](QObject *, TCloseAction &action) { action = caHide; };
        form->show();
        QVERIFY(form->close());
        runDeferredDeletes();
        QVERIFY(TVrelForm::Forms().contains(form));
        QVERIFY(!form->isVisible());
    }

    void positionNotSaved_data()
    {
        QTest::addColumn<bool>("maximized");
        QTest::addColumn<bool>("savePosition");
        QTest::newRow("maximized") << true << true;
        QTest::newRow("SavePosition false") << false << false;
    }
    void positionNotSaved()
    {
        QFETCH(bool, maximized);
        QFETCH(bool, savePosition);
        const QByteArray old("[POSITION]\r\nLEFT=1\r\n");
        writePosition("1000", old);
        TVrelForm *form = newScreen("1000");
        form->SetSavePosition(savePosition);
        QMdiSubWindow *sub = asMdiChild(form);
        if (maximized)
            sub->showMaximized();
        delete form;
        QFile file(positionFile("1000"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), old);
    }

    // A save directory that does not exist: the destructor neither raises nor
    // stops; the module and its window are still given back.
    void unwritablePositionFileDoesNotStopDestruction()
    {
        ModuleLoader->SetSavePath(FSaved->filePath("missing/"));
        QVERIFY(AcquireWindowUsage("trtest.so"));
        TVrelForm *form = newScreen("1000");
        form->SetModuleName("trtest.so");
        QVERIFY_THROWS_EXCEPTION(EIniFileException, form->SaveScreenPosition());
        delete form;
        QCOMPARE(WindowUsageList->Count(), 0);
        QVERIFY(!QFileInfo::exists(FSaved->filePath("missing")));
    }

    void displayMessage_data()
    {
        QTest::addColumn<QString>("barName");
        QTest::addColumn<int>("panels");
        QTest::addColumn<bool>("shown");
        QTest::newRow("STATUSBAR") << "STATUSBAR" << 2 << true;
        QTest::newRow("other letter case") << "StatusBar" << 3 << true;
        QTest::newRow("StatusBar1") << "StatusBar1" << 2 << false;
        QTest::newRow("one panel") << "STATUSBAR" << 1 << false;
    }
    void displayMessage()
    {
        QFETCH(QString, barName);
        QFETCH(int, panels);
        QFETCH(bool, shown);
        TVrelForm *form = newScreen("1000");
        auto *bar = new TVrelStatusBar(form);
        bar->setObjectName(barName);
        for (int i = 0; i < panels; ++i)
            bar->AddPanel(120);
        form->DisplayMessage(u"조회 완료"_qs);
        if (!shown) {
            for (int i = 0; i < panels; ++i)
                QVERIFY(bar->PanelText(i).isEmpty());
            return;
        }
        QVERIFY(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d$").match(bar->PanelText(0)).hasMatch());
        QCOMPARE(bar->PanelText(1), u" 조회 완료"_qs);
        // Message 3024 carries a text to the same place.
        TVrelMessage message(u"다음"_qs);
        QCoreApplication::sendEvent(form, &message);
        QCOMPARE(bar->PanelText(1), u" 다음"_qs);
        form->HideStatusBar();
        QVERIFY(bar->isHidden());
    }

    void popUpMessageIsPostedAndShowsNothing()
    {
        ScriptedPrompter prompter;
        TVrelForm *form = newScreen("1000");
        TMessageRecorder recorder;
        form->installEventFilter(&recorder);
        form->PopUpMessage(17, "ignored");
        QVERIFY(recorder.Codes.isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(recorder.Codes, QList<int>{TVrelMessage::cmPopUpMessage});
        QVERIFY(prompter.Messages.isEmpty());
    }

    void sysMenuEntryOnlyWithTheOption_data()
    {
        QTest::addColumn<bool>("option");
        QTest::newRow("xoSysMenu") << true;
        QTest::newRow("no options") << false;
    }
    void sysMenuEntryOnlyWithTheOption()
    {
        QFETCH(bool, option);
        TVrelForm *form = newScreen("1000");
        if (option)
            form->SetOptions({xoSysMenu});
        form->Loaded();
        QMdiSubWindow *sub = asMdiChild(form);
        QAction *found = nullptr;
        for (QAction *action : sub->systemMenu()->actions())
            if (action->text() == u"그룹 0"_qs)
                found = action;
        QCOMPARE(found != nullptr, option);
        if (found)
            QCOMPARE(found->data().toInt(), 8034);
    }

    void controlsAndFocus()
    {
        TVrelForm *form = newScreen("1000");
        auto *panel = new QWidget(form);
        auto *inner = new QLineEdit(panel);
        inner->setObjectName("eInner");
        auto *edit = new QLineEdit(form);
        edit->setObjectName("eName");
        form->show();
        form->activateWindow();
        form->DisableControls();
        QVERIFY(!panel->isEnabled() && !edit->isEnabled());
        QVERIFY(inner->isEnabledTo(panel)); // its own state is kept
        form->EnableControls();
        QVERIFY(panel->isEnabled() && edit->isEnabled() && inner->isEnabled());
        form->FocusControl("ENAME");
        QTRY_COMPARE(form->focusWidget(), edit);
        form->FocusControl("nothing"); // no such control: nothing happens
        QCOMPARE(form->focusWidget(), edit);
    }

    void findRoot()
    {
        TVrelForm *outer = newScreen("1000");
        auto *frame = new QWidget(outer);
        auto *inner = new TVrelForm(frame);
        QCOMPARE(inner->FindRoot(), outer);
        QCOMPARE(outer->FindRoot(), outer);
        TVrelForm *child = newScreen("1010");
        asMdiChild(child);
        QCOMPARE(child->FindRoot(), child);
    }

    void printerSetupRunsTheDialogWithTheFormAsParent()
    {
        QWidget *parent = nullptr;
        const TPrinterSetupRunner previous = SetPrinterSetupRunner([&](QWidget *p) { parent = p; });
        TVrelForm *form = newScreen("1000");
        form->PrinterSetup();
        SetPrinterSetupRunner(previous);
        QCOMPARE(parent, form);
    }

    void mainWindowMessages()
    {
        TMessageRecorder recorder;
        FHost->Window.installEventFilter(&recorder);
        TVrelForm *form = newScreen("1000");
        form->ExecuteLinkMenu(form);
        form->ExecuteSetup(form);
        QCOMPARE(recorder.Codes, (QList<int>{0, 0}));
        form->SendLink("toMain", "", "", "", -1, stMain);
        QCOMPARE(recorder.Commands, QStringList{"toMain"});
    }

    // Routes, group and sender filters; OnLinkSend after every receiver.
    void linkRoutes_data()
    {
        QTest::addColumn<QString>("sender");   // object name of the sending form
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("receiver"); // ReceiverID
        QTest::addColumn<int>("group");
        QTest::addColumn<QStringList>("reached");
        // Forms: A (1000), B (1000, group 5), C (1010), D (9000, inside A).
        QTest::newRow("application, not the sender") << "A" << int(stApplication) << "" << -1
                                                     << QStringList{"B", "C", "D"};
        QTest::newRow("group 5 only") << "C" << int(stApplication) << "" << 5 << QStringList{"B"};
        QTest::newRow("group 7 reaches nobody") << "C" << int(stApplication) << "" << 7 << QStringList{};
        QTest::newRow("window 1000") << "C" << int(stWindow) << "1000" << -1 << QStringList{"A", "B"};
        QTest::newRow("window 1000 excludes sender") << "A" << int(stWindow) << "1000" << -1 << QStringList{"B"};
        QTest::newRow("window code with blank") << "C" << int(stWindow) << " 1000" << -1 << QStringList{};
        QTest::newRow("container of inner form") << "D" << int(stContainer) << "" << -1 << QStringList{"A"};
        QTest::newRow("container of top-level is itself") << "A" << int(stContainer) << "" << -1 << QStringList{};
    }
    void linkRoutes()
    {
        QFETCH(QString, sender);
        QFETCH(int, target);
        QFETCH(QString, receiver);
        QFETCH(int, group);
        QFETCH(QStringList, reached);
        QStringList log;
        TVrelForm *a = newScreen("1000");
        TVrelForm *b = newScreen("1000", 5);
        TVrelForm *c = newScreen("1010");
        TVrelForm *d = new TVrelForm(new QWidget(a));
        d->SetScreenID("9000");
        const QList<TVrelForm *> forms{a, b, c, d};
        const QStringList names{"A", "B", "C", "D"};
        TVrelForm *from = nullptr;
        for (int i = 0; i < forms.size(); ++i) {
            forms[i]->setObjectName(names[i]);
            forms[i]->SetOnLinkReceive([&log, name = names[i]](QObject *, TVrelLink &link) {
                QCOMPARE(link.Values("Key"), u"값"_qs);
                log.append(name);
            });
            if (names[i] == sender)
                from = forms[i];
        }
        int sent = 0;
        from->SetOnLinkSend([&](QObject *s, TVrelLink &link) {
            QCOMPARE(s, from);
            QCOMPARE(link.Command(), u"Refresh"_qs);
            ++sent;
            log.append("sent");
        });
        from->SendLink("Refresh", "Key", u"값"_qs, receiver, group, TLinkTarget(target));
        reached.append("sent");
        QCOMPARE(log, reached);
        QCOMPARE(sent, 1);
    }

    void callersLinkReachesTheSenderToo()
    {
        TVrelForm *a = newScreen("1000");
        int received = 0;
        a->SetOnLinkReceive([&](QObject *, TVrelLink &) { ++received; });
        TVrelLink link;
        a->SendLink(link);
        QCOMPARE(received, 1);
        link.SetSenderHandle(a->Handle());
        a->SendLink(link);
        QCOMPARE(received, 1);
    }

    // A receiver may send links itself; they arrive before its handler returns.
    void receiverSendsOnwards()
    {
        TVrelForm *a = newScreen("1000");
        TVrelForm *b = newScreen("1010");
        QStringList log;
        b->SetOnLinkReceive([&](QObject *, TVrelLink &link) {
            log.append("b:" + link.Command());
            b->SendLink("Reply", "", "", "1000", -1, stWindow);
            log.append("b done");
        });
        a->SetOnLinkReceive([&](QObject *, TVrelLink &link) { log.append("a:" + link.Command()); });
        a->SendLink("Ask", "", "", "1010", -1, stWindow);
        QCOMPARE(log, (QStringList{"b:Ask", "a:Reply", "b done"}));
    }
};

QTEST_MAIN(TestScreenForm)
#include "tst_screenform.moc"
