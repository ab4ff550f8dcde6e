// A status bar made of panels, each with a width and a text; the last panel
// takes the rest of the bar. Screens show their messages in it.
#pragma once

#include <QWidget>

class QLabel;
class QHBoxLayout;

class TVrelStatusBar : public QWidget {
    Q_OBJECT

public:
    explicit TVrelStatusBar(QWidget *parent = nullptr);

    // Docks the bar at the bottom of its parent: the parent gets a vertical
    // layout whose free space lies above the bar.
    void DockBottom();

    // Appends a panel `width` pixels wide.
    void AddPanel(int width);
    int PanelCount() const { return int(FPanels.size()); }
    int PanelWidth(int index) const;
    QString PanelText(int index) const;
    void SetPanelText(int index, const QString &text);

private:
    QLabel *panel(int index) const;

    QHBoxLayout *FLayout;
    QList<QLabel *> FPanels;
};
