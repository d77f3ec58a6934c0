#pragma once
// Every picture of the game, one function each, one file each.

#include <QImage>

#include "figure.h"

namespace pirune::pictures {

// The window's client area in the proportions of the game (a little less tall than wide,
// below the menu bar); the game stretches every title and story picture to it.
inline constexpr QSize kWindowPicture{480, 456};

QImage titlePicture();   // stt.bmp
QImage openingNight();   // open0.bmp: the star that the youth longs for
QImage openingFlight();  // open1.bmp: he leaves for space on wings of wax
QImage endingDesert();   // end0.bmp: the star is a barren desert
QImage endingFarStar();  // end1.bmp: it shines only from afar

// 100 by 100, one bit per pixel, the hero white on black.
QImage wingFrame(WingPose pose);

// The program's icon at any size, with transparent corners; and the 16 by 16 one of the window,
// 8 bits per pixel with a palette.
QImage icon(int size);
QImage windowIcon();

}  // namespace pirune::pictures
