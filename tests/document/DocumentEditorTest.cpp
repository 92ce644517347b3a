// The document editor: every change is one command that undo takes back
// and redo makes again, with the signals the window follows; changes that
// change nothing push nothing; the clean state follows saves and resets.
#include "MessageOf.h"
#include "QrvDocumentEditor.h"
#include "QrvDocumentText.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace qrv
{
namespace
{

TCurve Function(std::string formula, TColor color = clRed)
{
    TCurve curve;
    curve.Formula = std::move(formula);
    curve.XMin = "0";
    curve.XMax = "1";
    curve.Step = "0.1";
    curve.Color = color;
    return curve;
}

TDocument ThreeCurves()
{
    TDocument document;
    document.Curves = {Function("a"), Function("b", clBlue), Function("c", clGreen)};
    document.Curves[1].Unknown = {{"note", "1"}};
    return document;
}

// The editor's signals, as text, in the order they came.
class TSignalLog
{
public:
    explicit TSignalLog(TDocumentEditor& editor)
    {
        QObject::connect(&editor, &TDocumentEditor::CurveInserted, [this](int i) { Add("inserted", i); });
        QObject::connect(&editor, &TDocumentEditor::CurveRemoved, [this](int i) { Add("removed", i); });
        QObject::connect(&editor, &TDocumentEditor::CurveMoved,
                         [this](int from, int to) { Add("moved " + std::to_string(from), to); });
        QObject::connect(&editor, &TDocumentEditor::CurveChanged, [this](int i) { Add("changed", i); });
        QObject::connect(&editor, &TDocumentEditor::AngleChanged, [this] { log_.push_back("angle"); });
        QObject::connect(&editor, &TDocumentEditor::DocumentReset, [this] { log_.push_back("reset"); });
        QObject::connect(&editor, &TDocumentEditor::CleanChanged,
                         [this](bool clean) { log_.push_back(clean ? "clean" : "dirty"); });
        QObject::connect(&editor, &TDocumentEditor::FileNameChanged, [this] { log_.push_back("file name"); });
    }
    // The signals since the last call.
    std::vector<std::string> Take() { return std::exchange(log_, {}); }

private:
    void Add(const std::string& what, int index) { log_.push_back(what + " " + std::to_string(index)); }
    std::vector<std::string> log_;
};

using Signals = std::vector<std::string>;

struct CommandCase {
    const char* name;
    std::function<void(TDocumentEditor&)> change;
    std::function<void(TDocument&)> expected; // the change, made by hand
    const char* text;
    Signals redoSignals; // without the clean state
    Signals undoSignals;
};

class EditorCommand : public ::testing::TestWithParam<CommandCase>
{
};

TEST_P(EditorCommand, UndoTakesItBackAndRedoMakesItAgain)
{
    const CommandCase& c = GetParam();
    TDocumentEditor editor;
    editor.ResetDocument(ThreeCurves(), "three.qurvia");
    TSignalLog log(editor);
    TDocument after = ThreeCurves();
    c.expected(after);

    c.change(editor);
    EXPECT_EQ(editor.Document(), after);
    ASSERT_EQ(editor.UndoStack().count(), 1);
    EXPECT_EQ(editor.UndoStack().undoText().toStdString(), c.text);
    Signals first = c.redoSignals;
    first.push_back("dirty");
    EXPECT_EQ(log.Take(), first);
    EXPECT_FALSE(editor.IsClean());

    editor.UndoStack().undo();
    EXPECT_EQ(editor.Document(), ThreeCurves());
    Signals undone = c.undoSignals;
    undone.push_back("clean");
    EXPECT_EQ(log.Take(), undone);
    EXPECT_TRUE(editor.IsClean());

    editor.UndoStack().redo();
    EXPECT_EQ(editor.Document(), after);
    EXPECT_EQ(log.Take(), first);
}

TCurveLook Look(TColor color, int width, TLineStyle style, std::string label)
{
    return {color, width, style, std::move(label)};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditorCommand,
    ::testing::Values(CommandCase{"add_first",
                                  [](TDocumentEditor& e) { e.AddCurve(0, Function("new")); },
                                  [](TDocument& d) { d.Curves.insert(d.Curves.begin(), Function("new")); },
                                  "Add curve",
                                  {"inserted 0"},
                                  {"removed 0"}},
                      CommandCase{"add_last",
                                  [](TDocumentEditor& e) { e.AddCurve(3, Function("new")); },
                                  [](TDocument& d) { d.Curves.push_back(Function("new")); },
                                  "Add curve",
                                  {"inserted 3"},
                                  {"removed 3"}},
                      CommandCase{"remove_middle",
                                  [](TDocumentEditor& e) { e.RemoveCurve(1); },
                                  [](TDocument& d) { d.Curves.erase(d.Curves.begin() + 1); },
                                  "Remove curve",
                                  {"removed 1"},
                                  {"inserted 1"}},
                      CommandCase{"move_down",
                                  [](TDocumentEditor& e) { e.MoveCurve(0, 2); },
                                  [](TDocument& d) {
                                      d.Curves = {d.Curves[1], d.Curves[2], d.Curves[0]};
                                  },
                                  "Move curve",
                                  {"moved 0 2"},
                                  {"moved 2 0"}},
                      CommandCase{"move_up",
                                  [](TDocumentEditor& e) { e.MoveCurve(2, 1); },
                                  [](TDocument& d) {
                                      d.Curves = {d.Curves[0], d.Curves[2], d.Curves[1]};
                                  },
                                  "Move curve",
                                  {"moved 2 1"},
                                  {"moved 1 2"}},
                      CommandCase{"edit_keeps_look_and_unknown",
                                  [](TDocumentEditor& e) {
                                      TCurve texts = Function("sin(x)", clBlack);
                                      texts.Kind = TCurveKind::Polar;
                                      texts.TMax = "6";
                                      texts.Label = "not a text of the curve";
                                      texts.Visible = false;
                                      e.EditCurve(1, texts);
                                  },
                                  [](TDocument& d) {
                                      d.Curves[1].Kind = TCurveKind::Polar;
                                      d.Curves[1].Formula = "sin(x)";
                                      d.Curves[1].TMax = "6";
                                  },
                                  "Edit curve",
                                  {"changed 1"},
                                  {"changed 1"}},
                      CommandCase{"restyle",
                                  [](TDocumentEditor& e) {
                                      e.RestyleCurve(2, Look(clBlack, 4, TLineStyle::Dash, "c's label"));
                                  },
                                  [](TDocument& d) {
                                      d.Curves[2].Color = clBlack;
                                      d.Curves[2].Width = 4;
                                      d.Curves[2].Style = TLineStyle::Dash;
                                      d.Curves[2].Label = "c's label";
                                  },
                                  "Restyle curve",
                                  {"changed 2"},
                                  {"changed 2"}},
                      CommandCase{"hide",
                                  [](TDocumentEditor& e) { e.SetCurveVisible(0, false); },
                                  [](TDocument& d) { d.Curves[0].Visible = false; },
                                  "Hide curve",
                                  {"changed 0"},
                                  {"changed 0"}},
                      CommandCase{"angle",
                                  [](TDocumentEditor& e) { e.SetAngle(TAngleMode::Grads); },
                                  [](TDocument& d) { d.Angle = TAngleMode::Grads; },
                                  "Change angle mode",
                                  {"angle"},
                                  {"angle"}}),
    test::RowName{});

TEST(Editor, ShowingAHiddenCurveIsShowCurve)
{
    TDocument document = ThreeCurves();
    document.Curves[1].Visible = false;
    TDocumentEditor editor;
    editor.ResetDocument(document, "");
    editor.SetCurveVisible(1, true);
    EXPECT_TRUE(editor.Curve(1).Visible);
    EXPECT_EQ(editor.UndoStack().undoText().toStdString(), "Show curve");
}

TEST(Editor, ChangesThatChangeNothingPushNothing)
{
    TDocumentEditor editor;
    editor.ResetDocument(ThreeCurves(), "");
    TSignalLog log(editor);
    editor.EditCurve(0, Function("a", clBlack));
    editor.RestyleCurve(1, LookOf(editor.Curve(1)));
    editor.SetCurveVisible(2, true);
    editor.SetAngle(TAngleMode::Radians);
    editor.MoveCurve(1, 1);
    EXPECT_EQ(editor.UndoStack().count(), 0);
    EXPECT_TRUE(log.Take().empty());
}

TEST(Editor, CleanStateFollowsSavesUndoAndReset)
{
    TDocumentEditor editor;
    EXPECT_TRUE(editor.IsClean());
    EXPECT_EQ(editor.FileName(), "");
    TSignalLog log(editor);
    editor.AddCurve(0, Function("a"));
    editor.AddCurve(1, Function("b"));
    editor.SetClean(); // saved with two curves
    EXPECT_EQ(log.Take(), (Signals{"inserted 0", "dirty", "inserted 1", "clean"}));
    editor.UndoStack().undo();
    EXPECT_FALSE(editor.IsClean());
    editor.UndoStack().redo();
    EXPECT_TRUE(editor.IsClean());
    editor.UndoStack().undo();
    editor.AddCurve(1, Function("other")); // the saved state can no longer be reached
    editor.UndoStack().undo();
    EXPECT_FALSE(editor.IsClean());
    log.Take();

    editor.ResetDocument(ThreeCurves(), "opened.qurvia");
    EXPECT_EQ(log.Take(), (Signals{"clean", "reset", "file name"}));
    EXPECT_TRUE(editor.IsClean());
    EXPECT_EQ(editor.UndoStack().count(), 0);
    EXPECT_EQ(editor.Document(), ThreeCurves());
    EXPECT_EQ(editor.FileName(), "opened.qurvia");

    editor.SetFileName("saved as.qurvia");
    editor.SetFileName("saved as.qurvia");
    EXPECT_EQ(log.Take(), (Signals{"file name"}));
}

TEST(Editor, UndoAfterSeveralChangesRestoresEachStateInTurn)
{
    TDocumentEditor editor;
    editor.ResetDocument(ThreeCurves(), "");
    std::vector<TDocument> states{editor.Document()};
    editor.RemoveCurve(0);
    states.push_back(editor.Document());
    editor.MoveCurve(1, 0);
    states.push_back(editor.Document());
    editor.AddCurve(1, Function("d"));
    states.push_back(editor.Document());
    editor.RestyleCurve(1, Look(clGray, 8, TLineStyle::Dot, ""));
    for (auto state = states.rbegin(); state != states.rend(); ++state) {
        editor.UndoStack().undo();
        EXPECT_EQ(editor.Document(), *state) << states.rend() - state;
    }
    EXPECT_FALSE(editor.UndoStack().canUndo());
}

TEST(Editor, ADocumentTakesAtMostTheCurvesAFileHolds)
{
    TDocument full;
    full.Curves.assign(kMaxCurves, Function("x"));
    TDocumentEditor editor;
    editor.ResetDocument(full, "");
    EXPECT_EQ(test::MessageOf<EQrvDocumentError>([&] { editor.AddCurve(0, Function("y")); }),
              "A document holds at most 1000 curves");
    EXPECT_EQ(editor.CurveCount(), int(kMaxCurves));
    EXPECT_EQ(editor.UndoStack().count(), 0);
}

TEST(Editor, IndexesOutsideTheDocumentAreRefused)
{
    TDocumentEditor editor;
    editor.ResetDocument(ThreeCurves(), "");
    const std::vector<std::function<void()>> calls{[&] { editor.AddCurve(4, Function("x")); },
                                                   [&] { editor.AddCurve(-1, Function("x")); },
                                                   [&] { editor.RemoveCurve(3); },
                                                   [&] { editor.MoveCurve(0, 3); },
                                                   [&] { editor.EditCurve(-1, Function("x")); },
                                                   [&] { editor.SetCurveVisible(3, false); }};
    for (const auto& call : calls)
        EXPECT_THROW(call(), EAssertionFailed);
    EXPECT_EQ(editor.UndoStack().count(), 0);
    EXPECT_EQ(editor.Document(), ThreeCurves());
}

} // namespace
} // namespace qrv
