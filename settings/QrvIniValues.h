// Typed values in the settings file, and the number texts the setting
// variables and their edits read and write.
//
//   integer  written in decimal; read in decimal, or in hexadecimal after
//            "$" or "0x"; other text gives the default
//   Boolean  written as "1" or "0"; read as an integer, non-zero is true
//   string   written unchanged; read up to 2047 bytes
//   float    written with 8 fixed decimals and "." ("3.50000000"); read with
//            "."; other text gives the default
//
// Every read gives the default when there is no settings file handle or a
// name is empty; every write then does nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qrv
{

std::int32_t ReadIniInteger(std::string_view section, std::string_view key, std::int32_t defaultValue);
bool ReadIniBool(std::string_view section, std::string_view key, bool defaultValue);
std::string ReadIniString(std::string_view section, std::string_view key, std::string_view defaultValue);
double ReadIniFloat(std::string_view section, std::string_view key, double defaultValue);

void WriteIniInteger(std::string_view section, std::string_view key, std::int32_t value);
void WriteIniBool(std::string_view section, std::string_view key, bool value);
void WriteIniString(std::string_view section, std::string_view key, std::string_view value);
void WriteIniFloat(std::string_view section, std::string_view key, double value);

// A signed 32-bit integer: leading blanks skipped, then decimal digits after
// an optional sign, or hexadecimal digits after "$", "x", "X", "0x" or "0X"
// (up to FFFFFFFF, read as the two's complement: $FFFFFFFF is -1). Nothing
// may follow; an empty text or a number out of range gives nothing.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// A finite double from text with the given decimal separator, blanks
// around it ignored; nothing for other text and for values beyond the
// double range.
std::optional<double> ParseFloat(std::string_view text, char decimalSeparator);

// The settings file's float text: 8 fixed decimals, ".", no blanks.
std::string FormatIniFloat(double value);

// A value formatted by a display format text "%.<digits><letter>" as
// printf does it in the C locale ("e", "f" or "g"), with the given decimal
// separator in place of ".".
std::string FormatDisplayFloat(double value, std::string_view formatText, char decimalSeparator);

} // namespace qrv
