#include "QrvVariables.h"

#include "QrvIniValues.h"
#include "QrvNumberText.h"
#include "QrvSettingsText.h"

#include <algorithm>
#include <typeinfo>

namespace qrv
{

namespace
{

std::vector<TVariable*>& Registry()
{
    static std::vector<TVariable*> registry;
    return registry;
}

// Calls an operation on every live variable in registry order. Works on a
// copy, so an operation that creates or destroys variables cannot disturb
// the walk.
template <typename Operation> void ForAllVariables(Operation operation)
{
    std::vector<TVariable*> variables = Registry();
    for (TVariable* variable : variables)
        operation(*variable);
}

// Overloaded call operators, for visiting a binding.
template <typename... F> struct TOverloaded : F... {
    using F::operator()...;
};

} // namespace

// ---- TVariable -------------------------------------------------------------

TVariable::TVariable(QObject* owner) : QObject(owner)
{
    Registry().push_back(this);
}

TVariable::~TVariable()
{
    auto& registry = Registry();
    registry.erase(std::remove(registry.begin(), registry.end(), this), registry.end());
}

void TVariable::CannotAssign(const TVariable& source) const
{
    throw ESettingsError(FormatText(SetText::CannotAssign, {source.ClassName(), ClassName()}));
}

void TVariable::Loaded()
{
    if (!isLoaded_) Load();
}

void TVariable::RefreshControl()
{
    if (auto* control = dynamic_cast<TLinkedControl*>(control_.data())) control->ShowLinkedValue();
}

void TVariable::SaveOnDestruction() noexcept
{
    try {
        Save();
    } catch (...) {
        // A destructor cannot report; the settings file reports a failed
        // write when it is closed.
    }
}

// ---- TSetting --------------------------------------------------------------

template <typename T> const T& TSetting<T>::Value() const
{
    if (!isLoaded_) {
        value_ = Traits::Read(Section(), GlobalName(), default_);
        isLoaded_ = true;
    }
    return value_;
}

template <typename T> void TSetting<T>::SetValue(T value)
{
    isLoaded_ = true;
    StoreValue(std::move(value));
}

template <typename T> void TSetting<T>::StoreValue(T value)
{
    value_ = std::move(value);
    UpdateData();
    RefreshControl();
}

template <typename T> void TSetting<T>::SetDefault(T value)
{
    if (!Traits::DefaultAlwaysSets && value == default_) return;
    default_ = std::move(value);
    StoreValue(default_);
}

template <typename T> void TSetting<T>::Bind(Binding binding)
{
    if (binding == binding_) return;
    binding_ = binding;
    UpdateData();
}

template <typename T> void TSetting<T>::UpdateData()
{
    std::visit(TOverloaded{[](std::monostate) {},
                           [this](auto* program) {
                               using Program = std::remove_pointer_t<decltype(program)>;
                               *program = static_cast<Program>(Narrowed(Value()));
                           }},
               binding_);
}

template <typename T> void TSetting<T>::ReadData()
{
    std::visit(TOverloaded{[this](std::monostate) { ResetToDefault(); },
                           [this](auto* program) { SetValue(Narrowed(static_cast<T>(*program))); }},
               binding_);
}

template <typename T> void TSetting<T>::Load()
{
    isLoaded_ = true;
    SetValue(Traits::Read(Section(), GlobalName(), default_));
}

template <typename T> void TSetting<T>::Save()
{
    Traits::Write(Section(), GlobalName(), Value());
}

template <typename T> void TSetting<T>::Assign(const TVariable& source)
{
    // Same class: the exact type, not merely the same value type.
    auto* other = dynamic_cast<const TSetting*>(&source);
    if (!other || typeid(*other) != typeid(*this)) CannotAssign(source);
    CopyProperties(*other);
    default_ = other->default_;
    isLoaded_ = true;
    SetValue(other->Value());
}

template class TSetting<std::int32_t>;
template class TSetting<double>;
template class TSetting<std::string>;
template class TSetting<bool>;

// ---- TInt ------------------------------------------------------------------

void TInt::SetLength(TSetLength length)
{
    if (length == length_) return;
    length_ = length;
    UpdateData();
}

std::int32_t TInt::Narrowed(const std::int32_t& value) const
{
    switch (length_) {
    case TSetLength::sl16bits:
        return static_cast<std::int16_t>(value);
    case TSetLength::sl8bits:
        return static_cast<std::uint8_t>(value);
    case TSetLength::sl32bits:
        break;
    }
    return value;
}

void TInt::CopyProperties(const TSetting& source)
{
    TRangedSetting::CopyProperties(source);
    if (auto* other = dynamic_cast<const TInt*>(&source)) length_ = other->length_;
}

// ---- TFlt ------------------------------------------------------------------

TFloatFormat TFlt::Format() const
{
    switch (formatText_.back()) {
    case 'e':
        return TFloatFormat::ffExponent;
    case 'f':
        return TFloatFormat::ffFixed;
    default:
        return TFloatFormat::ffGeneral;
    }
}

void TFlt::SetFormat(TFloatFormat format)
{
    char letter = format == TFloatFormat::ffExponent ? 'e' : format == TFloatFormat::ffFixed ? 'f' : 'g';
    SetFormatText("%." + std::to_string(Precision()) + letter);
}

int TFlt::Precision() const
{
    // The text is always "%." + digits + one letter.
    return std::stoi(formatText_.substr(2, formatText_.size() - 3));
}

void TFlt::SetPrecision(int precision)
{
    precision = std::clamp(precision, 0, 99);
    SetFormatText("%." + std::to_string(precision) + formatText_.back());
}

void TFlt::SetFormatText(std::string text)
{
    if (text == formatText_) return;
    formatText_ = std::move(text);
    // Set again so a linked edit shows the new form. The stored value is
    // used, not Value(): properties may still be being set, and reading the
    // file now would use an unfinished section or key.
    StoreValue(StoredValue());
}

std::string TFlt::DisplayText(double value) const
{
    return FormatDisplayFloat(value, formatText_, DecimalSeparator());
}

// ---- registry --------------------------------------------------------------

const std::vector<TVariable*>& AllVariables()
{
    return Registry();
}

void RememberAllVariables()
{
    ForAllVariables([](TVariable& variable) { variable.Remember(); });
}

void RestoreAllVariables()
{
    ForAllVariables([](TVariable& variable) { variable.Restore(); });
}

void ResetAllVariables()
{
    ForAllVariables([](TVariable& variable) { variable.ResetToDefault(); });
}

void SetOutputFile(const std::string& fileName)
{
    if (auto* variable = BoundVariable<std::string>(Output_File))
        variable->SetValue(fileName);
    else
        Output_File = fileName;
}

} // namespace qrv
