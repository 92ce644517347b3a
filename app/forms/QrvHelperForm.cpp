#include "QrvHelperForm.h"

#include "QrvClickWatcher.h"
#include "QrvGuideText.h"
#include "QrvWindowPlacement.h"

#include <QEvent>
#include <QFrame>
#include <QTextEdit>
#include <QVBoxLayout>

namespace qrv
{

namespace
{

// Drops input methods' text: Qt's text control takes it into a read-only
// text that can be selected, and the guide must stay as written.
class TNoInputMethod : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::InputMethod; }
};

} // namespace

THelperForm::THelperForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("HelperForm"));
    setWindowTitle(QStringLiteral("Documentation"));
    FixClientSize(this, 477, 392);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel2->setLineWidth(1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(Panel2);

    RichEdit1 = new QTextEdit(Panel2);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setReadOnly(true);
    RichEdit1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setFrameStyle(QFrame::NoFrame);
    RichEdit1->setPlainText(GuideText());
    RichEdit1->installEventFilter(new TNoInputMethod(RichEdit1));
    // The text box fills the panel inside its 1-pixel border.
    auto* inner = new QVBoxLayout(Panel2);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->addWidget(RichEdit1);

    clicks_ = new TClickWatcher([this] { FormClick(); }, this);
    clicks_->Watch(this);
    clicks_->Watch(Panel2);
}

void THelperForm::ShowGuide()
{
    show();
    raise();
    activateWindow();
}

void THelperForm::FormClick()
{
    close();
}

void THelperForm::showEvent(QShowEvent* event)
{
    CentreOnFirstShow(this, placed_);
    QWidget::showEvent(event);
}

} // namespace qrv
