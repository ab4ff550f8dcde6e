#include "Config.h"

#include "Global.h"
#include "HangulEdit.h"
#include "vrelHash.h"
#include "vrelIniFile.h"
#include "vrelPrompt.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TfrmConfig::TfrmConfig(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("환경설정"));
    setFont(EditorFont());
    setFixedSize(587, 349);

    PageControl1 = new QTabWidget(this);
    auto *userGroups = new QWidget;
    auto *grid = new QGridLayout(userGroups);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    for (int n = 1; n <= 16; ++n) {
        QCheckBox *box = new QCheckBox(userGroups);
        box->setObjectName(QStringLiteral("C%1").arg(n));
        box->setProperty("tag", n - 1);
        QLineEdit *name = new THangulEdit(userGroups);
        name->setObjectName(QStringLiteral("N%1").arg(n));
        const int row = (n - 1) % 8;
        const int column = (n - 1) / 8 * 3; // a gap column between the two halves
        grid->addWidget(box, row, column, Qt::AlignLeft | Qt::AlignVCenter);
        grid->addWidget(name, row, column + 1);
        C[n - 1] = box;
        N[n - 1] = name;
        connect(box, &QCheckBox::clicked, this, [this, box] { ChangeDefault(box); });
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);
    grid->setColumnMinimumWidth(2, 24);
    grid->setRowStretch(8, 1);
    PageControl1->addTab(userGroups, QStringLiteral("사용자그룹"));
    PageControl1->addTab(new QWidget, QStringLiteral("메뉴그룹"));

    Button1 = new QPushButton(QStringLiteral("확인"), this);
    Button2 = new QPushButton(QStringLiteral("취소"), this);
    Button1->setDefault(true);
    // A file that cannot be written is reported; the dialog still closes,
    // because the new values are already in use for the rest of the run.
    connect(Button1, &QPushButton::clicked, this, [this] {
        ApplyConfig();
        accept();
    });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);

    FormCreate();
}

void TfrmConfig::FormCreate()
{
    Level = quint16(DefaultPermission & 0xFFFF);
    for (int n = 1; n <= 16; ++n) {
        C[n - 1]->setChecked(TestBit(Level, n - 1));
        N[n - 1]->setText(n - 1 < UserGroupNames.size() ? UserGroupNames.at(n - 1) : QString());
    }
}

void TfrmConfig::ChangeDefault(QCheckBox *box)
{
    const int tag = box->property("tag").toInt();
    if (box->isChecked())
        SetBit(Level, tag);
    else
        ClearBit(Level, tag);
}

bool TfrmConfig::ApplyConfig()
{
    DefaultPermission = Level;
    UserGroupNames.clear();
    for (QLineEdit *name : N)
        UserGroupNames.append(name->text());
    try {
        SaveSettings();
    } catch (const EVrelError &e) {
        Prompter().ShowError(e.Message());
        return false;
    }
    return true;
}

void ShowConfig(QWidget *parent)
{
    TfrmConfig dialog(parent);
    dialog.exec();
}
