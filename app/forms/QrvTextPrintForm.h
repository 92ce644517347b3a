// The print report window: shows a copy of the table text, lets the user
// edit it, set up the printer and print it. Edits stay in this window and
// reach only the printout; closing the window empties it.
#pragma once

#include "QrvPrinter.h"

#include <QDialog>

class QFrame;
class QPushButton;
class QTextEdit;

namespace qrv
{

class TTextPrintForm : public QDialog
{
    Q_OBJECT
public:
    explicit TTextPrintForm(QWidget* parent = nullptr, TPrinter& printer = Printer());

    // The Print report command: replaces the window's text with the table
    // text and shows the window modally; returns when it is closed.
    int ShowReport(const QString& tableText);
    // The first half of ShowReport, without showing the window.
    void Fill(const QString& tableText);

    // Printer set-up, for this and every later print job of the program.
    void Button3Click();
    // Prints the window's text as the job "Report".
    void Button1Click();
    // Closes the window.
    void Button2Click();

    QTextEdit* RichEdit1;
    QFrame* Panel1;
    QPushButton* Button3;
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    // Every way of closing ends here: the text is emptied so that nothing
    // stays behind until the next Print report command.
    void done(int result) override;
    void showEvent(QShowEvent* event) override;

private:
    TPrinter& printer_;
    bool placed_ = false;
};

// Convenience for the main window's handler: fills `form` and shows it.
inline int ShowTextPrintForm(TTextPrintForm& form, const QString& tableText)
{
    return form.ShowReport(tableText);
}

} // namespace qrv
