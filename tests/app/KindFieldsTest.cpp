// Which fields each kind of curve shows and which texts of the curve they
// hold: a round trip through the fields changes the texts of that kind only.
#include "QrvKindFields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace qrv::test
{
namespace
{

TEST(KindFields, EachKindShowsItsTextsAndChangesOnlyThose)
{
    struct Row {
        TCurveKind Kind;
        TKindFieldTexts Start; // the start curve's texts as the fields show them
        const char* Shown;     // '1' per field shown, in TKindField order
    };
    const Row rows[] = {
        {TCurveKind::Function, {"", "", "", "", "", ""}, "101110"},
        {TCurveKind::Parametric, {"cos(t)", "sin(t)", "0", "6.2832", "0.01", ""}, "111110"},
        {TCurveKind::Polar, {"1+cos(t)", "", "0", "6.2832", "0.01", ""}, "101110"},
        {TCurveKind::Implicit, {"x*x+y*y-4", "", "-3", "3", "-3", "3"}, "101111"},
    };
    for (const Row& r : rows) {
        const TCurve start = StartCurve(r.Kind, '.');
        EXPECT_EQ(start.Kind, r.Kind);
        EXPECT_EQ(FieldTextsOf(start), r.Start) << int(r.Kind);
        TKindFieldTexts typed;
        for (std::size_t i = 0; i < kKindFieldCount; ++i) {
            EXPECT_EQ(FieldShown(r.Kind, TKindField(i)), r.Shown[i] == '1') << int(r.Kind) << " field " << i;
            typed[i] = "v" + std::to_string(i);
        }
        // What comes back is what was typed into the shown fields; a hidden
        // field takes nothing into the curve, and the other texts stay.
        TCurve other = start;
        other.Label = "mine";
        other.Of = 3;
        const TCurve edited = WithFieldTexts(other, typed);
        const TKindFieldTexts back = FieldTextsOf(edited);
        for (std::size_t i = 0; i < kKindFieldCount; ++i)
            EXPECT_EQ(back[i], r.Shown[i] == '1' ? typed[i] : "") << int(r.Kind) << " field " << i;
        int changed = 0;
        for (std::string TCurve::*member :
             {&TCurve::Formula, &TCurve::XOfT, &TCurve::YOfT, &TCurve::XMin, &TCurve::XMax, &TCurve::YMin,
              &TCurve::YMax, &TCurve::TMin, &TCurve::TMax, &TCurve::Step})
            changed += edited.*member != other.*member;
        EXPECT_EQ(changed, std::count(r.Shown, r.Shown + kKindFieldCount, '1')) << int(r.Kind);
        EXPECT_EQ(edited.Kind, r.Kind);
        EXPECT_EQ(edited.Label, "mine");
        EXPECT_EQ(edited.Of, 3);
    }
}

TEST(KindFields, StartTextsUseTheDecimalSeparatorInForce)
{
    const TCurve polar = StartCurve(TCurveKind::Polar, ',');
    EXPECT_EQ(polar.TMax, "6,2832");
    EXPECT_EQ(polar.Step, "0,01");
    EXPECT_EQ(StartCurve(TCurveKind::Implicit, ',').XMin, "-3");
}

} // namespace
} // namespace qrv::test
