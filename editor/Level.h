// The level calculator: a permission mask composed by ticking user groups by
// name, for the toolbar's Level field.
#pragma once

#include <QDialog>
#include <functional>

class QListWidget;
class QPushButton;
class QToolButton;

class TfrmLevel : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLevel(QWidget *parent = nullptr);

    // The mask the ticks compose; item i of the list stands for bit i. Names
    // beyond the sixteenth are shown but stand for no bit: the mask has only
    // sixteen, and ticking such a name changes nothing.
    quint16 Permition = 0;

    QListWidget *clPermition = nullptr;
    QToolButton *sbSelectAll = nullptr;   // 모두선택
    QToolButton *sbSelectNone = nullptr;  // 모두해제
    QPushButton *Button1 = nullptr;       // 확인
    QPushButton *Button2 = nullptr;       // 취소

    // Fills the list with the user-group names, all unticked.
    void FormCreate();
    // Takes the ticks into Permition.
    void DoCheck();
    void sbSelectAllClick();
    void sbSelectNoneClick();

private:
    void setAllChecked(bool checked);
};

// Runs the level calculator: the composed mask (0 to 65535) on OK, -1 on
// Cancel. The dialog is shown modally, unless `interact` is given: it then
// plays the user's part (tests) and the button it pressed decides.
int ShowLevel(QWidget *parent = nullptr, const std::function<void(TfrmLevel &)> &interact = {});
