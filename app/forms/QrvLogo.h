// The program's logo: a 170 x 49 picture on a transparent ground, drawn in
// code so that it needs no image file.
#pragma once

#include <QPixmap>

namespace qrv
{

constexpr int kLogoWidth = 170;
constexpr int kLogoHeight = 49;

QPixmap QurviaLogo();

} // namespace qrv
