#include "QrvPanelArrangement.h"

namespace qrv
{

void ToggleGraphics(TViewMarks& marks)
{
    marks.Graphics = !marks.Graphics;
    if (!marks.Graphics) marks.Text = true;
}

void ToggleText(TViewMarks& marks)
{
    marks.Text = !marks.Text;
    if (!marks.Text) marks.Graphics = true;
}

void ToggleToolbar(TViewMarks& marks)
{
    marks.Toolbar = !marks.Toolbar;
}

TPanelArrangement ArrangeResultPanels(const TViewMarks& marks)
{
    TPanelArrangement a;
    if (marks.Graphics && marks.Text) {
        a.ShowChart = a.ShowSplitter = a.ShowText = true;
        a.TextDock = TTextDock::Right;
        a.ResetTextWidth = true;
    } else if (marks.Text) {
        a.ShowText = true;
        a.TextDock = TTextDock::Client;
    } else if (marks.Graphics) {
        a.ShowChart = true;
    }
    a.ShowToolbar = marks.Toolbar;
    return a;
}

} // namespace qrv
