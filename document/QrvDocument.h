// A document: the angle mode of its formulas and an ordered list of curves,
// as saved in a .qurvia file (QrvDocumentFile.h reads and writes it,
// QrvDocumentEditor.h changes it with undo). Plain C++ without Qt.
#pragma once

#include "QrvAngleMode.h"
#include "QrvCurve.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace qrv
{

// The most curves a document may hold; a file with more is refused.
inline constexpr std::size_t kMaxCurves = 1000;
// The largest document file read, in bytes (16 MiB).
inline constexpr std::size_t kMaxDocumentBytes = std::size_t(16) << 20;
// The format number this program writes and the newest it reads.
inline constexpr int kDocumentFormat = 1;
// The file name extension of documents.
inline constexpr std::string_view kDocumentExtension = ".qurvia";

struct TDocument {
    TAngleMode Angle = TAngleMode::Radians;
    // How the formula and range texts of the curves are written: '.' or ','.
    char DecimalSeparator = '.';
    std::vector<TCurve> Curves;
    TJsonMembers Unknown; // top-level members this program does not know
    bool operator==(const TDocument&) const = default;
};

} // namespace qrv
