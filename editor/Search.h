// The search dialog: the kind of search (by TR code or by caption) and the
// text to look for, and the matching rule the main window's Find and Find next
// apply to each entry.
#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;
class QRadioButton;
class TMenuCollectionItem;

// Kinds of search, as FindMethod holds them.
constexpr qint32 kFindByTRCode = 1;
constexpr qint32 kFindByCaption = 2;

class TfrmSearch : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSearch(QWidget *parent = nullptr);

    QRadioButton *cbTRCode = nullptr;   // TR 코드로 검색
    QRadioButton *cbCaption = nullptr;  // 메뉴명으로 검색
    QLineEdit *eSearch = nullptr;
    QPushButton *Button1 = nullptr;     // 확인
    QPushButton *Button2 = nullptr;     // 취소
};

// Runs the search dialog with `method` and `name` as its starting choice and
// text. However it closes, `method` becomes 1 when "TR 코드로 검색" is ticked
// and 2 otherwise, and `name` the text typed; true when closed with OK. The
// dialog is shown modally, unless `interact` is given: it then plays the
// user's part (tests) and the button it pressed decides.
bool ShowSearch(qint32 &method, QString &name, QWidget *parent = nullptr,
                const std::function<void(TfrmSearch &)> &interact = {});

// True when the entry matches the search: by TR code the whole Command equals
// `name` exactly; by caption `name` occurs in the Caption, letter case
// significant, and an empty name matches nothing; any other method matches nothing.
bool MatchesSearch(const TMenuCollectionItem &entry, qint32 method, const QString &name);
