#include "U1010.h"

#include "vrelModule.h"

#include <QFont>

// Texts are made at run time, never from literals in the library's own memory:
// a copy that outlives the form must not point into an unloaded library.

TVrel1010::TVrel1010()
{
    setObjectName(QString::fromUtf8("Vrel1010"));
    SetCaption(QString::fromUtf8("[1010] 신규고객 등록"));
    move(0, 0);
    resize(635, 337);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    QFont font;
    font.setFamilies({QString::fromUtf8("굴림체"), QString::fromUtf8("NanumGothicCoding")});
    font.setPixelSize(12);
    setFont(font);
    SetModuleName(QString::fromUtf8("tr1010.so"));
    ModuleInfo().SetAuthor(QString::fromUtf8("Vrel"));
    ModuleInfo().SetVersion(QString::fromUtf8("1.00.00"));
    SetScreenID(QString::fromUtf8("1010"));
}

VREL_SCREEN_MODULE(TVrel1010, "custreg", "1.0.0.0")
