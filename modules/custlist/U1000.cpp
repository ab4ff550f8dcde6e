#include "U1000.h"

#include "vrelModule.h"
#include "vrelStatusBar.h"

#include <QFont>

// Texts are made at run time, never from literals in the library's own memory:
// a copy that outlives the form must not point into an unloaded library.

TVrel1000::TVrel1000()
{
    setObjectName(QString::fromUtf8("Vrel1000"));
    SetCaption(QString::fromUtf8("[1000] 고객리스트"));
    move(0, 0);
    resize(741, 465);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    QFont font;
    font.setFamilies({QString::fromUtf8("굴림체"), QString::fromUtf8("NanumGothicCoding")});
    font.setPixelSize(12);
    setFont(font);
    SetModuleName(QString::fromUtf8("tr1000.so"));
    ModuleInfo().SetAuthor(QString::fromUtf8("Vrel"));
    ModuleInfo().SetVersion(QString::fromUtf8("1.00.00"));
    SetScreenID(QString::fromUtf8("1000"));

    StatusBar1 = new TVrelStatusBar(this);
    StatusBar1->setObjectName(QString::fromUtf8("StatusBar1"));
    StatusBar1->setGeometry(0, 446, 741, 19);
    StatusBar1->AddPanel(120);
    StatusBar1->AddPanel(50);
    StatusBar1->DockBottom();
}

VREL_SCREEN_MODULE(TVrel1000, "custlist", "1.0.0.0")
