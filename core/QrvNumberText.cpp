#include "QrvNumberText.h"
#include "QrvErrors.h"
namespace qrv {
char DecimalSeparator() { return '.'; }
void SetDecimalSeparator(char) {}
char ThousandSeparator() { return ','; }
void SetThousandSeparator(char) {}
std::optional<Float> TextToFloat(std::string_view, Blanks, char) { return std::nullopt; }
Float StrToFloat(std::string_view text, Blanks) { throw EConvertError(text); }
std::string FormatFixed3(double, char) { return {}; }
std::string FormatAxisValue(double, char, char) { return {}; }
std::string FormatGeneral15(double, char) { return {}; }
}
