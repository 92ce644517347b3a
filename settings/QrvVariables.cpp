#include "QrvVariables.h"

#include "QrvIniValues.h"
#include "QrvNumberText.h"
#include "QrvSettingsText.h"

#include <algorithm>
#include <cstring>

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

// The bound program variables are written and read bytewise, so any integer
// type of the right width may be bound.
template <typename T> void Store(void* address, T value)
{
    std::memcpy(address, &value, sizeof value);
}

template <typename T> T Fetch(const void* address)
{
    T value;
    std::memcpy(&value, address, sizeof value);
    return value;
}

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

void TVariable::SetData(void* address)
{
    if (address == data_) return;
    data_ = address;
    UpdateData();
}

void TVariable::Assign(const TVariable& source)
{
    CannotAssign(source);
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

// ---- TInt ------------------------------------------------------------------

TInt::~TInt()
{
    SaveOnDestruction();
}

std::int32_t TInt::Value() const
{
    if (!isLoaded_) {
        value_ = ReadIniInteger(Section(), GlobalName(), default_);
        isLoaded_ = true;
    }
    return value_;
}

void TInt::SetValue(std::int32_t value)
{
    isLoaded_ = true;
    StoreValue(value);
}

void TInt::StoreValue(std::int32_t value)
{
    value_ = value;
    UpdateData();
    RefreshControl();
}

void TInt::SetDefault(std::int32_t value)
{
    if (value == default_) return;
    default_ = value;
    StoreValue(value);
}

void TInt::SetLength(TSetLength length)
{
    if (length == length_) return;
    length_ = length;
    UpdateData();
}

void TInt::UpdateData()
{
    if (!Data()) return;
    std::int32_t value = Value();
    switch (length_) {
    case TSetLength::sl32bits:
        Store(Data(), value);
        break;
    case TSetLength::sl16bits:
        Store(Data(), static_cast<std::int16_t>(value));
        break;
    case TSetLength::sl8bits:
        Store(Data(), static_cast<std::uint8_t>(value));
        break;
    }
}

void TInt::ReadData()
{
    if (!Data()) {
        ResetToDefault();
        return;
    }
    switch (length_) {
    case TSetLength::sl32bits:
        SetValue(Fetch<std::int32_t>(Data()));
        break;
    case TSetLength::sl16bits:
        SetValue(Fetch<std::int16_t>(Data()));
        break;
    case TSetLength::sl8bits:
        SetValue(Fetch<std::uint8_t>(Data()));
        break;
    }
}

void TInt::Load()
{
    isLoaded_ = true;
    SetValue(ReadIniInteger(Section(), GlobalName(), default_));
}

void TInt::Save()
{
    WriteIniInteger(Section(), GlobalName(), Value());
}

void TInt::Assign(const TVariable& source)
{
    auto* other = dynamic_cast<const TInt*>(&source);
    if (!other) CannotAssign(source);
    min_ = other->min_;
    max_ = other->max_;
    default_ = other->default_;
    length_ = other->length_;
    isLoaded_ = true;
    SetValue(other->Value());
}

// ---- TFlt ------------------------------------------------------------------

TFlt::~TFlt()
{
    SaveOnDestruction();
}

double TFlt::Value() const
{
    if (!isLoaded_) {
        value_ = ReadIniFloat(Section(), GlobalName(), default_);
        isLoaded_ = true;
    }
    return value_;
}

void TFlt::SetValue(double value)
{
    isLoaded_ = true;
    StoreValue(value);
}

void TFlt::StoreValue(double value)
{
    value_ = value;
    UpdateData();
    RefreshControl();
}

void TFlt::SetDefault(double value)
{
    default_ = value;
    StoreValue(value);
}

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
    StoreValue(value_);
}

std::string TFlt::DisplayText(double value) const
{
    return FormatDisplayFloat(value, formatText_, DecimalSeparator());
}

void TFlt::UpdateData()
{
    if (Data()) Store(Data(), Value());
}

void TFlt::ReadData()
{
    if (Data())
        SetValue(Fetch<double>(Data()));
    else
        ResetToDefault();
}

void TFlt::Load()
{
    isLoaded_ = true;
    SetValue(ReadIniFloat(Section(), GlobalName(), default_));
}

void TFlt::Save()
{
    WriteIniFloat(Section(), GlobalName(), Value());
}

void TFlt::Assign(const TVariable& source)
{
    auto* other = dynamic_cast<const TFlt*>(&source);
    if (!other) CannotAssign(source);
    min_ = other->min_;
    max_ = other->max_;
    default_ = other->default_;
    isLoaded_ = true;
    SetValue(other->Value());
}

// ---- TStr ------------------------------------------------------------------

TStr::~TStr()
{
    SaveOnDestruction();
}

const std::string& TStr::Value() const
{
    if (!isLoaded_) {
        value_ = ReadIniString(Section(), GlobalName(), default_);
        isLoaded_ = true;
    }
    return value_;
}

void TStr::SetValue(std::string value)
{
    isLoaded_ = true;
    StoreValue(std::move(value));
}

void TStr::StoreValue(std::string value)
{
    value_ = std::move(value);
    UpdateData();
    RefreshControl();
}

void TStr::SetDefault(std::string value)
{
    if (value == default_) return;
    default_ = std::move(value);
    StoreValue(default_);
}

void TStr::UpdateData()
{
    if (Data()) *static_cast<std::string*>(Data()) = Value();
}

void TStr::ReadData()
{
    if (Data())
        SetValue(*static_cast<const std::string*>(Data()));
    else
        ResetToDefault();
}

void TStr::Load()
{
    isLoaded_ = true;
    SetValue(ReadIniString(Section(), GlobalName(), default_));
}

void TStr::Save()
{
    WriteIniString(Section(), GlobalName(), Value());
}

void TStr::Assign(const TVariable& source)
{
    auto* other = dynamic_cast<const TStr*>(&source);
    if (!other) CannotAssign(source);
    default_ = other->default_;
    isLoaded_ = true;
    SetValue(other->Value());
}

// ---- TChk ------------------------------------------------------------------

TChk::~TChk()
{
    SaveOnDestruction();
}

bool TChk::Value() const
{
    if (!isLoaded_) {
        value_ = ReadIniBool(Section(), GlobalName(), default_);
        isLoaded_ = true;
    }
    return value_;
}

void TChk::SetValue(bool value)
{
    isLoaded_ = true;
    StoreValue(value);
}

void TChk::StoreValue(bool value)
{
    value_ = value;
    UpdateData();
    RefreshControl();
}

void TChk::SetDefault(bool value)
{
    if (value == default_) return;
    default_ = value;
    StoreValue(value);
}

void TChk::UpdateData()
{
    if (Data()) Store(Data(), static_cast<std::uint8_t>(Value() ? 1 : 0));
}

void TChk::ReadData()
{
    if (Data())
        SetValue(Fetch<std::uint8_t>(Data()) != 0);
    else
        ResetToDefault();
}

void TChk::Load()
{
    isLoaded_ = true;
    SetValue(ReadIniBool(Section(), GlobalName(), default_));
}

void TChk::Save()
{
    WriteIniBool(Section(), GlobalName(), Value());
}

void TChk::Assign(const TVariable& source)
{
    auto* other = dynamic_cast<const TChk*>(&source);
    if (!other) CannotAssign(source);
    default_ = other->default_;
    isLoaded_ = true;
    SetValue(other->Value());
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

} // namespace qrv
