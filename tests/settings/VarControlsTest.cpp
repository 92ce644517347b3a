// Controls linked to setting variables: what they show, what they commit when
// the focus leaves them, and the validation messages of the edit, answered
// through the scripted dialogs.
#include "DecimalSeparatorScope.h"
#include "QrvNumberText.h"
#include "QrvVarControls.h"
#include "RowNames.h"
#include "ScriptedDialogs.h"

#include <QApplication>
#include <QFocusEvent>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace qrv
{
namespace
{

using test::TScriptedDialogs;

void LeaveFocus(QWidget* widget, Qt::FocusReason reason = Qt::TabFocusReason)
{
    QFocusEvent event(QEvent::FocusOut, reason);
    QCoreApplication::sendEvent(widget, &event);
}

using test::TDecimalSeparatorScope;

// A shown window holding one edit, so focus can be checked.
struct TEditWindow {
    TEditWindow()
    {
        auto* layout = new QVBoxLayout(&window);
        edit = new TVarEdit(&window);
        other = new QLineEdit(&window);
        layout->addWidget(edit);
        layout->addWidget(other);
        window.show();
        other->setFocus();
    }
    QWidget window;
    TVarEdit* edit;
    QLineEdit* other;
};

// What a commit should do: either set the value or bring one message.
template <typename V> struct TOutcome {
    std::optional<std::string> message;
    TModalResult answer = TModalResult::mrOk;
    V value;
    std::string text; // the edit's text afterwards: a committed value shows in its own form
};

// Types into an edit linked to the variable, leaves it and checks what the
// commit did.
template <typename TVar, typename V>
void TypeAndLeave(TVar& variable, const char* typed, TScriptedDialogs& dialogs, const TOutcome<V>& expected)
{
    TEditWindow w;
    w.edit->SetLink(&variable);
    QSignalSpy exited(w.edit, &TVarEdit::Exited);
    w.edit->setText(typed);
    LeaveFocus(w.edit);
    if (expected.message) {
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, *expected.message);
        EXPECT_EQ(dialogs.messages[0].caption, "Error");
        EXPECT_EQ(dialogs.messages[0].type, TMsgDlgType::mtError);
        EXPECT_EQ(dialogs.messages[0].buttons, mbOKCancel);
        EXPECT_EQ(w.window.focusWidget(), w.edit) << "the focus goes back to the edit";
        EXPECT_EQ(exited.count(), 0) << "no ordinary leave handling after a message";
    } else {
        EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages[0].text;
        EXPECT_EQ(exited.count(), 1);
    }
    EXPECT_EQ(variable.Value(), expected.value);
    EXPECT_EQ(w.edit->text().toStdString(), expected.text);
}

// ---- TVarEdit with a TInt --------------------------------------------------

struct IntEditCase {
    const char* name;
    std::int32_t min, max;
    const char* typed;
    TOutcome<std::int32_t> outcome;
};

class IntEdit : public ::testing::TestWithParam<IntEditCase>
{
};

TEST_P(IntEdit, CommitsOrComplains)
{
    const auto& c = GetParam();
    TScriptedDialogs dialogs;
    if (c.outcome.message) dialogs.messageAnswers.push_back(c.outcome.answer);
    TInt variable;
    variable.SetDefault(7);
    variable.SetMin(c.min);
    variable.SetMax(c.max);
    variable.SetValue(3);
    TypeAndLeave(variable, c.typed, dialogs, c.outcome);
}

const std::string kInvalidInteger = "Invalid integer";
const std::string kRange1To10 = "Value must be in range 1..10";

INSTANTIATE_TEST_SUITE_P(
    Cases, IntEdit,
    ::testing::Values(
        IntEditCase{"leading_blank", 0, 0, " 42", {std::nullopt, {}, 42, "42"}},
        IntEditCase{
            "trailing_blank_ok_keeps_text", 0, 0, "42 ", {kInvalidInteger, TModalResult::mrOk, 3, "42 "}},
        IntEditCase{
            "empty_cancel_shows_default", 0, 0, "", {kInvalidInteger, TModalResult::mrCancel, 3, "7"}},
        IntEditCase{"dollar_hex", 0, 0, "$2A", {std::nullopt, {}, 42, "42"}},
        IntEditCase{"zero_x_hex", 0, 0, "0x2A", {std::nullopt, {}, 42, "42"}},
        IntEditCase{"no_range_when_equal", 0, 0, "-99999", {std::nullopt, {}, -99999, "-99999"}},
        IntEditCase{"no_range_when_inverted", 10, 1, "50", {std::nullopt, {}, 50, "50"}},
        IntEditCase{"range_upper_edge", 1, 10, "10", {std::nullopt, {}, 10, "10"}},
        IntEditCase{"above_range", 1, 10, "11", {kRange1To10, TModalResult::mrOk, 3, "11"}},
        IntEditCase{"below_range_cancel", 1, 10, "0", {kRange1To10, TModalResult::mrCancel, 3, "7"}},
        IntEditCase{
            "negative_range", -5, -1, "0", {"Value must be in range -5..-1", TModalResult::mrOk, 3, "0"}}),
    test::RowName{});

// ---- TVarEdit with a TFlt --------------------------------------------------

struct FloatEditCase {
    const char* name;
    char separator;
    double min, max;
    bool fixed3; // display format %.3f instead of %.6g
    const char* typed;
    TOutcome<double> outcome;
};

class FloatEdit : public ::testing::TestWithParam<FloatEditCase>
{
};

TEST_P(FloatEdit, CommitsOrComplains)
{
    const auto& c = GetParam();
    TDecimalSeparatorScope separator(c.separator);
    TScriptedDialogs dialogs;
    if (c.outcome.message) dialogs.messageAnswers.push_back(c.outcome.answer);
    TFlt variable;
    variable.SetDefault(1.5);
    variable.SetMin(c.min);
    variable.SetMax(c.max);
    if (c.fixed3) {
        variable.SetPrecision(3);
        variable.SetFormat(TFloatFormat::ffFixed);
    }
    variable.SetValue(0.25);
    TypeAndLeave(variable, c.typed, dialogs, c.outcome);
}

const std::string kInvalidFloat = "Invalid float";

INSTANTIATE_TEST_SUITE_P(
    Cases, FloatEdit,
    ::testing::Values(
        FloatEditCase{"dot", '.', 0, 0, false, "3.5", {std::nullopt, {}, 3.5, "3.5"}},
        FloatEditCase{"comma_locale_comma", ',', 0, 0, false, "3,5", {std::nullopt, {}, 3.5, "3,5"}},
        FloatEditCase{"comma_locale_dot", ',', 0, 0, false, "3.5", {std::nullopt, {}, 3.5, "3,5"}},
        FloatEditCase{
            "dot_locale_comma", '.', 0, 0, false, "3,5", {kInvalidFloat, TModalResult::mrOk, 0.25, "3,5"}},
        FloatEditCase{
            "word_cancel", '.', 0, 0, false, "abc", {kInvalidFloat, TModalResult::mrCancel, 0.25, "1.5"}},
        FloatEditCase{"word_cancel_comma_locale",
                      ',',
                      0,
                      0,
                      false,
                      "abc",
                      {kInvalidFloat, TModalResult::mrCancel, 0.25, "1,5"}},
        FloatEditCase{"empty", '.', 0, 0, false, "", {kInvalidFloat, TModalResult::mrOk, 0.25, ""}},
        FloatEditCase{
            "beyond_double", '.', 0, 0, false, "1e400", {kInvalidFloat, TModalResult::mrOk, 0.25, "1e400"}},
        FloatEditCase{"range_general",
                      '.',
                      0,
                      1,
                      false,
                      "2",
                      {"Value must be in range 0..1", TModalResult::mrOk, 0.25, "2"}},
        FloatEditCase{"range_fixed_cancel",
                      '.',
                      0,
                      1,
                      true,
                      "2",
                      {"Value must be in range 0.000..1.000", TModalResult::mrCancel, 0.25, "1.500"}},
        FloatEditCase{"range_comma_locale",
                      ',',
                      0,
                      1,
                      true,
                      "-0,5",
                      {"Value must be in range 0,000..1,000", TModalResult::mrOk, 0.25, "-0,5"}},
        FloatEditCase{"inside_range", '.', 0, 1, false, "0.75", {std::nullopt, {}, 0.75, "0.75"}}),
    test::RowName{});

// ---- TVarEdit: links and the other types -----------------------------------

TEST(VarEdit, StringCommitsWithoutValidation)
{
    TScriptedDialogs dialogs;
    TStr variable;
    TVarEdit edit;
    edit.SetLink(&variable);
    edit.setText("  anything at all = ; ");
    LeaveFocus(&edit);
    EXPECT_EQ(variable.Value(), "  anything at all = ; ");
}

TEST(VarEdit, ShowsValueAndFollowsTheSetter)
{
    TInt integer;
    integer.SetValue(12);
    TFlt number;
    number.SetPrecision(3);
    number.SetFormat(TFloatFormat::ffFixed);
    number.SetValue(2.5);
    TVarEdit intEdit, floatEdit;
    intEdit.SetLink(&integer);
    floatEdit.SetLink(&number);
    EXPECT_EQ(intEdit.text(), "12");
    EXPECT_EQ(floatEdit.text(), "2.500");
    EXPECT_EQ(integer.Control(), &intEdit);
    integer.SetValue(-13);
    EXPECT_EQ(intEdit.text(), "-13");
    number.SetPrecision(1);
    EXPECT_EQ(floatEdit.text(), "2.5") << "a new display format shows at once";
}

TEST(VarEdit, SameLinkTwiceRefreshesNothing)
{
    TInt variable;
    variable.SetValue(12);
    TVarEdit edit;
    edit.SetLink(&variable);
    edit.setText("typed");
    edit.SetLink(&variable);
    EXPECT_EQ(edit.text(), "typed");
}

TEST(VarEdit, UnlinkingReleasesTheVariable)
{
    TInt variable;
    TVarEdit first, second;
    first.SetLink(&variable);
    second.SetLink(&variable);
    EXPECT_EQ(variable.Control(), &second);
    first.SetLink(nullptr);
    EXPECT_EQ(variable.Control(), &second) << "only the linked control's own link is cleared";
    second.SetLink(nullptr);
    EXPECT_EQ(variable.Control(), nullptr);
}

TEST(VarEdit, OutlivingItsVariableIsHarmless)
{
    TScriptedDialogs dialogs;
    TVarEdit edit;
    {
        TInt variable;
        edit.SetLink(&variable);
    }
    EXPECT_EQ(edit.Link(), nullptr);
    edit.setText("not a number");
    EXPECT_TRUE(edit.Commit());
}

TEST(VarEdit, SwitchingWindowsCommitsNothing)
{
    TScriptedDialogs dialogs;
    TInt variable;
    variable.SetValue(3);
    TVarEdit edit;
    edit.SetLink(&variable);
    edit.setText("not a number");
    LeaveFocus(&edit, Qt::ActiveWindowFocusReason);
    LeaveFocus(&edit, Qt::PopupFocusReason);
    EXPECT_TRUE(dialogs.messages.empty());
    edit.setText("5");
    LeaveFocus(&edit, Qt::ActiveWindowFocusReason);
    EXPECT_EQ(variable.Value(), 3);
}

// ---- TVarCheckBox ----------------------------------------------------------

TEST(VarCheckBox, ShowsValueCommitsOnLeaveOnly)
{
    TChk variable;
    variable.SetValue(true);
    TVarCheckBox box("Option");
    box.SetLink(&variable);
    EXPECT_TRUE(box.isChecked());
    QSignalSpy exited(&box, &TVarCheckBox::Exited);
    box.click();
    EXPECT_FALSE(box.isChecked());
    EXPECT_TRUE(variable.Value()) << "clicking alone does not change the variable";
    LeaveFocus(&box);
    EXPECT_FALSE(variable.Value());
    EXPECT_EQ(exited.count(), 1);
    variable.SetValue(true);
    EXPECT_TRUE(box.isChecked()) << "the setter refreshes the box";
}

TEST(VarCheckBox, GreyedCountsAsFalse)
{
    TChk variable;
    variable.SetValue(true);
    TVarCheckBox box;
    box.SetLink(&variable);
    box.setTristate(true);
    box.setCheckState(Qt::PartiallyChecked);
    box.Commit();
    EXPECT_FALSE(variable.Value());
}

// ---- TVarGroupBox ----------------------------------------------------------

// A group with child buttons made from a pattern: 'c' a check box, 'r' a
// radio button.
struct TGroup {
    explicit TGroup(const char* pattern)
    {
        auto* layout = new QVBoxLayout(&window);
        group = new TVarGroupBox("Group", &window);
        auto* inner = new QVBoxLayout(group);
        for (const char* p = pattern; *p; ++p) {
            QAbstractButton* button = *p == 'c' ? static_cast<QAbstractButton*>(new QCheckBox(group))
                                                : static_cast<QAbstractButton*>(new QRadioButton(group));
            inner->addWidget(button);
            buttons.push_back(button);
        }
        outside = new QLineEdit(&window);
        layout->addWidget(group);
        layout->addWidget(outside);
    }
    std::string States() const
    {
        std::string states;
        for (auto* button : buttons)
            states += button->isChecked() ? '1' : '0';
        return states;
    }
    QWidget window;
    TVarGroupBox* group;
    std::vector<QAbstractButton*> buttons;
    QLineEdit* outside;
};

struct GroupCase {
    const char* name;
    const char* pattern;
    std::int32_t value;
    const char* shown;   // states after linking
    const char* clicked; // indexes of buttons to click before committing
    std::int32_t committed;
};

class VarGroupBox : public ::testing::TestWithParam<GroupCase>
{
};

TEST_P(VarGroupBox, ShowsAndCollectsStates)
{
    const auto& c = GetParam();
    TInt variable;
    variable.SetValue(c.value);
    TGroup g(c.pattern);
    g.group->SetLink(&variable);
    EXPECT_EQ(g.States(), c.shown);
    for (const char* p = c.clicked; *p; ++p)
        g.buttons[std::size_t(*p - '0')]->click();
    g.group->Commit();
    EXPECT_EQ(variable.Value(), c.committed);
}

INSTANTIATE_TEST_SUITE_P(Cases, VarGroupBox,
                         ::testing::Values(GroupCase{"bits_of_five", "ccc", 5, "101", "0", 4},
                                           GroupCase{"bits_all_set", "ccc", 7, "111", "", 7},
                                           GroupCase{"radio_index", "rrr", 1, "010", "2", 2},
                                           GroupCase{"radio_out_of_range", "rrr", 5, "000", "", 0},
                                           GroupCase{"radio_replaces_collected_bits", "crcr", 0, "0100",
                                                     "023", 1},
                                           GroupCase{"bits_after_radio_add_up", "rcc", 2, "001", "0", 2 | 0}),
                         test::RowName{});

TEST(VarGroupBoxLink, IgnoresOtherVariableTypes)
{
    TStr variable;
    variable.SetValue("5");
    TGroup g("cc");
    g.group->SetLink(&variable);
    EXPECT_EQ(g.States(), "00");
    g.buttons[0]->click();
    EXPECT_TRUE(g.group->Commit());
    EXPECT_EQ(variable.Value(), "5");
}

TEST(VarGroupBoxLink, SameLinkShowsAgain)
{
    TInt variable;
    variable.SetValue(1);
    TGroup g("cc");
    g.group->SetLink(&variable);
    g.buttons[1]->click();
    g.group->SetLink(&variable);
    EXPECT_EQ(g.States(), "10");
}

TEST(VarGroupBoxLink, LeavingTheGroupCommits)
{
    TInt variable;
    variable.SetValue(5);
    TGroup g("ccc");
    g.group->SetLink(&variable);
    g.window.show();
    QApplication::setActiveWindow(&g.window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&g.window));
    QSignalSpy exited(g.group, &TVarGroupBox::Exited);
    g.buttons[0]->setFocus();
    g.buttons[0]->click();
    g.buttons[1]->setFocus();
    EXPECT_EQ(variable.Value(), 5) << "moving inside the group commits nothing";
    g.outside->setFocus();
    EXPECT_EQ(variable.Value(), 4);
    EXPECT_EQ(exited.count(), 1);
}

} // namespace
} // namespace qrv
