// The text table of a Plot: one line per point, x and y in the "0.000"
// format joined by three blanks (t, x and y for a curve of a parameter). The lines are collected in one
// string and handed to the table control, a file or standard output in one piece, which is what makes a table
// of 10 001 lines cheap.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qrv
{

// One table line: x, three blanks, y.
std::string TableLine(double x, double y);

class TTableText
{
public:
    void Clear();
    void AddLine(double x, double y);
    // The line of a curve of a parameter: t, x and y, three blanks apart.
    void AddLine(double t, double x, double y);
    // A line of text as it is (no line break in it): a note instead of values.
    void AddNote(std::string_view note);

    std::size_t LineCount() const { return lineCount_; }
    bool Empty() const { return lineCount_ == 0; }

    // The lines separated by line feeds, without one after the last line:
    // the contents of the table control.
    std::string_view Text() const;

    // Every line followed by `lineEnd`, the last one too: the contents of a
    // saved table ("\r\n") or of standard output ("\n").
    std::string Terminated(std::string_view lineEnd) const;

private:
    std::string text_; // every line followed by '\n'
    std::size_t lineCount_ = 0;
};

} // namespace qrv
