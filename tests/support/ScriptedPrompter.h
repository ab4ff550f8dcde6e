// A prompter for tests: records every box the code under test shows and
// answers from queues that the test fills. An unexpected question fails loudly
// instead of blocking on a dialog.
#pragma once

#include "vrelPrompt.h"

#include <QQueue>
#include <QStringList>

class ScriptedPrompter final : public TVrelPrompter {
public:
    struct Question {
        QString Caption;
        QString Text;
        QMessageBox::StandardButtons Buttons;
    };

    ScriptedPrompter() : FScope(this) {}

    QStringList Messages;            // texts of ShowMessage, in order
    QStringList Errors;              // texts of ShowError, in order
    QList<Question> Questions;       // every Ask, in order
    QQueue<QMessageBox::StandardButton> Answers;
    QQueue<QString> Inputs;          // InputQuery: a null QString means Cancel
    QStringList InputCaptions;
    QQueue<QString> OpenNames;       // OpenFileName answers (empty = cancelled)
    QQueue<QString> SaveNames;       // SaveFileName answers (empty = cancelled)
    int OpenDialogs = 0;
    int SaveDialogs = 0;
    QString LastFilter;
    QString LastSuffix;

    void ShowMessage(const QString &text) override { Messages.append(text); }
    void ShowError(const QString &text) override { Errors.append(text); }

    QMessageBox::StandardButton Ask(const QString &caption, const QString &text,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton) override
    {
        Questions.append({caption, text, buttons});
        if (Answers.isEmpty()) {
            qWarning("ScriptedPrompter: unexpected question %s", qPrintable(text));
            return QMessageBox::Cancel;
        }
        return Answers.dequeue();
    }

    bool InputQuery(const QString &caption, const QString &prompt, QString &value) override
    {
        InputCaptions.append(caption + u'|' + prompt);
        if (Inputs.isEmpty())
            return false;
        const QString answer = Inputs.dequeue();
        if (answer.isNull())
            return false;
        value = answer;
        return true;
    }

    QString OpenFileName(const QString &filter, const QString &suffix) override
    {
        ++OpenDialogs;
        LastFilter = filter;
        LastSuffix = suffix;
        return OpenNames.isEmpty() ? QString() : OpenNames.dequeue();
    }

    QString SaveFileName(const QString &filter, const QString &suffix) override
    {
        ++SaveDialogs;
        LastFilter = filter;
        LastSuffix = suffix;
        return SaveNames.isEmpty() ? QString() : SaveNames.dequeue();
    }

private:
    TVrelPrompterScope FScope;
};
