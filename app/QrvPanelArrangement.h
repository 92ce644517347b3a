// The rules of the View menu: which result panels show, how the text panel
// docks, and how the marks of Graphics, Text and Toolbar change. Pure
// logic: the window applies the outcome to its widgets.
#pragma once

namespace qrv
{

// The marks of the View menu items.
struct TViewMarks {
    bool Graphics = true;
    bool Text = true;
    bool Toolbar = true;
    bool operator==(const TViewMarks&) const = default;
};

// The text panel's width at start, and the width it gets whenever both
// panels are shown again (whatever the splitter had made of it).
inline constexpr int kTextPanelStartWidth = 175;
inline constexpr int kTextPanelWidth = 172;

enum class TTextDock { Right, Client };

// What the result area shows for a set of marks.
struct TPanelArrangement {
    bool ShowChart = false;
    bool ShowSplitter = false;
    bool ShowText = false;
    TTextDock TextDock = TTextDock::Right;
    bool ResetTextWidth = false; // set the text panel to kTextPanelWidth
    bool ShowToolbar = false;
    bool operator==(const TPanelArrangement&) const = default;
};

// Graphics and Text invert their own mark; unmarking one marks the other,
// so one of the two panels is always shown.
void ToggleGraphics(TViewMarks& marks);
void ToggleText(TViewMarks& marks);
void ToggleToolbar(TViewMarks& marks);

TPanelArrangement ArrangeResultPanels(const TViewMarks& marks);

} // namespace qrv
