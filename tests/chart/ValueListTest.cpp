// Ordered insertion, statistics and index checks of the chart's value lists.
#include "QrvErrors.h"
#include "QrvValueList.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qrv
{
namespace
{

std::vector<double> Values(const TChartValueList& list)
{
    std::vector<double> out;
    for (int i = 0; i < list.ValueCount(); ++i)
        out.push_back(list.ValueAt(i));
    return out;
}

struct InsertCase {
    std::string name;
    TChartListOrder order;
    std::vector<double> input;
    std::vector<int> indexes;
    std::vector<double> result;
};

class InsertOrderedTest : public ::testing::TestWithParam<InsertCase>
{
};

TEST_P(InsertOrderedTest, KeepsOrderAndReportsIndex)
{
    const InsertCase& c = GetParam();
    TChartValueList list(nullptr, "X");
    list.Order = c.order;
    std::vector<int> indexes;
    for (double v : c.input)
        indexes.push_back(list.InsertOrdered(v));
    EXPECT_EQ(indexes, c.indexes);
    EXPECT_EQ(Values(list), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, InsertOrderedTest,
    ::testing::Values(
        InsertCase{"UnorderedAppends", TChartListOrder::loNone, {3, 1, 2}, {0, 1, 2}, {3, 1, 2}},
        InsertCase{"AscendingSorts", TChartListOrder::loAscending, {3, 1, 2}, {0, 0, 1}, {1, 2, 3}},
        InsertCase{"AscendingRisingAppends", TChartListOrder::loAscending, {1, 2, 3}, {0, 1, 2}, {1, 2, 3}},
        InsertCase{
            "AscendingFallingInsertsAtFront", TChartListOrder::loAscending, {3, 2, 1}, {0, 0, 0}, {1, 2, 3}},
        InsertCase{"AscendingTieGoesAfterEquals",
                   TChartListOrder::loAscending,
                   {1, 2, 2, 3, 2},
                   {0, 1, 2, 3, 3},
                   {1, 2, 2, 2, 3}},
        InsertCase{"DescendingSorts", TChartListOrder::loDescending, {1, 3, 2}, {0, 0, 1}, {3, 2, 1}},
        InsertCase{"DescendingTieGoesAfterEquals",
                   TChartListOrder::loDescending,
                   {3, 2, 1, 2},
                   {0, 1, 2, 2},
                   {3, 2, 2, 1}},
        InsertCase{
            "NegativeValues", TChartListOrder::loAscending, {-1, -5, 0, -3}, {0, 0, 2, 1}, {-5, -3, -1, 0}}),
    test::RowName{});

struct StatsCase {
    std::string name;
    std::vector<double> values;
    double multiplier;
    double minimum, maximum, sum, absSum;
};

class StatisticsTest : public ::testing::TestWithParam<StatsCase>
{
};

TEST_P(StatisticsTest, ComputedLazilyWithMultiplier)
{
    const StatsCase& c = GetParam();
    TChartValueList list(nullptr, "Y");
    for (double v : c.values)
        list.InsertOrdered(v);
    list.SetMultiplier(c.multiplier);
    EXPECT_TRUE(list.StatsDirty());
    EXPECT_DOUBLE_EQ(list.MinimumValue(), c.minimum);
    EXPECT_FALSE(list.StatsDirty());
    EXPECT_DOUBLE_EQ(list.MaximumValue(), c.maximum);
    EXPECT_DOUBLE_EQ(list.TotalSum(), c.sum);
    EXPECT_DOUBLE_EQ(list.TotalAbsSum(), c.absSum);
}

INSTANTIATE_TEST_SUITE_P(Lists, StatisticsTest,
                         ::testing::Values(StatsCase{"Empty", {}, 1.0, 0, 0, 0, 0},
                                           StatsCase{"Single", {-4}, 1.0, -4, -4, -4, 4},
                                           StatsCase{"Mixed", {3, -7, 2.5, 0}, 1.0, -7, 3, -1.5, 12.5},
                                           StatsCase{"FirstIsMaximum", {9, 1, 5}, 1.0, 1, 9, 15, 15},
                                           StatsCase{"AllEqual", {5, 5, 5}, 1.0, 5, 5, 15, 15},
                                           StatsCase{"Multiplied", {1, -2}, 3.0, -6, 3, -3, 9}),
                         test::RowName{});

TEST(ValueListTest, ChangesMarkStatisticsDirty)
{
    TChartValueList list(nullptr, "Y");
    list.InsertOrdered(1);
    list.InsertOrdered(2);
    EXPECT_EQ(list.MaximumValue(), 2);
    list.SetValueAt(0, 10);
    EXPECT_EQ(list.MaximumValue(), 10);
    list.InsertAt(0, 20);
    EXPECT_EQ(list.MaximumValue(), 20);
    list.DeleteAt(0);
    EXPECT_EQ(list.MaximumValue(), 10);
    list.RemoveAll();
    EXPECT_EQ(list.ValueCount(), 0);
    EXPECT_EQ(list.MaximumValue(), 0);
    EXPECT_EQ(list.MinimumValue(), 0);
}

TEST(ValueListTest, IndexOutsideRaisesListError)
{
    TChartValueList list(nullptr, "X");
    list.InsertOrdered(1);
    try {
        list.ValueAt(5);
        FAIL() << "no exception";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (5)");
    }
    EXPECT_THROW(list.ValueAt(-1), EListError);
    EXPECT_THROW(list.SetValueAt(1, 0), EListError);
    EXPECT_THROW(list.DeleteAt(1), EListError);
    EXPECT_THROW(list.InsertAt(2, 0), EListError);
    EXPECT_NO_THROW(list.InsertAt(1, 0)); // at the end is allowed
}

} // namespace
} // namespace qrv
