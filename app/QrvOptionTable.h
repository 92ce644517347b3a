// The options of the qurvia command line in one table. The parser finds an
// argument's row by name and hands the value to the row's handler; --help
// and the manual page are written from the same rows, so the three cannot
// disagree. Adding an option is adding a row and its handler
// (QrvOptionTable.cpp).
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace qrv
{

struct TCommandLine;

// Writes an option's value into the command line being read, raising
// TUsageError for a value it cannot take; a flag's handler gets "". The
// handler sees everything read so far, so an option may add to what
// earlier ones made (a list that grows with each use, the last entry of
// one) as well as replace a single value.
using TOptionHandler = void (*)(TCommandLine& commandLine, std::string_view value);

// A heading of --help and the manual, with the paragraph under it.
struct TOptionSection {
    const char* Heading;
    const char* Intro = nullptr;
};

struct TOptionInfo {
    const char* Name;              // "--formula"
    const char* Value = nullptr;   // placeholder of its value ("TEXT"), nullptr for a flag
    std::string Help;              // one sentence or two, for --help and the manual
    const TOptionSection* Section; // the heading it is listed under
    TOptionHandler Apply;
    const char* Alias = nullptr; // another name the parser takes ("-h"), not listed
};

// Every option, in the order --help lists them.
std::span<const TOptionInfo> CommandLineOptions();

// The option of that name or alias ("--xmin", "-h"), or nullptr.
const TOptionInfo* FindOption(std::string_view name);

// The text of --help.
std::string UsageText();

// The manual page qurvia(1) in roff (man macros).
std::string ManPageText(std::string_view version);

} // namespace qrv
