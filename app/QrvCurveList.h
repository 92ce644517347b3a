// The function list beside the chart and the dialog that restyles a curve.
// Both are thin: the list shows TCurveListModel and hands the user's choice
// of row to the window; its buttons are the window's curve actions; the
// dialog only edits a TCurveLook, which the caller gives to the editor.
#pragma once

#include "QrvDocumentEditor.h"

#include <QDialog>
#include <QGroupBox>

#include <functional>
#include <vector>

class QAction;
class QComboBox;
class QLineEdit;
class QListView;
class QSpinBox;
class QMenu;
class QToolButton;

namespace qrv
{

class TCurveListModel;

// The width the list adds to the window when it is shown.
inline constexpr int kCurveListWidth = 190;

class TCurveListPanel : public QGroupBox
{
    Q_OBJECT
public:
    // `actions` become the buttons below the list, in their order.
    TCurveListPanel(TCurveListModel& model, const std::vector<QAction*>& actions, QWidget* parent = nullptr);

    // The button of `action` also opens `menu` from its arrow; a click on
    // the button itself still triggers the action.
    void SetButtonMenu(QAction* action, QMenu* menu);
    // The button of `action` (nullptr when there is none).
    QToolButton* ButtonOf(QAction* action) const;

    // Marks the row of the current curve (without telling OnSelect).
    void ShowCurrent(int row);
    // Called with the row the user chose.
    std::function<void(int)> OnSelect;

    QListView* List = nullptr;

private:
    bool showing_ = false;
    std::vector<QToolButton*> buttons_;
};

// "Curve style": colour (through the platform's colour choice), width 1 to
// 8 pixels, line style and label.
class TCurveStyleDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TCurveStyleDialog(const TCurveLook& look, QWidget* parent = nullptr);

    TCurveLook Look() const;

    QToolButton* ColorButton = nullptr;
    QSpinBox* WidthBox = nullptr;
    QComboBox* StyleBox = nullptr;
    QLineEdit* LabelEdit = nullptr;

private:
    void ShowColor();
    TColor color_;
};

} // namespace qrv
