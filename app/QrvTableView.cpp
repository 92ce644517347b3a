#include "QrvTableView.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>

#include <algorithm>
#include <climits>

namespace qrv
{

namespace
{

// Room around the text, as an edit control's document keeps it.
constexpr int kMargin = 4;

// Captions of the table's own context menu.
constexpr const char* kMenuCopy = "&Copy";
constexpr const char* kMenuPaste = "&Paste";
constexpr const char* kMenuSelectAll = "Select &All";

// Positions are ints, as in the edit control; a longer text is cut where it
// still fits rather than counted wrongly.
QString Bounded(QString text)
{
    if (text.size() >= INT_MAX) text.truncate(INT_MAX - 1);
    return text;
}

QColor Blend(const QColor& a, const QColor& b, double share)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * share),
                            float(a.greenF() + (b.greenF() - a.greenF()) * share),
                            float(a.blueF() + (b.blueF() - a.blueF()) * share));
}

// Lets the edit control handle an event as if it were its own, without the
// event travelling on to the table (its parent) and back again.
bool Deliver(QWidget* target, QEvent* event)
{
    return static_cast<QObject*>(target)->event(event);
}

} // namespace

TTableView::TTableView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    UpdateScrollBars();
}

TTableView::~TTableView() = default;

void TTableView::setPlainText(const QString& text)
{
    StopEditing();
    text_ = Bounded(text);
    anchor_ = caret_ = 0;
    caretColumnX_ = -1;
    highlighted_ = -1;
    dragging_ = false;
    IndexLines();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

void TTableView::SetLatin1Text(std::string_view text)
{
    setPlainText(
        QString::fromLatin1(text.data(), qsizetype(std::min<std::size_t>(text.size(), INT_MAX - 1))));
}

void TTableView::appendPlainText(const QString& line)
{
    if (editor_) {
        editor_->appendPlainText(line);
        return;
    }
    text_ = Bounded(text_.isEmpty() ? line : text_ + QChar(u'\n') + line);
    IndexLines();
    viewport()->update();
}

QString TTableView::toPlainText() const
{
    return editor_ ? editor_->toPlainText() : text_;
}

int TTableView::LineCount() const
{
    return editor_ ? editor_->document()->blockCount() : int(lineStarts_.size());
}

void TTableView::IndexLines()
{
    lineStarts_.assign(1, 0);
    for (qsizetype i = text_.indexOf(u'\n'); i >= 0; i = text_.indexOf(u'\n', i + 1))
        lineStarts_.push_back(int(i + 1));
    // The widest line is measured by its length here; painting widens the
    // scroll range should a shorter line of wide characters be wider.
    int longest = 0;
    for (int line = 0; line < int(lineStarts_.size()); ++line)
        if (LineEnd(line) - LineStart(line) > LineEnd(longest) - LineStart(longest)) longest = line;
    widestLine_ = QFontMetrics(font()).horizontalAdvance(Line(longest).toString());
    UpdateScrollBars();
}

int TTableView::LineEnd(int line) const
{
    return line + 1 < int(lineStarts_.size()) ? lineStarts_[std::size_t(line) + 1] - 1 : int(text_.size());
}

QStringView TTableView::Line(int line) const
{
    return QStringView(text_).mid(LineStart(line), LineEnd(line) - LineStart(line));
}

int TTableView::LineOfPosition(int position) const
{
    const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), position);
    return std::max(0, int(after - lineStarts_.begin()) - 1);
}

int TTableView::RowHeight() const
{
    return std::max(1, QFontMetrics(font()).lineSpacing());
}

int TTableView::VisibleRows() const
{
    return std::max(1, (viewport()->height() - kMargin) / RowHeight());
}

int TTableView::FirstVisibleLine() const
{
    return verticalScrollBar()->value();
}

void TTableView::UpdateScrollBars()
{
    const int rows = VisibleRows();
    verticalScrollBar()->setRange(0, std::max(0, int(lineStarts_.size()) - rows));
    verticalScrollBar()->setPageStep(rows);
    verticalScrollBar()->setSingleStep(1);
    const int width = viewport()->width();
    horizontalScrollBar()->setRange(0, std::max(0, widestLine_ + 2 * kMargin - width));
    horizontalScrollBar()->setPageStep(std::max(1, width));
    horizontalScrollBar()->setSingleStep(std::max(1, QFontMetrics(font()).averageCharWidth()));
}

int TTableView::LineAt(const QPoint& viewportPoint) const
{
    const int row = viewportPoint.y() < kMargin ? 0 : (viewportPoint.y() - kMargin) / RowHeight();
    return std::clamp(FirstVisibleLine() + row, 0, int(lineStarts_.size()) - 1);
}

QRect TTableView::LineRect(int line) const
{
    return QRect(0, kMargin + (line - FirstVisibleLine()) * RowHeight(), viewport()->width(), RowHeight());
}

int TTableView::XOfPosition(int position) const
{
    const int line = LineOfPosition(position);
    return QFontMetrics(font()).horizontalAdvance(Line(line).left(position - LineStart(line)).toString());
}

int TTableView::PositionAt(const QPoint& viewportPoint) const
{
    const int line = LineAt(viewportPoint);
    const QString text = Line(line).toString();
    const QFontMetrics metrics(font());
    const int x = viewportPoint.x() - kMargin + horizontalScrollBar()->value();
    // The first column whose middle lies right of x; widths grow with the
    // column, so a binary search finds it.
    int low = 0, high = int(text.size());
    while (low < high) {
        const int mid = (low + high) / 2;
        const int left = metrics.horizontalAdvance(text.left(mid));
        const int right = metrics.horizontalAdvance(text.left(mid + 1));
        if ((left + right) / 2 < x)
            low = mid + 1;
        else
            high = mid;
    }
    return LineStart(line) + low;
}

int TTableView::SelectionStart() const
{
    return editor_ ? editor_->textCursor().selectionStart() : std::min(anchor_, caret_);
}

int TTableView::SelectionEnd() const
{
    return editor_ ? editor_->textCursor().selectionEnd() : std::max(anchor_, caret_);
}

void TTableView::SetSelection(int anchor, int caret)
{
    const int size = editor_ ? editor_->document()->characterCount() - 1 : int(text_.size());
    anchor = std::clamp(anchor, 0, size);
    caret = std::clamp(caret, 0, size);
    if (editor_) {
        QTextCursor cursor = editor_->textCursor();
        cursor.setPosition(anchor);
        cursor.setPosition(caret, QTextCursor::KeepAnchor);
        editor_->setTextCursor(cursor);
        return;
    }
    anchor_ = anchor;
    caret_ = caret;
    caretColumnX_ = -1;
    viewport()->update();
}

void TTableView::SelectAll()
{
    if (editor_)
        editor_->selectAll();
    else
        SetSelection(0, int(text_.size()));
}

QString TTableView::SelectedText() const
{
    if (editor_) return editor_->textCursor().selection().toPlainText();
    return text_.mid(SelectionStart(), SelectionEnd() - SelectionStart());
}

int TTableView::CaretLine() const
{
    return editor_ ? editor_->textCursor().blockNumber() : LineOfPosition(caret_);
}

void TTableView::SetHighlightedLine(int line)
{
    if (editor_ || line >= int(lineStarts_.size())) line = -1;
    if (line == highlighted_) return;
    highlighted_ = line;
    if (line >= 0) EnsureLineVisible(line);
    viewport()->update();
}

void TTableView::EnsureLineVisible(int line)
{
    const int first = FirstVisibleLine();
    const int rows = VisibleRows();
    if (line < first)
        verticalScrollBar()->setValue(line);
    else if (line >= first + rows)
        verticalScrollBar()->setValue(line - rows + 1);
}

void TTableView::EnsureCaretVisible()
{
    EnsureLineVisible(CaretLine());
    const int x = XOfPosition(caret_);
    const int room = viewport()->width() - 2 * kMargin;
    QScrollBar* bar = horizontalScrollBar();
    if (x < bar->value())
        bar->setValue(x);
    else if (x > bar->value() + room)
        bar->setValue(x - room);
}

void TTableView::MoveCaret(int position, bool keepAnchor)
{
    const int lineBefore = CaretLine();
    caret_ = std::clamp(position, 0, int(text_.size()));
    if (!keepAnchor) anchor_ = caret_;
    EnsureCaretVisible();
    viewport()->update();
    if (CaretLine() != lineBefore || !keepAnchor) emit LineChosen(CaretLine());
}

void TTableView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const QFontMetrics metrics(font());
    const QPalette& colours = palette();
    const int rowHeight = RowHeight();
    const int first = FirstVisibleLine();
    const int left = kMargin - horizontalScrollBar()->value();
    const int selectionStart = SelectionStart(), selectionEnd = SelectionEnd();
    const int lines = int(lineStarts_.size());
    int painted = 0;
    int widest = widestLine_;
    for (int line = first; line < lines; ++line) {
        const int top = kMargin + (line - first) * rowHeight;
        if (top >= viewport()->height()) break;
        const QString text = Line(line).toString();
        if (line == highlighted_)
            painter.fillRect(QRect(0, top, viewport()->width(), rowHeight),
                             Blend(colours.color(QPalette::Base), colours.color(QPalette::Highlight), 0.3));
        painter.setPen(colours.color(QPalette::Text));
        painter.drawText(left, top + metrics.ascent(), text);
        // The selected part: highlight behind, drawn again in its colour; a
        // selected line end shows as a blank's width.
        const int from = std::max(selectionStart, LineStart(line));
        const int to = std::min(selectionEnd, LineEnd(line));
        const bool lineEndSelected = selectionStart <= LineEnd(line) && selectionEnd > LineEnd(line);
        if (from < to || lineEndSelected) {
            const int x0 = left + metrics.horizontalAdvance(text.left(std::max(0, from - LineStart(line))));
            int x1 = left + metrics.horizontalAdvance(text.left(std::max(0, to - LineStart(line))));
            if (lineEndSelected) x1 += metrics.horizontalAdvance(QChar(u' '));
            const QRect band(x0, top, x1 - x0, rowHeight);
            painter.fillRect(band, colours.color(QPalette::Highlight));
            painter.save();
            painter.setClipRect(band);
            painter.setPen(colours.color(QPalette::HighlightedText));
            painter.drawText(left, top + metrics.ascent(), text);
            painter.restore();
        }
        widest = std::max(widest, metrics.horizontalAdvance(text));
        ++painted;
    }
    if (hasFocus()) {
        const int line = LineOfPosition(caret_);
        const int x = left + XOfPosition(caret_);
        const int top = kMargin + (line - first) * rowHeight;
        painter.setPen(colours.color(QPalette::Text));
        painter.drawLine(x, top, x, top + rowHeight - 1);
    }
    lastPaintedRows_ = painted;
    if (widest > widestLine_) {
        widestLine_ = widest;
        UpdateScrollBars();
    }
}

void TTableView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
    if (editor_) editor_->setGeometry(rect());
}

bool TTableView::IsEditingKey(const QKeyEvent& event)
{
    for (QKeySequence::StandardKey key :
         {QKeySequence::Paste, QKeySequence::Cut, QKeySequence::Undo, QKeySequence::Redo,
          QKeySequence::Delete, QKeySequence::Backspace, QKeySequence::DeleteStartOfWord,
          QKeySequence::DeleteEndOfWord, QKeySequence::InsertParagraphSeparator,
          QKeySequence::InsertLineSeparator})
        if (event.matches(key)) return true;
    switch (event.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    default:
        break;
    }
    const QString text = event.text();
    return !text.isEmpty() && text.at(0).isPrint() && !(event.modifiers() & Qt::ControlModifier);
}

bool TTableView::event(QEvent* event)
{
    // Keys the table uses itself win over the window's shortcuts, as in an
    // edit control.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (key.matches(QKeySequence::Copy) || key.matches(QKeySequence::SelectAll) || IsEditingKey(key)) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void TTableView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::ControlModifier) {
        // Tab moves the focus on; Ctrl+Tab types a tab.
        InsertText(QStringLiteral("\t"));
        return;
    }
    if (!editor_ && IsEditingKey(*event)) StartEditing();
    if (editor_) {
        event->setAccepted(false);
        Deliver(editor_, event);
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        if (HasSelection()) QGuiApplication::clipboard()->setText(SelectedText());
        return;
    }
    const bool keep = event->modifiers() & Qt::ShiftModifier;
    const bool wholeText = event->modifiers() & Qt::ControlModifier;
    const int line = CaretLine();
    const int lastLine = int(lineStarts_.size()) - 1;
    // Up and Down keep the column the caret came from.
    auto inLine = [&](int target) {
        target = std::clamp(target, 0, lastLine);
        if (caretColumnX_ < 0) caretColumnX_ = XOfPosition(caret_);
        const int column = caretColumnX_;
        const QPoint point(kMargin - horizontalScrollBar()->value() + column,
                           kMargin + (target - FirstVisibleLine()) * RowHeight() + RowHeight() / 2);
        const int position = std::clamp(PositionAt(point), LineStart(target), LineEnd(target));
        MoveCaret(position, keep);
        caretColumnX_ = column;
    };
    switch (event->key()) {
    case Qt::Key_Left:
        MoveCaret(!keep && HasSelection() ? SelectionStart() : caret_ - 1, keep);
        break;
    case Qt::Key_Right:
        MoveCaret(!keep && HasSelection() ? SelectionEnd() : caret_ + 1, keep);
        break;
    case Qt::Key_Up:
        inLine(line - 1);
        break;
    case Qt::Key_Down:
        inLine(line + 1);
        break;
    case Qt::Key_PageUp:
        inLine(line - VisibleRows());
        break;
    case Qt::Key_PageDown:
        inLine(line + VisibleRows());
        break;
    case Qt::Key_Home:
        MoveCaret(wholeText ? 0 : LineStart(line), keep);
        break;
    case Qt::Key_End:
        MoveCaret(wholeText ? int(text_.size()) : LineEnd(line), keep);
        break;
    default:
        // Esc and the rest belong to the window.
        event->ignore();
        return;
    }
    if (event->key() != Qt::Key_Up && event->key() != Qt::Key_Down && event->key() != Qt::Key_PageUp &&
        event->key() != Qt::Key_PageDown)
        caretColumnX_ = -1;
}

void TTableView::inputMethodEvent(QInputMethodEvent* event)
{
    StartEditing();
    Deliver(editor_, event);
}

void TTableView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    dragging_ = true;
    MoveCaret(PositionAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void TTableView::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_ && (event->buttons() & Qt::LeftButton))
        MoveCaret(PositionAt(event->position().toPoint()), true);
}

void TTableView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) dragging_ = false;
}

void TTableView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click selects the whole line.
    if (event->button() != Qt::LeftButton) return;
    dragging_ = false;
    const int line = LineAt(event->position().toPoint());
    SetSelection(LineStart(line), LineEnd(line));
    emit LineChosen(line);
}

void TTableView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copy = menu.addAction(QString::fromUtf8(kMenuCopy));
    copy->setEnabled(HasSelection());
    QAction* paste = menu.addAction(QString::fromUtf8(kMenuPaste));
    menu.addSeparator();
    QAction* all = menu.addAction(QString::fromUtf8(kMenuSelectAll));
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == copy) QGuiApplication::clipboard()->setText(SelectedText());
    if (chosen == all) SelectAll();
    if (chosen == paste) {
        StartEditing();
        editor_->paste();
    }
}

void TTableView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TTableView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

bool TTableView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == editor_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier) {
            editor_->insertPlainText(QStringLiteral("\t"));
            return true;
        }
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

void TTableView::InsertText(const QString& text)
{
    StartEditing();
    editor_->insertPlainText(text);
}

void TTableView::StartEditing()
{
    if (editor_) return;
    const bool focused = hasFocus();
    const int firstLine = FirstVisibleLine();
    const int across = horizontalScrollBar()->value();
    editor_ = new QPlainTextEdit(this);
    editor_->setObjectName(QStringLiteral("TableEditor"));
    editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->setTabChangesFocus(true);
    editor_->setFrameStyle(frameStyle());
    editor_->setGeometry(rect());
    editor_->setPlainText(text_);
    editor_->installEventFilter(this);
    QTextCursor cursor = editor_->textCursor();
    cursor.setPosition(anchor_);
    cursor.setPosition(caret_, QTextCursor::KeepAnchor);
    editor_->setTextCursor(cursor);
    // The edit control counts its vertical scroll in lines too.
    editor_->verticalScrollBar()->setValue(firstLine);
    editor_->horizontalScrollBar()->setValue(across);
    editor_->show();
    editor_->raise();
    // Tab goes on from the edit control where it would from the table.
    setTabOrder(this, editor_);
    setFocusProxy(editor_);
    if (focused) editor_->setFocus();
    // The text lives in the edit control now; its lines no longer stand for
    // the run's points.
    text_ = QString();
    highlighted_ = -1;
    anchor_ = caret_ = 0;
    IndexLines();
}

void TTableView::StopEditing()
{
    if (!editor_) return;
    QPlainTextEdit* editor = editor_;
    editor_ = nullptr;
    const bool focused = editor->hasFocus();
    setFocusProxy(nullptr);
    editor->removeEventFilter(this);
    editor->hide();
    if (focused) setFocus();
    editor->deleteLater();
}

} // namespace qrv
