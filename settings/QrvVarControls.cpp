#include "QrvVarControls.h"

#include "QrvDialogs.h"
#include "QrvIniValues.h"
#include "QrvNumberText.h"
#include "QrvSettingsText.h"

#include <QApplication>
#include <QFocusEvent>
#include <QRadioButton>

#include <algorithm>

namespace qrv
{

namespace
{

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

// Focus that moves to another window (or to a popup) is not a leave.
bool LeavesWithinWindow(const QFocusEvent* event)
{
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

template <typename Link> void LinkControl(QPointer<Link>& link, Link* variable, QWidget* control)
{
    if (link && link->Control() == control) link->SetControl(nullptr);
    link = variable;
    if (variable) variable->SetControl(control);
}

} // namespace

// ---- TVarEdit --------------------------------------------------------------

TVarEdit::TVarEdit(QWidget* parent) : QLineEdit(parent) {}

void TVarEdit::SetLink(TVariable* variable)
{
    if (variable == link_.data()) return;
    LinkControl(link_, variable, this);
    if (variable) ShowLinkedValue();
}

void TVarEdit::ShowLinkedValue()
{
    if (auto* integer = dynamic_cast<TInt*>(link_.data()))
        setText(QString::number(integer->Value()));
    else if (auto* number = dynamic_cast<TFlt*>(link_.data()))
        setText(Q(number->DisplayText(number->Value())));
    else if (auto* string = dynamic_cast<TStr*>(link_.data()))
        setText(Q(string->Value()));
}

bool TVarEdit::Reject(const std::string& message, const std::string& defaultText)
{
    if (MessageDlg(message, TMsgDlgType::mtError, mbOKCancel) != TModalResult::mrOk) setText(Q(defaultText));
    setFocus(Qt::OtherFocusReason);
    return false;
}

bool TVarEdit::Commit()
{
    const std::string text = this->text().toStdString();
    if (auto* string = dynamic_cast<TStr*>(link_.data())) {
        string->SetValue(text);
        return true;
    }
    if (auto* integer = dynamic_cast<TInt*>(link_.data())) {
        const std::string defaultText = std::to_string(integer->Default());
        auto value = ParseInteger(text);
        if (!value) return Reject(std::string(Text(SetText::InvalidInteger)), defaultText);
        if (integer->Min() < integer->Max() && (*value < integer->Min() || *value > integer->Max()))
            return Reject(std::string(Text(SetText::ValueInRange)) + std::to_string(integer->Min()) + ".." +
                              std::to_string(integer->Max()),
                          defaultText);
        integer->SetValue(*value);
        return true;
    }
    if (auto* number = dynamic_cast<TFlt*>(link_.data())) {
        const std::string defaultText = number->DisplayText(number->Default());
        auto value = ParseFloat(text, '.');
        if (!value && !text.empty() && DecimalSeparator() != '.') {
            std::string dotted = text;
            std::replace(dotted.begin(), dotted.end(), DecimalSeparator(), '.');
            value = ParseFloat(dotted, '.');
        }
        if (!value) return Reject(std::string(Text(SetText::InvalidFloat)), defaultText);
        if (number->Min() < number->Max() && (*value < number->Min() || *value > number->Max()))
            return Reject(std::string(Text(SetText::ValueInRange)) + number->DisplayText(number->Min()) +
                              ".." + number->DisplayText(number->Max()),
                          defaultText);
        number->SetValue(*value);
        return true;
    }
    return true;
}

void TVarEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (!LeavesWithinWindow(event)) return;
    if (Commit()) emit Exited();
}

// ---- TVarCheckBox ----------------------------------------------------------

TVarCheckBox::TVarCheckBox(QWidget* parent) : QCheckBox(parent) {}

TVarCheckBox::TVarCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {}

void TVarCheckBox::SetLink(TChk* variable)
{
    if (variable == link_.data()) return;
    LinkControl(link_, variable, this);
    if (variable) ShowLinkedValue();
}

void TVarCheckBox::ShowLinkedValue()
{
    if (link_) setChecked(link_->Value());
}

bool TVarCheckBox::Commit()
{
    if (link_) link_->SetValue(checkState() == Qt::Checked);
    return true;
}

void TVarCheckBox::focusOutEvent(QFocusEvent* event)
{
    QCheckBox::focusOutEvent(event);
    if (!LeavesWithinWindow(event)) return;
    Commit();
    emit Exited();
}

// ---- TVarGroupBox ----------------------------------------------------------

TVarGroupBox::TVarGroupBox(QWidget* parent) : TVarGroupBox(QString(), parent) {}

TVarGroupBox::TVarGroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent)
{
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        connect(app, &QApplication::focusChanged, this, &TVarGroupBox::FocusChanged);
}

void TVarGroupBox::SetLink(TVariable* variable)
{
    if (variable != link_.data()) LinkControl(link_, variable, this);
    if (variable) ShowLinkedValue();
}

void TVarGroupBox::ShowLinkedValue()
{
    auto* integer = dynamic_cast<TInt*>(link_.data());
    if (!integer) return;
    const std::int32_t value = integer->Value();
    int checkIndex = 0;
    int radioIndex = 0;
    for (QObject* child : children()) {
        if (auto* radio = qobject_cast<QRadioButton*>(child)) {
            if (radioIndex == value) radio->setChecked(true);
            ++radioIndex;
        } else if (auto* check = qobject_cast<QCheckBox*>(child)) {
            check->setChecked(checkIndex < 32 && (static_cast<std::uint32_t>(value) >> checkIndex) & 1u);
            ++checkIndex;
        }
    }
}

bool TVarGroupBox::Commit()
{
    auto* integer = dynamic_cast<TInt*>(link_.data());
    if (!integer) return true;
    std::uint32_t result = 0;
    int checkIndex = 0;
    int radioIndex = 0;
    for (QObject* child : children()) {
        if (auto* radio = qobject_cast<QRadioButton*>(child)) {
            if (radio->isChecked()) result = static_cast<std::uint32_t>(radioIndex);
            ++radioIndex;
        } else if (auto* check = qobject_cast<QCheckBox*>(child)) {
            if (check->isChecked() && checkIndex < 32) result |= 1u << checkIndex;
            ++checkIndex;
        }
    }
    integer->SetValue(static_cast<std::int32_t>(result));
    return true;
}

void TVarGroupBox::FocusChanged(QWidget* from, QWidget* to)
{
    if (!from || !to || !isAncestorOf(from) || isAncestorOf(to) || to->window() != window()) return;
    Commit();
    emit Exited();
}

// ---- dialog support --------------------------------------------------------

bool CommitFocusedControl(QWidget* focused)
{
    if (!focused) return true;
    if (auto* edit = qobject_cast<TVarEdit*>(focused); edit && !edit->Commit()) return false;
    if (auto* check = qobject_cast<TVarCheckBox*>(focused)) check->Commit();
    for (QWidget* parent = focused->parentWidget(); parent; parent = parent->parentWidget())
        if (auto* group = qobject_cast<TVarGroupBox*>(parent)) {
            group->Commit();
            break;
        }
    return true;
}

} // namespace qrv
