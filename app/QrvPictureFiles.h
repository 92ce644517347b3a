// The bytes of a chart picture file of any format the program writes (BMP,
// WMF, EMF, PNG, SVG, PDF) at a given size, drawn without any window: the
// command line's images and the window's Save as both write through it.
#pragma once

#include "QrvFileTypes.h"

#include <QByteArray>
#include <QSize>

#include <string>

namespace qrv
{

class TChartPicture;

// The file's bytes; `fileName` names the file in "Cannot create file
// <name>", raised when a format's device cannot start or finish. Empty for
// a format this build cannot write (SVG without Qt SVG).
QByteArray PictureFileBytes(TChartPicture& chart, QSize size, TImageFormat format,
                            const std::string& fileName);

} // namespace qrv
