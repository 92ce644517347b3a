// A sunken panel that shows a colour and reports a click (or Space when it
// has the keyboard focus).
#pragma once

#include "QrvColor.h"

#include <QFrame>

namespace qrv
{

class TColorPanel : public QFrame
{
    Q_OBJECT
public:
    explicit TColorPanel(QWidget* parent = nullptr);

    TColor Color() const { return color_; }
    void SetColor(TColor color);

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TColor color_ = clWhite;
};

} // namespace qrv
