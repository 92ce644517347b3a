// Controls linked to setting variables. Each shows its variable's value and
// commits what the user typed or clicked when the focus leaves it for
// another control of the same window (a switch to another window commits
// nothing). Commit() does the same on demand, for a dialog that closes while
// the control has the focus. After a commit the control emits Exited(), the
// ordinary leave handling; a rejected edit does not.
#pragma once

#include "QrvVariables.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>

namespace qrv
{

// A single-line edit for a TInt, TFlt or TStr. Typed numbers are checked:
// "Invalid integer", "Invalid float" or "Value must be in range <min>..<max>"
// in an error box with OK and Cancel; the value then stays, the focus comes
// back, and Cancel also puts the default back into the edit.
class TVarEdit : public QLineEdit, public TLinkedControl
{
    Q_OBJECT
public:
    explicit TVarEdit(QWidget* parent = nullptr);

    TVariable* Link() const { return link_; }
    void SetLink(TVariable* variable);

    // Commits the text; false when it was rejected with a message.
    bool Commit();
    void ShowLinkedValue() override;

signals:
    void Exited();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool Reject(const std::string& message, const std::string& defaultText);

    QPointer<TVariable> link_;
};

// A check box for a TChk: checked when the value is true. Clicking alone does
// not change the variable; leaving the box commits (a greyed box is false).
class TVarCheckBox : public QCheckBox, public TLinkedControl
{
    Q_OBJECT
public:
    explicit TVarCheckBox(QWidget* parent = nullptr);
    explicit TVarCheckBox(const QString& text, QWidget* parent = nullptr);

    TChk* Link() const { return link_; }
    void SetLink(TChk* variable);

    bool Commit();
    void ShowLinkedValue() override;

signals:
    void Exited();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    QPointer<TChk> link_;
};

// A group box for a TInt. Its direct child check boxes show the value's bits
// (the k-th check box bit k); its radio buttons show the value as the index
// of the checked one. Leaving the group collects the children's states back:
// checked check boxes OR their bits, a checked radio button sets the result
// to its index (replacing what was collected before it). Other variable
// types are ignored.
class TVarGroupBox : public QGroupBox, public TLinkedControl
{
    Q_OBJECT
public:
    explicit TVarGroupBox(QWidget* parent = nullptr);
    explicit TVarGroupBox(const QString& title, QWidget* parent = nullptr);

    TVariable* Link() const { return link_; }
    void SetLink(TVariable* variable);

    bool Commit();
    void ShowLinkedValue() override;

signals:
    void Exited();

private:
    void FocusChanged(QWidget* from, QWidget* to);

    QPointer<TVariable> link_;
};

// Commits the linked control that has the focus (and a linked group around
// it), as if the focus had left it. False when an edit rejected its text.
bool CommitFocusedControl(QWidget* focused);

} // namespace qrv
