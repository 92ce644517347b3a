// The texts of Save as and the Copy commands: the save dialog's file types,
// the messages they show and the names in their confirmation messages.
#pragma once

namespace qrv::ExportText
{

// The save dialog's file types as label|pattern pairs; filter index 1 is the
// first pair.
inline constexpr const char* SaveFilter =
    "Text (*.txt)|*.txt|Bitmap (*.bmp)|*.bmp|Metafile (*.wmf)|*.wmf|Enhanced metafile (*.emf)|*.emf|"
    "CSV (*.csv)|*.csv|PNG image (*.png)|*.png|SVG image (*.svg)|*.svg|PDF document (*.pdf)|*.pdf";
inline constexpr const char* SaveDialogTitle = "Save As";

inline constexpr const char* EmptyFileName = "File name cannot be empty. File must have a unique name";
inline constexpr const char* InvalidExtension = "Valid file extensions are '.txt','.bmp','.wmf' and '.emf'";
inline constexpr const char* OverwriteQuestion = "Do you really want to overwrite existing ";

// Confirmation of a Copy command: name, CopiedSuffix, a line feed and a
// carriage return, PasteHint.
inline constexpr const char* CopiedSuffix = " copied to Clipboard";
inline constexpr const char* PasteHint = "Use Paste command in another application";
inline constexpr const char* CopiedText = "Text";
inline constexpr const char* CopiedCsv = "Text (CSV)";
inline constexpr const char* CopiedBitmap = "Graphics (BMP)";
inline constexpr const char* CopiedEnhMetafile = "Graphics (EMF)";
inline constexpr const char* CopiedMetafile = "Graphics (WMF)";

} // namespace qrv::ExportText
