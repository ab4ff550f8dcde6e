#include "Level.h"

#include "Global.h"
#include "vrelHash.h"

#include <QFrame>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

TfrmLevel::TfrmLevel(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLevel"));
    setWindowTitle(QStringLiteral("Level"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFont(EditorFont());
    setFixedSize(306, 212);

    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setGeometry(8, 8, 290, 162);

    clPermition = new QListWidget(frame);
    clPermition->setObjectName(QStringLiteral("clPermition"));
    QFont listFont(QStringLiteral("Tahoma"));
    listFont.setPixelSize(13);
    clPermition->setFont(listFont);
    // Two columns of 16-pixel rows, filled top to bottom.
    clPermition->setFlow(QListView::TopToBottom);
    clPermition->setWrapping(true);
    clPermition->setResizeMode(QListView::Adjust);
    clPermition->setUniformItemSizes(true);
    clPermition->setGridSize(QSize(134, 16));
    clPermition->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    clPermition->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    clPermition->setGeometry(8, 6, 274, 130 + 2 * clPermition->frameWidth());
    clPermition->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(clPermition, &QListWidget::itemChanged, this, [this] { DoCheck(); });

    auto flat = [frame](const char *name, const char *text, int x) {
        auto *b = new QToolButton(frame);
        b->setObjectName(QLatin1String(name));
        b->setText(QString::fromUtf8(text));
        b->setAutoRaise(true);
        b->setGeometry(x, 140, 64, 20);
        return b;
    };
    sbSelectAll = flat("sbSelectAll", "모두선택", 150);
    sbSelectNone = flat("sbSelectNone", "모두해제", 218);
    connect(sbSelectAll, &QToolButton::clicked, this, &TfrmLevel::sbSelectAllClick);
    connect(sbSelectNone, &QToolButton::clicked, this, &TfrmLevel::sbSelectNoneClick);

    Button1 = new QPushButton(QStringLiteral("확인"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(142, 180, 75, 25);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("취소"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(223, 180, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    FormCreate();
}

void TfrmLevel::FormCreate()
{
    const QSignalBlocker quiet(clPermition);
    clPermition->clear();
    for (const QString &name : UserGroupNames) {
        auto *item = new QListWidgetItem(name, clPermition);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
        item->setSizeHint(QSize(134, 16));
    }
}

void TfrmLevel::DoCheck()
{
    const int bits = qMin(clPermition->count(), kUserGroupCount);
    for (int i = 0; i < bits; ++i) {
        if (clPermition->item(i)->checkState() == Qt::Checked)
            SetBit(Permition, i);
        else
            ClearBit(Permition, i);
    }
}

void TfrmLevel::setAllChecked(bool checked)
{
    {
        const QSignalBlocker quiet(clPermition);
        for (int i = 0; i < clPermition->count(); ++i)
            clPermition->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
    DoCheck();
}

void TfrmLevel::sbSelectAllClick()
{
    setAllChecked(true);
}

void TfrmLevel::sbSelectNoneClick()
{
    setAllChecked(false);
}

int ShowLevel(QWidget *parent, const std::function<void(TfrmLevel &)> &interact)
{
    TfrmLevel dialog(parent);
    if (interact) {
        interact(dialog);
    } else {
        // Centred on the screen.
        dialog.move(dialog.screen()->availableGeometry().center() - dialog.rect().center());
        dialog.exec();
    }
    return dialog.result() == QDialog::Accepted ? int(dialog.Permition) : -1;
}
