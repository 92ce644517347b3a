#include "QrvJsonText.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <iterator>
#include <utility>

namespace qrv
{

TJsonObject JsonMembersOf(const QJsonObject& object)
{
    TJsonObject members;
    for (auto it = object.begin(); it != object.end(); ++it)
        members[it.key().toStdString()] = it.value();
    return members;
}

QJsonValue JsonMember(const TJsonObject& members, const char* key)
{
    const auto it = members.find(key);
    return it == members.end() ? QJsonValue(QJsonValue::Undefined) : it->second;
}

void AppendIndent(std::string& out, int depth)
{
    out.append(std::size_t(depth) * 2, ' ');
}

namespace
{

void AppendUtf8String(std::string& out, const QByteArray& utf8)
{
    static constexpr char kHex[] = "0123456789abcdef";
    static constexpr std::pair<char, const char*> kEscapes[] = {{'"', "\\\""}, {'\\', "\\\\"}, {'\b', "\\b"},
                                                                {'\f', "\\f"}, {'\n', "\\n"},  {'\r', "\\r"},
                                                                {'\t', "\\t"}};
    out += '"';
    for (const char c : utf8) {
        const auto escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                         [c](const auto& entry) { return entry.first == c; });
        if (escape != std::end(kEscapes)) {
            out += escape->second;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            out += "\\u00";
            out += kHex[(c >> 4) & 0xF];
            out += kHex[c & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

} // namespace

void AppendJsonString(std::string& out, const std::string& text)
{
    AppendUtf8String(out, QString::fromStdString(text).toUtf8());
}

std::string NumberJson(double value)
{
    const QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return text.mid(1, text.size() - 2).toStdString();
}

void AppendJsonValue(std::string& out, const QJsonValue& value, int depth)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        out += value.toBool() ? "true" : "false";
        break;
    case QJsonValue::Double:
        out += NumberJson(value.toDouble());
        break;
    case QJsonValue::String:
        AppendUtf8String(out, value.toString().toUtf8());
        break;
    case QJsonValue::Array: {
        const QJsonArray array = value.toArray();
        if (array.isEmpty()) {
            out += "[]";
            break;
        }
        out += "[\n";
        for (qsizetype i = 0; i < array.size(); ++i) {
            AppendIndent(out, depth + 1);
            AppendJsonValue(out, array[i], depth + 1);
            out += i + 1 < array.size() ? ",\n" : "\n";
        }
        AppendIndent(out, depth);
        out += ']';
        break;
    }
    case QJsonValue::Object: {
        TJsonObjectWriter object(out, depth);
        for (const auto& [key, member] : JsonMembersOf(value.toObject()))
            AppendJsonValue(object.Key(key), member, depth + 1);
        object.End();
        break;
    }
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        out += "null";
        break;
    }
}

TJsonObjectWriter::TJsonObjectWriter(std::string& out, int depth) : out_(out), depth_(depth)
{
    out_ += '{';
}

std::string& TJsonObjectWriter::Key(const std::string& key)
{
    out_ += first_ ? "\n" : ",\n";
    first_ = false;
    AppendIndent(out_, depth_ + 1);
    AppendJsonString(out_, key);
    out_ += ": ";
    return out_;
}

void TJsonObjectWriter::Members(const TJsonMembers& members)
{
    for (const TJsonMember& member : members) {
        std::string& out = Key(member.Key);
        for (const char c : member.Json) {
            out += c;
            if (c == '\n') AppendIndent(out, depth_ + 1);
        }
    }
}

void TJsonObjectWriter::End()
{
    if (!first_) {
        out_ += '\n';
        AppendIndent(out_, depth_);
    }
    out_ += '}';
}

} // namespace qrv
