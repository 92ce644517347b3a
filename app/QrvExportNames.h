// File-name rules of Save as: the file types of the save dialog, the name it
// proposes, the extension a type change puts into its name box, the target
// name formed from the dialog's answer and the format chosen by the target's
// extension. The parts of a path come from QrvFileTypes.h.
#pragma once

#include "QrvFileTypes.h"
#include "QrvSaveDialog.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qrv
{

// What Save as writes, by the save dialog's file types (filter index 1 to 8).
enum class TExportKind { Text, Bitmap, Metafile, EnhMetafile, Csv, Png, Svg, Pdf };

// ".txt", ".bmp", ".wmf", ".emf", ".csv", ".png", ".svg", ".pdf" for the
// filter index 1 to 8; nothing for any other index.
std::optional<std::string_view> ExtensionOfFilterIndex(int index);

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
