// ImageList1: the 16 x 16 pictures of the toolbar buttons and menu items,
// and the two glyphs of the Plot button. They are drawn in code, so the
// program needs no image files at run time.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace qrv
{

// The image numbers the window uses.
enum TImageIndex : int {
    imgHelp = 6,
    imgPrintReport = 10,
    imgPrintGraph = 11,
    imgExit = 12,
    imgSave = 13,
    imgAbout = 15,
    imgAnalysis = 16,
};

inline constexpr int kImageSize = 16;

// The picture of an image number; a null pixmap for numbers without one.
QPixmap ImageListPixmap(int index);
QIcon ImageListIcon(int index);

// The Plot button's glyph: a normal and a disabled picture.
QIcon PlotGlyph();

// The program's own icon (window and task bar).
QIcon ApplicationIcon();

} // namespace qrv
