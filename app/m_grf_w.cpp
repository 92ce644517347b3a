#include "m_grf_w.h"

#include "QrvHelperForm.h"
#include "QrvTextPrintForm.h"
#include "QrvWindowPlacement.h"

#include "QrvAnalysisPane.h"
#include "QrvAppTexts.h"
#include "QrvApplication.h"
#include "QrvChart.h"
#include "QrvChartSetup.h"
#include "QrvChartTrace.h"
#include "QrvCurveList.h"
#include "QrvCurveListModel.h"
#include "QrvCurveTable.h"
#include "QrvDialogs.h"
#include "QrvDocument.h"
#include "QrvDocumentSession.h"
#include "QrvExportNames.h"
#include "QrvExportSaveAs.h"
#include "QrvImageList.h"
#include "QrvNumberText.h"
#include "QrvOptionDialog.h"
#include "QrvOtherWindows.h"
#include "QrvPlatform.h"
#include "QrvPlotChart.h"
#include "QrvPlotProgressBar.h"
#include "QrvResultExport.h"
#include "QrvSettingAccess.h"
#include "QrvSettingValues.h"
#include "QrvSplitter.h"
#include "QrvTableView.h"
#include "QrvUiFont.h"
#include "QrvViewSettings.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace qrv
{

namespace
{

constexpr int kToolBarHeight = 29;
constexpr int kPanel1Height = 116;
constexpr int kGroupBox3Height = 85;
constexpr int kDividerWidth = 8;

// Room between a caption and the control it names.
constexpr int kCaptionGap = 4;

// A single-line field with the window's 13-pixel font.
QLineEdit* MakeField(QWidget* parent, const QRect& place, const char* hint, const char* text = "")
{
    auto* edit = new QLineEdit(QString::fromUtf8(text), parent);
    edit->setGeometry(place);
    edit->setFont(UiFont(13));
    edit->setToolTip(QString::fromUtf8(hint));
    return edit;
}

QLabel* MakeLabel(QWidget* parent, int x, int y, const char* caption)
{
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

// A result panel: a caption on top and a thin frame, and one control that
// fills the rest at fixed insets, whatever room the style would leave. With
// these insets the chart is 353 x 305 pixels at start.
class TResultPanel : public QGroupBox
{
public:
    static constexpr QMargins kInsets{3, 16, 3, 3};

    TResultPanel(const char* caption, QWidget* parent) : QGroupBox(QString::fromUtf8(caption), parent) {}

    void SetContent(QWidget* content)
    {
        content_ = content;
        Place();
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QGroupBox::resizeEvent(event);
        Place();
    }

private:
    void Place()
    {
        if (content_) content_->setGeometry(rect().marginsRemoved(kInsets));
    }
    QWidget* content_ = nullptr;
};

QAction* MakeAction(QObject* parent, const char* name, const char* text, int image = -1,
                    const QKeySequence& shortcut = {})
{
    auto* action = new QAction(QString::fromUtf8(text), parent);
    action->setObjectName(QString::fromUtf8(name));
    if (image >= 0) action->setIcon(ImageListIcon(image));
    action->setShortcut(shortcut);
    return action;
}

// The run's clock unless a test gives another.
TSteadyClock steadyClock;

// The formula field: entering it with Tab does not select its text, and
// its selection stays when it loses the focus (the palette keeps it
// visible), so a part picked for editing survives a look at the table.
class TFormulaEdit : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    void focusOutEvent(QFocusEvent* event) override
    {
        const int start = selectionStart();
        const int length = static_cast<int>(selectedText().size());
        const bool cursorAtStart = cursorPosition() == start;
        QLineEdit::focusOutEvent(event);
        if (start < 0 || hasSelectedText()) return;
        // Selected backwards when the cursor stood at the start.
        if (cursorAtStart)
            setSelection(start + length, -length);
        else
            setSelection(start, length);
    }

    void focusInEvent(QFocusEvent* event) override
    {
        int cursor = cursorPosition();
        bool hadSelection = hasSelectedText();
        QLineEdit::focusInEvent(event);
        if (!hadSelection && hasSelectedText()) {
            deselect();
            setCursorPosition(cursor);
        }
    }
};

} // namespace

TF_Main_GRF::TF_Main_GRF(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("F_Main_GRF");
    setWindowTitle(QString::fromUtf8(Text::MainCaption));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(UiFont(11));
    // The face colour of buttons as background.
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);
    SetRunClock(nullptr);

    CreateControls();
    CreateToolBar();
    CreateMenu();
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    FormCreate();
    Session = new TDocumentSession(*Chart1, *Series1, Fields(), this);
    ConnectSession();
    CreateCurveList();
    CreateAnalysisPane();
}

TF_Main_GRF::~TF_Main_GRF()
{
    // The session goes with the window's children, after this destructor:
    // its undo stack still signals a clean state then, which must not reach
    // a window that is no longer one.
    if (Session) QObject::disconnect(Session, nullptr, this, nullptr);
    // Without the Mode menu the built-ins go back to their start mode.
    SetCurrentAngleMode(TAngleMode::Radians);
}

void TF_Main_GRF::CreateControls()
{
    auto* client = new QWidget(this);
    client->setObjectName("ClientArea");
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    ToolBar1 = new QToolBar(client);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setFixedHeight(kToolBarHeight);
    ToolBar1->setIconSize(QSize(kImageSize, kImageSize));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    column->addWidget(ToolBar1);

    Panel1 = new QWidget(client);
    Panel1->setObjectName("Panel1");
    Panel1->setFixedHeight(kPanel1Height);
    column->addWidget(Panel1);

    Label1 = MakeLabel(Panel1, 8, 6, Text::FormulaLabel);
    Edit1 = new TFormulaEdit(Panel1);
    Edit1->setObjectName("Edit1");
    // The field starts at 64, or further right when its caption needs the
    // room; its right edge stays where it is.
    const int edit1Left = std::max(64, Label1->x() + Label1->width() + kCaptionGap);
    Edit1->setGeometry(edit1Left, 4, 64 + 467 - edit1Left, 24);
    Edit1->setFont(UiFont(13));
    // Long generated formulas (120 KB and more) are taken whole; the field's
    // default limit would cut them silently at 32 767 characters.
    Edit1->setMaxLength(std::numeric_limits<int>::max());
    Edit1->setToolTip(QString::fromUtf8(Text::FormulaHint));
    QPalette keepSelection = Edit1->palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        keepSelection.setColor(QPalette::Inactive, role, keepSelection.color(QPalette::Active, role));
    Edit1->setPalette(keepSelection);
    Edit1->installEventFilter(new TEnterFilter(Edit1));

    // The second formula of a parametric curve, hidden for the other kinds.
    Label2 = MakeLabel(Panel1, 276, 6, Text::YOfTLabel);
    Label2->hide();
    Edit2 = new TFormulaEdit(Panel1);
    Edit2->setObjectName("Edit2");
    Edit2->setFont(UiFont(13));
    Edit2->setMaxLength(std::numeric_limits<int>::max());
    Edit2->setPalette(keepSelection);
    Edit2->installEventFilter(new TEnterFilter(Edit2));
    Edit2->hide();

    GroupBox3 = new QGroupBox(QString::fromUtf8(Text::PlotRange), Panel1);
    GroupBox3->setObjectName("GroupBox3");
    GroupBox3->setGeometry(0, kPanel1Height - kGroupBox3Height, kClientWidth, kGroupBox3Height);
    Label5 = MakeLabel(GroupBox3, 8, 25, Text::XMinLabel);
    Label6 = MakeLabel(GroupBox3, 8, 57, Text::XMaxLabel);
    Label10 = MakeLabel(GroupBox3, 392, 24, Text::StepLabel);
    E_X_i = MakeField(GroupBox3, QRect(43, 20, 320, 24), Text::XMinHint);
    E_X_i->setObjectName("E_X_i");
    E_X_Fi = MakeField(GroupBox3, QRect(43, 52, 320, 24), Text::XMaxHint);
    E_X_Fi->setObjectName("E_X_Fi");
    E_Step = MakeField(GroupBox3, QRect(424, 20, 100, 24), Text::StepHint);
    E_Step->setObjectName("E_Step");
    // Y max of an implicit curve, hidden for the other kinds.
    Label7 = MakeLabel(GroupBox3, 205, 57, Text::YMaxLabel);
    Label7->hide();
    E_Y_Fi = MakeField(GroupBox3, QRect(245, 52, 150, 24), "");
    E_Y_Fi->setObjectName("E_Y_Fi");
    E_Y_Fi->hide();
    const TPlotFields start = StartupFields(DecimalSeparator());
    E_X_i->setText(QString::fromStdString(start.XMin));
    E_X_Fi->setText(QString::fromStdString(start.XMax));
    E_Step->setText(QString::fromStdString(start.Step));

    // The quiet hint about text after a complete formula, in the row of the
    // range group's caption, right under the formula.
    FormulaNote = new QLabel(GroupBox3);
    FormulaNote->setObjectName("FormulaNote");
    FormulaNote->setGeometry(120, 0, kClientWidth - 128, 14);
    FormulaNote->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    FormulaNote->setAutoFillBackground(true);
    QPalette notePalette = FormulaNote->palette();
    notePalette.setColor(QPalette::WindowText, QColor(0x8B, 0x45, 0x00));
    FormulaNote->setPalette(notePalette);
    FormulaNote->hide();
    // A changed formula makes the hint stale.
    connect(Edit1, &QLineEdit::textChanged, FormulaNote, &QWidget::hide);
    connect(Edit2, &QLineEdit::textChanged, FormulaNote, &QWidget::hide);

    PlotSpdBtn = new QToolButton(GroupBox3);
    PlotSpdBtn->setObjectName("PlotSpdBtn");
    PlotSpdBtn->setGeometry(424, 52, 100, 25);
    PlotSpdBtn->setText(QString::fromUtf8(Text::Plot));
    PlotSpdBtn->setIcon(PlotGlyph());
    PlotSpdBtn->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    PlotSpdBtn->setFont(UiFont(16));
    PlotSpdBtn->setFocusPolicy(Qt::NoFocus);
    PlotSpdBtn->setToolTip(QString::fromUtf8(Text::PlotHint));
    connect(PlotSpdBtn, &QToolButton::clicked, this,
            [this] { ExecuteCommand([this] { PlotSpdBtnClick(); }); });

    Panel4 = new QWidget(client);
    Panel4->setObjectName("Panel4");
    column->addWidget(Panel4, 1);
    auto* panel4Layout = new QVBoxLayout(Panel4);
    panel4Layout->setContentsMargins(0, 0, 0, 0);
    Panel3 = new QWidget(Panel4);
    Panel3->setObjectName("Panel3");
    panel4Layout->addWidget(Panel3);
    auto* row = new QHBoxLayout(Panel3);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    auto* chartPanel = new TResultPanel(Text::GraphicResult, Panel3);
    GroupBox2 = chartPanel;
    GroupBox2->setObjectName("GroupBox2");
    Chart1 = new TChart(GroupBox2);
    Chart1->setObjectName("Chart1");
    Series1 = &SetUpGraphChart(*Chart1);
    chartPanel->SetContent(Chart1);

    Splitter1 = new TSplitter(Panel3);
    Splitter1->setObjectName("Splitter1");

    auto* textPanel = new TResultPanel(Text::TextResult, Panel3);
    GroupBox4 = textPanel;
    GroupBox4->setObjectName("GroupBox4");
    GroupBox4->setFixedWidth(kTextPanelStartWidth);
    Memo1 = new TTableView(GroupBox4);
    Memo1->setObjectName("Memo1");
    textPanel->SetContent(Memo1);
    Trace = new TChartTrace(*Chart1, *Series1, *Memo1);
    Splitter1->SetControl(GroupBox4);

    row->addWidget(GroupBox2, 1);
    row->addWidget(Splitter1);
    row->addWidget(GroupBox4);

    PlotProgress = new TPlotProgressBar(client);
    PlotProgress->SetBusyControls({PlotSpdBtn});
    column->addWidget(PlotProgress);

    // Plot from the keyboard, wherever the focus is in the window.
    PlotKey = new QAction(this);
    PlotKey->setObjectName("PlotKey");
    PlotKey->setShortcut(QKeySequence(Qt::Key_F5));
    addAction(PlotKey);
    connect(PlotKey, &QAction::triggered, this, [this] { ExecuteCommand([this] { PlotSpdBtnClick(); }); });

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, E_X_i);
    setTabOrder(E_X_i, E_X_Fi);
    setTabOrder(E_X_Fi, E_Step);
    setTabOrder(E_Step, E_Y_Fi);
    setTabOrder(E_Y_Fi, Memo1);
}

void TF_Main_GRF::CreateToolBar()
{
    auto divider = [this] {
        auto* line = new QFrame(ToolBar1);
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        line->setFixedWidth(kDividerWidth);
        ToolBar1->addWidget(line);
    };
    auto button = [this](const char* name, const char* hint, int image) {
        QAction* action = MakeAction(this, name, hint, image);
        action->setToolTip(QString::fromUtf8(hint));
        ToolBar1->addAction(action);
        return action;
    };
    ExitToolButton = button("ExitToolButton", Text::ExitHint, imgExit);
    divider();
    AboutToolButton = button("AboutToolButton", Text::AboutHint, imgAbout);
    HelpToolButton = button("HelpToolButton", Text::HelpHint, imgHelp);
    divider();
    ReportToolButton = button("ReportToolButton", Text::ReportHint, imgPrintReport);
    GraphToolButton = button("GraphToolButton", Text::GraphHint, imgPrintGraph);
    divider();
    SaveAsToolButton = button("SaveAsToolButton", Text::SaveAsHint, imgSave);
    divider();
    AnalysisToolButton = button("AnalysisToolButton", Text::AnalysisHint, imgAnalysis);
    AnalysisToolButton->setCheckable(true);

    Connect(ExitToolButton, &TF_Main_GRF::ExitToolButtonClick);
    Connect(AboutToolButton, &TF_Main_GRF::AboutToolButtonClick);
    Connect(HelpToolButton, &TF_Main_GRF::HelpToolButtonClick);
    Connect(ReportToolButton, &TF_Main_GRF::ReportToolButtonClick);
    Connect(GraphToolButton, &TF_Main_GRF::GraphToolButtonClick);
    Connect(SaveAsToolButton, &TF_Main_GRF::SaveAsToolButtonClick);
    Connect(AnalysisToolButton, &TF_Main_GRF::Analysis1Click);
}

void TF_Main_GRF::CreateMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    auto item = [this](QMenu* menu, const char* name, const char* text, int image,
                       void (TF_Main_GRF::*handler)(), const QKeySequence& key = {}) {
        QAction* action = MakeAction(this, name, text, image, key);
        menu->addAction(action);
        Connect(action, handler);
        return action;
    };

    QMenu* file = bar->addMenu(QString::fromUtf8(Text::FileMenu));
    NewDocument1 = item(file, "NewDocument1", Text::NewDocumentItem, -1, &TF_Main_GRF::NewDocument1Click,
                        QKeySequence(Qt::CTRL | Qt::Key_N));
    OpenDocument1 = item(file, "OpenDocument1", Text::OpenDocumentItem, -1, &TF_Main_GRF::OpenDocument1Click,
                         QKeySequence(Qt::CTRL | Qt::Key_O));
    SaveDocument1 = item(file, "SaveDocument1", Text::SaveDocumentItem, -1, &TF_Main_GRF::SaveDocument1Click,
                         QKeySequence(Qt::CTRL | Qt::Key_S));
    SaveDocumentAs1 =
        item(file, "SaveDocumentAs1", Text::SaveDocumentAsItem, -1, &TF_Main_GRF::SaveDocumentAs1Click);
    RecentDocuments1 = file->addMenu(QString::fromUtf8(Text::RecentDocumentsMenu));
    RecentDocuments1->setObjectName("RecentDocuments1");
    file->addSeparator();
    Saveas1 = item(file, "Saveas1", Text::SaveAsItem, imgSave, &TF_Main_GRF::SaveAsToolButtonClick,
                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    file->addSeparator();
    Printreport1 = item(file, "Printreport1", Text::PrintReportItem, imgPrintReport,
                        &TF_Main_GRF::ReportToolButtonClick, QKeySequence(Qt::CTRL | Qt::Key_P));
    Printgraph1 = item(file, "Printgraph1", Text::PrintGraphItem, imgPrintGraph,
                       &TF_Main_GRF::GraphToolButtonClick, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    file->addSeparator();
    Exit1 = item(file, "Exit1", Text::ExitItem, imgExit, &TF_Main_GRF::ExitToolButtonClick,
                 QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* view = bar->addMenu(QString::fromUtf8(Text::ViewMenu));
    Graphics1 = item(view, "Graphics1", Text::GraphicsItem, -1, &TF_Main_GRF::Graphics1Click);
    Text1 = item(view, "Text1", Text::TextItem, -1, &TF_Main_GRF::Text1Click);
    view->addSeparator();
    Toolbar2 = item(view, "Toolbar2", Text::ToolbarItem, -1, &TF_Main_GRF::Toolbar2Click);
    view->addSeparator();
    BreakAtPoles1 = item(view, "BreakAtPoles1", Text::BreakAtPolesItem, -1, &TF_Main_GRF::BreakAtPoles1Click);
    EqualScales1 = item(view, "EqualScales1", Text::EqualScalesItem, -1, &TF_Main_GRF::EqualScales1Click);
    FineLabels1 = item(view, "FineLabels1", Text::FineLabelsItem, -1, &TF_Main_GRF::FineLabels1Click);
    view->addSeparator();
    FunctionList1 = item(view, "FunctionList1", Text::FunctionListItem, -1, &TF_Main_GRF::FunctionList1Click);
    Analysis1 = item(view, "Analysis1", Text::AnalysisItem, imgAnalysis, &TF_Main_GRF::Analysis1Click);
    for (QAction* mark :
         {Graphics1, Text1, Toolbar2, BreakAtPoles1, EqualScales1, FineLabels1, FunctionList1, Analysis1})
        mark->setCheckable(true);
    ShowViewMarks();

    QMenu* edit = bar->addMenu(QString::fromUtf8(Text::EditMenu));
    Copytext1 = item(edit, "Copytext1", Text::CopyTextItem, -1, &TF_Main_GRF::Copytext1Click);
    CopyCsv1 = item(edit, "CopyCsv1", Text::CopyCsvItem, -1, &TF_Main_GRF::CopyCsv1Click);
    Copybitmap1 = item(edit, "Copybitmap1", Text::CopyBitmapItem, -1, &TF_Main_GRF::Copybitmap1Click);
    Copymetafile1 = item(edit, "Copymetafile1", Text::CopyMetafileItem, -1, &TF_Main_GRF::Copymetafile1Click);
    edit->addSeparator();
    Undo1 =
        item(edit, "Undo1", Text::UndoItem, -1, &TF_Main_GRF::Undo1Click, QKeySequence(Qt::CTRL | Qt::Key_Z));
    Redo1 = item(edit, "Redo1", Text::RedoItem, -1, &TF_Main_GRF::Redo1Click,
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    edit->addSeparator();
    AddCurve1 = item(edit, "AddCurve1", Text::AddCurveItem, -1, &TF_Main_GRF::AddCurve1Click,
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    AddCurveOfKind1 = edit->addMenu(QString::fromUtf8(Text::AddCurveOfKindItem));
    AddCurveOfKind1->setObjectName("AddCurveOfKind1");
    for (const auto& [kind, caption] : {std::pair{TCurveKind::Function, Text::FunctionKindItem},
                                        std::pair{TCurveKind::Parametric, Text::ParametricKindItem},
                                        std::pair{TCurveKind::Polar, Text::PolarKindItem},
                                        std::pair{TCurveKind::Implicit, Text::ImplicitKindItem}}) {
        QAction* action = AddCurveOfKind1->addAction(QString::fromUtf8(caption));
        connect(action, &QAction::triggered, this,
                [this, kind] { ExecuteCommand([this, kind] { AddCurveOfKind(kind); }); });
    }
    KeepCurve1 = item(edit, "KeepCurve1", Text::KeepCurveItem, -1, &TF_Main_GRF::KeepCurve1Click,
                      QKeySequence(Qt::CTRL | Qt::Key_K));
    RemoveCurve1 = item(edit, "RemoveCurve1", Text::RemoveCurveItem, -1, &TF_Main_GRF::RemoveCurve1Click);
    MoveCurveUp1 = item(edit, "MoveCurveUp1", Text::MoveCurveUpItem, -1, &TF_Main_GRF::MoveCurveUp1Click);
    MoveCurveDown1 =
        item(edit, "MoveCurveDown1", Text::MoveCurveDownItem, -1, &TF_Main_GRF::MoveCurveDown1Click);
    CurveStyle1 = item(edit, "CurveStyle1", Text::CurveStyleItem, -1, &TF_Main_GRF::CurveStyle1Click);

    QMenu* option = bar->addMenu(QString::fromUtf8(Text::OptionMenu));
    Settings1 = item(option, "Settings1", Text::SettingsItem, -1, &TF_Main_GRF::Settings1Click);

    QMenu* mode = bar->addMenu(QString::fromUtf8(Text::ModeMenu));
    ModeGroup = new QActionGroup(this);
    ModeGroup->setExclusive(true);
    Radians1 = item(mode, "Radians1", Text::RadiansItem, -1, &TF_Main_GRF::Radians1Click);
    Degrees1 = item(mode, "Degrees1", Text::DegreesItem, -1, &TF_Main_GRF::Degrees1Click);
    Grads1 = item(mode, "Grads1", Text::GradsItem, -1, &TF_Main_GRF::Grads1Click);
    for (QAction* choice : {Radians1, Degrees1, Grads1}) {
        choice->setCheckable(true);
        ModeGroup->addAction(choice);
        // The marked item is the mode the built-ins follow, however it got
        // its mark.
        connect(choice, &QAction::toggled, this, [this](bool marked) {
            if (!marked) return;
            SetCurrentAngleMode(AngleMode());
            if (Session) Session->Editor().SetAngle(AngleMode());
        });
    }

    QMenu* help = bar->addMenu(QString::fromUtf8(Text::HelpMenu));
    Documentation1 = item(help, "Documentation1", Text::DocumentationItem, imgHelp,
                          &TF_Main_GRF::HelpToolButtonClick, QKeySequence(Qt::Key_F1));
    About1 = item(help, "About1", Text::AboutItem, imgAbout, &TF_Main_GRF::AboutToolButtonClick);

    // Popup menus are windows of their own and would take the desktop's
    // larger font; they use the menu bar's, as the window does.
    for (QMenu* menu : {file, RecentDocuments1, view, edit, option, mode, help})
        menu->setFont(font());
    ShowRecentDocuments();
}

void TF_Main_GRF::Connect(QAction* action, void (TF_Main_GRF::*handler)())
{
    connect(action, &QAction::triggered, this,
            [this, handler] { ExecuteCommand([this, handler] { (this->*handler)(); }); });
}

void TF_Main_GRF::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    CentreOnFirstShow(this, centred_);
}

void TF_Main_GRF::FormCreate()
{
    Edit1->setText(QString::fromStdString(StartupFields(DecimalSeparator()).Formula));
    Radians1->setChecked(true);
    BreakAtPoles1->setChecked(Break_At_Poles);
    EqualScales1->setChecked(Equal_Scales);
    FineLabels1->setChecked(Fine_Labels);
    ApplyChartViewSettings(*Chart1);
}

TPlotFields TF_Main_GRF::Fields() const
{
    TPlotFields fields;
    fields.Formula = Edit1->text().toStdString();
    fields.XMin = E_X_i->text().toStdString();
    fields.XMax = E_X_Fi->text().toStdString();
    fields.Step = E_Step->text().toStdString();
    return fields;
}

void TF_Main_GRF::SetFields(const TPlotFields& fields)
{
    Edit1->setText(QString::fromStdString(fields.Formula));
    E_X_i->setText(QString::fromStdString(fields.XMin));
    E_X_Fi->setText(QString::fromStdString(fields.XMax));
    E_Step->setText(QString::fromStdString(fields.Step));
}

TKindFieldTexts TF_Main_GRF::FieldTexts() const
{
    TKindFieldTexts texts;
    const QLineEdit* fields[] = {Edit1, Edit2, E_X_i, E_X_Fi, E_Step, E_Y_Fi};
    for (std::size_t i = 0; i < kKindFieldCount; ++i)
        texts[i] = fields[i]->text().toStdString();
    return texts;
}

void TF_Main_GRF::StoreFields()
{
    Session->EditCurrentTexts(FieldTexts());
}

void TF_Main_GRF::ShowKindLayout(TCurveKind kind)
{
    shownKind_ = kind;
    const TKindFieldRow& row = KindFieldRow(kind);
    QLabel* captions[] = {Label1, Label2, Label5, Label6, Label10, Label7};
    QLineEdit* fields[] = {Edit1, Edit2, E_X_i, E_X_Fi, E_Step, E_Y_Fi};
    for (std::size_t i = 0; i < kKindFieldCount; ++i) {
        const bool shown = row.Captions[i] != nullptr;
        if (shown) {
            captions[i]->setText(QString::fromUtf8(row.Captions[i]));
            captions[i]->adjustSize();
        }
        captions[i]->setVisible(shown);
        fields[i]->setVisible(shown);
    }
    // The formula starts at 64, or further right when its caption needs the
    // room; beside a second formula it takes the left part of the row.
    const int edit1Left = std::max(64, Label1->x() + Label1->width() + kCaptionGap);
    const bool two = FieldShown(kind, TKindField::SecondFormula);
    Edit1->setGeometry(edit1Left, 4, (two ? 264 : 64 + 467) - edit1Left, 24);
    Edit2->setGeometry(Label2->x() + Label2->width() + kCaptionGap, 4,
                       64 + 467 - (Label2->x() + Label2->width() + kCaptionGap), 24);
    // Four range fields share the group two by two; three keep their places.
    const bool four = FieldShown(kind, TKindField::Range4);
    E_X_i->setGeometry(43, 20, four ? 150 : 320, 24);
    E_X_Fi->setGeometry(43, 52, four ? 150 : 320, 24);
    Label10->move(four ? 205 : 392, four ? 25 : 24);
    E_Step->setGeometry(four ? QRect(245, 20, 150, 24) : QRect(424, 20, 100, 24));
    // The hints speak of x: they belong to the function's fields.
    const bool function = kind == TCurveKind::Function;
    E_X_i->setToolTip(QString::fromUtf8(function ? Text::XMinHint : ""));
    E_X_Fi->setToolTip(QString::fromUtf8(function ? Text::XMaxHint : ""));
    E_Step->setToolTip(QString::fromUtf8(four ? "" : Text::StepHint));
}

TAngleMode TF_Main_GRF::AngleMode() const
{
    if (Degrees1->isChecked()) return TAngleMode::Degrees;
    if (Grads1->isChecked()) return TAngleMode::Grads;
    return TAngleMode::Radians;
}

void TF_Main_GRF::SetAngleMode(TAngleMode mode)
{
    switch (mode) {
    case TAngleMode::Radians:
        Radians1Click();
        break;
    case TAngleMode::Degrees:
        Degrees1Click();
        break;
    case TAngleMode::Grads:
        Grads1Click();
        break;
    }
}

void TF_Main_GRF::PlotSpdBtnClick()
{
    // One run at a time: a run showing its progress takes no second one.
    if (PlotProgress->Running()) return;
    PlotProgress->HideNotice();
    BreakAtPoles1->setChecked(Break_At_Poles);
    TCurveRunOptions runOptions;
    runOptions.Progress = PlotProgress;
    runOptions.Clock = clock_;
    // An implicit curve is traced on a grid as fine as the chart's pixels.
    runOptions.Pixels = {std::max(1, Chart1->width()), std::max(1, Chart1->height())};
    Session->SetRunOptions(runOptions);
    // A run stopped with Esc or Cancel keeps its points, as after an error
    // part-way, and says so in the progress strip rather than in an error
    // box: the user asked for it. The table shows the lines produced before
    // an error when the error box shows (the session has handed them over).
    std::size_t stoppedAt = 0, expected = 0;
    bool stopped = false;
    struct TShowReading {
        TF_Main_GRF& window;
        ~TShowReading()
        {
            try {
                window.ShowFormulaReading(window.Session->CurrentTable().Reading());
            } catch (...) {
                // Out of memory while showing: the run's own error matters more.
            }
        }
    } showReading{*this};
    const TKindFieldTexts texts = FieldTexts();
    Session->Plot(
        Fields(),
        [&](const TPlotFields& fields, TPlotTarget& target) {
            TProgressTarget watched(target, *PlotProgress, *clock_, ExpectedPoints(fields));
            try {
                RunPlot(fields, watched, {.BreakAtPoles = Break_At_Poles});
            } catch (const EPlotStopped&) {
                stopped = true;
                stoppedAt = watched.Points();
                expected = watched.Expected();
            }
            return !stopped;
        },
        &texts);
    if (stopped) PlotProgress->ShowStopped(stoppedAt, expected);
}

void TF_Main_GRF::ConnectSession()
{
    connect(Session, &TDocumentSession::CurvesRan, this, &TF_Main_GRF::ShowCurrentTable);
    connect(Session, &TDocumentSession::CurrentChanged, this, &TF_Main_GRF::ShowCurrentFields);
    connect(Session, &TDocumentSession::SeriesRemoving, this, [this] { Trace->SetTableSeries(*Series1); });
    connect(Session, &TDocumentSession::CaptionChanged, this,
            [this] { setWindowTitle(QString::fromStdString(Session->Caption())); });
    connect(Session, &TDocumentSession::AngleChanged, this, &TF_Main_GRF::ShowDocumentAngle);
}

void TF_Main_GRF::CreateCurveList()
{
    CurveModel = new TCurveListModel(*Session, this);
    CurveList = new TCurveListPanel(
        *CurveModel, {AddCurve1, KeepCurve1, RemoveCurve1, MoveCurveUp1, MoveCurveDown1, CurveStyle1},
        Panel3);
    // Its Add curve button offers the kinds from its arrow.
    CurveList->SetButtonMenu(AddCurve1, AddCurveOfKind1);
    CurveList->OnSelect = [this](int row) { ExecuteCommand([this, row] { SelectCurve(row); }); };
    CurveList->hide();
    static_cast<QHBoxLayout*>(Panel3->layout())->insertWidget(0, CurveList);
    connect(CurveList->List, &QAbstractItemView::doubleClicked, this,
            [this] { ExecuteCommand([this] { CurveStyle1Click(); }); });
    auto& stack = Session->Editor().UndoStack();
    connect(&stack, &QUndoStack::canUndoChanged, Undo1, &QAction::setEnabled);
    connect(&stack, &QUndoStack::canRedoChanged, Redo1, &QAction::setEnabled);
    connect(Session, &TDocumentSession::ListChanged, this, &TF_Main_GRF::CurveCountChanged);
    connect(Session, &TDocumentSession::CurrentChanged, this, &TF_Main_GRF::ShowCurveActions);
    ShowCurveActions();
}

void TF_Main_GRF::CurveCountChanged()
{
    // The list comes as soon as there are several curves and goes with the
    // last but one; in between the View item decides.
    const int count = Session->CurveCount();
    if (count > 1 && shownCurveCount_ <= 1) ShowFunctionList(true);
    if (count <= 1 && shownCurveCount_ > 1) ShowFunctionList(false);
    shownCurveCount_ = count;
    ShowCurveActions();
}

void TF_Main_GRF::ShowCurveActions()
{
    const int count = Session->CurveCount();
    const int current = Session->Current();
    RemoveCurve1->setEnabled(count > 1);
    MoveCurveUp1->setEnabled(current > 0);
    MoveCurveDown1->setEnabled(current + 1 < count);
    CurveStyle1->setEnabled(count > 0);
    Undo1->setEnabled(Session->Editor().UndoStack().canUndo());
    Redo1->setEnabled(Session->Editor().UndoStack().canRedo());
    if (CurveList) CurveList->ShowCurrent(current);
}

void TF_Main_GRF::ShowFunctionList(bool shown)
{
    FunctionList1->setChecked(shown);
    if (shown == listShown_) return;
    listShown_ = shown;
    CurveList->setVisible(shown);
    FitWindowToPanes(QSize(shown ? kCurveListWidth : -kCurveListWidth, 0));
    CurveList->ShowCurrent(Session->Current());
}

void TF_Main_GRF::FitWindowToPanes(const QSize& grown)
{
    QWidget* client = centralWidget();
    const int menuHeight = menuBar()->sizeHint().height();
    const bool visible = isVisible();
    const bool wasFixed = client->minimumSize() == client->maximumSize();
    if (listShown_ || analysisShown_) {
        // Larger by the panes, and free to grow: chart and table take the room.
        const QSize start(kClientWidth + (listShown_ ? kCurveListWidth : 0),
                          kClientHeight + (analysisShown_ ? kAnalysisPaneHeight : 0));
        const QSize size = wasFixed ? start : (client->size() + grown).expandedTo(start);
        client->setMinimumSize(start);
        client->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        setMinimumSize(start.width(), start.height() + menuHeight);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        setWindowFlags((windowFlags() | Qt::WindowMaximizeButtonHint) & ~Qt::MSWindowsFixedSizeDialogHint);
        if (!isMaximized()) resize(size.width(), size.height() + menuHeight);
    } else {
        if (isMaximized()) showNormal();
        client->setFixedSize(kClientWidth, kClientHeight);
        setWindowFlags((windowFlags() & ~Qt::WindowMaximizeButtonHint) | Qt::MSWindowsFixedSizeDialogHint);
        setFixedSize(kClientWidth, kClientHeight + menuHeight);
    }
    // Changing the flags hides a window; it comes back where it was.
    if (visible && !isVisible()) show();
}

void TF_Main_GRF::FunctionList1Click()
{
    ShowFunctionList(!listShown_);
}

void TF_Main_GRF::Undo1Click()
{
    Session->Editor().UndoStack().undo();
}

void TF_Main_GRF::Redo1Click()
{
    Session->Editor().UndoStack().redo();
}

void TF_Main_GRF::AddCurve1Click()
{
    AddCurveOfKind(TCurveKind::Function);
}

void TF_Main_GRF::AddCurveOfKind(TCurveKind kind)
{
    StoreFields();
    Session->AddCurve(kind);
    Edit1->setFocus(Qt::OtherFocusReason);
}

void TF_Main_GRF::KeepCurve1Click()
{
    StoreFields();
    Session->KeepCurve(Fields());
    Edit1->setFocus(Qt::OtherFocusReason);
}

void TF_Main_GRF::RemoveCurve1Click()
{
    if (Session->CurveCount() <= 1) return;
    Session->Editor().RemoveCurve(Session->Current());
}

void TF_Main_GRF::MoveCurveUp1Click()
{
    const int current = Session->Current();
    if (current <= 0) return;
    StoreFields();
    Session->Editor().MoveCurve(current, current - 1);
}

void TF_Main_GRF::MoveCurveDown1Click()
{
    const int current = Session->Current();
    if (current + 1 >= Session->CurveCount()) return;
    StoreFields();
    Session->Editor().MoveCurve(current, current + 1);
}

void TF_Main_GRF::CurveStyle1Click()
{
    if (Session->CurveCount() == 0) return;
    const int current = Session->Current();
    TCurveStyleDialog dialog(LookOf(Session->Editor().Curve(current)), this);
    if (Platform().RunModal(dialog) != QDialog::Accepted) return;
    Session->Editor().RestyleCurve(current, dialog.Look());
}

void TF_Main_GRF::SelectCurve(int index)
{
    if (index == Session->Current()) return;
    StoreFields();
    Session->SetCurrent(index);
}

bool TF_Main_GRF::MayReplaceDocument()
{
    StoreFields();
    if (!Session->AsksBeforeClosing()) return true;
    const std::string& file = Session->Editor().FileName();
    const std::string name = file.empty() ? std::string(Text::UntitledDocument)
                                          : QFileInfo(QString::fromStdString(file)).fileName().toStdString();
    std::string question = Text::UnsavedQuestion;
    question.replace(question.find("%s"), 2, name);
    switch (MessageDlg(question, TMsgDlgType::mtConfirmation, mbSave | mbDiscard | mbCancel)) {
    case TModalResult::mrSave:
        SaveDocument1Click();
        // A save cancelled or failed keeps the changes, and the document.
        return Session->Editor().IsClean();
    case TModalResult::mrDiscard:
        return true;
    default:
        return false;
    }
}

void TF_Main_GRF::closeEvent(QCloseEvent* event)
{
    // A failed save keeps the window open, as a cancelled one does.
    bool close = false;
    ExecuteCommand([&] { close = MayReplaceDocument(); });
    if (close)
        event->accept();
    else
        event->ignore();
}

void TF_Main_GRF::NewDocument1Click()
{
    if (!MayReplaceDocument()) return;
    Session->NewDocument();
    PlotProgress->HideNotice();
}

void TF_Main_GRF::OpenDocument1Click()
{
    if (!MayReplaceDocument()) return;
    TOpenFileRequest request;
    request.Title = Text::OpenDocumentTitle;
    request.Filter = Text::DocumentOpenFilter;
    const std::string& file = Session->Editor().FileName();
    if (!file.empty()) request.Directory = QFileInfo(QString::fromStdString(file)).path().toStdString();
    if (auto chosen = Platform().ChooseOpenFile(request)) OpenDocumentFile(*chosen);
}

void TF_Main_GRF::OpenDocumentFile(const std::string& fileName)
{
    const std::string absolute = QFileInfo(QString::fromStdString(fileName)).absoluteFilePath().toStdString();
    Session->OpenDocument(absolute);
    RememberRecent(absolute);
}

void TF_Main_GRF::SaveDocument1Click()
{
    const std::string file = Session->Editor().FileName();
    if (file.empty()) {
        SaveDocumentAs1Click();
        return;
    }
    SaveDocumentTo(file);
}

void TF_Main_GRF::SaveDocumentAs1Click()
{
    TSaveDialog dialog;
    dialog.Title = Text::SaveDocumentTitle;
    dialog.Filter = Text::DocumentFilter;
    const std::string& file = Session->Editor().FileName();
    dialog.FileName = file.empty() ? std::string(Text::UntitledDocument) + std::string(kDocumentExtension)
                                   : QFileInfo(QString::fromStdString(file)).fileName().toStdString();
    if (!file.empty()) dialog.Directory = QFileInfo(QString::fromStdString(file)).path().toStdString();
    if (!dialog.Execute()) return;
    std::string target = dialog.FileName;
    // The document's extension is added when the name has none.
    if (QFileInfo(QString::fromStdString(target)).suffix().isEmpty()) target += kDocumentExtension;
    if (target != file && QFileInfo(QString::fromStdString(target)).exists() &&
        MessageDlg(OverwriteQuestion(target), TMsgDlgType::mtConfirmation, mbYesNo) != TModalResult::mrYes)
        return;
    SaveDocumentTo(target);
}

void TF_Main_GRF::SaveDocumentTo(const std::string& fileName)
{
    StoreFields();
    const std::string absolute = QFileInfo(QString::fromStdString(fileName)).absoluteFilePath().toStdString();
    Session->SaveDocument(absolute);
    RememberRecent(absolute);
}

void TF_Main_GRF::RememberRecent(const std::string& fileName)
{
    std::vector<std::string> list(Recent_Documents.begin(), Recent_Documents.end());
    list = RecentDocumentsWith(std::move(list), fileName, kRecentDocumentCount);
    if (windows_.ViewSettings) {
        windows_.ViewSettings->SetRecentDocuments(list);
    } else {
        for (std::size_t i = 0; i < kRecentDocumentCount; ++i)
            Recent_Documents[i] = i < list.size() ? list[i] : std::string();
    }
    ShowRecentDocuments();
}

void TF_Main_GRF::ShowRecentDocuments()
{
    RecentDocuments1->clear();
    int number = 0;
    for (const std::string& file : Recent_Documents) {
        if (file.empty()) continue;
        const QString name = QFileInfo(QString::fromStdString(file)).fileName();
        QAction* action = RecentDocuments1->addAction(QStringLiteral("&%1 %2").arg(++number).arg(name));
        action->setToolTip(QString::fromStdString(file));
        connect(action, &QAction::triggered, this, [this, file] {
            ExecuteCommand([this, file] {
                if (MayReplaceDocument()) OpenDocumentFile(file);
            });
        });
    }
    RecentDocuments1->setEnabled(number > 0);
}

void TF_Main_GRF::ShowCurrentTable()
{
    try {
        const TTableTarget& table = Session->CurrentTable();
        Memo1->SetLatin1Text(table.Table().Text());
        Trace->SetTableSeries(Session->SeriesOf(Session->Current()));
    } catch (...) {
        // Out of memory while showing: the run's own error matters more.
    }
}

void TF_Main_GRF::ShowCurrentFields()
{
    // Only what differs is written, so a field's caret and selection stay.
    const TCurveKind kind = Session->CurrentKind();
    if (kind != shownKind_) ShowKindLayout(kind);
    const TKindFieldTexts texts = Session->CurrentFieldTexts();
    QLineEdit* fields[] = {Edit1, Edit2, E_X_i, E_X_Fi, E_Step, E_Y_Fi};
    for (std::size_t i = 0; i < kKindFieldCount; ++i) {
        const QString value = QString::fromStdString(texts[i]);
        if (fields[i]->text() != value) fields[i]->setText(value);
    }
}

void TF_Main_GRF::ShowDocumentAngle()
{
    if (AngleMode() != Session->Document().Angle) SetAngleMode(Session->Document().Angle);
}

void TF_Main_GRF::SetRunClock(TRunClock* clock)
{
    clock_ = clock ? clock : &steadyClock;
}

void TF_Main_GRF::ShowFormulaReading(const TFormulaReading& reading)
{
    const QByteArray formula = Edit1->text().toUtf8();
    // The engine counts bytes of the UTF-8 text; the field counts characters.
    auto characters = [&](std::size_t bytes) {
        return int(
            QString::fromUtf8(formula.constData(), qsizetype(std::min<std::size_t>(bytes, formula.size())))
                .size());
    };
    if (reading.Compiled && !reading.IgnoredText.empty()) {
        FormulaNote->setText(QString::fromUtf8(IgnoredTextHint(reading.IgnoredText)));
        FormulaNote->show();
    } else {
        FormulaNote->hide();
    }
    if (!reading.Compiled) {
        // Select the token at which reading stopped (the caret at the end of
        // the text when the formula ended too early), so the user sees where
        // to correct it while the error box shows.
        const int start = characters(reading.StopToken.Start);
        const int end = characters(reading.StopToken.Start + reading.StopToken.Length);
        Edit1->setFocus(Qt::OtherFocusReason);
        Edit1->setSelection(start, end - start);
        if (end == start) Edit1->setCursorPosition(start);
    }
}

QString TF_Main_GRF::TableText() const
{
    return Memo1->toPlainText();
}

TSaveAs& TF_Main_GRF::SaveAs()
{
    if (!saveAs_) saveAs_ = std::make_unique<TSaveAs>();
    return *saveAs_;
}

std::optional<std::string> TF_Main_GRF::CurvesCsv() const
{
    // A document of one curve writes its table as it is shown, edits
    // included, as it always did.
    // A lone curve of another kind writes t, x and y (or its note).
    if (Session->CurveCount() <= 1 && Session->CurrentKind() == TCurveKind::Function) return std::nullopt;
    const std::vector<TCurveColumn> columns = Session->ShownColumns();
    return CurveTableCsv(columns, DecimalSeparator());
}

void TF_Main_GRF::SaveAsToolButtonClick()
{
    SaveResultAs(SaveAs(), TableText(), *Chart1, CurvesCsv());
}

void TF_Main_GRF::ReportToolButtonClick()
{
    // The print report window, filled anew from the table and shown modally.
    if (windows_.PrintReport) windows_.PrintReport->ShowReport(TableText());
}

void TF_Main_GRF::GraphToolButtonClick()
{
    ShowChartPrintPreview(this, *Chart1);
}

void TF_Main_GRF::ExitToolButtonClick()
{
    close();
}

void TF_Main_GRF::ShowViewMarks()
{
    Graphics1->setChecked(viewMarks_.Graphics);
    Text1->setChecked(viewMarks_.Text);
    Toolbar2->setChecked(viewMarks_.Toolbar);
}

void TF_Main_GRF::Graphics1Click()
{
    ToggleGraphics(viewMarks_);
    ShowViewMarks();
    ArrangeResultPanels();
}

void TF_Main_GRF::Text1Click()
{
    ToggleText(viewMarks_);
    ShowViewMarks();
    ArrangeResultPanels();
}

void TF_Main_GRF::Toolbar2Click()
{
    ToggleToolbar(viewMarks_);
    ShowViewMarks();
    ToolBar1->setVisible(viewMarks_.Toolbar);
}

void TF_Main_GRF::ToggleViewChoice(bool& choice, void (TViewSettings::*store)(bool), QAction* item)
{
    // The view settings store the choice when the program has them.
    if (windows_.ViewSettings)
        (windows_.ViewSettings->*store)(!choice);
    else
        choice = !choice;
    item->setChecked(choice);
}

void TF_Main_GRF::BreakAtPoles1Click()
{
    // Takes effect at once: the plotted curves run again.
    ToggleViewChoice(Break_At_Poles, &TViewSettings::SetBreakAtPoles, BreakAtPoles1);
    Session->Refresh();
}

void TF_Main_GRF::EqualScales1Click()
{
    ToggleViewChoice(Equal_Scales, &TViewSettings::SetEqualScales, EqualScales1);
    ApplyChartViewSettings(*Chart1);
}

void TF_Main_GRF::FineLabels1Click()
{
    ToggleViewChoice(Fine_Labels, &TViewSettings::SetFineLabels, FineLabels1);
    ApplyChartViewSettings(*Chart1);
}

void TF_Main_GRF::ArrangeResultPanels()
{
    const TPanelArrangement a = qrv::ArrangeResultPanels(viewMarks_);
    auto* row = static_cast<QHBoxLayout*>(Panel3->layout());
    GroupBox2->hide();
    Splitter1->hide();
    GroupBox4->hide();
    if (a.TextDock == TTextDock::Client) {
        GroupBox4->setMinimumWidth(0);
        GroupBox4->setMaximumWidth(QWIDGETSIZE_MAX);
        row->setStretchFactor(GroupBox4, 1);
    } else {
        row->setStretchFactor(GroupBox4, 0);
        if (a.ResetTextWidth) GroupBox4->setFixedWidth(kTextPanelWidth);
    }
    // In this order, so the splitter lies between the text panel and the chart.
    if (a.ShowText) GroupBox4->show();
    if (a.ShowSplitter) Splitter1->show();
    if (a.ShowChart) GroupBox2->show();
    ToolBar1->setVisible(a.ShowToolbar);
}

void TF_Main_GRF::Copytext1Click()
{
    // The whole table is copied; afterwards a selection in it stays (running
    // forwards) and a bare caret goes to the start.
    const int start = Memo1->HasSelection() ? Memo1->SelectionStart() : 0;
    const int end = Memo1->HasSelection() ? Memo1->SelectionEnd() : 0;
    Memo1->SetSelection(start, end);
    CopyResultText(TableText());
}

void TF_Main_GRF::CopyCsv1Click()
{
    CopyResultCsv(TableText(), CurvesCsv());
}

void TF_Main_GRF::Copybitmap1Click()
{
    CopyResultBitmap(*Chart1);
}

void TF_Main_GRF::Copymetafile1Click()
{
    CopyResultMetafile(*Chart1);
}

void TF_Main_GRF::Settings1Click()
{
    if (!windows_.OptionDialog) return;
    Platform().RunModal(*windows_.OptionDialog);
    // Its Reset Defaults resets the stored View choices too.
    BreakAtPoles1->setChecked(Break_At_Poles);
    // A new decimal separator shows in the Analysis pane at once.
    RefreshAnalysis();
}

void TF_Main_GRF::Radians1Click()
{
    Radians1->setChecked(true);
}

void TF_Main_GRF::Degrees1Click()
{
    Degrees1->setChecked(true);
}

void TF_Main_GRF::Grads1Click()
{
    Grads1->setChecked(true);
}

void TF_Main_GRF::HelpToolButtonClick()
{
    // The documentation window does not block the main window.
    if (windows_.Documentation) windows_.Documentation->ShowGuide();
}

void TF_Main_GRF::AboutToolButtonClick()
{
    ShowAboutWindow(this);
}

bool TEnterFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qrv
