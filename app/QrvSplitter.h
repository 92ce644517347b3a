// Splitter1: a thin bar between the chart and the text panel. Dragging it
// changes the width of the panel docked to its right; the chart, which fills
// the rest, follows through the layout.
#pragma once

#include <QWidget>

namespace qrv
{

class TSplitter : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 3;
    // The narrowest either neighbour may become by dragging.
    static constexpr int kMinSize = 30;

    explicit TSplitter(QWidget* parent = nullptr);

    // The panel to the right of the bar, whose width the bar sets.
    void SetControl(QWidget* control) { control_ = control; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QWidget* control_ = nullptr;
    int pressX_ = 0;
    int startWidth_ = 0;
    bool dragging_ = false;
};

} // namespace qrv
