// The captions and labels of the platform's Qt dialogs.
#pragma once

namespace qrv::PlatformText
{

inline constexpr const char* ButtonYes = "&Yes";
inline constexpr const char* ButtonNo = "&No";
inline constexpr const char* ButtonOK = "OK";
inline constexpr const char* ButtonCancel = "Cancel";
inline constexpr const char* ButtonAbort = "&Abort";
inline constexpr const char* ButtonRetry = "&Retry";
inline constexpr const char* ButtonIgnore = "&Ignore";
inline constexpr const char* ButtonSave = "&Save";
inline constexpr const char* ButtonDiscard = "&Discard";
inline constexpr const char* ColorDialogTitle = "Color";
inline constexpr const char* PdfFileTitle = "Print to PDF";
inline constexpr const char* PdfFileFilter = "PDF files (*.pdf);;All files (*)";
// Shown for an error that carries no message of its own.
inline constexpr const char* UnknownError = "Unknown error";

} // namespace qrv::PlatformText
