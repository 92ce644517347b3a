#include "QrvTextPrintForm.h"

#include "QrvCommand.h"
#include "QrvPlatform.h"
#include "QrvPrinterDialogs.h"
#include "QrvReportPrint.h"
#include "QrvWaitCursor.h"
#include "QrvWindowPlacement.h"

#include <QFrame>
#include <QPushButton>
#include <QTextEdit>

namespace qrv
{

namespace
{

QFont WindowFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Sans Serif")});
    font.setPixelSize(11);
    return font;
}

} // namespace

TTextPrintForm::TTextPrintForm(QWidget* parent, TPrinter& printer) : QDialog(parent), printer_(printer)
{
    setObjectName(QStringLiteral("TextPrintForm"));
    setWindowTitle(QStringLiteral("Print report"));
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) & ~Qt::WindowContextHelpButtonHint);
    setFont(WindowFont());
    FixClientSize(this, 621, 474);

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setAcceptRichText(false);
    RichEdit1->setGeometry(0, 0, 516, 474);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(516, 0, 105, 474);

    auto makeButton = [this](const char* name, const QString& caption, int top) {
        auto* button = new QPushButton(caption, Panel1);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(8, top, 90, 25);
        button->setAutoDefault(false);
        return button;
    };
    Button3 = makeButton("Button3", QStringLiteral("Printer &Setup"), 8);
    Button1 = makeButton("Button1", QStringLiteral("&Print"), 38);
    Button2 = makeButton("Button2", QStringLiteral("&Close"), 68);
    setTabOrder(Button3, Button1);
    setTabOrder(Button1, Button2);

    connect(Button3, &QPushButton::clicked, this, [this] { RunCommand(this, [this] { Button3Click(); }); });
    connect(Button1, &QPushButton::clicked, this, [this] { RunCommand(this, [this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TTextPrintForm::Fill(const QString& tableText)
{
    RichEdit1->setPlainText(ReportTextFromTable(tableText));
}

int TTextPrintForm::ShowReport(const QString& tableText)
{
    Fill(tableText);
    return Platform().RunModal(*this);
}

void TTextPrintForm::Button3Click()
{
    ExecutePrinterSetup(this, printer_);
}

void TTextPrintForm::Button1Click()
{
    const TWaitCursor wait;
    PrintReportText(RichEdit1->toPlainText(), RichEdit1->font(), printer_);
}

void TTextPrintForm::Button2Click()
{
    close();
}

void TTextPrintForm::done(int result)
{
    RichEdit1->clear();
    QDialog::done(result);
}

void TTextPrintForm::showEvent(QShowEvent* event)
{
    CentreOnFirstShow(this, placed_);
    QDialog::showEvent(event);
}

} // namespace qrv
