#include "QrvValueList.h"

#include "QrvErrors.h"
#include "QrvSeries.h"

#include <cmath>

namespace qrv
{

TChartValueList::TChartValueList(TChartSeries* owner, std::string name) : Name(std::move(name)), owner_(owner)
{
}

void TChartValueList::CheckIndex(int index, bool allowEnd) const
{
    const int count = ValueCount();
    if (index < 0 || index > count || (index == count && !allowEnd)) throw EListError(index);
}

double TChartValueList::ValueAt(int index) const
{
    CheckIndex(index);
    return values_[static_cast<std::size_t>(index)] * multiplier_;
}

void TChartValueList::SetValueAt(int index, double value)
{
    CheckIndex(index);
    values_[static_cast<std::size_t>(index)] = value;
    statsDirty_ = true;
}

void TChartValueList::RemoveAll()
{
    // Give the memory back: a cleared series holds nothing.
    std::vector<double>().swap(values_);
    statsDirty_ = true;
}

int TChartValueList::InsertOrdered(double value)
{
    int index = ValueCount();
    if (Order != TChartListOrder::loNone && !values_.empty()) {
        // Scan backwards from the end: rising input appends in constant time,
        // and a value lands after every value equal to it.
        if (Order == TChartListOrder::loAscending) {
            while (index > 0 && values_[static_cast<std::size_t>(index - 1)] > value)
                --index;
        } else {
            while (index > 0 && values_[static_cast<std::size_t>(index - 1)] < value)
                --index;
        }
    }
    values_.insert(values_.begin() + index, value);
    statsDirty_ = true;
    return index;
}

void TChartValueList::InsertAt(int index, double value)
{
    CheckIndex(index, true);
    values_.insert(values_.begin() + index, value);
    statsDirty_ = true;
}

void TChartValueList::DeleteAt(int index)
{
    CheckIndex(index);
    values_.erase(values_.begin() + index);
    statsDirty_ = true;
}

void TChartValueList::RotateFirstToEnd()
{
    if (values_.size() < 2) return;
    const double first = values_.front();
    values_.erase(values_.begin());
    values_.push_back(first);
    statsDirty_ = true;
}

void TChartValueList::SetMultiplier(double multiplier)
{
    if (multiplier == multiplier_) return;
    multiplier_ = multiplier;
    statsDirty_ = true;
    if (owner_) owner_->RequestRepaint();
}

void TChartValueList::RecomputeStatistics()
{
    if (values_.empty()) {
        minimum_ = maximum_ = sum_ = absSum_ = 0.0;
    } else {
        const double first = values_.front() * multiplier_;
        minimum_ = maximum_ = sum_ = first;
        absSum_ = std::fabs(first);
        for (std::size_t k = 1; k < values_.size(); ++k) {
            const double v = values_[k] * multiplier_;
            if (v < minimum_)
                minimum_ = v;
            else if (v > maximum_)
                maximum_ = v;
            sum_ += v;
            absSum_ += std::fabs(v);
        }
    }
    statsDirty_ = false;
}

double TChartValueList::Statistic(const double& field)
{
    if (statsDirty_) RecomputeStatistics();
    return field;
}

double TChartValueList::MinimumValue()
{
    return Statistic(minimum_);
}

double TChartValueList::MaximumValue()
{
    return Statistic(maximum_);
}

double TChartValueList::TotalSum()
{
    return Statistic(sum_);
}

double TChartValueList::TotalAbsSum()
{
    return Statistic(absSum_);
}

} // namespace qrv
