// File-name rules of Save as: the file types of the save dialog, the name it
// proposes, the extension a type change puts into its name box, the target
// name formed from the dialog's answer and the format chosen by the target's
// extension. Plain string functions: folders are separated by "/", and a
// name has an extension when the last path component contains a ".".
#pragma once

#include "QrvSaveDialog.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qrv
{

// What Save as writes, by the save dialog's file types (filter index 1 to 5).
enum class TExportKind { Text, Bitmap, Metafile, EnhMetafile, Csv };

// ".txt", ".bmp", ".wmf", ".emf", ".csv" for the filter index 1 to 5;
// nothing for any other index.
std::optional<std::string_view> ExtensionOfFilterIndex(int index);

// The part after the last "/" (the whole text when there is none).
std::string_view LastPathComponent(std::string_view path);
// The extension with its ".", from the last "." of the last path component;
// empty when that component has no ".".
std::string_view FileExtension(std::string_view path);
// The last path component without its extension: "curve" for
// "/data/curve.bmp", "" for ".txt".
std::string_view BareFileName(std::string_view path);
// The path with its extension replaced by ext, or ext appended when it has
// none; the folder part is kept as it is.
std::string ChangeFileExtension(std::string_view path, std::string_view ext);

// The folder part of a path, before its last "/" ("/" for a file in the
// root folder); empty for a bare name.
std::string FolderOf(std::string_view path);

// The name the save dialog proposes for the last file saved: its bare name.
std::string ProposedFileName(std::string_view outputFile);
// The name to write: the dialog's name unchanged when it has an extension,
// otherwise with the extension of the selected file type appended.
std::string TargetFileName(std::string_view chosen, int filterIndex);
// The format the target's extension chooses, compared without regard to
// letter case; nothing for any other extension.
std::optional<TExportKind> ExportKindOf(std::string_view target);
// The text a type change leaves in the name box: its extension replaced by
// the one of the new type; nothing for an index without a type.
std::optional<std::string> TypeChangedFileName(std::string_view nameBox, int filterIndex);

// "Do you really want to overwrite existing <name>?", without the folder.
std::string OverwriteQuestion(std::string_view target);
// The confirmation of a Copy command for what was copied.
std::string CopiedMessage(std::string_view name);

} // namespace qrv
