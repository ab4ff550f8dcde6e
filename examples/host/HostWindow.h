// The main window of VrelHost: a menu bar built from a menu file, an MDI area
// for the screens, and a status bar for what the screens send to the main
// window. Menu clicks open screens through the module loader.
#pragma once

#include <QMainWindow>

class QMdiArea;
class TMenuCollectionItem;

class THostWindow : public QMainWindow {
    Q_OBJECT

public:
    // Uses the framework's process-wide menu manager and module loader, which
    // must exist for the lifetime of the window.
    THostWindow();
    ~THostWindow() override;

    QMdiArea *MdiArea() const { return FArea; }

    // Loads `fileName` through the menu manager with this permission level
    // and hide mode, and builds the menu bar from it. False when the file is
    // missing or unreadable (the user has been told).
    bool OpenMenu(const QString &fileName, quint16 level, bool hideMode);

    // Opens the screen of a menu entry: its code, its screen style, its caption.
    void OpenScreen(const TMenuCollectionItem &entry);

protected:
    bool event(QEvent *event) override;

private:
    QMdiArea *FArea;
};
