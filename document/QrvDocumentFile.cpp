#include "QrvDocumentFile.h"

#include "QrvFileWriter.h"
#include "QrvJsonText.h"
#include "QrvPalette.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <optional>
#include <span>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace qrv
{

namespace
{

// ---- names of the format ---------------------------------------------------

constexpr std::array<const char*, 3> kAngleNames{"radians", "degrees", "grads"};
constexpr std::array<const char*, 3> kStyleNames{"solid", "dash", "dot"};

// The texts a kind reads, in the order they are written.
struct TTextKey {
    const char* Key;
    std::string TCurve::*Field;
};

constexpr TTextKey kFunctionKeys[] = {
    {"formula", &TCurve::Formula}, {"xmin", &TCurve::XMin}, {"xmax", &TCurve::XMax}, {"step", &TCurve::Step}};
constexpr TTextKey kParametricKeys[] = {{"x", &TCurve::XOfT},
                                        {"y", &TCurve::YOfT},
                                        {"tmin", &TCurve::TMin},
                                        {"tmax", &TCurve::TMax},
                                        {"step", &TCurve::Step}};
constexpr TTextKey kPolarKeys[] = {
    {"formula", &TCurve::Formula}, {"tmin", &TCurve::TMin}, {"tmax", &TCurve::TMax}, {"step", &TCurve::Step}};
constexpr TTextKey kImplicitKeys[] = {{"formula", &TCurve::Formula},
                                      {"xmin", &TCurve::XMin},
                                      {"xmax", &TCurve::XMax},
                                      {"ymin", &TCurve::YMin},
                                      {"ymax", &TCurve::YMax}};

struct TKindFormat {
    TCurveKind Kind;
    const char* Name;
    std::span<const TTextKey> Texts;
    bool Derivative; // reads "of" and "order" instead of texts
};

// Indexed by TCurveKind.
constexpr std::array<TKindFormat, 5> kKinds{{
    {TCurveKind::Function, "function", kFunctionKeys, false},
    {TCurveKind::Derivative, "derivative", {}, true},
    {TCurveKind::Parametric, "parametric", kParametricKeys, false},
    {TCurveKind::Polar, "polar", kPolarKeys, false},
    {TCurveKind::Implicit, "implicit", kImplicitKeys, false},
}};

static_assert(std::all_of(kKinds.begin(), kKinds.end(),
                          [](const TKindFormat& format) {
                              return &format == &kKinds[std::size_t(format.Kind)];
                          }),
              "kKinds is indexed by TCurveKind");

constexpr std::array<const char*, 5> kStyleKeys{"color", "width", "style", "label", "visible"};

const TKindFormat& FormatOf(TCurveKind kind)
{
    return kKinds.at(std::size_t(kind));
}

bool IsKnownCurveKey(const TKindFormat& format, const std::string& key)
{
    if (key == "kind") return true;
    for (const TTextKey& text : format.Texts)
        if (key == text.Key) return true;
    if (format.Derivative && (key == "of" || key == "order")) return true;
    for (const char* style : kStyleKeys)
        if (key == style) return true;
    return false;
}

constexpr std::array<const char*, 4> kDocumentKeys{"qurvia", "angle", "decimal-separator", "curves"};

bool IsKnownDocumentKey(const std::string& key)
{
    for (const char* known : kDocumentKeys)
        if (key == known) return true;
    return false;
}

// ---- writing ----------------------------------------------------------------

std::string ColorText(TColor color)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text = "#";
    for (const std::uint8_t part : {GetRValue(color), GetGValue(color), GetBValue(color)}) {
        text += kHex[part >> 4];
        text += kHex[part & 0xF];
    }
    return text;
}

void WriteCurve(std::string& out, const TCurve& curve, int depth)
{
    const TKindFormat& format = FormatOf(curve.Kind);
    TJsonObjectWriter object(out, depth);
    object.Name("kind", format.Name);
    for (const TTextKey& text : format.Texts)
        object.Text(text.Key, curve.*text.Field);
    if (format.Derivative) {
        object.Integer("of", curve.Of);
        object.Integer("order", curve.Order);
    }
    object.Text("color", ColorText(curve.Color));
    object.Integer("width", curve.Width);
    object.Name("style", kStyleNames.at(std::size_t(curve.Style)));
    object.Text("label", curve.Label);
    object.Boolean("visible", curve.Visible);
    object.Members(curve.Unknown);
    object.End();
}

// ---- reading ---------------------------------------------------------------

// A value quoted in a message: control characters as blanks, and a long
// one cut (between characters) so that the message stays one short line.
std::string Quoted(const QString& value)
{
    constexpr qsizetype kLongest = 40;
    QString shown = value;
    if (shown.size() > kLongest) {
        shown.truncate(shown.at(kLongest - 1).isHighSurrogate() ? kLongest - 1 : kLongest);
        shown += QStringLiteral("...");
    }
    for (QChar& c : shown)
        if (c.unicode() < 0x20) c = QLatin1Char(' ');
    return shown.toStdString();
}

// Whether a number is whole (and so converts to an integer in the range
// [low, high] without loss).
bool IsWholeIn(double value, double low, double high)
{
    return std::isfinite(value) && std::floor(value) == value && value >= low && value <= high;
}

// The line and column (1-based, counted in characters) of a byte offset.
std::pair<int, int> LineAndColumn(const QByteArray& bytes, qsizetype offset)
{
    offset = std::clamp<qsizetype>(offset, 0, bytes.size());
    int line = 1;
    int column = 1;
    for (qsizetype i = 0; i < offset; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\n') {
            ++line;
            column = 1;
        } else if ((c & 0xC0) != 0x80) {
            ++column;
        }
    }
    return {line, column};
}

bool IsJsonBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// How a JSON text ends: still inside a string or a bracket, where its last
// token starts, and where its last non-blank byte ends.
struct TTail {
    bool Open = false;
    qsizetype LastToken = 0;
    qsizetype End = 0;
};

TTail TailOf(const QByteArray& bytes)
{
    TTail tail;
    bool inString = false;
    bool inWord = false; // a number or a literal such as true
    qsizetype depth = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
            tail.End = std::min(i + 1, bytes.size());
            continue;
        }
        if (IsJsonBlank(c)) {
            inWord = false;
            continue;
        }
        tail.End = i + 1;
        const bool punctuation =
            c == '{' || c == '}' || c == '[' || c == ']' || c == ',' || c == ':' || c == '"';
        if (punctuation || !inWord) tail.LastToken = i;
        inWord = !punctuation;
        if (c == '"') inString = true;
        if (c == '{' || c == '[') ++depth;
        if ((c == '}' || c == ']') && depth > 0) --depth;
    }
    tail.Open = inString || depth > 0;
    return tail;
}

class TReader
{
public:
    TReader(const std::string& fileName, TColor firstColor)
        : fileName_(fileName), firstColor_(firstColor),
          place_(FormatDocumentText(DocText::PlaceDocument, {fileName}))
    {
    }

    TDocument Read(QByteArray bytes)
    {
        if (std::size_t(bytes.size()) > kMaxDocumentBytes) Refuse(DocText::TooLarge, {place_});
        if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
        if (std::all_of(bytes.begin(), bytes.end(), IsJsonBlank)) Refuse(DocText::Empty, {place_});
        QJsonParseError error;
        const QJsonDocument json = QJsonDocument::fromJson(bytes, &error);
        if (error.error != QJsonParseError::NoError) RefuseSyntax(bytes, error);
        if (!json.isObject()) Refuse(DocText::NotObject, {place_});
        return ReadDocument(JsonMembersOf(json.object()));
    }

private:
    [[noreturn]] static void Refuse(DocText id, std::initializer_list<std::string_view> args)
    {
        throw EQrvDocumentError(id, args);
    }

    // A text that ends inside a string or a bracket, where the reader
    // stopped on its last token, was cut short; any other fault is one of
    // syntax, at the place the reader gives.
    [[noreturn]] void RefuseSyntax(const QByteArray& bytes, const QJsonParseError& error)
    {
        const TTail tail = TailOf(bytes);
        if (tail.Open && error.offset >= tail.LastToken) {
            const auto [line, column] = LineAndColumn(bytes, tail.End);
            Refuse(DocText::CutShort, {place_, std::to_string(line), std::to_string(column)});
        }
        const auto [line, column] = LineAndColumn(bytes, error.offset);
        Refuse(DocText::JsonSyntax,
               {place_, error.errorString().toStdString(), std::to_string(line), std::to_string(column)});
    }

    [[noreturn]] static void WrongType(const std::string& place, const char* key, DocText type)
    {
        Refuse(DocText::WrongType, {place, key, DocumentText(type)});
    }

    // A member of the JSON type that `is` tests (named `type` in the
    // message): nothing when it is missing and optional.
    static std::optional<QJsonValue> TypedMember(const TJsonObject& object, const char* key,
                                                 const std::string& place, bool required,
                                                 bool (QJsonValue::*is)() const, DocText type)
    {
        const QJsonValue value = JsonMember(object, key);
        if (value.isUndefined()) {
            if (required) Refuse(DocText::MissingKey, {place, key});
            return std::nullopt;
        }
        if (!(value.*is)()) WrongType(place, key, type);
        return value;
    }

    static std::optional<QString> TextMember(const TJsonObject& object, const char* key,
                                             const std::string& place, bool required)
    {
        const auto value =
            TypedMember(object, key, place, required, &QJsonValue::isString, DocText::TypeText);
        return value ? std::optional(value->toString()) : std::nullopt;
    }

    static std::optional<double> NumberMember(const TJsonObject& object, const char* key,
                                              const std::string& place, bool required)
    {
        const auto value =
            TypedMember(object, key, place, required, &QJsonValue::isDouble, DocText::TypeWholeNumber);
        return value ? std::optional(value->toDouble()) : std::nullopt;
    }

    // The index of `text` among `names`, or nothing.
    template <std::size_t N>
    static std::optional<std::size_t> IndexOf(const std::array<const char*, N>& names, const QString& text)
    {
        for (std::size_t i = 0; i < N; ++i)
            if (text == QLatin1String(names[i])) return i;
        return std::nullopt;
    }

    static TJsonMembers UnknownMembers(const TJsonObject& object, const auto& isKnown)
    {
        TJsonMembers members;
        for (const auto& [key, value] : object) {
            if (isKnown(key)) continue;
            std::string json;
            AppendJsonValue(json, value, 0);
            members.push_back({key, std::move(json)});
        }
        return members;
    }

    void ReadFormat(const TJsonObject& object)
    {
        const QJsonValue value = JsonMember(object, "qurvia");
        if (value.isUndefined()) Refuse(DocText::NoFormat, {place_});
        if (!value.isDouble() || !IsWholeIn(value.toDouble(), -HUGE_VAL, HUGE_VAL))
            WrongType(place_, "qurvia", DocText::TypeWholeNumber);
        const double format = value.toDouble();
        if (format > kDocumentFormat)
            Refuse(DocText::NewerFormat, {place_, NumberJson(format), std::to_string(kDocumentFormat)});
        if (format < 1) Refuse(DocText::UnknownFormat, {place_, NumberJson(format)});
    }

    TDocument ReadDocument(const TJsonObject& object)
    {
        ReadFormat(object);
        TDocument document;
        if (const auto angle = TextMember(object, "angle", place_, false)) {
            const auto index = IndexOf(kAngleNames, *angle);
            if (!index) Refuse(DocText::BadAngle, {place_, Quoted(*angle)});
            document.Angle = TAngleMode(*index);
        }
        if (const auto separator = TextMember(object, "decimal-separator", place_, false)) {
            if (*separator != QLatin1String(".") && *separator != QLatin1String(","))
                Refuse(DocText::BadSeparator, {place_, Quoted(*separator)});
            document.DecimalSeparator = char(separator->at(0).unicode());
        }
        const QJsonValue curves = JsonMember(object, "curves");
        if (!curves.isUndefined()) {
            if (!curves.isArray()) WrongType(place_, "curves", DocText::TypeList);
            const QJsonArray list = curves.toArray();
            if (std::size_t(list.size()) > kMaxCurves)
                Refuse(DocText::TooManyCurves, {place_, std::to_string(kMaxCurves)});
            std::vector<bool> colored;
            for (qsizetype i = 0; i < list.size(); ++i) {
                bool hasColor = false;
                document.Curves.push_back(ReadCurve(list[i], int(i), hasColor));
                colored.push_back(hasColor);
            }
            CheckDerivatives(document);
            AssignColors(document, colored);
        }
        document.Unknown = UnknownMembers(object, IsKnownDocumentKey);
        return document;
    }

    TCurve ReadCurve(const QJsonValue& value, int index, bool& hasColor)
    {
        const std::string place =
            FormatDocumentText(DocText::PlaceCurve, {fileName_, std::to_string(index + 1)});
        if (!value.isObject()) Refuse(DocText::CurveNotObject, {place});
        const TJsonObject object = JsonMembersOf(value.toObject());
        TCurve curve;
        const QString kind = *TextMember(object, "kind", place, true);
        const TKindFormat* format = nullptr;
        for (const TKindFormat& candidate : kKinds)
            if (kind == QLatin1String(candidate.Name)) format = &candidate;
        if (!format) Refuse(DocText::UnknownKind, {place, Quoted(kind)});
        curve.Kind = format->Kind;
        for (const TTextKey& text : format->Texts)
            curve.*text.Field = TextMember(object, text.Key, place, true)->toStdString();
        if (format->Derivative) {
            const double of = *NumberMember(object, "of", place, true);
            if (!IsWholeIn(of, 1, double(kMaxCurves))) Refuse(DocText::BadOf, {place});
            curve.Of = int(of);
            const double order = *NumberMember(object, "order", place, true);
            if (order != 1 && order != 2) Refuse(DocText::BadOrder, {place});
            curve.Order = int(order);
        }
        if (const auto color = TextMember(object, "color", place, false)) {
            const auto parsed = ParseColor(*color);
            if (!parsed) Refuse(DocText::BadColor, {place, Quoted(*color)});
            curve.Color = *parsed;
            hasColor = true;
        }
        if (const auto width = NumberMember(object, "width", place, false)) {
            if (!IsWholeIn(*width, kMinLineWidth, kMaxLineWidth)) Refuse(DocText::BadWidth, {place});
            curve.Width = int(*width);
        }
        if (const auto style = TextMember(object, "style", place, false)) {
            const auto index = IndexOf(kStyleNames, *style);
            if (!index) Refuse(DocText::BadStyle, {place, Quoted(*style)});
            curve.Style = TLineStyle(*index);
        }
        if (const auto label = TextMember(object, "label", place, false)) curve.Label = label->toStdString();
        const QJsonValue visible = JsonMember(object, "visible");
        if (!visible.isUndefined()) {
            if (!visible.isBool()) WrongType(place, "visible", DocText::TypeTrueFalse);
            curve.Visible = visible.toBool();
        }
        curve.Unknown = UnknownMembers(
            object, [format](const std::string& key) { return IsKnownCurveKey(*format, key); });
        return curve;
    }

    static std::optional<TColor> ParseColor(const QString& text)
    {
        if (text.size() != 7 || text[0] != QLatin1Char('#')) return std::nullopt;
        std::array<std::uint8_t, 3> parts{};
        for (int i = 0; i < 6; ++i) {
            const int digit = HexDigit(text[1 + i].unicode());
            if (digit < 0) return std::nullopt;
            parts[std::size_t(i / 2)] = std::uint8_t(parts[std::size_t(i / 2)] * 16 + digit);
        }
        return RGB(parts[0], parts[1], parts[2]);
    }

    static int HexDigit(char16_t c)
    {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    // A derivative names a function curve of the document.
    void CheckDerivatives(const TDocument& document) const
    {
        for (std::size_t i = 0; i < document.Curves.size(); ++i) {
            const TCurve& curve = document.Curves[i];
            if (curve.Kind != TCurveKind::Derivative) continue;
            const auto of = std::size_t(curve.Of);
            if (of > document.Curves.size() || document.Curves[of - 1].Kind != TCurveKind::Function)
                Refuse(DocText::BadOf,
                       {FormatDocumentText(DocText::PlaceCurve, {fileName_, std::to_string(i + 1)})});
        }
    }

    // Curves without a colour take the palette's next one, in their order,
    // beside the colours the file gives.
    void AssignColors(TDocument& document, const std::vector<bool>& colored) const
    {
        TDocument known;
        for (std::size_t i = 0; i < document.Curves.size(); ++i)
            if (colored[i]) known.Curves.push_back(document.Curves[i]);
        for (std::size_t i = 0; i < document.Curves.size(); ++i) {
            if (colored[i]) continue;
            TCurve& curve = document.Curves[i];
            curve.Color = i == 0 ? firstColor_ : NextCurveColor(known, firstColor_);
            known.Curves.push_back(curve);
        }
    }

    const std::string& fileName_;
    TColor firstColor_;
    std::string place_;
};

// Closes a file descriptor when it leaves scope.
class TFileDescriptor
{
public:
    explicit TFileDescriptor(int fd) : fd_(fd) {}
    ~TFileDescriptor()
    {
        if (fd_ >= 0) close(fd_);
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

std::string SystemReason(int error)
{
    return std::system_category().message(error);
}

} // namespace

TDocument ReadDocument(const QByteArray& bytes, const std::string& fileName, TColor firstColor)
{
    return TReader(fileName, firstColor).Read(bytes);
}

TDocument LoadDocument(const std::string& fileName, TColor firstColor)
{
    const std::string place = FormatDocumentText(DocText::PlaceDocument, {fileName});
    const TFileDescriptor file(open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) throw EQrvDocumentError(DocText::CannotOpen, {fileName, SystemReason(errno)});
    struct stat status {
    };
    if (fstat(file.Get(), &status) != 0)
        throw EQrvDocumentError(DocText::CannotOpen, {fileName, SystemReason(errno)});
    if (S_ISDIR(status.st_mode))
        throw EQrvDocumentError(DocText::CannotOpen, {fileName, SystemReason(EISDIR)});
    if (S_ISREG(status.st_mode) && std::uintmax_t(status.st_size) > kMaxDocumentBytes)
        throw EQrvDocumentError(DocText::TooLarge, {place});
    // A pipe or a file that grows tells its size only by its bytes: read at
    // most one byte beyond the limit.
    QByteArray bytes;
    constexpr qsizetype kChunk = 1 << 16;
    while (true) {
        const qsizetype had = bytes.size();
        bytes.resize(had + kChunk);
        const ssize_t n = read(file.Get(), bytes.data() + had, std::size_t(kChunk));
        if (n < 0) {
            if (errno == EINTR) {
                bytes.resize(had);
                continue;
            }
            throw EQrvDocumentError(DocText::CannotRead, {fileName, SystemReason(errno)});
        }
        bytes.resize(had + n);
        if (n == 0) break;
        if (std::size_t(bytes.size()) > kMaxDocumentBytes)
            throw EQrvDocumentError(DocText::TooLarge, {place});
    }
    return ReadDocument(bytes, fileName, firstColor);
}

std::string DocumentJson(const TDocument& document)
{
    std::string out;
    TJsonObjectWriter object(out, 0);
    object.Integer("qurvia", kDocumentFormat);
    object.Name("angle", kAngleNames.at(std::size_t(document.Angle)));
    object.Text("decimal-separator", std::string(1, document.DecimalSeparator));
    std::string& curves = object.Key("curves");
    if (document.Curves.empty()) {
        curves += "[]";
    } else {
        curves += "[\n";
        for (std::size_t i = 0; i < document.Curves.size(); ++i) {
            AppendIndent(curves, 2);
            WriteCurve(curves, document.Curves[i], 2);
            curves += i + 1 < document.Curves.size() ? ",\n" : "\n";
        }
        AppendIndent(curves, 1);
        curves += ']';
    }
    object.Members(document.Unknown);
    object.End();
    out += '\n';
    return out;
}

void SaveDocument(const std::string& fileName, const TDocument& document)
{
    const std::string json = DocumentJson(document);
    if (json.size() > kMaxDocumentBytes) throw EQrvDocumentError(DocText::SaveTooLarge, {fileName});
    WriteWholeFile(fileName, json);
}

} // namespace qrv
