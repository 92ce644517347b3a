// Setting variables: loading, the value setters and the bound program
// variable, remember/restore/reset over the registry, copying, the float
// display format, and saving at destruction.
#include "MessageOf.h"
#include "QrvIniValues.h"
#include "QrvSettingValues.h"
#include "QrvSettingsText.h"
#include "QrvVariables.h"
#include "RowNames.h"
#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace qrv
{
namespace
{

using test::TTempSettings;

class Variables : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(AllVariables().empty()) << "a test left variables alive"; }

    template <typename T> std::unique_ptr<T> Make(const char* section, const char* key)
    {
        auto variable = std::make_unique<T>();
        variable->SetSection(section);
        variable->SetGlobalName(key);
        return variable;
    }

    TTempSettings temp;
};

TEST_F(Variables, LoadReadsFileAndUpdatesBoundValue)
{
    temp.WriteFile("[S]\ni=0xFF00\nf=2.25\ns=name\nc=0\n");
    temp.Open();
    auto i = Make<TInt>("S", "i");
    auto f = Make<TFlt>("S", "f");
    auto s = Make<TStr>("S", "s");
    auto c = Make<TChk>("S", "c");
    c->SetDefault(true);
    std::int32_t iData = 0;
    double fData = 0;
    std::string sData;
    bool cData = true;
    i->SetData(&iData);
    f->SetData(&fData);
    s->SetData(&sData);
    c->SetData(&cData);
    for (TVariable* v : AllVariables())
        EXPECT_TRUE(v->IsLoaded()) << "binding reads the current value";
    EXPECT_EQ(iData, 65280);
    EXPECT_EQ(fData, 2.25);
    EXPECT_EQ(sData, "name");
    EXPECT_FALSE(cData);
}

TEST_F(Variables, LoadedLoadsOnlyOnce)
{
    temp.WriteFile("[S]\ni=5\n");
    temp.Open();
    auto i = Make<TInt>("S", "i");
    EXPECT_FALSE(i->IsLoaded());
    i->Loaded();
    EXPECT_EQ(i->Value(), 5);
    i->SetValue(6);
    i->Loaded();
    EXPECT_EQ(i->Value(), 6) << "a loaded variable is not read again";
}

TEST_F(Variables, ReadingTheValueFirstLoadsIt)
{
    temp.WriteFile("[S]\ni=5\n");
    temp.Open();
    auto i = Make<TInt>("S", "i");
    EXPECT_EQ(i->Value(), 5);
    EXPECT_TRUE(i->IsLoaded());
}

TEST_F(Variables, FloatsReadWithDotOnly)
{
    temp.WriteFile("[S]\ndot=3.5\ncomma=3,5\nword=abc\nhuge=1e400\n");
    temp.Open();
    EXPECT_EQ(ReadIniFloat("S", "dot", 1.0), 3.5);
    EXPECT_EQ(ReadIniFloat("S", "comma", 1.0), 1.0);
    EXPECT_EQ(ReadIniFloat("S", "word", 1.0), 1.0);
    EXPECT_EQ(ReadIniFloat("S", "huge", 1.0), 1.0);
}

TEST_F(Variables, DefaultSetterSetsValue)
{
    auto i = Make<TInt>("S", "i");
    auto f = Make<TFlt>("S", "f");
    auto s = Make<TStr>("S", "s");
    auto c = Make<TChk>("S", "c");
    i->SetDefault(3);
    f->SetDefault(1.5);
    s->SetDefault("x");
    c->SetDefault(true);
    EXPECT_EQ(i->Value(), 3);
    EXPECT_EQ(f->Value(), 1.5);
    EXPECT_EQ(s->Value(), "x");
    EXPECT_TRUE(c->Value());

    // An unchanged default leaves the value alone, except for floats.
    i->SetValue(4);
    f->SetValue(2.5);
    s->SetValue("y");
    c->SetValue(false);
    i->SetDefault(3);
    f->SetDefault(1.5);
    s->SetDefault("x");
    c->SetDefault(true);
    EXPECT_EQ(i->Value(), 4);
    EXPECT_EQ(f->Value(), 1.5);
    EXPECT_EQ(s->Value(), "y");
    EXPECT_FALSE(c->Value());
}

struct WidthCase {
    const char* name;
    TSetLength length;
    std::int32_t value;
    std::int32_t bound;    // what a 32-bit program variable receives
    std::int32_t readBack; // ReadData from a 32-bit variable holding `value`
};

class IntegerWidth : public Variables, public ::testing::WithParamInterface<WidthCase>
{
};

TEST_P(IntegerWidth, WritesLowBitsAndReadsThemBack)
{
    const auto& c = GetParam();
    std::int32_t program = 0x55555555;
    auto i = Make<TInt>("S", "i");
    i->SetLength(c.length);
    i->SetData(&program);
    i->SetValue(c.value);
    EXPECT_EQ(program, c.bound);
    program = c.value;
    i->SetValue(0);
    program = c.value;
    i->ReadData();
    EXPECT_EQ(i->Value(), c.readBack);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IntegerWidth,
    ::testing::Values(WidthCase{"bits32", TSetLength::sl32bits, 0x12345678, 0x12345678, 0x12345678},
                      WidthCase{"bits16_sign_extended", TSetLength::sl16bits, -2, -2, -2},
                      WidthCase{"bits16_truncated", TSetLength::sl16bits, 0x12345, 0x2345, 0x2345},
                      WidthCase{"bits8_zero_extended", TSetLength::sl8bits, -2, 254, 254}),
    test::RowName{});

TEST_F(Variables, BindsNarrowAndUnsignedProgramVariables)
{
    std::int16_t narrow = 0;
    std::uint8_t byte = 0;
    TColor color = 0;
    auto i16 = Make<TInt>("S", "a");
    auto i8 = Make<TInt>("S", "b");
    auto colour = Make<TInt>("S", "c");
    i16->SetLength(TSetLength::sl16bits);
    i16->SetData(&narrow);
    i8->SetLength(TSetLength::sl8bits);
    i8->SetData(&byte);
    colour->SetData(&color);
    i16->SetValue(0x18000);
    i8->SetValue(-1);
    colour->SetValue(-1);
    EXPECT_EQ(narrow, -32768);
    EXPECT_EQ(byte, 255);
    EXPECT_EQ(color, 0xFFFFFFFFu);

    narrow = -5;
    byte = 200;
    color = 0x00FF00;
    i16->ReadData();
    i8->ReadData();
    colour->ReadData();
    EXPECT_EQ(i16->Value(), -5);
    EXPECT_EQ(i8->Value(), 200);
    EXPECT_EQ(colour->Value(), 0xFF00);
}

TEST_F(Variables, LengthChangeRewritesBoundValue)
{
    std::int32_t data = 0;
    auto i = Make<TInt>("S", "i");
    i->SetData(&data);
    i->SetValue(0x7FFF0102);
    i->SetLength(TSetLength::sl8bits);
    EXPECT_EQ(data, 2);
    i->SetLength(TSetLength::sl32bits);
    EXPECT_EQ(data, 0x7FFF0102);
}

TEST_F(Variables, RebindingTheSameVariableDoesNotOverwriteIt)
{
    std::string program = "mine";
    auto s = Make<TStr>("S", "s");
    s->SetValue("set");
    s->SetData(&program);
    EXPECT_EQ(program, "set");
    program = "changed";
    s->SetData(&program);
    EXPECT_EQ(program, "changed") << "the same binding again copies nothing";
    s->SetData(nullptr);
    s->SetValue("after");
    EXPECT_EQ(program, "changed") << "an unbound variable writes nowhere";
}

TEST_F(Variables, ReadDataWithoutBindingResets)
{
    auto s = Make<TStr>("S", "s");
    s->SetDefault("d");
    s->SetValue("changed");
    s->ReadData();
    EXPECT_EQ(s->Value(), "d");
}

TEST_F(Variables, BooleanReadsItsProgramVariableBack)
{
    bool program = false;
    auto c = Make<TChk>("S", "c");
    c->SetData(&program);
    c->SetValue(true);
    EXPECT_TRUE(program);
    program = false;
    c->ReadData();
    EXPECT_FALSE(c->Value());
}

TEST_F(Variables, RegistryRemembersRestoresAndResetsAll)
{
    auto i = Make<TInt>("S", "i");
    auto s = Make<TStr>("S", "s");
    auto c = Make<TChk>("S", "c");
    i->SetDefault(1);
    s->SetDefault("a");
    c->SetDefault(true);
    ASSERT_EQ(AllVariables().size(), 3u);
    EXPECT_EQ(AllVariables()[0], i.get());
    EXPECT_EQ(AllVariables()[2], c.get());

    i->SetValue(10);
    s->SetValue("b");
    c->SetValue(false);
    RememberAllVariables();
    ResetAllVariables();
    EXPECT_EQ(i->Value(), 1);
    EXPECT_EQ(s->Value(), "a");
    EXPECT_TRUE(c->Value());
    RestoreAllVariables();
    EXPECT_EQ(i->Value(), 10);
    EXPECT_EQ(s->Value(), "b");
    EXPECT_FALSE(c->Value());

    s.reset();
    EXPECT_EQ(AllVariables().size(), 2u) << "a destroyed variable leaves the registry";
}

TEST_F(Variables, AssignCopiesSameClass)
{
    auto source = Make<TInt>("S", "a");
    source->SetMin(1);
    source->SetMax(9);
    source->SetDefault(4);
    source->SetLength(TSetLength::sl16bits);
    source->SetValue(7);
    auto target = Make<TInt>("S", "b");
    target->Assign(*source);
    EXPECT_TRUE(target->IsLoaded());
    EXPECT_EQ(target->Min(), 1);
    EXPECT_EQ(target->Max(), 9);
    EXPECT_EQ(target->Default(), 4);
    EXPECT_EQ(target->Length(), TSetLength::sl16bits);
    EXPECT_EQ(target->Value(), 7);

    auto floatSource = Make<TFlt>("S", "c");
    floatSource->SetPrecision(2);
    floatSource->SetValue(0.5);
    auto floatTarget = Make<TFlt>("S", "d");
    floatTarget->Assign(*floatSource);
    EXPECT_EQ(floatTarget->Value(), 0.5);
    EXPECT_EQ(floatTarget->FormatText(), "%.6g") << "the display format is not copied";
}

TEST_F(Variables, AssignFromOtherClassFails)
{
    auto f = Make<TFlt>("S", "f");
    auto i = Make<TInt>("S", "i");
    try {
        i->Assign(*f);
        FAIL() << "expected an error";
    } catch (const ESettingsError& error) {
        EXPECT_EQ(error.Message(), "Cannot assign a TFlt to a TInt");
    }
    auto s = Make<TStr>("S", "s");
    auto c = Make<TChk>("S", "c");
    EXPECT_EQ(test::MessageOf<ESettingsError>([&] { c->Assign(*s); }), "Cannot assign a TStr to a TChk");
}

TEST_F(Variables, OutputFileGoesThroughItsBoundVariable)
{
    const std::string saved = Output_File;
    SetOutputFile("/tmp/alone.txt");
    EXPECT_EQ(Output_File, "/tmp/alone.txt") << "without a variable only the value changes";
    {
        temp.Open();
        auto unrelated = Make<TStr>("S", "other");
        auto s = Make<TStr>("System", "Output_File");
        s->SetData(&Output_File);
        SetOutputFile("/tmp/bound.txt");
        EXPECT_EQ(s->Value(), "/tmp/bound.txt");
        EXPECT_EQ(unrelated->Value(), "");
        EXPECT_EQ(Output_File, "/tmp/bound.txt");
    }
    CloseSettingsFile();
    EXPECT_NE(temp.ReadFile().find("Output_File=/tmp/bound.txt"), std::string::npos) << temp.ReadFile();
    Output_File = saved;
}

TEST_F(Variables, FloatDisplayFormat)
{
    auto f = Make<TFlt>("S", "f");
    EXPECT_EQ(f->FormatText(), "%.6g");
    EXPECT_EQ(f->Format(), TFloatFormat::ffGeneral);
    EXPECT_EQ(f->Precision(), 6);
    f->SetPrecision(3);
    f->SetFormat(TFloatFormat::ffFixed);
    EXPECT_EQ(f->FormatText(), "%.3f");
    EXPECT_EQ(f->Format(), TFloatFormat::ffFixed);
    EXPECT_EQ(f->DisplayText(2.5), "2.500");
    f->SetFormat(TFloatFormat::ffExponent);
    EXPECT_EQ(f->FormatText(), "%.3e");
    f->SetFormat(TFloatFormat::ffCurrency);
    EXPECT_EQ(f->FormatText(), "%.3g");
    EXPECT_EQ(f->Format(), TFloatFormat::ffGeneral);
    f->SetPrecision(-4);
    EXPECT_EQ(f->FormatText(), "%.0g");
    f->SetPrecision(1000);
    EXPECT_EQ(f->FormatText(), "%.99g");
}

TEST_F(Variables, FormatChangeBeforeLoadingDoesNotReadTheFile)
{
    temp.WriteFile("[S]\nf=2.5\n");
    temp.Open();
    auto f = std::make_unique<TFlt>();
    f->SetPrecision(2);
    f->SetSection("S");
    f->SetGlobalName("f");
    EXPECT_FALSE(f->IsLoaded());
    f->Loaded();
    EXPECT_EQ(f->Value(), 2.5);
}

TEST_F(Variables, SaveAtDestructionWritesFinalValueOnce)
{
    temp.WriteFile("; mine\n[Appearance]\nElement_Color=255\n");
    temp.Open();
    {
        auto i = Make<TInt>("Appearance", "Element_Color");
        i->Loaded();
        i->SetValue(1);
        i->SetValue(65280);
        EXPECT_EQ(temp.ReadFile(), "; mine\n[Appearance]\nElement_Color=255\n") << "nothing written yet";
    }
    CloseSettingsFile();
    EXPECT_EQ(temp.ReadFile(), "; mine\n[Appearance]\nElement_Color=65280\n");
}

TEST_F(Variables, SaveFormatsByType)
{
    temp.Open();
    {
        auto f = Make<TFlt>("S", "f");
        f->SetValue(3.5);
        auto c = Make<TChk>("S", "c");
        c->SetValue(true);
        auto s = Make<TStr>("S", "s");
        s->SetValue("a b");
    }
    CloseSettingsFile();
    EXPECT_EQ(temp.ReadFile(), "[S]\ns=a b\nc=1\nf=3.50000000\n") << "destroyed in reverse order";
}

} // namespace
} // namespace qrv
