// The print preview window, driven headless through its controls and mouse
// events on the sheet: margins computed, typed, dragged, refused and reset,
// orientation and proportional sizing, printing from the window, and the
// Print graph command that shows and frees it.
#include "PrintTestSupport.h"

#include "QrvAxisMath.h"
#include "QrvChartPreview.h"
#include "QrvChartPreviewPage.h"
#include "QrvChartPrint.h"
#include "QrvErrors.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace qrv
{
namespace
{

void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// Presses at `from`, moves to `to` in `steps` moves and releases there.
void Drag(QWidget* w, QPoint from, QPoint to, int steps = 4)
{
    SendMouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton);
    for (int step = 1; step <= steps; ++step)
        SendMouse(w, QEvent::MouseMove, from + (to - from) * step / steps, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

TPaperMargins Edits(const TChartPreview& form)
{
    return {form.SELeftMa->value(), form.SETopMa->value(), form.SERightMa->value(), form.SEBotMa->value()};
}

class ChartPreviewTest : public test::ChartPrintFixture
{
protected:
    void SetUp() override
    {
        ChartPrintFixture::SetUp();
        form = std::make_unique<TChartPreview>(nullptr, printer.get());
        form->SetChart(&chart());
    }

    // Shown, so the sheet has its size.
    void Show()
    {
        form->FormShow();
        form->show();
        QApplication::processEvents();
    }
    TPaperMargins Margins() { return PrintSettingsOf(chart()).PaperMargins; }
    TChartPreviewPage& page() { return *form->Page(); }
    QPoint LeftLineMiddle()
    {
        const TChartRect r = page().PrintableRect();
        return {r.Left, (r.Top + r.Bottom) / 2};
    }

    std::unique_ptr<TChartPreview> form;
    std::vector<std::string> errors;
    // The window's errors, as its error display receives them.
    test::TErrorCatcher display{[this](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            errors.push_back(e.what());
        }
    }};
};

TEST_F(ChartPreviewTest, ShowingTurnsLandscapeAndComputesProportionalMargins)
{
    printer->SetOrientation(TPrinterOrientation::poPortrait);
    Show();
    EXPECT_EQ(form->windowTitle(), "Chart Print Preview");
    EXPECT_EQ(printer->Orientation(), TPrinterOrientation::poLandscape);
    EXPECT_TRUE(form->OrientationLandscape->isChecked());
    EXPECT_EQ(form->Printers->currentText(), TPrinter::PdfPrinterName());
    EXPECT_TRUE(form->CBProp->isChecked());
    const TPaperMargins expected = ProportionalMargins(chart(), *printer);
    EXPECT_EQ(expected.Left, 15);
    EXPECT_EQ(Margins(), expected);
    EXPECT_EQ(Edits(*form), expected);
    EXPECT_FALSE(form->BReset->isEnabled());
    const TChartRect sheet = page().SheetRect();
    EXPECT_GT(sheet.Width(), sheet.Height());
}

TEST_F(ChartPreviewTest, ProportionalOffKeepsMarginsOnRecomputes)
{
    Show();
    const TPaperMargins proportional = Margins();
    form->CBProp->click();
    EXPECT_FALSE(chart().PrintProportional());
    EXPECT_EQ(Margins(), proportional);
    EXPECT_FALSE(form->BReset->isEnabled());

    form->SELeftMa->setValue(5);
    EXPECT_EQ(Margins().Left, 5);
    form->CBProp->click();
    EXPECT_TRUE(chart().PrintProportional());
    EXPECT_EQ(Margins(), proportional);
    EXPECT_EQ(form->SavedMargins(), proportional);
    EXPECT_FALSE(form->BReset->isEnabled());
}

TEST_F(ChartPreviewTest, DraggingTheLeftLineSetsTheMarginAndReset)
{
    Show();
    const TPaperMargins before = Margins();
    const QPoint from = LeftLineMiddle();
    Drag(&page(), from, from + QPoint(40, 0));

    EXPECT_GT(Margins().Left, before.Left);
    EXPECT_EQ(Margins().Right, before.Right);
    EXPECT_EQ(form->SELeftMa->value(), Margins().Left);
    EXPECT_FALSE(form->CBProp->isChecked());
    EXPECT_FALSE(chart().PrintProportional());
    EXPECT_TRUE(form->BReset->isEnabled());
    EXPECT_EQ(page().DragZone(), TDragZone::None);

    form->BReset->click();
    EXPECT_EQ(Margins(), before);
    EXPECT_EQ(Edits(*form), before);
    EXPECT_FALSE(form->BReset->isEnabled());
}

TEST_F(ChartPreviewTest, MovingTheRectShiftsOppositeMarginsAndStopsAtThePaper)
{
    Show();
    chart().SetPrintProportional(false);
    const TPaperMargins before = Margins();
    const TChartRect r = page().PrintableRect();
    const QPoint middle((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    Drag(&page(), middle, middle + QPoint(20, 0));
    EXPECT_GT(Margins().Left, before.Left);
    EXPECT_LT(Margins().Right, before.Right);
    EXPECT_EQ(Margins().Top, before.Top);

    const TPaperMargins moved = Margins();
    const TChartRect paper = page().SheetRect();
    // In one jump far enough up that the rectangle would leave the paper:
    // refused.
    const TChartRect now = page().PrintableRect();
    const QPoint centre((now.Left + now.Right) / 2, (now.Top + now.Bottom) / 2);
    Drag(&page(), centre, QPoint(centre.x(), paper.Top + 1), 1);
    EXPECT_EQ(Margins(), moved);
    // Step by step it goes as far as the paper allows.
    Drag(&page(), centre, QPoint(centre.x(), paper.Top + 1), 40);
    EXPECT_LT(Margins().Top, 2);
}

TEST_F(ChartPreviewTest, MarginEntryReachingAHundredIsRefused)
{
    Show();
    form->SEBotMa->setValue(40);
    ASSERT_EQ(Margins().Bottom, 40);
    const int top = Margins().Top;
    form->SETopMa->setValue(60);
    EXPECT_EQ(form->SETopMa->value(), top) << "the entry reverts";
    EXPECT_EQ(Margins().Top, top);
    form->SETopMa->setValue(59);
    EXPECT_EQ(Margins().Top, 59);
    EXPECT_TRUE(form->BReset->isEnabled());
}

TEST_F(ChartPreviewTest, TypedMarginIsWhatGetsPrinted)
{
    Show();
    ASSERT_TRUE(chart().PrintProportional());
    form->SELeftMa->setValue(40);
    EXPECT_FALSE(form->CBProp->isChecked());
    EXPECT_FALSE(chart().PrintProportional());
    const TChartRect r = PrintRectFromMargins(chart(), *printer);
    EXPECT_EQ(r.Left, NearestInt(printer->PageWidth() * 0.4));
}

TEST_F(ChartPreviewTest, PortraitRecomputesForTheTallerSheet)
{
    Show();
    form->OrientationPortrait->click();
    EXPECT_EQ(printer->Orientation(), TPrinterOrientation::poPortrait);
    EXPECT_EQ(Margins(), ProportionalMargins(chart(), *printer));
    EXPECT_GT(Margins().Top, 15) << "a wide chart on a tall sheet";
    const TChartRect sheet = page().SheetRect();
    EXPECT_LT(sheet.Width(), sheet.Height());
}

TEST_F(ChartPreviewTest, DetailScrollBarSetsTheChartsDetail)
{
    Show();
    form->Resolution->setValue(-100);
    EXPECT_EQ(PrintSettingsOf(chart()).PrintDetail, -100);
    form->close();
    // A new window starts from the chart's settings.
    TChartPreview again(nullptr, printer.get());
    again.SetChart(&chart());
    again.FormShow();
    EXPECT_EQ(again.Resolution->value(), -100);
}

TEST_F(ChartPreviewTest, MarginLinesShowAndHide)
{
    Show();
    const TChartRect sheet = page().SheetRect();
    const TChartRect r = page().PrintableRect();
    // The part of the left line above the printable rectangle.
    const QRect column(r.Left - 1, sheet.Top + 1, 1, r.Top - sheet.Top - 2);
    const QColor silver(0xC0, 0xC0, 0xC0);
    EXPECT_GT(test::CountColor(page().Render(), column, silver), 0);
    form->ShowMargins->click();
    EXPECT_FALSE(page().ShowMarginLines);
    EXPECT_EQ(test::CountColor(page().Render(), column, silver), 0);
}

TEST_F(ChartPreviewTest, PrintButtonWritesTheChartPage)
{
    Show();
    form->BPrint->click();
    EXPECT_TRUE(errors.empty());
    const auto info = test::PdfInfo(OutputFile());
    EXPECT_EQ(info.value("Pages"), "1");
    EXPECT_EQ(info.value("Title"), "Chart1");
    EXPECT_GT(test::PdfPageSize(OutputFile()).width(), test::PdfPageSize(OutputFile()).height());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ChartPreviewTest, PrinterErrorsReachTheErrorDisplay)
{
    Show();
    const QString bad = dir.filePath("missing/chart.pdf");
    printer->SetOutputFileName(bad);
    form->BPrint->click();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(bad.toStdString()), std::string::npos) << errors[0];
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the hourglass is gone";
    EXPECT_FALSE(printer->Printing());
}

TEST_F(ChartPreviewTest, PrinterSetupChangesReachTheWindow)
{
    Show();
    TPrinterSetup setup;
    setup.PrinterIndex = printer->PrinterIndex();
    setup.OutputFileName = OutputFile();
    setup.Orientation = TPrinterOrientation::poPortrait;
    setup.PageSize = QPageSize(QPageSize::A5);
    dialogs.SetupAnswer = setup;
    form->BSetupPrinter->click();
    EXPECT_EQ(dialogs.SetupCalls, 1);
    EXPECT_TRUE(form->OrientationPortrait->isChecked());
    EXPECT_EQ(Margins(), ProportionalMargins(chart(), *printer));

    dialogs.SetupAnswer.reset();
    form->BSetupPrinter->click();
    EXPECT_TRUE(form->OrientationPortrait->isChecked()) << "a cancelled set-up changes nothing";
}

TEST_F(ChartPreviewTest, WindowWithoutAChartDoesNothingHarmful)
{
    TChartPreview empty(nullptr, printer.get());
    empty.FormShow();
    empty.show();
    QApplication::processEvents();
    empty.BPrint->click();
    EXPECT_FALSE(QFile::exists(OutputFile()));
    EXPECT_FALSE(empty.Page()->Render().isNull());
    EXPECT_TRUE(errors.empty());
}

// --- the Print graph command --------------------------------------------------

TEST_F(ChartPreviewTest, ShowChartPreviewShowsModallyAndFrees)
{
    QWidget owner;
    QPointer<TChartPreview> shown;
    {
        test::TModalAnswer exec([&](QDialog& dialog) {
            auto& f = dynamic_cast<TChartPreview&>(dialog);
            shown = &f;
            EXPECT_EQ(f.Chart(), &chart());
            EXPECT_EQ(f.parentWidget(), &owner);
            EXPECT_FALSE(f.SETopMa->value() == 0 && f.SEBotMa->value() == 0) << "filled before showing";
            f.BCloseClick();
            return 0;
        });
        ShowChartPreview(&owner, chart());
    }
    EXPECT_TRUE(shown.isNull()) << "freed";
    EXPECT_EQ(Printer().Orientation(), TPrinterOrientation::poLandscape);
}

TEST_F(ChartPreviewTest, ShowChartPreviewPassesErrorsOnAndFrees)
{
    // A job running on the program's printer makes switching to landscape
    // fail.
    TPrinter& shared = Printer();
    shared.SetPrinterIndex(static_cast<int>(shared.Printers().size()) - 1);
    shared.SetOutputFileName(dir.filePath("busy.pdf"));
    shared.BeginDoc();
    QWidget owner;
    bool executed = false;
    test::TModalAnswer exec([&](QDialog&) {
        executed = true;
        return 0;
    });
    EXPECT_THROW(ShowChartPreview(&owner, chart()), Exception);
    shared.Abort();
    shared.SetOutputFileName(QString());
    EXPECT_FALSE(executed);
    EXPECT_TRUE(owner.findChildren<TChartPreview*>().isEmpty());
    EXPECT_FALSE(chart().Printing());
}

} // namespace
} // namespace qrv
