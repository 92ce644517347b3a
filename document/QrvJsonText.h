// JSON as the document file reads and writes it, beside Qt's JSON reader:
// an object's members in an order of our own, and a writer that indents by
// two blanks and keeps the members in the order they are given (Qt's writer
// sorts them). Part of the document file's library; nothing else uses it.
#pragma once

#include "QrvCurve.h"

#include <QJsonObject>
#include <QJsonValue>

#include <map>
#include <string>

namespace qrv
{

// An object's members by their UTF-8 keys, in the order of those bytes; of
// keys that read alike, the last. Qt's own order and look-up are not used:
// its reader drops U+FEFF from a key but sorts the key as if it were there,
// so the order would change when the text is read again, and a look-up of
// the key could miss it.
using TJsonObject = std::map<std::string, QJsonValue>;

TJsonObject JsonMembersOf(const QJsonObject& object);

// The member's value; Undefined when there is none.
QJsonValue JsonMember(const TJsonObject& members, const char* key);

// Two blanks per level.
void AppendIndent(std::string& out, int depth);

// A JSON string of the text; bytes that are not UTF-8 are written as
// U+FFFD, so the file stays readable.
void AppendJsonString(std::string& out, const std::string& text);

// A number as Qt's writer spells it, which its reader reads back to the same
// value ("2.5e-07", "1e+300").
std::string NumberJson(double value);

// Any value, its inner lines indented for nesting `depth`.
void AppendJsonValue(std::string& out, const QJsonValue& value, int depth);

// An object written one member per line, at nesting `depth`: "{" on
// construction, the members as they are added, "}" at End.
class TJsonObjectWriter
{
public:
    TJsonObjectWriter(std::string& out, int depth);

    // Starts a member; its value is appended to the text returned.
    std::string& Key(const std::string& key);
    void Text(const char* key, const std::string& text) { AppendJsonString(Key(key), text); }
    void Name(const char* key, const char* name) { Key(key) += std::string("\"") + name + '"'; }
    void Integer(const char* key, long long value) { Key(key) += std::to_string(value); }
    void Boolean(const char* key, bool value) { Key(key) += value ? "true" : "false"; }
    // Members kept from a file: their JSON text was written at depth 0.
    void Members(const TJsonMembers& members);
    void End();

private:
    std::string& out_;
    int depth_;
    bool first_ = true;
};

} // namespace qrv
