#include "QrvCurveList.h"

#include "QrvAppTexts.h"
#include "QrvCurveListModel.h"
#include "QrvPlatform.h"
#include "QrvQtColor.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QPixmap>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>

namespace qrv
{

namespace
{

// The line styles in the order the dialog lists them.
constexpr std::array<std::pair<TLineStyle, const char*>, 3> kStyles{{
    {TLineStyle::Solid, Text::StyleSolid},
    {TLineStyle::Dash, Text::StyleDash},
    {TLineStyle::Dot, Text::StyleDot},
}};

} // namespace

TCurveListPanel::TCurveListPanel(TCurveListModel& model, const std::vector<QAction*>& actions,
                                 QWidget* parent)
    : QGroupBox(QString::fromUtf8(Text::CurveListCaption), parent)
{
    setObjectName("CurveList");
    setFixedWidth(kCurveListWidth);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(3, 3, 3, 3);
    column->setSpacing(2);
    List = new QListView(this);
    List->setObjectName("CurveListView");
    List->setModel(&model);
    List->setSelectionMode(QAbstractItemView::SingleSelection);
    List->setUniformItemSizes(true);
    column->addWidget(List, 1);
    // Two buttons a row, each as wide as half the list, so that every
    // caption is read whole.
    auto* buttons = new QGridLayout;
    buttons->setSpacing(1);
    for (QAction* action : actions) {
        auto* button = new QToolButton(this);
        button->setDefaultAction(action);
        button->setAutoRaise(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        const int at = int(buttons_.size());
        buttons->addWidget(button, at / 2, at % 2);
        buttons_.push_back(button);
    }
    column->addLayout(buttons);

    connect(List->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                if (!showing_ && index.isValid() && OnSelect) OnSelect(index.row());
            });
    // A reset model forgets its current row; the window marks it again.
}

QToolButton* TCurveListPanel::ButtonOf(QAction* action) const
{
    for (QToolButton* button : buttons_)
        if (button->defaultAction() == action) return button;
    return nullptr;
}

void TCurveListPanel::SetButtonMenu(QAction* action, QMenu* menu)
{
    if (QToolButton* button = ButtonOf(action)) {
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
}

void TCurveListPanel::ShowCurrent(int row)
{
    showing_ = true;
    const QModelIndex index = List->model()->index(row, 0);
    List->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    showing_ = false;
}

TCurveStyleDialog::TCurveStyleDialog(const TCurveLook& look, QWidget* parent)
    : QDialog(parent), color_(look.Color)
{
    setObjectName("CurveStyleDialog");
    setWindowTitle(QString::fromUtf8(Text::CurveStyleTitle));
    auto* form = new QFormLayout(this);
    ColorButton = new QToolButton(this);
    ColorButton->setObjectName("ColorButton");
    connect(ColorButton, &QToolButton::clicked, this, [this] {
        if (auto chosen = Platform().ChooseColor(color_)) {
            color_ = *chosen;
            ShowColor();
        }
    });
    ShowColor();
    form->addRow(QString::fromUtf8(Text::CurveColorLabel), ColorButton);
    WidthBox = new QSpinBox(this);
    WidthBox->setRange(kMinLineWidth, kMaxLineWidth);
    WidthBox->setValue(look.Width);
    form->addRow(QString::fromUtf8(Text::CurveWidthLabel), WidthBox);
    StyleBox = new QComboBox(this);
    for (const auto& [style, name] : kStyles) {
        StyleBox->addItem(QString::fromUtf8(name));
        if (style == look.Style) StyleBox->setCurrentIndex(StyleBox->count() - 1);
    }
    form->addRow(QString::fromUtf8(Text::CurveLineLabel), StyleBox);
    LabelEdit = new QLineEdit(QString::fromStdString(look.Label), this);
    LabelEdit->setPlaceholderText(QString::fromUtf8(Text::CurveLabelHint));
    form->addRow(QString::fromUtf8(Text::CurveLabelLabel), LabelEdit);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(box);
}

void TCurveStyleDialog::ShowColor()
{
    QPixmap swatch(32, 14);
    swatch.fill(ToQColor(color_));
    ColorButton->setIcon(QIcon(swatch));
    ColorButton->setIconSize(swatch.size());
}

TCurveLook TCurveStyleDialog::Look() const
{
    TCurveLook look;
    look.Color = color_;
    look.Width = WidthBox->value();
    const int style = StyleBox->currentIndex();
    look.Style =
        style >= 0 && style < int(kStyles.size()) ? kStyles[std::size_t(style)].first : TLineStyle::Solid;
    look.Label = LabelEdit->text().toStdString();
    return look;
}

} // namespace qrv
