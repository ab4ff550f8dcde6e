// The settings dialog: the names of the sixteen user groups and the default
// permission mask, written back to the settings file on OK.
#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

class TfrmConfig : public QDialog {
    Q_OBJECT
public:
    explicit TfrmConfig(QWidget *parent = nullptr);

    // Working copy of the default mask; bit n-1 follows box Cn.
    quint16 Level = 0;

    QTabWidget *PageControl1 = nullptr;
    std::array<QCheckBox *, 16> C{};
    std::array<QLineEdit *, 16> N{};
    QPushButton *Button1 = nullptr;   // 확인
    QPushButton *Button2 = nullptr;   // 취소

    // Fills the boxes and names from the settings values.
    void FormCreate();
    // A click on box `box`: sets or clears the bit its tag names.
    void ChangeDefault(QCheckBox *box);
    // The OK step: takes Level and the sixteen names into the settings values
    // and writes the settings file. False, with the error shown, when the file
    // could not be written; the new values are kept in memory all the same.
    bool ApplyConfig();
};

// Runs the settings dialog; OK stores and writes, Cancel changes nothing.
void ShowConfig(QWidget *parent = nullptr);
