// The one seam through which the library and its programs talk to the user in
// boxes: messages, questions, input boxes and file dialogs. Programs use the
// default, which shows Qt's dialogs (or writes to standard error when there is
// no graphical application); tests and the command-line tool install their own
// so that nothing ever blocks on a dialog.
#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

class TVrelPrompter {
public:
    virtual ~TVrelPrompter() = default;

    // A plain message box with one OK button ("메뉴 파일이 없습니다", ...).
    virtual void ShowMessage(const QString &text) = 0;
    // The standard error box for an error that ended a command.
    virtual void ShowError(const QString &text) = 0;
    // A question; returns the button the user chose.
    virtual QMessageBox::StandardButton Ask(const QString &caption, const QString &text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton) = 0;
    // An input box; false when cancelled, `value` holds the text on OK.
    virtual bool InputQuery(const QString &caption, const QString &prompt, QString &value) = 0;
    // File dialogs; an empty text when cancelled. `filter` is in Qt's form
    // ("메뉴 파일(*.dat)"), `defaultSuffix` without the point.
    virtual QString OpenFileName(const QString &filter, const QString &defaultSuffix) = 0;
    virtual QString SaveFileName(const QString &filter, const QString &defaultSuffix) = 0;
};

// The prompter in use. Never null: the standard one unless another is installed.
TVrelPrompter &Prompter();

// Installs `prompter` (not owned) and returns the one it replaces; null
// restores the standard prompter.
TVrelPrompter *SetPrompter(TVrelPrompter *prompter);

// Installs a prompter for the lifetime of the guard and restores the previous one.
class TVrelPrompterScope {
public:
    explicit TVrelPrompterScope(TVrelPrompter *prompter) : FPrevious(SetPrompter(prompter)) {}
    ~TVrelPrompterScope() { SetPrompter(FPrevious); }
    TVrelPrompterScope(const TVrelPrompterScope &) = delete;
    TVrelPrompterScope &operator=(const TVrelPrompterScope &) = delete;

private:
    TVrelPrompter *FPrevious;
};
