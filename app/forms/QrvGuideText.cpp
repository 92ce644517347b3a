#include "QrvGuideText.h"

namespace qrv
{

namespace
{

// Constant lines read "Name [value] {meaning}"; the value is the one the
// formula engine uses, written with a period as decimal point.
const char* const kGuide = R"(Guidelines on usage:

1. First, you must enter a formula.
The formula gives y in terms of the variable x, for example: Sin(x)*Exp(-x/10) or Power(x;2) - 3*x + 1
Operators: + - * / and ( ) [parentheses]
Further operators: comparisons < <= = >= > <> give 1 for true and 0 for false, and a cmp b gives -1, 0 or 1; div and mod divide whole numbers; and, or, xor, not are logical operators (non-zero counts as true); band, bor, bxor, bnot, shl, shr work on the bits of whole numbers.
Built-in functions:
Algebraic: Abs(x), Square(x), Sqrt(x), Power(x;z) - the arguments of a function are separated by a semicolon ";", never by a comma.
Transcendental: Exp(x), Ln(x), LogBase10(x), LogBase2(x), LogBaseN(Base;x)
Trigonometric: Sin(x), Cos(x), Tan(x), Cot(x), Sec(x), Csc(x)
Other Trig: ArcSin(x), ArcCos(x), ArcTan(x), ArcCot(x), ArcSec(x), ArcCsc(x), Coversine(x), Exsecans(x), Haversine(x), Versine(x)
Hyperbolic: SinH(x), CosH(x), TanH(x), CotH(x), SecH(x), CscH(x)
Other Hyp: ArcSinH(x), ArcCosH(x), ArcTanH(x), ArcCotH(x), ArcSecH(x), ArcCscH(x)
The trigonometric functions take their argument, and the inverse trigonometric functions give their result, in the angle unit marked in the Mode menu: radians, degrees or grads.

Constants:{Mathematical constants}
Pi [3.1415926535897932387] {the number pi}
PiOn2 [1.5707963267948966194] {pi / 2}
PiOn3 [1.0471975511965977462] {pi / 3}
PiOn4 [7.8539816339744830963E-1] {pi / 4}
Deg [5.7295779513082320873E1] {degrees per radian, 180 / pi}
Bernstein [2.8016949902386913306E-1] {Bernstein constant}
Cbrt2 [1.2599210498948731649] {cube root of 2}
Cbrt3 [1.4422495703074083825] {cube root of 3}
Cbrt10 [2.1544346900318837213] {cube root of 10}
Cbrt100 [4.641588833612778893] {cube root of 100}
CbrtPi [1.464591887561523263] {cube root of pi}
Catalan [9.1596559417721901516E-1] {Catalan constant}
Sqrt2 [1.414213562373095049] {square root of 2}
Sqrt3 [1.7320508075688772932] {square root of 3}
Sqrt5 [2.236067977499789696] {square root of 5}
Sqrt10 [3.162277660168379332] {square root of 10}
SqrtPi [1.7724538509055160272] {square root of pi}
Sqrt2Pi [2.5066282746310005023] {square root of 2 pi}
TwoPi [6.283185307179586477] {2 pi}
ThreePi [9.424777960769379716] {3 pi}
Ln2 [6.931471805599453093E-1] {natural logarithm of 2}
Ln10 [2.3025850929940456838] {natural logarithm of 10}
LnPi [1.1447298858494001742] {natural logarithm of pi}
Log2 [3.0102999566398119528E-1] {common (base 10) logarithm of 2}
Log3 [4.7712125471966243727E-1] {common (base 10) logarithm of 3}
LogPi [4.9714987269413385434E-1] {common (base 10) logarithm of pi}
LogE [4.342944819032518277E-1] {common (base 10) logarithm of e}
NConst [2.7182818284590452354] {e, the base of natural logarithms}
hLn2Pi [9.189385332046727417E-1] {half the natural logarithm of 2 pi}
inv2Pi [1.59154943091895E-1] {1 / (2 pi), to 15 significant digits}
TwoToPower63 [9.223372036854775808E18] {2 to the power 63}
GoldenMean [1.618033988749894848] {golden mean, (1 + Sqrt5) / 2}
EulerMascheroni [5.772156649015328606E-1] {Euler-Mascheroni constant}

Constants:{Certain physical constants expressed in SI units}
Amu [1.6606E-27] {atomic mass unit, kg}
Avog [6.0225E23] {Avogadro constant, 1/mol}
Boltz [1.3805E-23] {Boltzmann constant, J/K}
ECharge [1.602189E-19] {electron charge, C}
EMass [9.11E-31] {electron mass, kg}
EVolt [1.602E-19] {electron volt, J}
Farad [96480.56] {Faraday constant, C/mol}
Gas [8.31441] {gas constant, J/(mol K)}
Neutron [1.6748E-27] {neutron mass, kg}
Planck [6.626E-34] {Planck constant, J s}
Proton [1.6725E-27] {proton mass, kg}
Light [2.9979E8] {speed of light in vacuum, m/s}
Gravity [9.80665] {standard acceleration of gravity, m/s2}
Pressure [1.01325E5] {standard atmospheric pressure, N/m2}
Stefan [5.67032E-8] {Stefan-Boltzmann constant, W/(m2 K4)}
Bohr [5.2917706E-11] {Bohr radius, m}

Note: Names of functions and constants and the variable x are not case-sensitive: PI, Pi and pi are the same constant, X and x the same variable.
Note: The compiler reads one complete expression and ignores the text after it, so the rest of the line can serve as a comment: Sin(x) the sine wave. Check your formula for this reason: in 2x only the 2 is read.
Note: ^ is not an operator (x^2 is read as x followed by a comment). Use Power(x;2) or Square(x) instead.
Note: The formulas are computed in extended precision (80-bit floating point, 64-bit significand) by the floating-point unit; every result is rounded to double precision before it is drawn and listed. An operation without a finite result (division by zero, overflow, an argument outside a function's domain) stops the plot with an error message; the points computed before it are kept.
Note: Qurvia is a graphing application, not a scientific calculator: the table lists every value with three decimals.
Note: Numbers may be written as 2, 2.0, 2e5 or 2e-3. The decimal delimiter is the one of your system configuration, a period or a comma, for example:
y = Power(x;2)*1.5 + Sin(x)/2.5   (system decimal delimiter: period)
y = Power(x;2)*1,5 + Sin(x)/2,5   (system decimal delimiter: comma)

2. MaxX, minX: These are the limits of the drawing.
X min is the first x computed; x then grows by the step while it has not passed X max.

3. Step: The smaller value it has, the more accurate drawing you get.
A smaller step also means more points and a longer table.

------------------------------------------------------------
Principle of the compiler directives and calculating procedures:
Brackets make the order of calculation plain to the reader and to the compiler, so use them whenever you are in doubt.
The order of precedence, highest first:
1. Brackets ( ).
2. Functions, such as Sin(x) or Power(x;2).
3. The sign of a value: -x, +x (and not, bnot).
4. Multiplication and division, of equal precedence: * and / (and div, mod, and, shl, shr, band).
5. Addition and subtraction, of equal precedence: + and - (and or, xor, bor, bxor).
6. Comparisons: < <= = >= > <> cmp.
Operators of equal precedence are applied from left to right.
Example 1: 8/2*4 is calculated as (8/2)*4 = 16, and 8*2/4 as (8*2)/4 = 4.
Example 2: 2 + 3*4 is calculated as 2 + (3*4) = 14, and 4 - 2 + 1 as (4 - 2) + 1 = 3.
Example 3: -Power(2;3)*2 + 1 is calculated as ((-Power(2;3))*2) + 1 = -15.

------------------------------------------------------------
Functions and their descriptions
Abs(x): the absolute value of x; Abs(-2) = 2.
Exp(x): e to the power x.
Square(x): x*x.
Sqrt(x): the square root of x, for x >= 0.
Power(x;z): x to the power z, computed as Exp(z*Ln(x)); x may be negative only with a whole-number z; Power(0;z) needs z >= 0.
Ln(x): the natural logarithm of x, for x > 0.
LogBase10(x): the common logarithm of x, Ln(x)/Ln(10), for x > 0.
LogBase2(x): the binary logarithm of x, Ln(x)/Ln(2), for x > 0.
LogBaseN(Base;x): the logarithm of x to the base Base, Ln(x)/Ln(Base), for x > 0, Base > 0 and Base <> 1; LogBaseN(2;1024) = 10.
Pi: the constant pi = 3.14159...; Deg: the constant 180/Pi = 57.29577..., the number of degrees in one radian.
Sin(x): the sine of x.
Cos(x): the cosine of x.
Tan(x): the tangent of x, Sin(x)/Cos(x).
Cot(x): the cotangent of x, 1/Tan(x).
Sec(x): the secant of x, 1/Cos(x).
Csc(x): the cosecant of x, 1/Sin(x).
ArcSin(x): the angle whose sine is x, for -1 <= x <= 1; from -Pi/2 to Pi/2 (-90 to 90 degrees).
ArcCos(x): the angle whose cosine is x, for -1 <= x <= 1; from 0 to Pi (0 to 180 degrees).
ArcTan(x): the angle whose tangent is x; between -Pi/2 and Pi/2 (-90 and 90 degrees).
ArcCot(x): the inverse cotangent, ArcTan(1/x), for x <> 0.
ArcSec(x): the inverse secant, ArcTan(Sqrt(x*x - 1)), for Abs(x) >= 1; the same for x and -x.
ArcCsc(x): the inverse cosecant, ArcSec(x/Sqrt(x*x - 1)), for Abs(x) > 1; the same for x and -x.
Versine(x): 1 - Cos(x).
Coversine(x): 1 - Sin(x).
Haversine(x): (1 - Cos(x))/2.
Exsecans(x): Sec(x) - 1.
SinH(x): the hyperbolic sine, (Exp(x) - Exp(-x))/2.
CosH(x): the hyperbolic cosine, (Exp(x) + Exp(-x))/2.
TanH(x): the hyperbolic tangent, (Exp(2*x) - 1)/(Exp(2*x) + 1).
CotH(x): the hyperbolic cotangent, 1/TanH(x), for x <> 0.
SecH(x): the hyperbolic secant, 2/(Exp(x) + Exp(-x)).
CscH(x): the hyperbolic cosecant, 2/(Exp(x) - Exp(-x)), for x <> 0.
ArcSinH(x): the inverse hyperbolic sine, Ln(x + Sqrt(x*x + 1)).
ArcCosH(x): the inverse hyperbolic cosine, Ln(x + Sqrt(x*x - 1)), for x >= 1.
ArcTanH(x): the inverse hyperbolic tangent, Ln(Sqrt((1 + x)/(1 - x))), for -1 < x < 1.
ArcCotH(x): the inverse hyperbolic cotangent, Ln((x + 1)/(x - 1))/2, for Abs(x) > 1.
ArcSecH(x): the inverse hyperbolic secant, Ln((1 + Sqrt(1 - x*x))/x), for 0 < x <= 1.
ArcCscH(x): the inverse hyperbolic cosecant, Ln((1 + Sqrt(x*x + 1))/x) for x > 0 and Ln((1 - Sqrt(x*x + 1))/x) for x < 0.

------------------------------------------------------------
DESCRIPTION OF USER INTERFACE
File menu
Save as: Saves the table of values as a text file, or the chart as a bitmap (.bmp), Windows metafile (.wmf) or enhanced metafile (.emf) picture.
Print report: Opens the table of values in the print report window, where it can be edited, the printer set up and the text printed.
Print graph: Opens the chart print preview, where the printer, the paper orientation, the margins and the detail are chosen and the chart is printed.
Exit: Closes Qurvia.
View menu
Graphics: Shows or hides the chart.
Text: Shows or hides the table of values.
Toolbar: Shows or hides the toolbar.
Edit menu
Copy text: Copies the table of values to the clipboard.
Copy bitmap: Copies the chart to the clipboard as a bitmap.
Copy metafile: Copies the chart to the clipboard as a metafile.
Option menu
Settings: Sets the colour of the graph line and the kind of metafile used for copying; the settings are kept for the next start.
Mode menu
Radians, Degrees, Grads: The angle unit of the trigonometric functions.
Help menu
Documentation: Displays the help contents for Qurvia program.
About: Shows the name and version of Qurvia.
)";

// What came with documents of several curves, after the guide above, under
// a heading of its own.
const char* const kSeveralCurves = R"(
------------------------------------------------------------
Several curves and documents
A document keeps several curves together with the angle mode: each curve has its formula, its own X min, X max and Step, its colour, line width (1 to 8 pixels) and line style (solid, dash or dot), a label (without one the formula names the curve), and whether it is shown. A document is saved as a file ending in .qurvia; a file that cannot be used is refused with one message that names it, and nothing is plotted.
Each curve is plotted on its own: a curve whose formula or range fails keeps its error, and the other curves are plotted all the same.
The table of several curves: a header line names the columns, x and then each curve's label or formula, and each line holds x and one y per curve. Curves over another range follow in a block of their own, under their own header line. A curve that stopped early leaves its later cells empty. As comma-separated values (CSV), a header that holds the separator, a quote or a line break is quoted, so that a spreadsheet reads every header as written and every number as a number.
Command line: qurvia FILE.qurvia opens the document in the window. --formula may be given several times, each time starting a curve; a --color after a --formula is that curve's colour, one before the first is the colour in force, and curves without a colour take the next one of a palette that colour-blind readers can tell apart. The range, mode and separator options hold for every curve. --document FILE plots a saved document to --table or --image, and --save-document FILE writes the document that the other options describe. With several curves each error is preceded by the curve's number, as in "curve 2: Floating point division by zero.".
In the window: the fields and Plot work on the current curve. Plot puts the fields' texts into it and plots every shown curve, each in its own colour and style, with a legend in the emptiest corner of the chart once two or more are shown; the axes take in every shown curve. An error of the current curve is shown in a message box as before; an error of another curve is shown beside it in the function list.
Function list: shown beside the chart as soon as the document has a second curve (and from View > Function list), it lists each curve with a check box (shown or hidden), its colour and its name. Choosing a curve puts its texts into the fields. Showing the list widens the window by its width; the window can then be resized and maximised, and hiding the list gives the window its first size back.
Edit menu: Undo (Ctrl+Z) and Redo (Ctrl+Shift+Z) take back and make again every change to the document. Add curve (Ctrl+Shift+N) starts a new empty curve after the current one; Keep curve (Ctrl+K) keeps the current curve on the chart and starts a new one from a copy of its texts; Remove curve, Move curve up and Move curve down act on the current curve; Curve style (or a double click in the list) sets its colour, line width, line style and label.
File menu: New document (Ctrl+N), Open document... (Ctrl+O), Save document (Ctrl+S) and Save document as... work on .qurvia files, and Recent documents reopens the last ones. The window's title names the document and marks unsaved changes with "*"; closing the window, New and Open ask whether to save them (Save, Discard or Cancel). Save as writes PNG, SVG and PDF pictures too, and as CSV, like Copy as CSV, it writes every shown curve.
Nothing is lost when Qurvia ends without closing (a crash, a kill): a few seconds after each change, a document with unsaved changes is copied to the folder qurvia in the user's state folder ($XDG_STATE_HOME, or ~/.local/state), and the copy goes when the document is saved or Qurvia closes. At the next start Qurvia offers to restore it, once; the restored document keeps its file name and its changes stay unsaved.
The trace readout follows the curve nearest the mouse and begins with its name. View > Equal scales makes one unit as long on both axes; View > Finer axis labels labels short spans more finely; both are kept for the next start, and these and Break the line at poles change the chart at once.
)";

// Parametric, polar and implicit curves, under a heading of their own.
const char* const kCurveKinds = R"(
------------------------------------------------------------
Parametric, polar and implicit curves
A parametric curve has two formulas in the variable t, one for x and one for y, and is drawn through the points (x, y) they give for t from T min to T max in steps of Step. T min, T max and Step are read and checked as X min, X max and Step are, with the same messages, so a curve has at most 10001 points. A Lissajous figure: x of t is sin(3*t) and y of t is sin(2*t), for t from 0 to 6.2832.
A polar curve has one formula in t for the radius r and is drawn at the points (r cos t, r sin t). The angle t is read in the angle mode of the Mode menu: in degrees, t from 0 to 360 is one turn. A rose: r is sin(4*t).
An implicit curve is the set of points where a formula in x and y is zero, within the rectangle X min to X max, Y min to Y max: x*x+y*y-4 is a circle of radius 2. It is traced on a grid as fine as the chart's pixels, and each point of the line is refined until it lies on the curve to the last digit. Where the formula raises an error (ln(x) for x not above 0), that part of the rectangle is left out and the rest is drawn; a formula that fails everywhere shows its error.
The table lists t, x and y for parametric and polar curves, under "t,x,y" as comma-separated values; an implicit curve has no values, and the table says so. Among several curves each of these stands in a block of its own, under the curve's name.
In the window: Edit, Add curve of kind, then Function, Parametric, Polar or Implicit (or the same choice from the arrow of the function list's Add curve button) adds a curve of that kind after the current one and shows it in the fields; Add curve (Ctrl+Shift+N) adds a function curve as before. A new parametric curve starts as the unit circle (x of t is cos(t), y of t is sin(t), t from 0 to 6.2832 in steps of 0.01), a polar one as the cardioid r = 1+cos(t) over the same t, and an implicit one as the circle x*x+y*y-4 over -3 to 3 on both axes. The fields above the chart follow the selected curve's kind: the formulas for x and y of t beside each other, with T min, T max and Step, for a parametric curve; the formula for r with T min, T max and Step for a polar curve; the formula in x and y with X min, X max, Y min and Y max for an implicit curve; a function curve keeps the formula with X min, X max and Step. Plot puts the fields into the selected curve, one step for Undo, and draws it. Copy as CSV and Save as write t,x,y for parametric and polar curves.
Command line: --x-of-t TEXT and --y-of-t TEXT give a parametric curve, --r-of-t TEXT a polar one; each starts another curve, as --formula does. --tmin and --tmax give their range of t (0 to 6.2832 unless given), and --step their step (0.01 unless given). --document FILE plots documents with curves of every kind. --equal-scales draws one unit as long on both axes, so that a circle looks round, and --fine-labels labels the axes in finer steps where the usual ones would leave fewer than three labels; --no-equal-scales and --no-fine-labels turn them off. Without these options the choices of the View menu hold.
)";

// What came with exact derivatives and the analysis of curves, under a
// heading of its own.
const char* const kDerivativesAndAnalysis = R"(
------------------------------------------------------------
Derivatives and the features of curves
Qurvia differentiates a formula exactly, from the formula itself rather than from its points: every operator and every built-in function has its derivative rule, in every angle mode. Where a derivative does not exist (abs at 0, a step of div or of a comparison, sqrt at 0) the point says "not differentiable" instead of showing a made-up number.
A derivative curve of a document draws f' or f'' of one of its function curves over that curve's range; the function list names it f1' or f1''. On the command line, --derivative 1 or --derivative 2 after a --formula makes that curve the first or second derivative of its formula.
--analyze FILE (or - for standard output) writes the features of every curve over its range: roots, minima, maxima, inflection points, the intersections of each pair of curves and each curve's definite integral, one per line, with the fields separated by a tab:
1	maximum	1.57079632679489661926e+00	1.00000000000000000000e+00
1	integral	1.83907152907645245226e+00	1.20e-19
1&2	intersection	7.85398163397448309628e-01	7.07106781186547524436e-01
The lines are sorted by curve (single curves first, then pairs), within a curve by x, its integral last. x and y have 21 significant digits; an integral gives its value and estimated error, or "-" and the reason when it has none (a pole, a failing formula). The numbers always have a decimal point, whatever --decimal-separator says: this output is for programs. --analyze combines with --table and --image; a curve whose run fails still reports what its points allowed, and the exit status is that of the run.
In the window: View > Analysis (or the toolbar's last button) shows the Analysis pane below the chart, and the window grows by its height. It lists the same features of the shown curves, by curve and x, with every digit that is meaningful (up to 20) and the decimal separator of the settings; curves are named f1, f2, ... as in the function list, an intersection by both. Each feature except the integral has a small mark in its curve's colour on the chart. The marks are for the screen: files, copies and prints hold them only while "Show analysis marks in pictures" is checked. Clicking a row puts the trace on its feature; moving the mouse within 6 pixels of a mark makes the trace snap to it and name it ("maximum", "root", "intersection f1, f2"). Copy (or Ctrl+C in the list) copies the selected rows, or every row when none is selected, as text with the fields separated by a tab. "Evaluate at x" takes a number or a formula without x (pi/2) and, on Enter, shows f, f' and f'' of the current curve there, or why one has no value.
)";

} // namespace

const QString& GuideText()
{
    static const QString text = QString::fromUtf8(kGuide) + QString::fromUtf8(kSeveralCurves).mid(1) +
                                QString::fromUtf8(kCurveKinds).mid(1) +
                                QString::fromUtf8(kDerivativesAndAnalysis).mid(1);
    return text;
}

} // namespace qrv
