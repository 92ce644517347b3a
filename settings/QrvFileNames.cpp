#include "QrvFileNames.h"

namespace qrv
{

namespace
{

constexpr char16_t kEscapeBase = 0xDC00;

// The length of the valid UTF-8 sequence at the start of `text`, or 0.
std::size_t ValidSequence(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not valid.
    if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF))) return 0;
    if (code >= 0xD800 && code <= 0xDFFF) return 0;
    return length;
}

} // namespace

QString FileNameFromBytes(std::string_view bytes)
{
    QString name;
    while (!bytes.empty()) {
        if (const std::size_t length = ValidSequence(bytes)) {
            name += QString::fromUtf8(bytes.data(), static_cast<qsizetype>(length));
            bytes.remove_prefix(length);
        } else {
            name += QChar(char16_t(kEscapeBase + static_cast<unsigned char>(bytes[0])));
            bytes.remove_prefix(1);
        }
    }
    return name;
}

std::string FileNameBytes(const QString& name)
{
    std::string bytes;
    qsizetype start = 0;
    const auto flush = [&](qsizetype end) {
        if (end > start) bytes += name.mid(start, end - start).toStdString();
    };
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        const bool paired = i > 0 && name[i - 1].isHighSurrogate();
        if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF && !paired) {
            flush(i);
            bytes += static_cast<char>(c - kEscapeBase);
            start = i + 1;
        }
    }
    flush(name.size());
    return bytes;
}

} // namespace qrv
