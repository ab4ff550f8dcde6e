#include "vrelStatusBar.h"

#include "vrelErrors.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TVrelStatusBar::TVrelStatusBar(QWidget *parent) : QWidget(parent), FLayout(new QHBoxLayout(this))
{
    FLayout->setContentsMargins(0, 1, 0, 0);
    FLayout->setSpacing(2);
    setFixedHeight(19);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TVrelStatusBar::DockBottom()
{
    QWidget *owner = parentWidget();
    if (!owner || owner->layout())
        return;
    auto *layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addStretch(1);
    layout->addWidget(this);
}

void TVrelStatusBar::AddPanel(int width)
{
    auto *label = new QLabel(this);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMargin(0);
    label->setIndent(2);
    label->setMinimumWidth(width);
    // The last panel stretches to the end of the bar; the others keep their width.
    if (!FPanels.isEmpty()) {
        QLabel *previous = FPanels.constLast();
        previous->setFixedWidth(previous->minimumWidth());
        FLayout->setStretchFactor(previous, 0);
    }
    FLayout->addWidget(label, 1);
    FPanels.append(label);
}

QLabel *TVrelStatusBar::panel(int index) const
{
    if (index < 0 || index >= FPanels.size())
        throw EListError::IndexOutOfBounds(index);
    return FPanels[index];
}

int TVrelStatusBar::PanelWidth(int index) const
{
    return panel(index)->minimumWidth();
}

QString TVrelStatusBar::PanelText(int index) const
{
    return panel(index)->text();
}

void TVrelStatusBar::SetPanelText(int index, const QString &text)
{
    panel(index)->setText(text);
}
