#include "QrvPlotProgressBar.h"

#include "QrvAppTexts.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QWindow>

#include <algorithm>
#include <climits>

namespace qrv
{

// Drops every input event of the program during a run, except the ones
// that stop it: Esc anywhere, the mouse on the Cancel button, closing a
// window (which stops the run instead of closing).
class TRunInputGuard : public QObject
{
public:
    explicit TRunInputGuard(TPlotProgressBar& bar) : bar_(bar) { qApp->installEventFilter(this); }
    ~TRunInputGuard() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Window-level events reach the widgets next, where they are judged.
        if (!watched->isWidgetType()) return false;
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Claimed for the focused widget, so no menu command's shortcut
            // fires; the key press that follows is dropped below.
            event->accept();
            return true;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) bar_.RequestStop();
            return true;
        case QEvent::Close: {
            // A window the user closes; tooltips and popups close as usual.
            const Qt::WindowType type = static_cast<QWidget*>(watched)->windowType();
            if (type == Qt::ToolTip || type == Qt::Popup) return false;
            bar_.RequestStop();
            event->ignore();
            return true;
        }
        default:
            break;
        }
        if (!event->isInputEvent() && event->type() != QEvent::Shortcut &&
            event->type() != QEvent::ContextMenu)
            return false;
        const auto* widget = static_cast<QWidget*>(watched);
        const bool onCancel = bar_.Button && (widget == bar_.Button || bar_.Button->isAncestorOf(widget));
        const bool mouse = dynamic_cast<QMouseEvent*>(event) != nullptr;
        return !(onCancel && mouse);
    }

private:
    TPlotProgressBar& bar_;
};

TPlotProgressBar::TPlotProgressBar(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("PlotProgress"));
    setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    Status = new QLabel(this);
    Status->setObjectName(QStringLiteral("PlotProgressText"));
    Bar = new QProgressBar(this);
    Bar->setObjectName(QStringLiteral("PlotProgressBar"));
    Bar->setTextVisible(false);
    Button = new QPushButton(QString::fromUtf8(Text::ProgressCancel), this);
    Button->setObjectName(QStringLiteral("PlotProgressButton"));
    Button->setFocusPolicy(Qt::NoFocus);
    // Its own width: with the bar hidden after a stop, the text takes the room.
    Button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    row->addWidget(Status, 1);
    row->addWidget(Bar, 1);
    row->addWidget(Button);
    connect(Button, &QPushButton::clicked, this, &TPlotProgressBar::ButtonClick);
    hide();
}

TPlotProgressBar::~TPlotProgressBar() = default;

void TPlotProgressBar::Begin(std::size_t expected)
{
    expected_ = expected;
    done_ = 0;
    running_ = true;
    stopRequested_ = false;
    Button->setText(QString::fromUtf8(Text::ProgressCancel));
    // An unknown count shows a busy bar.
    Bar->setRange(0, static_cast<int>(std::min<std::size_t>(expected, INT_MAX)));
    Bar->setValue(0);
    Bar->show();
    show();
    for (const QPointer<QWidget>& control : busy_)
        if (control) control->setEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    guard_ = std::make_unique<TRunInputGuard>(*this);
}

bool TPlotProgressBar::Update(std::size_t done)
{
    done_ = done;
    Status->setText(QString::fromStdString(ProgressText(done, expected_)));
    if (expected_ > 0) Bar->setValue(static_cast<int>(std::min(done, expected_)));
    QCoreApplication::processEvents();
    return !stopRequested_;
}

void TPlotProgressBar::End() noexcept
{
    guard_.reset();
    if (!running_) return;
    running_ = false;
    QApplication::restoreOverrideCursor();
    for (const QPointer<QWidget>& control : busy_)
        if (control) control->setEnabled(true);
    // A run the user stopped says so, whichever command ran it (Plot, or a
    // View choice that runs the curves again).
    if (stopRequested_) {
        try {
            ShowStopped(done_, expected_);
            return;
        } catch (...) {
            // Out of memory for the text: the strip goes, as after a run.
        }
    }
    hide();
}

void TPlotProgressBar::ShowStopped(std::size_t done, std::size_t expected)
{
    Status->setText(QString::fromStdString(StoppedText(done, expected)));
    Bar->hide();
    Button->setText(QString::fromUtf8(Text::ProgressClose));
    show();
}

void TPlotProgressBar::HideNotice()
{
    if (!running_) hide();
}

void TPlotProgressBar::ButtonClick()
{
    if (running_)
        RequestStop();
    else
        hide();
}

} // namespace qrv
