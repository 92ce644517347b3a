// The texts of the document subsystem: why a document file is refused, and
// the names of the edits on the undo stack. Call sites name a text, never a
// string literal; the texts stand in one table (QrvDocumentText.cpp) of the
// kind QrvMessageTable.h describes.
#pragma once

#include "QrvErrors.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace qrv
{

enum class DocText {
    // where a fault is: the first placeholder of every refusal below
    PlaceDocument, // the file
    PlaceCurve,    // the file and the curve's number
    // the file as a whole
    CannotOpen,
    CannotRead,
    TooLarge,
    Empty,
    CutShort,
    JsonSyntax,
    NotObject,
    NoFormat,
    NewerFormat,
    UnknownFormat,
    TooManyCurves,
    SaveTooLarge,
    // a member of the document or of a curve
    WrongType,
    MissingKey,
    CurveNotObject,
    UnknownKind,
    BadAngle,
    BadSeparator,
    BadColor,
    BadWidth,
    BadStyle,
    BadOrder,
    BadOf,
    // JSON types, for WrongType
    TypeText,
    TypeWholeNumber,
    TypeTrueFalse,
    TypeList,
    // edits, as the undo stack names them
    EditAddCurve,
    EditRemoveCurve,
    EditMoveCurve,
    EditEditCurve,
    EditRestyleCurve,
    EditShowCurve,
    EditHideCurve,
    EditAngleMode,
    EditCurveLimit,
    Count_
};

// The raw text, placeholders (%s) still in it.
std::string_view DocumentText(DocText id);

// The text with each "%s" replaced, in order, by the next argument.
std::string FormatDocumentText(DocText id, std::initializer_list<std::string_view> args);

// A document that cannot be read or a change it cannot take.
class EQrvDocumentError : public Exception
{
public:
    EQrvDocumentError(DocText id, std::initializer_list<std::string_view> args)
        : Exception(FormatDocumentText(id, args))
    {
    }
};

} // namespace qrv
