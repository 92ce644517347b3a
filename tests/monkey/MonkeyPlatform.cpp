#include "MonkeyDetail.h"

#include "MonkeyFiles.h"
#include "MonkeyRandom.h"
#include "MonkeyTexts.h"

#include "QrvAngleMode.h"
#include "QrvAppTexts.h"
#include "QrvApplication.h"
#include "QrvChart.h"
#include "QrvErrorText.h"
#include "QrvHelperForm.h"
#include "QrvNumberText.h"
#include "QrvOptionDialog.h"
#include "QrvPlotProgress.h"
#include "QrvPlotProgressBar.h"
#include "QrvPlotRun.h"
#include "QrvPrinter.h"
#include "QrvSeries.h"
#include "QrvSettingValues.h"
#include "QrvSettingsFile.h"
#include "QrvTableView.h"
#include "QrvTestPlatform.h"
#include "QrvTextPrintForm.h"
#include "QrvViewSettings.h"
#include "m_grf_w.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include <csignal>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

namespace qrv::monkey
{

namespace
{

// Every dialog of the program, answered at random from the current event's
// generator; modal windows are shown and worked like the main window before
// the user leaves them.
class TMonkeyPlatform : public test::TPlatformDouble
{
public:
    explicit TMonkeyPlatform(TMonkeyRun::TDetail& detail) : d_(detail) {}

    TModalResult ShowMessage(const TMessageRequest& request) override
    {
        TRandom& r = *d_.random;
        if (request.type == TMsgDlgType::mtError) {
            d_.errorsThisEvent.push_back(request.text);
            ++d_.errorsShown;
            if (auto problem = InternalErrorIn(request.text); !problem.empty())
                d_.Fault(problem + ": " + request.text);
        }
        if (request.text.empty()) d_.Fault("a message box without text");
        std::vector<TModalResult> answers;
        for (auto [button, result] :
             {std::pair{mbYes, TModalResult::mrYes}, std::pair{mbNo, TModalResult::mrNo},
              std::pair{mbOK, TModalResult::mrOk}, std::pair{mbCancel, TModalResult::mrCancel},
              std::pair{mbAbort, TModalResult::mrAbort}, std::pair{mbRetry, TModalResult::mrRetry},
              std::pair{mbIgnore, TModalResult::mrIgnore}})
            if (request.buttons & button) answers.push_back(result);
        // Closing the box without a button.
        answers.push_back((request.buttons & mbCancel) || !(request.buttons & mbNo) ? TModalResult::mrCancel
                                                                                    : TModalResult::mrNo);
        const TModalResult answer = r.Pick(answers);
        d_.Note("message '" + Shorten(request.text) + "' answered " + std::to_string(int(answer)));
        return answer;
    }

    std::optional<TColor> ChooseColor(TColor) override
    {
        TRandom& r = *d_.random;
        if (r.Chance(30)) {
            d_.Note("colour cancelled");
            return std::nullopt;
        }
        const TColor color = TColor(r.Below(0x1000000));
        d_.Note("colour " + std::to_string(color));
        return color;
    }

    class TOpenDialog : public TOpenSaveDialog
    {
    public:
        TOpenDialog(std::string box, int index) : box_(std::move(box)), index_(index) {}
        int FilterIndex() const override { return index_; }
        std::string FileNameBox() const override { return box_; }
        void SetFileNameBox(const std::string& text) override { box_ = text; }
        std::string box_;
        int index_;
    };

    std::optional<TSaveDialogChoice> ShowSaveDialog(const TSaveDialog& dialog) override
    {
        TRandom& r = *d_.random;
        TOpenDialog open(dialog.FileName, dialog.FilterIndex);
        const auto types = int(ParseFilter(dialog.Filter).size());
        const int changes = r.Between(0, 2);
        for (int i = 0; i < changes && types > 0; ++i) {
            open.index_ = r.Between(1, types);
            d_.Note("file type " + std::to_string(open.index_));
            if (dialog.OnTypeChange) dialog.OnTypeChange(open);
        }
        if (r.Chance(20)) {
            d_.Note("save cancelled");
            return std::nullopt;
        }
        const std::string box = open.FileNameBox();
        const std::string extension = box.find('.') == std::string::npos ? "" : box.substr(box.rfind('.'));
        return TSaveDialogChoice{d_.ChooseFile(r, box, extension), open.index_};
    }

    // Open: any file the run has written (documents, tables, pictures, the
    // settings), or a name where there is none.
    std::optional<std::string> ChooseOpenFile(const TOpenFileRequest&) override
    {
        TRandom& r = *d_.random;
        if (r.Chance(25)) {
            d_.Note("open cancelled");
            return std::nullopt;
        }
        std::vector<std::string> files;
        for (const auto& [path, stamp] : StampFolder(d_.root))
            files.push_back(path.toStdString());
        const std::string file =
            files.empty() || r.Chance(20) ? d_.ChooseFile(r, "", ".qurvia") : r.Pick(files);
        d_.Note("open " + Shorten(file));
        return file;
    }

    bool ExecutePrinterSetup(QWidget*, const TPrinterOffer& offer, TPrinterSetup& setup) override
    {
        TRandom& r = *d_.random;
        if (r.Chance(35) || offer.Printers.isEmpty()) {
            d_.Note("printer set-up cancelled");
            return false;
        }
        setup.PrinterIndex =
            r.Chance(80) ? int(offer.Printers.size()) - 1 : int(r.Below(offer.Printers.size()));
        setup.Orientation = r.Chance(50) ? TPrinterOrientation::poPortrait : TPrinterOrientation::poLandscape;
        if (offer.PageSizes) {
            const auto sizes = offer.PageSizes(offer.Printers[setup.PrinterIndex]);
            if (!sizes.isEmpty()) setup.PageSize = sizes[qsizetype(r.Below(std::size_t(sizes.size())))];
        }
        setup.OutputFileName =
            r.Chance(40) ? QString() : QString::fromStdString(d_.ChooseFile(r, "", ".pdf"));
        d_.Note("printer set-up confirmed");
        return true;
    }

    std::optional<QString> ChoosePdfFile(QWidget*, const QString& proposal) override
    {
        TRandom& r = *d_.random;
        if (r.Chance(25)) {
            d_.Note("PDF name cancelled");
            return std::nullopt;
        }
        return QString::fromStdString(d_.ChooseFile(r, proposal.toStdString(), ".pdf"));
    }

    int RunModal(QDialog& dialog) override
    {
        TRandom& r = *d_.random;
        QPointer<QDialog> guard(&dialog);
        d_.modals.push_back(guard);
        d_.Note("[" + Name(&dialog));
        ++d_.depth;
        dialog.show();
        d_.Activate(&dialog);
        if (d_.depth <= 3) {
            const int steps = r.Between(0, 9);
            for (int i = 0; i < steps && guard && guard->isVisible(); ++i) {
                d_.DialogEvent(r, *guard);
                ClosePopups();
            }
        }
        if (guard && guard->isVisible()) d_.LeaveDialog(r, *guard);
        // A window that stays open after the user's way out (an edit that
        // refuses its text keeps the settings dialog open) is cancelled,
        // then closed.
        if (guard && guard->isVisible()) {
            d_.Note("still open: cancelled");
            guard->reject();
            Flush();
        }
        if (guard && guard->isVisible()) guard->hide();
        --d_.depth;
        d_.modals.pop_back();
        if (d_.world && d_.depth == 0 && d_.Window().isVisible()) d_.Activate(&d_.Window());
        d_.Note("]");
        return guard ? guard->result() : QDialog::Rejected;
    }

    void ShowError(QWidget*, std::exception_ptr error) override { ShowException(error); }

private:
    TMonkeyRun::TDetail& d_;
};

} // namespace

std::unique_ptr<test::TPlatformDouble> MakeMonkeyPlatform(TMonkeyRun::TDetail& detail)
{
    return std::make_unique<TMonkeyPlatform>(detail);
}

} // namespace qrv::monkey
