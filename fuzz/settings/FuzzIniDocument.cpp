// The INI document's read-write round trip: any text reads and writes back
// byte for byte; a key that Write accepts reads back as written (blanks
// around it and one pair of quotes dropped, line breaks made blanks) and
// leaves every other key alone; the written text reads back as the same
// document.
#include "QrvIniDocument.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace
{

[[noreturn]] void Finding(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
    std::abort();
}

// What Read gives for a value written by Write.
std::string AsRead(std::string value)
{
    for (char& c : value)
        if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    std::string_view trimmed = qrv::TrimBlanks(value);
    if (trimmed.size() >= 2 && (trimmed.front() == '"' || trimmed.front() == '\'') &&
        trimmed.back() == trimmed.front())
        trimmed = trimmed.substr(1, trimmed.size() - 2);
    return std::string(trimmed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string text = input.ConsumeRandomLengthString(4096);
    qrv::TIniDocument document(text);
    if (document.Text() != text) Finding("a text that does not read back byte for byte", text);

    // Names to write and to watch: some typed, some that the text may hold.
    struct Name {
        std::string section, key;
    };
    std::vector<Name> watched;
    for (int i = 0; i < 4 && input.remaining_bytes() > 0; ++i)
        watched.push_back({input.ConsumeRandomLengthString(24), input.ConsumeRandomLengthString(24)});
    watched.push_back({"Appearance", "Color"});
    watched.push_back({"General", "Output_File"});

    while (input.remaining_bytes() > 0) {
        const Name& name = watched[input.ConsumeIntegralInRange<std::size_t>(0, watched.size() - 1)];
        const std::string value = input.ConsumeRandomLengthString(64);
        std::vector<std::optional<std::string>> before;
        for (const Name& other : watched)
            before.push_back(document.Read(other.section, other.key));
        if (!document.Write(name.section, name.key, value)) {
            for (std::size_t i = 0; i < watched.size(); ++i)
                if (document.Read(watched[i].section, watched[i].key) != before[i])
                    Finding("a refused write changed a key", name.section + "/" + name.key);
            continue;
        }
        const auto read = document.Read(name.section, name.key);
        if (read != AsRead(value))
            Finding("a written key reads back otherwise", name.section + "/" + name.key + "=" + value);
        for (std::size_t i = 0; i < watched.size(); ++i) {
            const Name& other = watched[i];
            const bool same = qrv::SameName(qrv::TrimBlanks(other.section), qrv::TrimBlanks(name.section)) &&
                              qrv::SameName(qrv::TrimBlanks(other.key), qrv::TrimBlanks(name.key));
            if (!same && document.Read(other.section, other.key) != before[i])
                Finding("a write changed another key", other.section + "/" + other.key);
        }
    }

    // The written text reads back as the same document. Checked once after
    // all writes, so that an input costs time in proportion to its size (the
    // shorter inputs the fuzzer tries check the texts in between).
    const std::string written = document.Text();
    const qrv::TIniDocument again(written);
    if (again.Text() != written) Finding("a written text does not read back", written);
    for (const Name& name : watched)
        if (again.Read(name.section, name.key) != document.Read(name.section, name.key))
            Finding("a key changes through the text", written);
    return 0;
}
