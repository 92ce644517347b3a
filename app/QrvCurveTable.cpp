#include "QrvCurveTable.h"

#include "QrvTableCsv.h"

#include <algorithm>
#include <vector>

namespace qrv
{

namespace
{

constexpr std::string_view kColumnGap = "   ";

// The x and y texts of a run's table, line by line: each line is x, three
// blanks, y, and neither number holds a blank.
struct TCells {
    std::vector<std::string_view> X;
    std::vector<std::string_view> Y;
};

TCells CellsOf(const TTableText& table)
{
    TCells cells;
    cells.X.reserve(table.LineCount());
    cells.Y.reserve(table.LineCount());
    std::string_view text = table.Text();
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        const auto gap = line.find(kColumnGap);
        cells.X.push_back(line.substr(0, gap));
        cells.Y.push_back(gap == std::string_view::npos ? std::string_view()
                                                        : line.substr(gap + kColumnGap.size()));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return cells;
}

// One block: consecutive columns of one grid, with their cells.
struct TBlock {
    std::span<const TCurveColumn> Columns;
    std::vector<TCells> Cells;
    std::size_t Rows = 0;

    // The x of a row: from a column that reached it.
    std::string_view X(std::size_t row) const
    {
        for (const TCells& cells : Cells)
            if (row < cells.X.size()) return cells.X[row];
        return {};
    }
};

std::vector<TBlock> BlocksOf(std::span<const TCurveColumn> columns)
{
    std::vector<TBlock> blocks;
    std::size_t begin = 0;
    while (begin < columns.size()) {
        std::size_t end = begin + 1;
        while (end < columns.size() && SameGrid(columns[begin], columns[end]))
            ++end;
        TBlock block{columns.subspan(begin, end - begin), {}, 0};
        for (const TCurveColumn& column : block.Columns) {
            block.Cells.push_back(column.Table ? CellsOf(*column.Table) : TCells());
            block.Rows = std::max(block.Rows, block.Cells.back().X.size());
        }
        blocks.push_back(std::move(block));
        begin = end;
    }
    return blocks;
}

// A name on one line of text.
std::string OneLine(std::string_view name)
{
    std::string line(name);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return line;
}

// The CSV of a table of t, x and y: its header even when it has no line.
std::string ParameterCsv(std::string_view text, char decimalSeparator)
{
    const char separator = CsvFieldSeparator(decimalSeparator);
    const std::string rows = TableCsv(text, decimalSeparator);
    std::string out{'t', separator, 'x', separator, 'y', '\r', '\n'};
    out.append(rows, rows.find("\r\n") + 2);
    return out;
}

} // namespace

bool SameGrid(const TCurveColumn& a, const TCurveColumn& b)
{
    return a.Shape == TTableShape::XY && b.Shape == TTableShape::XY && a.Grid && b.Grid &&
           a.Grid->XMin == b.Grid->XMin && a.Grid->XMax == b.Grid->XMax && a.Grid->Step == b.Grid->Step;
}

std::string CurveTableText(std::span<const TCurveColumn> columns, std::string_view lineEnd)
{
    if (columns.size() == 1) return columns[0].Table ? columns[0].Table->Terminated(lineEnd) : std::string();
    std::string out;
    bool first = true;
    for (const TBlock& block : BlocksOf(columns)) {
        if (!first) out += lineEnd;
        first = false;
        if (const TCurveColumn& own = block.Columns.front(); own.Shape != TTableShape::XY) {
            // A block of its own: the name, the columns' names, the lines.
            out += OneLine(own.Name);
            out += lineEnd;
            if (own.Shape == TTableShape::TXY) {
                out += "t   x   y";
                out += lineEnd;
            }
            if (own.Table) out += own.Table->Terminated(lineEnd);
            continue;
        }
        out += 'x';
        for (const TCurveColumn& column : block.Columns) {
            out += kColumnGap;
            out += OneLine(column.Name);
        }
        out += lineEnd;
        for (std::size_t row = 0; row < block.Rows; ++row) {
            out += block.X(row);
            // Gaps are written once a value follows them: a line ends after
            // its last value.
            std::size_t gaps = 0;
            for (const TCells& cells : block.Cells) {
                ++gaps;
                if (row >= cells.Y.size()) continue;
                for (; gaps > 0; --gaps)
                    out += kColumnGap;
                out += cells.Y[row];
            }
            out += lineEnd;
        }
    }
    return out;
}

std::string CurveTableCsv(std::span<const TCurveColumn> columns, char decimalSeparator)
{
    const char separator = CsvFieldSeparator(decimalSeparator);
    if (columns.size() == 1) {
        const TCurveColumn& one = columns[0];
        const std::string_view text = one.Table ? one.Table->Text() : std::string_view();
        if (one.Shape == TTableShape::XY) return TableCsv(text, decimalSeparator);
        if (one.Shape == TTableShape::TXY) return ParameterCsv(text, decimalSeparator);
        std::string out;
        AppendCsvField(out, text, separator);
        return out + "\r\n";
    }
    std::string out;
    if (columns.empty()) return "x\r\n";
    bool first = true;
    for (const TBlock& block : BlocksOf(columns)) {
        if (!first) out += "\r\n";
        first = false;
        if (const TCurveColumn& own = block.Columns.front(); own.Shape != TTableShape::XY) {
            AppendCsvField(out, own.Name, separator);
            out += "\r\n";
            const std::string_view text = own.Table ? own.Table->Text() : std::string_view();
            if (own.Shape == TTableShape::TXY) {
                out += ParameterCsv(text, decimalSeparator);
            } else if (!text.empty()) {
                AppendCsvField(out, text, separator);
                out += "\r\n";
            }
            continue;
        }
        out += 'x';
        for (const TCurveColumn& column : block.Columns) {
            out += separator;
            AppendCsvField(out, column.Name, separator);
        }
        out += "\r\n";
        for (std::size_t row = 0; row < block.Rows; ++row) {
            AppendCsvField(out, block.X(row), separator);
            for (const TCells& cells : block.Cells) {
                out += separator;
                if (row < cells.Y.size()) AppendCsvField(out, cells.Y[row], separator);
            }
            out += "\r\n";
        }
    }
    return out;
}

} // namespace qrv
