#include "QrvOptionDialog.h"

#include "QrvDialogs.h"
#include "QrvSettingValues.h"
#include "QrvSettingsText.h"
#include "QrvUiFont.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>

namespace qrv
{

namespace
{

QString Q(SetText id)
{
    auto text = Text(id);
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QFont ArialPixels(int pixels, bool bold)
{
    return ArialFont(pixels, bold);
}

// A button keeps its place and size unless its caption needs more room than
// the style leaves inside; it then grows about its centre, within its panel.
void FitCaption(QPushButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    if (button->autoDefault()) option.features |= QStyleOptionButton::AutoDefaultButton;
    if (button->isDefault()) option.features |= QStyleOptionButton::DefaultButton;
    const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    QString shown = button->text();
    shown.remove('&');
    // A little air on either side, so the caption does not touch the frame.
    const int extra = button->fontMetrics().horizontalAdvance(shown) + 4 - room.width();
    if (extra <= 0) return;
    QRect place = button->geometry().adjusted(-(extra + 1) / 2, 0, extra / 2, 0);
    const int panelWidth = button->parentWidget()->width();
    if (place.left() < 2) place.moveLeft(2);
    if (place.right() > panelWidth - 3) place.setRight(panelWidth - 3);
    button->setGeometry(place);
}

} // namespace

TOptionDialog::TOptionDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("OptionDialog"));
    CreateVariables();
    CreateControls();
    // End of loading: whatever the linked check box has not read yet is read
    // from the settings file now.
    for (TVariable* variable :
         {static_cast<TVariable*>(varElement_Color), static_cast<TVariable*>(varOutput_File),
          static_cast<TVariable*>(varUse_Enhanced_Metafiles)})
        variable->Loaded();
    FormCreate();
}

TOptionDialog::~TOptionDialog() = default;

void TOptionDialog::CreateVariables()
{
    varElement_Color = new TInt(this);
    varElement_Color->setObjectName(QStringLiteral("varElement_Color"));
    Describe(*varElement_Color, kElementColorKey);
    varElement_Color->SetMin(0);
    varElement_Color->SetMax(0);
    varElement_Color->SetLength(TSetLength::sl32bits);

    varOutput_File = new TStr(this);
    varOutput_File->setObjectName(QStringLiteral("varOutput_File"));
    Describe(*varOutput_File, kOutputFileKey);

    varUse_Enhanced_Metafiles = new TChk(this);
    varUse_Enhanced_Metafiles->setObjectName(QStringLiteral("varUse_Enhanced_Metafiles"));
    Describe(*varUse_Enhanced_Metafiles, kUseEnhancedMetafilesKey);
}

void TOptionDialog::CreateControls()
{
    setWindowTitle(Q(SetText::DialogCaption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(327, 121);
    // The dialog font in pixels, like the controls' places, so the captions
    // fit at every font resolution.
    setFont(UiFont(11));

    ButtonPanel = new QFrame(this);
    ButtonPanel->setObjectName(QStringLiteral("ButtonPanel"));
    ButtonPanel->setGeometry(227, 0, 100, 121);

    OKBtn = new QPushButton(Q(SetText::DialogOK), ButtonPanel);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(14, 10, 75, 27);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    CancelBtn = new QPushButton(Q(SetText::DialogCancel), ButtonPanel);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(14, 42, 75, 27);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    ResetBtn = new QPushButton(Q(SetText::DialogResetDefaults), ButtonPanel);
    ResetBtn->setObjectName(QStringLiteral("ResetBtn"));
    ResetBtn->setGeometry(16, 82, 75, 23);
    connect(ResetBtn, &QPushButton::clicked, this, &TOptionDialog::ResetBtnClick);
    for (QPushButton* button : {OKBtn, CancelBtn, ResetBtn})
        FitCaption(button);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 0, 227, 121);

    TabAppearance = new QWidget;
    TabAppearance->setObjectName(QStringLiteral("TabAppearance"));
    PageControl1->addTab(TabAppearance, Q(SetText::PageAppearance));

    GroupBoxColors = new QGroupBox(Q(SetText::GroupColors), TabAppearance);
    GroupBoxColors->setObjectName(QStringLiteral("GroupBoxColors"));
    GroupBoxColors->setGeometry(10, 12, 189, 69);
    GroupBoxColors->setFont(ArialPixels(12, true));

    ColorPanel = new TColorPanel(GroupBoxColors);
    ColorPanel->setObjectName(QStringLiteral("ColorPanel"));
    ColorPanel->setGeometry(10, 24, 70, 24);
    connect(ColorPanel, &TColorPanel::Clicked, this, &TOptionDialog::ColorPanelClick);

    LabelGraphicColor = new QLabel(Q(SetText::LabelGraphicColor), GroupBoxColors);
    LabelGraphicColor->setObjectName(QStringLiteral("LabelGraphicColor"));
    LabelGraphicColor->setFont(ArialPixels(12, false));
    LabelGraphicColor->move(102, 30);
    LabelGraphicColor->adjustSize();

    TabGeneral = new QWidget;
    TabGeneral->setObjectName(QStringLiteral("TabGeneral"));
    PageControl1->addTab(TabGeneral, Q(SetText::PageGeneral));

    Bevel1 = new QFrame(TabGeneral);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(10, 13, 183, 44);

    CheckBoxEnhancedMetafiles = new TVarCheckBox(Q(SetText::CheckUseEnhancedMeta), TabGeneral);
    CheckBoxEnhancedMetafiles->setObjectName(QStringLiteral("CheckBoxEnhancedMetafiles"));
    CheckBoxEnhancedMetafiles->setFont(ArialPixels(12, false));
    CheckBoxEnhancedMetafiles->setGeometry(24, 26, 179, 15);
    CheckBoxEnhancedMetafiles->SetLink(varUse_Enhanced_Metafiles);

    PageControl1->setCurrentWidget(TabGeneral);
}

void TOptionDialog::FormCreate()
{
    varUse_Enhanced_Metafiles->SetData(&Use_Enhanced_Metafiles);
    varElement_Color->SetData(&Element_Color);
    varOutput_File->SetData(&Output_File);
    ColorPanel->SetColor(Element_Color);
}

void TOptionDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        if (!centred_) {
            if (QScreen* screen = this->screen())
                move(screen->availableGeometry().center() - rect().center());
            centred_ = true;
        }
        RememberAllVariables();
        snapshotTaken_ = true;
    }
    QDialog::showEvent(event);
}

void TOptionDialog::done(int result)
{
    if (!CommitFocusedControl(focusWidget())) return;
    if (snapshotTaken_ && result != QDialog::Accepted) {
        RestoreAllVariables();
        ColorPanel->SetColor(Element_Color);
    }
    snapshotTaken_ = false;
    QDialog::done(result);
}

void TOptionDialog::ColorPanelClick()
{
    varElement_Color->SetValue(static_cast<std::int32_t>(PickColor(Element_Color)));
    ColorPanel->SetColor(Element_Color);
}

void TOptionDialog::ResetBtnClick()
{
    if (MessageDlg(Text(SetText::ResetQuestion), TMsgDlgType::mtConfirmation, mbYesNo) != TModalResult::mrYes)
        return;
    ResetAllVariables();
    ColorPanel->SetColor(Element_Color);
    update();
}

} // namespace qrv
