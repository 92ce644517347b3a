#include "QrvDocumentText.h"

#include "QrvMessageTable.h"

namespace qrv
{

namespace
{

constexpr TMessageTable<DocText> kTexts{
    {DocText::PlaceDocument, "Document %s"},
    {DocText::PlaceCurve, "Document %s, curve %s"},
    {DocText::CannotOpen, "Cannot open document %s: %s"},
    {DocText::CannotRead, "Cannot read document %s: %s"},
    {DocText::TooLarge, "%s is larger than 16 MiB"},
    {DocText::Empty, "%s is empty"},
    {DocText::CutShort, "%s ends too early (line %s, column %s)"},
    {DocText::JsonSyntax, "%s is not valid JSON: %s (line %s, column %s)"},
    {DocText::NotObject, "%s is not a Qurvia document: it holds no JSON object"},
    {DocText::NoFormat, "%s is not a Qurvia document: \"qurvia\" is missing"},
    {DocText::NewerFormat, "%s has format %s, from a newer Qurvia; this one reads format %s"},
    {DocText::UnknownFormat, "%s has format %s, which no Qurvia writes"},
    {DocText::TooManyCurves, "%s holds more than %s curves"},
    {DocText::SaveTooLarge, "Cannot save document %s: it would be larger than 16 MiB"},
    {DocText::WrongType, "%s: \"%s\" must be %s"},
    {DocText::MissingKey, "%s: \"%s\" is missing"},
    {DocText::CurveNotObject, "%s is not a JSON object"},
    {DocText::UnknownKind, "%s: the kind \"%s\" is unknown to this Qurvia"},
    {DocText::BadAngle, "%s: \"angle\" must be \"radians\", \"degrees\" or \"grads\", not \"%s\""},
    {DocText::BadSeparator, "%s: \"decimal-separator\" must be \".\" or \",\", not \"%s\""},
    {DocText::BadColor, "%s: \"color\" must be written #rrggbb, not \"%s\""},
    {DocText::BadWidth, "%s: \"width\" must be a whole number from 1 to 8"},
    {DocText::BadStyle, "%s: \"style\" must be \"solid\", \"dash\" or \"dot\", not \"%s\""},
    {DocText::BadOrder, "%s: \"order\" must be 1 or 2"},
    {DocText::BadOf, "%s: \"of\" must be the number of a function curve of the document"},
    {DocText::TypeText, "a text"},
    {DocText::TypeWholeNumber, "a whole number"},
    {DocText::TypeTrueFalse, "true or false"},
    {DocText::TypeList, "a list"},
    {DocText::EditAddCurve, "Add curve"},
    {DocText::EditRemoveCurve, "Remove curve"},
    {DocText::EditMoveCurve, "Move curve"},
    {DocText::EditEditCurve, "Edit curve"},
    {DocText::EditRestyleCurve, "Restyle curve"},
    {DocText::EditShowCurve, "Show curve"},
    {DocText::EditHideCurve, "Hide curve"},
    {DocText::EditAngleMode, "Change angle mode"},
    {DocText::EditCurveLimit, "A document holds at most %s curves"},
};

} // namespace

std::string_view DocumentText(DocText id)
{
    return kTexts.Text(id);
}

std::string FormatDocumentText(DocText id, std::initializer_list<std::string_view> args)
{
    return kTexts.Format(id, args);
}

} // namespace qrv
