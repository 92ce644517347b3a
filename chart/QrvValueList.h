// One coordinate of a series' points: an ordered list of doubles with its
// cached statistics. The index of a value is its point index.
#pragma once

#include <string>
#include <vector>

namespace qrv
{

class TChartSeries;

enum class TChartListOrder { loNone, loAscending, loDescending };

class TChartValueList
{
public:
    TChartValueList(TChartSeries* owner, std::string name);
    virtual ~TChartValueList() = default;
    TChartValueList(const TChartValueList&) = delete;
    TChartValueList& operator=(const TChartValueList&) = delete;

    // The value at index, multiplier applied. Raises EListError for an index
    // outside the list.
    virtual double ValueAt(int index) const;
    virtual void SetValueAt(int index, double value);
    virtual void RemoveAll();
    // Inserts keeping Order; a value equal to others goes after all of them.
    // Returns its index.
    virtual int InsertOrdered(double value);
    virtual void InsertAt(int index, double value);
    virtual int ValueCount() const { return static_cast<int>(values_.size()); }
    virtual void DeleteAt(int index);
    // Moves the first value to the end, the others one place down.
    virtual void RotateFirstToEnd();

    // The values as stored, without the multiplier (the drawing reads them
    // in bulk).
    const std::vector<double>& RawValues() const { return values_; }

    double MinimumValue();
    double MaximumValue();
    double TotalSum();
    double TotalAbsSum();
    bool StatsDirty() const { return statsDirty_; }
    void RecomputeStatistics();

    TChartListOrder Order = TChartListOrder::loNone;
    std::string Name;
    bool DateTime = false;
    std::string ValueSource;
    // Written by AddPoint before the point is inserted (or refused).
    double TempValue = 0.0;

    double Multiplier() const { return multiplier_; }
    void SetMultiplier(double multiplier);
    TChartSeries* Owner() const { return owner_; }

private:
    void CheckIndex(int index, bool allowEnd = false) const;
    // One of the statistics kept below, computed again first when stale.
    double Statistic(const double& field);

    TChartSeries* owner_;
    std::vector<double> values_;
    double multiplier_ = 1.0;
    bool statsDirty_ = true;
    double minimum_ = 0.0;
    double maximum_ = 0.0;
    double sum_ = 0.0;
    double absSum_ = 0.0;
};

} // namespace qrv
