#include "vrelPrompt.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <cstdio>

namespace {

bool haveWidgets()
{
    return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
}

QWidget *activeWindow()
{
    return QApplication::activeWindow();
}

void toStdErr(const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

// Qt's own dialogs, or standard error for programs without a window system.
class TStandardPrompter final : public TVrelPrompter {
public:
    void ShowMessage(const QString &text) override
    {
        if (!haveWidgets())
            return toStdErr(text);
        QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text,
                        QMessageBox::Ok, activeWindow());
        box.exec();
    }

    void ShowError(const QString &text) override
    {
        if (!haveWidgets())
            return toStdErr(text);
        QMessageBox::critical(activeWindow(), QCoreApplication::applicationName(), text);
    }

    QMessageBox::StandardButton Ask(const QString &caption, const QString &text,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton) override
    {
        if (!haveWidgets()) {
            toStdErr(text);
            return QMessageBox::Cancel;
        }
        return QMessageBox::question(activeWindow(), caption, text, buttons, defaultButton);
    }

    bool InputQuery(const QString &caption, const QString &prompt, QString &value) override
    {
        if (!haveWidgets())
            return false;
        bool ok = false;
        const QString text =
            QInputDialog::getText(activeWindow(), caption, prompt, QLineEdit::Normal, value, &ok);
        if (ok)
            value = text;
        return ok;
    }

    QString OpenFileName(const QString &filter, const QString &defaultSuffix) override
    {
        return runFileDialog(QFileDialog::AcceptOpen, filter, defaultSuffix);
    }

    QString SaveFileName(const QString &filter, const QString &defaultSuffix) override
    {
        return runFileDialog(QFileDialog::AcceptSave, filter, defaultSuffix);
    }

private:
    static QString runFileDialog(QFileDialog::AcceptMode mode, const QString &filter,
                                 const QString &defaultSuffix)
    {
        if (!haveWidgets())
            return {};
        QFileDialog dialog(activeWindow());
        dialog.setAcceptMode(mode);
        dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                           : QFileDialog::AnyFile);
        dialog.setNameFilter(filter);
        dialog.setDefaultSuffix(defaultSuffix);
        if (mode == QFileDialog::AcceptSave)
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }
};

TStandardPrompter gStandard;
TVrelPrompter *gCurrent = nullptr;

} // namespace

TVrelPrompter &Prompter()
{
    return gCurrent ? *gCurrent : gStandard;
}

TVrelPrompter *SetPrompter(TVrelPrompter *prompter)
{
    TVrelPrompter *previous = gCurrent;
    gCurrent = prompter;
    return previous;
}
