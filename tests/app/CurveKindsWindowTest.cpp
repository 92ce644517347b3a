// Curves of every kind in the main window: the fields follow the current
// curve's kind (and the function's layout comes back unchanged), Plot runs
// the curve from its fields, the table and the CSV show t, x and y, and an
// edit of another kind is one undo step.
#include "DecimalSeparatorScope.h"
#include "MainWindowFixture.h"
#include "QrvChart.h"
#include "QrvCurveList.h"
#include "QrvDocumentSession.h"
#include "QrvMessages.h"
#include "QrvTableView.h"

#include "QrvAppTexts.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QUndoStack>

namespace qrv::test
{
namespace
{

class CurveKindsWindow : public TMainWindowFixture
{
protected:
    TDocumentSession& Session() { return *Window->Session; }
    // Which of the six fields show, '1' each, in the order of TKindField.
    std::string Shown() const
    {
        std::string shown;
        for (const QWidget* field :
             {static_cast<QWidget*>(Window->Edit1), static_cast<QWidget*>(Window->Edit2),
              static_cast<QWidget*>(Window->E_X_i), static_cast<QWidget*>(Window->E_X_Fi),
              static_cast<QWidget*>(Window->E_Step), static_cast<QWidget*>(Window->E_Y_Fi)})
            shown += field->isVisibleTo(Window.get()) ? '1' : '0';
        return shown;
    }
    std::vector<std::string> Captions() const
    {
        std::vector<std::string> captions;
        for (const QLabel* label : {Window->Label1, Window->Label2, Window->Label5, Window->Label6,
                                    Window->Label10, Window->Label7})
            if (label->isVisibleTo(Window.get())) captions.push_back(label->text().toStdString());
        return captions;
    }
    // The Edit menu's item that adds a curve of the kind captioned so.
    void AddFromMenu(const char* caption)
    {
        for (QAction* action : Window->AddCurveOfKind1->actions())
            if (action->text().remove('&') == caption) return action->trigger();
        FAIL() << caption;
    }

    TDecimalSeparatorScope separators{'.'};
};

TEST_F(CurveKindsWindow, EachKindShowsItsFieldsPlotsAndTabulates)
{
    struct Row {
        const char* Item;
        const char* Shown;
        std::vector<std::string> Captions;
        const char* TableStart;
        int Points; // 0: some
    };
    const std::string note = std::string(MessageText(Msg::ImplicitNoTableValues));
    const Row rows[] = {
        {"Parametric",
         "111110",
         {"x(t)=", "y(t)=", "T min", "T max", "Step"},
         "0.000   1.000   0.000\n",
         629},
        {"Polar", "101110", {"Formula: r(t)=", "T min", "T max", "Step"}, "0.000   2.000   0.000\n", 629},
        {"Implicit", "101111", {"Formula: 0=", "X min", "X max", "Y min", "Y max"}, note.c_str(), 0},
    };
    ShowWindow();
    for (const Row& r : rows) {
        AddFromMenu(r.Item);
        const int current = Session().Current();
        EXPECT_EQ(Shown(), r.Shown) << r.Item;
        EXPECT_EQ(Captions(), r.Captions) << r.Item;
        Window->PlotSpdBtnClick();
        EXPECT_TRUE(Window->TableText().startsWith(QString::fromStdString(r.TableStart)))
            << r.Item << ": " << Window->TableText().left(80).toStdString();
        const int points = Session().SeriesOf(current).PointCount();
        if (r.Points)
            EXPECT_EQ(points, r.Points) << r.Item;
        else
            EXPECT_GT(points, 100) << r.Item;
        EXPECT_TRUE(Session().CurveError(current).empty()) << r.Item << ": " << Session().CurveError(current);
    }
    // The CSV of all curves gives each curve of a parameter its own t, x, y.
    const std::string csv = Window->CurvesCsv().value_or("");
    EXPECT_NE(csv.find("\r\nt,x,y\r\n0.000,1.000,0.000\r\n"), std::string::npos) << csv.substr(0, 200);
    EXPECT_NE(csv.find("\r\nt,x,y\r\n0.000,2.000,0.000\r\n"), std::string::npos);
}

TEST_F(CurveKindsWindow, TheFunctionLayoutComesBackUnchanged)
{
    ShowWindow();
    const auto places = [this] {
        std::vector<QRect> rects;
        for (const QWidget* w :
             {static_cast<QWidget*>(Window->Label1), static_cast<QWidget*>(Window->Edit1),
              static_cast<QWidget*>(Window->Label5), static_cast<QWidget*>(Window->E_X_i),
              static_cast<QWidget*>(Window->Label6), static_cast<QWidget*>(Window->E_X_Fi),
              static_cast<QWidget*>(Window->Label10), static_cast<QWidget*>(Window->E_Step),
              static_cast<QWidget*>(Window->PlotSpdBtn)})
            rects.push_back(w->geometry());
        return rects;
    };
    const std::vector<QRect> start = places();
    const std::string shown = Shown();
    const std::vector<std::string> captions = Captions();
    EXPECT_EQ(shown, "101110");
    for (TCurveKind kind : {TCurveKind::Parametric, TCurveKind::Implicit, TCurveKind::Polar}) {
        Window->AddCurveOfKind(kind);
        EXPECT_NE(Shown() + Captions().front(), shown + captions.front()) << int(kind);
        Window->SelectCurve(0);
        EXPECT_EQ(places(), start) << int(kind);
        EXPECT_EQ(Shown(), shown) << int(kind);
        EXPECT_EQ(Captions(), captions) << int(kind);
        EXPECT_EQ(Window->E_X_i->toolTip().toStdString(), Text::XMinHint);
    }
    // The list's Add curve button offers the same kinds from its arrow.
    const QToolButton* add = Window->CurveList->ButtonOf(Window->AddCurve1);
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add->menu(), Window->AddCurveOfKind1);
    // Ctrl+Shift+N still adds a function curve.
    Window->AddCurve1Click();
    EXPECT_EQ(Session().CurrentKind(), TCurveKind::Function);
    EXPECT_EQ(Shown(), shown);
}

TEST_F(CurveKindsWindow, AnEditOfAnotherKindIsOneUndoStepAndTheCsvIsTXY)
{
    ShowWindow();
    Window->AddCurveOfKind(TCurveKind::Parametric);
    Window->SelectCurve(0);
    Window->RemoveCurve1Click(); // the function curve goes: a lone parametric one stays
    ASSERT_EQ(Session().CurveCount(), 1);
    ASSERT_EQ(Session().CurrentKind(), TCurveKind::Parametric);
    QUndoStack& stack = Session().Editor().UndoStack();
    const int steps = stack.count();
    Window->Edit2->setText("2*sin(t)");
    Window->E_X_Fi->setText("1");
    Window->E_Step->setText("0.5");
    Window->PlotSpdBtnClick();
    EXPECT_EQ(stack.count(), steps + 1);
    EXPECT_EQ(Session().Document().Curves[0].YOfT, "2*sin(t)");
    EXPECT_EQ(Session().SeriesOf(0).PointCount(), 3);
    // A lone curve of a parameter writes its t, x and y.
    ASSERT_TRUE(Window->CurvesCsv().has_value());
    EXPECT_EQ(*Window->CurvesCsv(),
              "t,x,y\r\n0.000,1.000,0.000\r\n0.500,0.878,0.959\r\n1.000,0.540,1.683\r\n");

    Window->Undo1Click();
    EXPECT_EQ(Session().Document().Curves[0].YOfT, "sin(t)");
    EXPECT_EQ(Window->Edit2->text(), "sin(t)");
    EXPECT_EQ(Window->E_Step->text(), "0.01");
    EXPECT_EQ(Session().SeriesOf(0).PointCount(), 629) << "the chart follows the undo";
}

} // namespace
} // namespace qrv::test
