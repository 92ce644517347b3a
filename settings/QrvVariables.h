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
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <string>
#include <string_view>
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

    // The bound program variable (its type is given by the concrete class),
    // or nullptr.
    void* Data() const { return data_; }
    // The linked control, set by the control's Link; cleared automatically
    // when the control is destroyed.
    QWidget* Control() const { return control_; }
    void SetControl(QWidget* control) { control_ = control; }
    bool IsLoaded() const { return isLoaded_; }

    // Copies the current value into the bound program variable, if any.
    virtual void UpdateData() = 0;
    // Binds a program variable; a new address gets the value at once.
    virtual void SetData(void* address);
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
    // Copies the limits, the default and the value of a variable of the same
    // class; another class raises ESettingsError "Cannot assign a <source
    // class> to a <this class>".
    virtual void Assign(const TVariable& source);

    // End of loading: called once the properties are set.
    void Loaded();

protected:
    // Asks the linked control to show the current value.
    void RefreshControl();
    // For the destructors of concrete classes: Save without letting an error
    // escape a destructor.
    void SaveOnDestruction() noexcept;
    [[noreturn]] void CannotAssign(const TVariable& source) const;

    // Mutable: reading the value loads it on first use.
    mutable bool isLoaded_ = false;

private:
    std::string section_;
    std::string globalName_;
    void* data_ = nullptr;
    QPointer<QWidget> control_;
};

// The width of the program variable a TInt is bound to.
enum class TSetLength { sl32bits, sl16bits, sl8bits };

// Integer setting. Bound program variable: std::int32_t (any 32-bit integer
// type, such as TColor), std::int16_t or std::uint8_t according to Length.
class TInt : public TVariable
{
    Q_OBJECT
public:
    explicit TInt(QObject* owner = nullptr) : TVariable(owner) {}
    ~TInt() override;
    std::string_view ClassName() const override { return "TInt"; }

    std::int32_t Value() const;
    // Sets the value, updates the bound variable and the linked control. No
    // range check. A value set this way counts as loaded: the file is not
    // read over it later.
    void SetValue(std::int32_t value);
    std::int32_t Default() const { return default_; }
    void SetDefault(std::int32_t value);
    std::int32_t Min() const { return min_; }
    void SetMin(std::int32_t value) { min_ = value; }
    std::int32_t Max() const { return max_; }
    void SetMax(std::int32_t value) { max_ = value; }
    TSetLength Length() const { return length_; }
    void SetLength(TSetLength length);
    std::int32_t RememberedValue() const { return remembered_; }

    void UpdateData() override;
    void Remember() override { remembered_ = Value(); }
    void Restore() override { SetValue(remembered_); }
    void ResetToDefault() override { SetValue(default_); }
    void ReadData() override;
    void Load() override;
    void Save() override;
    void Assign(const TVariable& source) override;

private:
    // Sets the value without marking it loaded: a default or a format set
    // while the properties are being set must not stop the file from being
    // read.
    void StoreValue(std::int32_t value);

    mutable std::int32_t value_ = 0;
    std::int32_t remembered_ = 0;
    std::int32_t default_ = 0;
    std::int32_t min_ = 0;
    std::int32_t max_ = 0;
    TSetLength length_ = TSetLength::sl32bits;
};

enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Float setting. Bound program variable: double. The display format text
// "%.<precision><letter>" decides how linked edits and range messages show
// values.
class TFlt : public TVariable
{
    Q_OBJECT
public:
    explicit TFlt(QObject* owner = nullptr) : TVariable(owner) {}
    ~TFlt() override;
    std::string_view ClassName() const override { return "TFlt"; }

    double Value() const;
    void SetValue(double value);
    double Default() const { return default_; }
    void SetDefault(double value);
    double Min() const { return min_; }
    void SetMin(double value) { min_ = value; }
    double Max() const { return max_; }
    void SetMax(double value) { max_ = value; }
    double RememberedValue() const { return remembered_; }

    const std::string& FormatText() const { return formatText_; }
    TFloatFormat Format() const;
    void SetFormat(TFloatFormat format);
    // Digits of the display format; kept within 0..99.
    int Precision() const;
    void SetPrecision(int precision);
    // A value as the display format shows it, with the locale's separator.
    std::string DisplayText(double value) const;

    void UpdateData() override;
    void Remember() override { remembered_ = Value(); }
    void Restore() override { SetValue(remembered_); }
    void ResetToDefault() override { SetValue(default_); }
    void ReadData() override;
    void Load() override;
    void Save() override;
    void Assign(const TVariable& source) override;

private:
    void SetFormatText(std::string text);
    // Sets the value without marking it loaded (see TInt).
    void StoreValue(double value);

    mutable double value_ = 0;
    double remembered_ = 0;
    double default_ = 0;
    double min_ = 0;
    double max_ = 0;
    std::string formatText_ = "%.6g";
};

// String setting. Bound program variable: std::string.
class TStr : public TVariable
{
    Q_OBJECT
public:
    explicit TStr(QObject* owner = nullptr) : TVariable(owner) {}
    ~TStr() override;
    std::string_view ClassName() const override { return "TStr"; }

    const std::string& Value() const;
    void SetValue(std::string value);
    const std::string& Default() const { return default_; }
    void SetDefault(std::string value);
    const std::string& RememberedValue() const { return remembered_; }

    void UpdateData() override;
    void Remember() override { remembered_ = Value(); }
    void Restore() override { SetValue(remembered_); }
    void ResetToDefault() override { SetValue(default_); }
    void ReadData() override;
    void Load() override;
    void Save() override;
    void Assign(const TVariable& source) override;

private:
    // Sets the value without marking it loaded (see TInt).
    void StoreValue(std::string value);

    mutable std::string value_;
    std::string remembered_;
    std::string default_;
};

// Boolean setting. Bound program variable: bool (one byte, 0 or 1).
class TChk : public TVariable
{
    Q_OBJECT
public:
    explicit TChk(QObject* owner = nullptr) : TVariable(owner) {}
    ~TChk() override;
    std::string_view ClassName() const override { return "TChk"; }

    bool Value() const;
    void SetValue(bool value);
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool RememberedValue() const { return remembered_; }

    void UpdateData() override;
    void Remember() override { remembered_ = Value(); }
    void Restore() override { SetValue(remembered_); }
    void ResetToDefault() override { SetValue(default_); }
    void ReadData() override;
    void Load() override;
    void Save() override;
    void Assign(const TVariable& source) override;

private:
    // Sets the value without marking it loaded (see TInt).
    void StoreValue(bool value);

    mutable bool value_ = false;
    bool remembered_ = false;
    bool default_ = false;
};

// The live variables in order of creation.
const std::vector<TVariable*>& AllVariables();
void RememberAllVariables();
void RestoreAllVariables();
void ResetAllVariables();

} // namespace qrv
