#include "QrvChartAxis.h"

#include "QrvNumberText.h"

#include <utility>

namespace qrv
{

TChartAxis::TChartAxis(TAxisKind kind, std::function<void()> changed)
    : kind_(kind), changed_(std::move(changed))
{
    if (kind == TAxisKind::Left) Title.Angle = 90;
    if (kind == TAxisKind::Right) Title.Angle = 270;
    if (kind == TAxisKind::Depth) Visible = false;
}

void TChartAxis::Changed()
{
    if (changed_) changed_();
}

void TChartAxis::SetAutomatic(bool value)
{
    Assign(automatic_, value);
}

void TChartAxis::SetAutomaticMinimum(bool value)
{
    Assign(automaticMinimum_, value);
}

void TChartAxis::SetAutomaticMaximum(bool value)
{
    Assign(automaticMaximum_, value);
}

void TChartAxis::SetMinMax(double a, double b)
{
    if (b < a) std::swap(a, b);
    if (a == minimum_ && b == maximum_) return;
    minimum_ = a;
    maximum_ = b;
    Changed();
}

void TChartAxis::SetIncrement(double value)
{
    if (!(value > 0.0)) value = 0.0;
    if (value == increment_) return;
    increment_ = value;
    Changed();
}

TAxisRangeState TChartAxis::RangeState() const
{
    return {automatic_, automaticMinimum_, automaticMaximum_, minimum_, maximum_};
}

void TChartAxis::SetRangeState(const TAxisRangeState& state)
{
    const bool same = state.Automatic == automatic_ && state.AutomaticMinimum == automaticMinimum_ &&
                      state.AutomaticMaximum == automaticMaximum_ && state.Minimum == minimum_ &&
                      state.Maximum == maximum_;
    automatic_ = state.Automatic;
    automaticMinimum_ = state.AutomaticMinimum;
    automaticMaximum_ = state.AutomaticMaximum;
    minimum_ = state.Minimum;
    maximum_ = state.Maximum;
    if (!same) Changed();
}

TTextDirection TChartAxis::TextDirection(int angle) const
{
    const bool level = angle == 0 || angle == 180;
    const bool upright = angle == 90 || angle == 270;
    if (!level && !upright) return TTextDirection::Slanted;
    return level == IsHorizontal() ? TTextDirection::Along : TTextDirection::Across;
}

QString TChartAxis::LabelText(double value) const
{
    return QString::fromStdString(FormatAxisValue(value));
}

} // namespace qrv
