// The progress of a long Plot run in the main window: a strip below the
// result panels with the count of points, a progress bar and a Cancel
// button. It appears only once a run has lasted a while, so short runs
// neither flicker nor slow down. While it shows, the program takes no input
// but Esc and a click on Cancel, which stop the run; everything else typed
// or clicked is dropped, so no second Plot starts and no field changes
// under a running one. After a stopped run the strip says so until the
// next Plot or until the user closes it.
#pragma once

#include "QrvPlotProgress.h"

#include <QFrame>
#include <QPointer>

#include <memory>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;

namespace qrv
{

class TRunInputGuard;

class TPlotProgressBar : public QFrame, public TProgressView
{
    Q_OBJECT
public:
    explicit TPlotProgressBar(QWidget* parent);
    ~TPlotProgressBar() override;

    // Controls disabled while a run shows its progress.
    void SetBusyControls(std::vector<QPointer<QWidget>> controls) { busy_ = std::move(controls); }

    void Begin(std::size_t expected) override;
    // Shows the count and lets the queued events through the input guard;
    // false once Esc or Cancel was pressed.
    bool Update(std::size_t done) override;
    void End() noexcept override;

    // After a stopped run: the strip stays with the number of points. A
    // run stopped by Esc or Cancel ends with it by itself.
    void ShowStopped(std::size_t done, std::size_t expected);
    // Hides the strip (a new Plot, or Close).
    void HideNotice();

    bool Running() const { return running_; }
    // Asks the running run to stop at its next update.
    void RequestStop() { stopRequested_ = true; }

    QLabel* Status = nullptr;
    QProgressBar* Bar = nullptr;
    QPushButton* Button = nullptr;

private:
    void ButtonClick();

    std::vector<QPointer<QWidget>> busy_;
    std::unique_ptr<TRunInputGuard> guard_;
    std::size_t expected_ = 0;
    std::size_t done_ = 0; // at the latest update
    bool running_ = false;
    bool stopRequested_ = false;
};

} // namespace qrv
