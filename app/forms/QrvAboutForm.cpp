#include "QrvAboutForm.h"

#include "QrvClickWatcher.h"
#include "QrvLogo.h"
#include "QrvPlatform.h"
#include "QrvWindowPlacement.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

#ifndef QURVIA_VERSION
#error "QURVIA_VERSION must name the program version"
#endif

namespace qrv
{

namespace
{

QFont BoldArial()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(21);
    font.setBold(true);
    return font;
}

} // namespace

TAboutForm::TAboutForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("About Qurvia"));
    FixClientSize(this, 365, 221);

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Panel2);

    Image1 = new QLabel(Panel2);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAttribute(Qt::WA_TranslucentBackground);
    Image1->setPixmap(QurviaLogo());
    Image1->setGeometry(8, 8, kLogoWidth, kLogoHeight);

    Label1 = new QLabel(QStringLiteral("Qurvia"), Panel2);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(BoldArial());
    Label1->move(250, 8);
    Label1->adjustSize();

    Label10 = new QLabel(QStringLiteral("version " QURVIA_VERSION), Panel2);
    Label10->setObjectName(QStringLiteral("Label10"));
    Label10->move(252, 32);
    Label10->adjustSize();

    const QStringList maker = {
        QStringLiteral("An equation plotter for y = f(x): formula, range and step"),
        QStringLiteral("in, line chart and table of values out."),
        QStringLiteral("Expression engine, math library and chart of its own."),
        QStringLiteral("Written by the Qurvia developers."),
    };
    int top = 74;
    for (const QString& line : maker) {
        auto* label = new QLabel(line, Panel2);
        label->setObjectName(QStringLiteral("MakerLine%1").arg(MakerLines.size() + 1));
        label->move(11, top);
        label->adjustSize();
        MakerLines.append(label);
        top += 20;
    }

    Bevel1 = new QFrame(Panel2);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(11, 180, 287, 30);
    // The frame is only drawn: a click on it is a click on the panel.
    Bevel1->setAttribute(Qt::WA_TransparentForMouseEvents);
    BevelLine = new QLabel(QStringLiteral("Plot it, see it."), Panel2);
    BevelLine->setObjectName(QStringLiteral("BevelLine"));
    BevelLine->setFont(BoldArial());
    BevelLine->setAlignment(Qt::AlignCenter);
    BevelLine->setGeometry(13, 182, 283, 26);

    Button1 = new QPushButton(QStringLiteral("&Ok"), Panel2);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(310, 179, 47, 30);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TAboutForm::FormClick);

    clicks_ = new TClickWatcher([this] { FormClick(); }, this);
    clicks_->Watch(Panel2);
    clicks_->Watch(Label1);
    for (QLabel* label : MakerLines)
        clicks_->Watch(label);
    clicks_->Watch(BevelLine);
    clicks_->Mute(Image1);
    clicks_->Mute(Label10);
}

void TAboutForm::FormClick()
{
    accept();
}

void TAboutForm::showEvent(QShowEvent* event)
{
    CentreOnFirstShow(this, placed_);
    QDialog::showEvent(event);
}

void ShowAboutForm(QWidget* owner)
{
    std::unique_ptr<TAboutForm> form(new TAboutForm(owner));
    Platform().RunModal(*form);
}

} // namespace qrv
