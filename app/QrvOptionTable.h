// The options of the qurvia command line in one table, from which the
// parser learns which options take a value, and --help and the manual page
// are written, so the three cannot disagree.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace qrv
{

struct TOptionInfo {
    const char* Name;    // "--formula"
    const char* Value;   // placeholder of its value ("TEXT"), nullptr for a flag
    const char* Help;    // one sentence or two, for --help and the manual
    const char* Section; // the heading it is listed under
};

// Every option, in the order --help lists them.
std::span<const TOptionInfo> CommandLineOptions();

// The option of that name ("--xmin"), or nullptr.
const TOptionInfo* FindOption(std::string_view name);

// The text of --help.
std::string UsageText();

// The manual page qurvia(1) in roff (man macros).
std::string ManPageText(std::string_view version);

} // namespace qrv
