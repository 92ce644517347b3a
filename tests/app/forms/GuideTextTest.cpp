// The user guide tells the truth about the program: its sections, the names
// and values of the built-ins, and the worked examples.
#include "QrvGuideText.h"

#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "QrvBuiltins.h"
#include "QrvExprEval.h"

namespace qrv::test
{
namespace
{

QStringList GuideLines()
{
    return GuideText().split('\n');
}

// The lines from the one starting with `from` up to the one starting with
// `to` (exclusive; the end of the guide when empty).
QStringList Section(const QString& from, const QString& to)
{
    QStringList lines;
    bool inside = false;
    for (const QString& line : GuideLines()) {
        if (line.startsWith(from))
            inside = true;
        else if (inside && !to.isEmpty() && line.startsWith(to))
            break;
        if (inside) lines.append(line);
    }
    return lines;
}

// Documented constants: "Name [value] {meaning}" lines, name in lower case.
std::map<std::string, std::string> DocumentedConstants()
{
    static const QRegularExpression line(R"(^(\w+) \[([^\]]+)\] \{[^}]+\}$)");
    std::map<std::string, std::string> constants;
    for (const QString& text : GuideLines())
        if (auto m = line.match(text); m.hasMatch())
            constants[m.captured(1).toLower().toStdString()] = m.captured(2).toStdString();
    return constants;
}

// Names written as calls ("Sin(") in the given lines, in lower case.
std::set<std::string> CalledNames(const QStringList& lines)
{
    static const QRegularExpression call(R"(\b([A-Za-z]\w*)\()");
    std::set<std::string> names;
    for (const QString& text : lines)
        for (auto it = call.globalMatch(text); it.hasNext();)
            names.insert(it.next().captured(1).toLower().toStdString());
    return names;
}

std::set<std::string> GroupFunctions()
{
    QStringList groups;
    for (const QString& text : GuideLines())
        for (const char* group :
             {"Algebraic:", "Transcendental:", "Trigonometric:", "Other Trig:", "Hyperbolic:", "Other Hyp:"})
            if (text.startsWith(group)) groups.append(text);
    return CalledNames(groups);
}

TEST(GuideTextTest, SectionsStandInOrder)
{
    const QStringList headings = {
        "Guidelines on usage:",
        "1. First, you must enter a formula.",
        "Operators: + - * / and ( ) [parentheses]",
        "Algebraic:",
        "Transcendental:",
        "Trigonometric:",
        "Other Trig:",
        "Hyperbolic:",
        "Other Hyp:",
        "Constants:{Mathematical constants}",
        "Constants:{Certain physical constants expressed in SI units}",
        "Note:",
        "2. MaxX, minX: These are the limits of the drawing.",
        "3. Step: The smaller value it has, the more accurate drawing you get.",
        "-----",
        "Principle of the compiler directives and calculating procedures:",
        "-----",
        "Functions and their descriptions",
        "-----",
        "DESCRIPTION OF USER INTERFACE",
        "File menu",
        "View menu",
        "Edit menu",
        "Option menu",
        "Help menu",
        "Documentation: Displays the help contents for Qurvia program.",
    };
    const QStringList lines = GuideLines();
    int at = 0;
    for (const QString& heading : headings) {
        while (at < lines.size() && !lines[at].startsWith(heading))
            ++at;
        EXPECT_LT(at, lines.size()) << "missing or out of order: " << heading.toStdString();
        ++at;
    }
}

TEST(GuideTextTest, ConstantsAreListedInTheirOrder)
{
    QStringList names;
    static const QRegularExpression line(R"(^(\w+) \[)");
    for (const QString& text : GuideLines())
        if (auto m = line.match(text); m.hasMatch()) names.append(m.captured(1));
    EXPECT_EQ(
        names.join(' ').toStdString(),
        "Pi PiOn2 PiOn3 PiOn4 Deg Bernstein Cbrt2 Cbrt3 Cbrt10 Cbrt100 CbrtPi Catalan Sqrt2 Sqrt3 Sqrt5 "
        "Sqrt10 SqrtPi Sqrt2Pi TwoPi ThreePi Ln2 Ln10 LnPi Log2 Log3 LogPi LogE NConst hLn2Pi inv2Pi "
        "TwoToPower63 GoldenMean EulerMascheroni Amu Avog Boltz ECharge EMass EVolt Farad Gas Neutron "
        "Planck Proton Light Gravity Pressure Stefan Bohr");
}

TEST(GuideTextTest, EveryFunctionOfTheListsIsDescribed)
{
    const auto described = CalledNames(Section("Functions and their descriptions", "-----"));
    for (const auto& name : GroupFunctions())
        EXPECT_TRUE(described.count(name)) << name;
}

TEST(GuideTextTest, ArgumentsAreSeparatedBySemicolons)
{
    static const QRegularExpression call(R"(\b(?:Power|LogBaseN)\(([^()]*)\))",
                                         QRegularExpression::CaseInsensitiveOption);
    int calls = 0;
    for (auto it = call.globalMatch(GuideText()); it.hasNext();) {
        const QString arguments = it.next().captured(1);
        ++calls;
        EXPECT_TRUE(arguments.contains(';')) << arguments.toStdString();
        EXPECT_FALSE(arguments.contains(',')) << arguments.toStdString();
    }
    EXPECT_GE(calls, 5);
}

TEST(GuideTextTest, MakesNoClaimsTheProgramDoesNotKeep)
{
    EXPECT_FALSE(GuideText().contains("4096"));
    EXPECT_FALSE(GuideText().contains("2^12"));
    // Division does not rank above multiplication.
    EXPECT_TRUE(GuideText().contains("Multiplication and division, of equal precedence"));
    EXPECT_TRUE(GuideText().contains("Operators of equal precedence are applied from left to right."));
    // Each File menu entry under its own heading.
    const QStringList file = Section("File menu", "View menu");
    EXPECT_EQ(file.filter(QRegularExpression("^Print report:")).size(), 1);
    EXPECT_EQ(file.filter(QRegularExpression("^Print graph:")).size(), 1);
}

TEST(GuideTextTest, SeveralCurvesFollowTheGuideUnderAHeadingOfTheirOwn)
{
    const QStringList lines = GuideLines();
    const auto about = lines.indexOf(QRegularExpression("About: .*"));
    const auto heading = lines.indexOf("Several curves and documents");
    ASSERT_GT(about, 0);
    EXPECT_EQ(heading, about + 2) << "after a rule below the last menu";
    EXPECT_TRUE(lines[about + 1].startsWith("-----"));
    const QString text = Section("Several curves and documents", "").join('\n');
    for (const char* option : {"--formula", "--color", "--document FILE", "--save-document FILE", ".qurvia"})
        EXPECT_TRUE(text.contains(option)) << option;
}

// A built-in's name as the guide's lists hold it: in lower case.
std::string LowerName(std::string name)
{
    for (char& ch : name)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return name;
}

long double ParseValue(const std::string& text)
{
    char* end = nullptr;
    const long double value = std::strtold(text.c_str(), &end);
    EXPECT_EQ(*end, '\0') << "not a plain number: " << text;
    return value;
}

TEST(GuideTextTest, EveryRegisteredConstantIsDocumentedWithItsValue)
{
    const auto documented = DocumentedConstants();
    std::set<std::string> registered;
    for (const auto& c : BuiltinConstants()) {
        const std::string name = LowerName(std::string(c.Name));
        registered.insert(name);
        const auto it = documented.find(name);
        if (it == documented.end()) {
            ADD_FAILURE() << "not documented: " << c.Name;
            continue;
        }
        EXPECT_EQ(ParseValue(it->second), static_cast<long double>(c.Value))
            << c.Name << " documented as " << it->second;
    }
    for (const auto& [name, value] : documented)
        EXPECT_TRUE(registered.count(name)) << "documented but not registered: " << name;
}

TEST(GuideTextTest, DecidedValuesAreTheRegisteredOnes)
{
    const auto documented = DocumentedConstants();
    EXPECT_EQ(documented.at("farad"), "96480.56");
    EXPECT_EQ(documented.at("gas"), "8.31441");
    EXPECT_EQ(documented.at("evolt"), "1.602E-19");
}

TEST(GuideTextTest, EveryRegisteredFunctionIsDocumentedAndNoOther)
{
    std::set<std::string> registered;
    for (const auto& f : BuiltinFunctions())
        registered.insert(LowerName(std::string(f.Name)));
    EXPECT_EQ(GroupFunctions(), registered);
    // Every call written anywhere in the guide names a registered function.
    for (const auto& name : CalledNames(GuideLines()))
        EXPECT_TRUE(registered.count(name)) << "not a function: " << name;
}

Float Evaluate(const QString& formula)
{
    double x = 0.5;
    TCompiledEvaluator evaluator;
    evaluator.ExternalContexts().Add(BuiltinContext());
    evaluator.AddVar("x", x);
    evaluator.Compile(formula.toStdString());
    return evaluator.Evaluate();
}

TEST(GuideTextTest, WorkedExamplesComputeWhatTheyClaim)
{
    // "Example 1: A is calculated as B = V, and C as D = W."
    static const QRegularExpression clause(
        R"(^(?:Example \d+: )?(.+?) (?:is calculated )?as (.+) = (-?\d+)\.?$)");
    int checked = 0;
    for (const QString& line : GuideLines().filter(QRegularExpression("^Example \\d+:"))) {
        for (const QString& part : line.split(", and ")) {
            const auto m = clause.match(part);
            ASSERT_TRUE(m.hasMatch()) << part.toStdString();
            const Float value = m.captured(3).toInt();
            EXPECT_EQ(Evaluate(m.captured(1)), value) << m.captured(1).toStdString();
            EXPECT_EQ(Evaluate(m.captured(2)), value) << m.captured(2).toStdString();
            ++checked;
        }
    }
    EXPECT_EQ(checked, 5);
}

TEST(GuideTextTest, ExampleFormulasCompile)
{
    static const QRegularExpression example(R"(for example: (.+) or (.+)$)");
    const auto m = example.match(Section("1. First", "Operators").join('\n'));
    ASSERT_TRUE(m.hasMatch());
    EXPECT_NO_THROW(Evaluate(m.captured(1))) << m.captured(1).toStdString();
    EXPECT_NO_THROW(Evaluate(m.captured(2))) << m.captured(2).toStdString();
}

} // namespace
} // namespace qrv::test
