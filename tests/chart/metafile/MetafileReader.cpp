#include "MetafileReader.h"

#include <algorithm>
#include <array>
#include <map>

namespace qrv::test
{

namespace
{

uint16_t Get16(const QByteArray& b, qsizetype at)
{
    return uint16_t(uchar(b[at]) | (uchar(b[at + 1]) << 8));
}
uint32_t Get32(const QByteArray& b, qsizetype at)
{
    return Get16(b, at) | (uint32_t(Get16(b, at + 2)) << 16);
}

TMetafile Fail(TMetafile file, std::string why)
{
    file.Error = std::move(why);
    return file;
}

} // namespace

uint16_t TRecord::U16(int at) const
{
    return at + 2 <= Bytes.size() ? Get16(Bytes, at) : 0;
}
uint32_t TRecord::U32(int at) const
{
    return at + 4 <= Bytes.size() ? Get32(Bytes, at) : 0;
}

std::vector<const TRecord*> TMetafile::OfType(uint32_t type) const
{
    std::vector<const TRecord*> out;
    for (const TRecord& r : Records)
        if (r.Type == type) out.push_back(&r);
    return out;
}

TMetafile ReadWmf(const QByteArray& b)
{
    TMetafile f;
    if (b.size() < 22 + 18) return Fail(f, "shorter than the two headers");
    if (Get32(b, 0) != 0x9AC6CDD7u) return Fail(f, "placeable key missing");
    if (Get16(b, 4) != 0) return Fail(f, "placeable handle not 0");
    f.Left = int16_t(Get16(b, 6));
    f.Top = int16_t(Get16(b, 8));
    f.Right = int16_t(Get16(b, 10));
    f.Bottom = int16_t(Get16(b, 12));
    f.UnitsPerInch = Get16(b, 14);
    if (Get32(b, 16) != 0) return Fail(f, "placeable reserved field not 0");
    uint16_t sum = 0;
    for (int i = 0; i < 10; ++i)
        sum ^= Get16(b, 2 * i);
    if (sum != Get16(b, 20)) return Fail(f, "placeable checksum wrong");

    const qsizetype h = 22;
    if (Get16(b, h) != 1 && Get16(b, h) != 2) return Fail(f, "metafile type neither memory nor disk");
    if (Get16(b, h + 2) != 9) return Fail(f, "header size not 9 words");
    if (Get16(b, h + 4) != 0x0300) return Fail(f, "version not 0x0300");
    if (qsizetype(Get32(b, h + 6)) * 2 != b.size() - h) return Fail(f, "file size in words does not match");
    f.ObjectSlots = Get16(b, h + 10);
    const uint32_t maxRecord = Get32(b, h + 12);

    uint32_t largest = 0;
    qsizetype at = h + 18;
    while (at < b.size()) {
        if (at + 6 > b.size()) return Fail(f, "record header cut off");
        const uint32_t words = Get32(b, at);
        if (words < 3 || at + qsizetype(words) * 2 > b.size()) return Fail(f, "record size out of the file");
        largest = std::max(largest, words);
        f.Records.push_back({Get16(b, at + 4), b.mid(at, qsizetype(words) * 2)});
        at += qsizetype(words) * 2;
        if (f.Records.back().Type == wmf::Eof) break;
    }
    if (at != b.size()) return Fail(f, "bytes after the end record");
    if (f.Records.empty() || f.Records.back().Type != wmf::Eof) return Fail(f, "no end record");
    if (largest != maxRecord) return Fail(f, "largest record size not declared");
    return f;
}

TMetafile ReadEmf(const QByteArray& b)
{
    TMetafile f;
    f.Enhanced = true;
    if (b.size() < 88) return Fail(f, "shorter than a header");
    if (Get32(b, 0) != emf::Header) return Fail(f, "first record not a header");
    if (Get32(b, 40) != 0x464D4520u) return Fail(f, "signature missing");
    if (Get32(b, 44) != 0x10000u) return Fail(f, "version not 0x10000");
    f.Left = int32_t(Get32(b, 8));
    f.Top = int32_t(Get32(b, 12));
    f.Right = int32_t(Get32(b, 16));
    f.Bottom = int32_t(Get32(b, 20));
    f.FrameRight = int32_t(Get32(b, 32));
    f.FrameBottom = int32_t(Get32(b, 36));
    if (qsizetype(Get32(b, 48)) != b.size()) return Fail(f, "file size does not match");
    const uint32_t declaredRecords = Get32(b, 52);
    f.ObjectSlots = Get16(b, 56);

    qsizetype at = 0;
    while (at < b.size()) {
        if (at + 8 > b.size()) return Fail(f, "record header cut off");
        const uint32_t size = Get32(b, at + 4);
        if (size < 8 || size % 4 != 0 || at + qsizetype(size) > b.size()) return Fail(f, "record size wrong");
        f.Records.push_back({Get32(b, at), b.mid(at, size)});
        at += size;
        if (f.Records.back().Type == emf::Eof) break;
    }
    if (at != b.size()) return Fail(f, "bytes after the end record");
    if (f.Records.back().Type != emf::Eof) return Fail(f, "no end record");
    if (f.Records.back().U32(16) != f.Records.back().U32(4)) return Fail(f, "end record size not repeated");
    if (f.Records.size() != declaredRecords) return Fail(f, "record count does not match");
    return f;
}

std::string CheckObjects(const TMetafile& f)
{
    enum { Pen, Brush, Font };
    std::map<uint32_t, int> live; // index -> kind
    std::array<int64_t, 3> current{-1, -1, -1};
    std::vector<std::array<int64_t, 3>> saved;
    const auto create = [&](uint32_t index, int kind) -> std::string {
        if (live.count(index)) return "object " + std::to_string(index) + " created twice";
        if (int(index) >= f.ObjectSlots) return "object table larger than declared";
        live[index] = kind;
        return {};
    };
    for (const TRecord& r : f.Records) {
        std::string error;
        int kind = -1;
        if (f.Enhanced) {
            switch (r.Type) {
            case emf::CreatePen:
            case emf::ExtCreatePen:
            case emf::CreateBrush:
            case emf::CreateFont:
                kind = r.Type == emf::CreatePen || r.Type == emf::ExtCreatePen ? Pen
                       : r.Type == emf::CreateBrush                            ? Brush
                                                                               : Font;
                if (r.U32(8) == 0) return "object index 0 is reserved";
                error = create(r.U32(8), kind);
                break;
            }
        } else {
            switch (r.Type) {
            case wmf::CreatePen:
            case wmf::CreateBrush:
            case wmf::CreateFont: {
                kind = r.Type == wmf::CreatePen ? Pen : r.Type == wmf::CreateBrush ? Brush : Font;
                uint32_t slot = 0; // a new object takes the lowest free entry
                while (live.count(slot))
                    ++slot;
                error = create(slot, kind);
                break;
            }
            }
        }
        if (!error.empty()) return error;
        const bool select = r.Type == (f.Enhanced ? emf::SelectObject : wmf::SelectObject);
        const bool remove = r.Type == (f.Enhanced ? emf::DeleteObject : wmf::DeleteObject);
        const uint32_t index = f.Enhanced ? r.U32(8) : r.U16(6);
        if (select) {
            if (f.Enhanced && (index & 0x80000000u)) {
                const int stockKind = index == 0x80000007u ? Pen : index == 0x80000000u ? Brush : Font;
                current[size_t(stockKind)] = -2;
            } else if (!live.count(index))
                return "selecting missing object " + std::to_string(index);
            else
                current[size_t(live[index])] = index;
        } else if (remove) {
            if (!live.count(index)) return "deleting missing object " + std::to_string(index);
            for (const auto& s : saved)
                if (std::find(s.begin(), s.end(), int64_t(index)) != s.end())
                    return "deleting object " + std::to_string(index) + " that a saved state holds";
            if (f.Enhanced && std::find(current.begin(), current.end(), int64_t(index)) != current.end())
                return "deleting selected object " + std::to_string(index);
            live.erase(index);
        } else if (r.Type == (f.Enhanced ? emf::SaveDc : wmf::SaveDc)) {
            saved.push_back(current);
        } else if (r.Type == (f.Enhanced ? emf::RestoreDc : wmf::RestoreDc)) {
            if (saved.empty()) return "restore without save";
            current = saved.back();
            saved.pop_back();
        }
    }
    if (!saved.empty()) return "saved states left open";
    if (!live.empty()) return std::to_string(live.size()) + " objects never deleted";
    return {};
}

std::vector<std::pair<int, int>> PolyPoints(const TMetafile& f, const TRecord& r)
{
    std::vector<std::pair<int, int>> out;
    if (f.Enhanced) {
        const bool wide = r.Type == emf::Polyline || r.Type == 3;
        const int count = int(r.U32(24));
        for (int i = 0; i < count; ++i)
            out.emplace_back(wide ? r.I32(28 + 8 * i) : r.I16(28 + 4 * i),
                             wide ? r.I32(32 + 8 * i) : r.I16(30 + 4 * i));
    } else {
        const int count = r.I16(6);
        for (int i = 0; i < count; ++i)
            out.emplace_back(r.I16(8 + 4 * i), r.I16(10 + 4 * i));
    }
    return out;
}

TTextRun TextRun(const TMetafile& f, const TRecord& r)
{
    TTextRun run;
    if (f.Enhanced) {
        run.X = r.I32(36);
        run.Y = r.I32(40);
        const int n = int(r.U32(44));
        const int text = int(r.U32(48)), dx = int(r.U32(72));
        for (int i = 0; i < n; ++i) {
            run.Text.append(QChar(r.U16(text + 2 * i)));
            run.Dx.push_back(r.I32(dx + 4 * i));
        }
    } else {
        run.Y = r.I16(6);
        run.X = r.I16(8);
        const int n = r.I16(10);
        const int options = r.U16(12);
        const int text = 14 + ((options & 6) ? 8 : 0); // an optional rectangle precedes the text
        for (int i = 0; i < n; ++i)
            run.Text.append(QChar(uchar(r.Bytes[text + i])));
        const int dx = text + n + (n % 2);
        for (int i = 0; i < n && dx + 2 * i + 2 <= r.Bytes.size(); ++i)
            run.Dx.push_back(r.I16(dx + 2 * i));
    }
    return run;
}

TFontInfo FontInfo(const TMetafile& f, const TRecord& r)
{
    TFontInfo info;
    if (f.Enhanced) {
        info.Height = r.I32(12);
        for (int i = 0; i < 32 && r.U16(40 + 2 * i) != 0; ++i)
            info.Face.append(QChar(r.U16(40 + 2 * i)));
    } else {
        info.Height = r.I16(6);
        for (int i = 24; i < r.Bytes.size() && r.Bytes[i] != 0; ++i)
            info.Face.append(QChar(uchar(r.Bytes[i])));
    }
    return info;
}

} // namespace qrv::test
