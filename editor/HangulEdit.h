// A text field for Korean text: it asks the input method for Hangul input
// (Korean as the preferred input language) whenever it has the focus.
#pragma once

#include <QLineEdit>
#include <QLocale>

class THangulEdit : public QLineEdit {
public:
    explicit THangulEdit(QWidget *parent = nullptr) : QLineEdit(parent)
    {
        setAttribute(Qt::WA_InputMethodEnabled);
        setLocale(QLocale(QLocale::Korean, QLocale::SouthKorea));
    }

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override
    {
        if (query == Qt::ImPreferredLanguage)
            return locale().name();
        return QLineEdit::inputMethodQuery(query);
    }
};
