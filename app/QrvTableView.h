// The text table of the main window. It holds the table's text with the
// start of every line and paints only the rows in view, so a table of ten
// thousand lines is shown at once. It scrolls, selects with the mouse and
// the keyboard, and copies. The table stays editable: the first key that
// would change the text hands the text to an edit control that takes over
// until the next Plot sets a new table.
#pragma once

#include <QAbstractScrollArea>
#include <QString>

#include <string_view>
#include <vector>

class QPlainTextEdit;

namespace qrv
{

class TTableView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit TTableView(QWidget* parent = nullptr);
    ~TTableView() override;

    // --- the text (names as the edit control's, which it stands in for) ------
    // Replaces the text and any edits, clears the selection and the
    // highlighted line, and scrolls to the top.
    void setPlainText(const QString& text);
    // The same from 8-bit text, the form the Plot run writes.
    void SetLatin1Text(std::string_view text);
    void clear() { setPlainText(QString()); }
    // Adds a line after the last one (the first line of an empty table).
    void appendPlainText(const QString& line);
    QString toPlainText() const;
    bool isReadOnly() const { return false; }
    // Lines as an edit control counts them: an empty table has one.
    int LineCount() const;

    // --- selection, in characters from the start of the text ----------------
    int SelectionStart() const;
    int SelectionEnd() const;
    bool HasSelection() const { return SelectionStart() != SelectionEnd(); }
    // Selects from anchor to caret (caret may lie before anchor); equal
    // positions put the caret there with nothing selected.
    void SetSelection(int anchor, int caret);
    void SelectAll();
    QString SelectedText() const;
    // The line the caret is on.
    int CaretLine() const;

    // --- the highlighted line (the trace's point) ----------------------------
    // -1 highlights none. The line is scrolled into view. While the text is
    // being edited its lines no longer stand for points, and nothing is
    // highlighted.
    void SetHighlightedLine(int line);
    int HighlightedLine() const { return highlighted_; }

    // --- editing ---------------------------------------------------------------
    bool Editing() const { return editor_ != nullptr; }
    // The edit control, while editing (else nullptr).
    QPlainTextEdit* Editor() const { return editor_; }
    // Starts editing (if not yet) and types text at the caret, replacing the
    // selection.
    void InsertText(const QString& text);

    // --- view --------------------------------------------------------------------
    int FirstVisibleLine() const;
    // The line under a point of the viewport (clamped to the lines).
    int LineAt(const QPoint& viewportPoint) const;
    // The area of a line in viewport coordinates.
    QRect LineRect(int line) const;
    // How many rows the last paint drew.
    int LastPaintedRows() const { return lastPaintedRows_; }

signals:
    // The user put the caret on a line, by mouse or keyboard.
    void LineChosen(int line);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void IndexLines();
    void UpdateScrollBars();
    int LineStart(int line) const { return lineStarts_[std::size_t(line)]; }
    int LineEnd(int line) const;
    QStringView Line(int line) const;
    int LineOfPosition(int position) const;
    int PositionAt(const QPoint& viewportPoint) const;
    int XOfPosition(int position) const;
    int RowHeight() const;
    int VisibleRows() const;
    void MoveCaret(int position, bool keepAnchor);
    void EnsureLineVisible(int line);
    void EnsureCaretVisible();
    // Leaves the control to the edit control, which gets the text, the
    // selection and the focus.
    void StartEditing();
    void StopEditing();
    // A key that changes the text in an edit control.
    static bool IsEditingKey(const QKeyEvent& event);

    QString text_;
    std::vector<int> lineStarts_{0};
    int widestLine_ = 0; // pixels, as far as measured
    int anchor_ = 0;
    int caret_ = 0;
    int caretColumnX_ = -1; // the column Up and Down keep, in pixels
    int highlighted_ = -1;
    bool dragging_ = false;
    int lastPaintedRows_ = 0;
    QPlainTextEdit* editor_ = nullptr;
};

} // namespace qrv
