#include "Search.h"

#include "Global.h"
#include "vrelMenu.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

TfrmSearch::TfrmSearch(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSearch"));
    setWindowTitle(QStringLiteral("메뉴검색"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFont(EditorFont());
    setFixedSize(404, 138);

    auto *group = new QGroupBox(QStringLiteral("찾기"), this);
    group->setGeometry(8, 4, 388, 94);
    cbTRCode = new QRadioButton(QStringLiteral("TR 코드로 검색"), group);
    cbTRCode->setObjectName(QStringLiteral("cbTRCode"));
    cbTRCode->setGeometry(16, 20, 200, 18);
    cbCaption = new QRadioButton(QStringLiteral("메뉴명으로 검색"), group);
    cbCaption->setObjectName(QStringLiteral("cbCaption"));
    cbCaption->setGeometry(16, 42, 200, 18);
    eSearch = new QLineEdit(group);
    eSearch->setObjectName(QStringLiteral("eSearch"));
    eSearch->setGeometry(16, 64, 356, 21);

    Button1 = new QPushButton(QStringLiteral("확인"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(240, 106, 75, 25);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("취소"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(321, 106, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(cbTRCode, cbCaption);
    setTabOrder(cbCaption, eSearch);
    setTabOrder(eSearch, Button1);
    setTabOrder(Button1, Button2);
    eSearch->setFocus();
}

bool ShowSearch(qint32 &method, QString &name, QWidget *parent,
                const std::function<void(TfrmSearch &)> &interact)
{
    TfrmSearch dialog(parent);
    (method == kFindByTRCode ? dialog.cbTRCode : dialog.cbCaption)->setChecked(true);
    dialog.eSearch->setText(name);
    if (interact) {
        interact(dialog);
    } else {
        if (parent) // centred on the main window
            dialog.move(parent->geometry().center() - dialog.rect().center());
        dialog.exec();
    }
    method = dialog.cbTRCode->isChecked() ? kFindByTRCode : kFindByCaption;
    name = dialog.eSearch->text();
    return dialog.result() == QDialog::Accepted;
}

bool MatchesSearch(const TMenuCollectionItem &entry, qint32 method, const QString &name)
{
    switch (method) {
    case kFindByTRCode:
        return entry.Command() == name;
    case kFindByCaption:
        return !name.isEmpty() && entry.Caption().contains(name, Qt::CaseSensitive);
    default:
        return false;
    }
}
