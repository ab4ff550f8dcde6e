// The entry property dialog: every property of one menu entry in one window,
// written back to the entry only when the user confirms with OK.
#pragma once

#include <QDialog>
#include <QKeySequenceEdit>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;
class TMenuCollectionItem;

// The hot-key field: holds one key combination; a new key replaces the old one.
class THotKeyEdit : public QKeySequenceEdit {
    Q_OBJECT
public:
    explicit THotKeyEdit(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

class TfrmEditMenuItem : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEditMenuItem(QWidget *parent = nullptr);

    // Fills the controls from the entry (the run-style handler does not run).
    void LoadFrom(const TMenuCollectionItem &item);
    // The OK button: refuses, with a message naming the field, a text the menu
    // file cannot hold and keeps the dialog open; otherwise closes it with OK.
    bool Confirm();
    // Writes the controls back into `item` (the entry the dialog was filled
    // from) in the fixed order, and reports the cascade choice. Properties
    // without a control, and lists the user left without a choice, keep the
    // entry's values.
    void WriteBack(TMenuCollectionItem &item, bool &cascade);

    // Event handlers.
    void FormCreate();
    void InitLevels();
    void cbRunStyleChange(int index);
    void eTRCodeExit();
    void sbSelectAllClick();
    void sbSelectNoneClick();
    // Recomputes Permition from the sixteen boxes; a click on one box changes
    // only the box, the mask follows here (at the latest on OK).
    void DoCheck();

    // A problem with the texts the user typed, naming the field; empty when
    // every text survives being stored in a menu file.
    QString CheckTexts() const;

    std::array<QCheckBox *, 17> ALevels{}; // [1..16]; [0] unused
    quint16 Permition = 0;

    QComboBox *cbGroup = nullptr;
    QComboBox *cbMenuStyle = nullptr;
    QComboBox *cbRunStyle = nullptr;
    QComboBox *cbScreenStyle = nullptr;
    QLineEdit *eCaption = nullptr;
    QLineEdit *eShort = nullptr;
    QLineEdit *eHint = nullptr;
    QComboBox *cbIcon = nullptr;
    QLineEdit *eTRCode = nullptr;
    QLineEdit *ePath = nullptr;
    QLineEdit *eModule = nullptr;
    QLineEdit *eFrame = nullptr;
    QLineEdit *eTabIndex = nullptr;
    THotKeyEdit *eShortCut = nullptr;
    QLineEdit *eGroupIndex = nullptr;
    QLineEdit *eTag = nullptr;
    QCheckBox *cbHidden = nullptr;
    QCheckBox *cbChecked = nullptr;
    QCheckBox *cbToogle = nullptr;
    QCheckBox *cbEnable = nullptr;
    QCheckBox *cbMulti = nullptr;
    QCheckBox *cbMini = nullptr;
    QCheckBox *cbTop = nullptr;
    QCheckBox *cbTab = nullptr;
    QCheckBox *cbSearch = nullptr;
    QCheckBox *cbHelp = nullptr;
    QCheckBox *cbSDI = nullptr;
    QCheckBox *cbLock = nullptr;
    QCheckBox *cbZoom = nullptr;
    QCheckBox *cbCache = nullptr;
    QCheckBox *cbUnLoad = nullptr;
    std::array<QCheckBox *, 16> cbLevel{}; // cbLevel01..cbLevel16
    QCheckBox *cbPermission = nullptr;
    QToolButton *sbSelectAll = nullptr;
    QToolButton *sbSelectNone = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    void setTabOrder();

    // Texts as filled, to tell which ones the user changed.
    struct Filled {
        QString Caption, ShortCaption, Hint, Command, Path, ModuleName, Parameters;
    } FFilled;
    bool FHotKeyEdited = false;
};

// Runs the dialog on `item`: true when the user confirmed with OK, the entry
// then holding the new values and `cascade` the state of "하위 메뉴의 권한도
// 동일하게 설정". On Cancel neither is touched. The dialog is shown modally,
// unless `interact` is given: it then plays the user's part (tests) and the
// buttons it pressed decide.
bool ShowEditMenuItem(TMenuCollectionItem &item, bool &cascade, QWidget *parent = nullptr,
                      const std::function<void(TfrmEditMenuItem &)> &interact = {});
