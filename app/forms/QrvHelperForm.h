// The documentation window: the read-only user guide. One window, made once
// and shown again on every Documentation command; it never blocks the main
// window.
#pragma once

#include <QWidget>

class QFrame;
class QTextEdit;

namespace qrv
{

class TClickWatcher;

class THelperForm : public QWidget
{
    Q_OBJECT
public:
    explicit THelperForm(QWidget* parent = nullptr);

    // The Documentation command: shows the window, or brings it to the
    // front when it is already shown.
    void ShowGuide();
    // A click on the window's own surface or its panel closes (hides) it.
    void FormClick();

    QFrame* Panel2;
    QTextEdit* RichEdit1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TClickWatcher* clicks_;
    bool placed_ = false;
};

} // namespace qrv
