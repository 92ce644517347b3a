// Setting variables: typed values that load themselves from the settings
// file once, mirror every change into one bound program variable, refresh
// the control linked to them, and write themselves back to the settings file
// when they are destroyed at program end. All live variables stand in one
// registry, in order of creation, so a dialog can remember, restore or reset
// all of them at once.
//
// Life of a variable: create it (it joins the registry, not yet loaded), set
// its properties (setting Default also sets the value), let controls link to
// it, call Loaded() once the properties are set (loads from the file unless
// something already did), bind the program variable with SetData. Reading
// the value before Loaded() loads it from the file without touching the
// bound variable.
//
// One template, TSetting<T>, does the work for every type; what differs per
// type (its name, how the settings file reads and writes it, which program
// variables it may be bound to) stands in TSettingTraits<T>.
#pragma once

#include "QrvIniValues.h"
#include "QrvSettingValues.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace qrv
{

// A control that shows the value of a variable linked to it.
class TLinkedControl
{
public:
    virtual ~TLinkedControl() = default;
    virtual void ShowLinkedValue() = 0;
};

// The part of every setting variable that does not depend on its type: the
// place in the settings file, the linked control, the loaded flag, and the
// operations the registry calls.
class TVariable : public QObject
{
    Q_OBJECT
public:
    explicit TVariable(QObject* owner = nullptr);
    ~TVariable() override;
    TVariable(const TVariable&) = delete;
    TVariable& operator=(const TVariable&) = delete;

    // The class name used in messages ("TInt", ...).
    virtual std::string_view ClassName() const = 0;

    const std::string& Section() const { return section_; }
    void SetSection(std::string section) { section_ = std::move(section); }
    const std::string& GlobalName() const { return globalName_; }
    void SetGlobalName(std::string name) { globalName_ = std::move(name); }

    // The linked control, set by the control's Link; cleared automatically
    // when the control is destroyed.
    QWidget* Control() const { return control_; }
    void SetControl(QWidget* control) { control_ = control; }
    bool IsLoaded() const { return isLoaded_; }

    // Copies the current value into the bound program variable, if any.
    virtual void UpdateData() = 0;
    virtual void Remember() = 0;
    virtual void Restore() = 0;
    virtual void ResetToDefault() = 0;
    // Sets the value from the bound program variable, or resets it to the
    // default when there is none.
    virtual void ReadData() = 0;
    // Sets the value from the settings file and marks the variable loaded.
    virtual void Load() = 0;
    // Writes the current value to the settings file.
    virtual void Save() = 0;
    // Copies the properties, the default and the value of a variable of the
    // same class; another class raises ESettingsError "Cannot assign a
    // <source class> to a <this class>".
    virtual void Assign(const TVariable& source) = 0;

    // End of loading: called once the properties are set.
    void Loaded();

protected:
    // Asks the linked control to show the current value.
    void RefreshControl();
    // For destructors: Save without letting an error escape.
    void SaveOnDestruction() noexcept;
    [[noreturn]] void CannotAssign(const TVariable& source) const;

    // Mutable: reading the value loads it on first use.
    mutable bool isLoaded_ = false;

private:
    std::string section_;
    std::string globalName_;
    QPointer<QWidget> control_;
};

// The program variables a setting of type T may be bound to: a variant of
// typed pointers, std::monostate meaning none.
template <typename... Bindable> using TBindingOf = std::variant<std::monostate, Bindable*...>;

// What differs between the types of settings. Each gives:
//   Name     the class name used in messages
//   Binding  the program variables it may be bound to
//   Read     the value in the settings file, or the default (QrvIniValues.h)
//   Write    the value into the settings file
//   DefaultAlwaysSets  whether setting an unchanged default sets the value
template <typename T> struct TSettingTraits;

template <> struct TSettingTraits<std::int32_t> {
    static constexpr std::string_view Name = "TInt";
    // Any 32-bit integer (a TColor too), or a narrower one (see TSetLength).
    using Binding = TBindingOf<std::int32_t, std::uint32_t, std::int16_t, std::uint8_t>;
    static constexpr auto Read = &ReadIniInteger;
    static constexpr auto Write = &WriteIniInteger;
    static constexpr bool DefaultAlwaysSets = false;
};

template <> struct TSettingTraits<double> {
    static constexpr std::string_view Name = "TFlt";
    using Binding = TBindingOf<double>;
    static constexpr auto Read = &ReadIniFloat;
    static constexpr auto Write = &WriteIniFloat;
    static constexpr bool DefaultAlwaysSets = true;
};

template <> struct TSettingTraits<std::string> {
    static constexpr std::string_view Name = "TStr";
    using Binding = TBindingOf<std::string>;
    static constexpr auto Read = &ReadIniString;
    static constexpr auto Write = &WriteIniString;
    static constexpr bool DefaultAlwaysSets = false;
};

template <> struct TSettingTraits<bool> {
    static constexpr std::string_view Name = "TChk";
    using Binding = TBindingOf<bool>;
    static constexpr auto Read = &ReadIniBool;
    static constexpr auto Write = &WriteIniBool;
    static constexpr bool DefaultAlwaysSets = false;
};

// A setting variable holding one value of type T.
template <typename T> class TSetting : public TVariable
{
public:
    using Traits = TSettingTraits<T>;
    using Binding = typename Traits::Binding;

    explicit TSetting(QObject* owner = nullptr) : TVariable(owner) {}
    // Writes the value to the settings file.
    ~TSetting() override { SaveOnDestruction(); }
    std::string_view ClassName() const override { return Traits::Name; }

    // The value; the first read before anything set it loads it from the
    // settings file.
    const T& Value() const;
    // Sets the value, updates the bound variable and the linked control. No
    // range check. A value set this way counts as loaded: the file is not
    // read over it later.
    void SetValue(T value);
    const T& Default() const { return default_; }
    void SetDefault(T value);
    const T& RememberedValue() const { return remembered_; }

    // Binds a program variable (or none, with nullptr); a new one gets the
    // value at once.
    template <typename U>
    requires std::is_constructible_v<Binding, U*>
    void SetData(U* address) { Bind(Binding(address)); }
    void SetData(std::nullptr_t) { Bind(Binding()); }
    template <typename U> bool IsBoundTo(const U& program) const
    {
        const auto* bound = std::get_if<U*>(&binding_);
        return bound && *bound == &program;
    }

    void UpdateData() override;
    void Remember() override { remembered_ = Value(); }
    void Restore() override { SetValue(remembered_); }
    void ResetToDefault() override { SetValue(default_); }
    void ReadData() override;
    void Load() override;
    void Save() override;
    void Assign(const TVariable& source) override;

protected:
    // Sets the value without marking it loaded: a default or a format set
    // while the properties are being set must not stop the file from being
    // read.
    void StoreValue(T value);
    // The value as the bound program variable holds it (TInt keeps only the
    // bits of its Length).
    virtual T Narrowed(const T& value) const { return value; }
    // Copies the properties beyond the default (limits, width) from a source
    // of the same class.
    virtual void CopyProperties(const TSetting&) {}
    const T& StoredValue() const { return value_; }

private:
    void Bind(Binding binding);

    mutable T value_{};
    T remembered_{};
    T default_{};
    Binding binding_;
};

// A setting with limits that its linked edit checks (when Min < Max).
template <typename T> class TRangedSetting : public TSetting<T>
{
public:
    using TSetting<T>::TSetting;
    const T& Min() const { return min_; }
    void SetMin(T value) { min_ = value; }
    const T& Max() const { return max_; }
    void SetMax(T value) { max_ = value; }

protected:
    void CopyProperties(const TSetting<T>& source) override
    {
        if (auto* other = dynamic_cast<const TRangedSetting*>(&source)) {
            min_ = other->min_;
            max_ = other->max_;
        }
    }

private:
    T min_{};
    T max_{};
};

// The width of the program variable a TInt is bound to: the bound variable
// receives the low 32, 16 (sign-extended) or 8 (zero-extended) bits.
enum class TSetLength { sl32bits, sl16bits, sl8bits };

// Integer setting.
class TInt : public TRangedSetting<std::int32_t>
{
public:
    using TRangedSetting::TRangedSetting;
    TSetLength Length() const { return length_; }
    void SetLength(TSetLength length);

protected:
    std::int32_t Narrowed(const std::int32_t& value) const override;
    void CopyProperties(const TSetting& source) override;

private:
    TSetLength length_ = TSetLength::sl32bits;
};

enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Float setting. The display format text "%.<precision><letter>" decides how
// linked edits and range messages show values.
class TFlt : public TRangedSetting<double>
{
public:
    using TRangedSetting::TRangedSetting;

    const std::string& FormatText() const { return formatText_; }
    TFloatFormat Format() const;
    void SetFormat(TFloatFormat format);
    // Digits of the display format; kept within 0..99.
    int Precision() const;
    void SetPrecision(int precision);
    // A value as the display format shows it, with the locale's separator.
    std::string DisplayText(double value) const;

private:
    void SetFormatText(std::string text);

    std::string formatText_ = "%.6g";
};

// String setting.
using TStr = TSetting<std::string>;
// Boolean setting (the one a check box links to).
using TChk = TSetting<bool>;

extern template class TSetting<std::int32_t>;
extern template class TSetting<double>;
extern template class TSetting<std::string>;
extern template class TSetting<bool>;

// Gives a variable the section, key and default of one of the program's
// settings.
template <typename T, typename K> void Describe(TSetting<T>& variable, const TSettingKey<K>& key)
{
    variable.SetSection(std::string(key.Section));
    variable.SetGlobalName(std::string(key.Key));
    variable.SetDefault(static_cast<T>(key.Default));
}

// The live variables in order of creation.
const std::vector<TVariable*>& AllVariables();
void RememberAllVariables();
void RestoreAllVariables();
void ResetAllVariables();

// The live variable bound to a program variable, or nullptr.
template <typename T, typename U> TSetting<T>* BoundVariable(const U& program)
{
    for (TVariable* variable : AllVariables())
        if (auto* typed = dynamic_cast<TSetting<T>*>(variable); typed && typed->IsBoundTo(program))
            return typed;
    return nullptr;
}

// Sets Output_File through the setting variable bound to it, so the name
// reaches the settings file at program end; without such a variable only
// the value changes.
void SetOutputFile(const std::string& fileName);

} // namespace qrv
