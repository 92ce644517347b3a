// File names between the system's bytes and QString without loss. The
// toolkit's own conversion turns bytes that are not UTF-8 into replacement
// characters, so two distinct names would meet in one file. Here each such
// byte becomes a lone low surrogate U+DC80..U+DCFF, which no valid UTF-8
// decodes to, and turns back into the same byte.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace qrv
{

QString FileNameFromBytes(std::string_view bytes);
std::string FileNameBytes(const QString& name);

} // namespace qrv
