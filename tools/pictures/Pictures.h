#pragma once
// The pictures that are drawn in code rather than as grids, one builder each.

#include "tools/pictures/Image.h"
#include "tools/pictures/Sources.h"

// Landscape (Scenery.cpp).
Image BuildSky(Sources& sources);
Image BuildFarLand(Sources& sources);
Image BuildTreeBand(Sources& sources);

// Title (TitlePictures.cpp).
Image BuildLogo(Sources& sources);
Image BuildOpening(Sources& sources);
Image BuildMenu(Sources& sources);

// Whole screens (ScreenPictures.cpp).
Image BuildBlack(Sources& sources);
Image BuildGameOver(Sources& sources);
Image BuildStaffRoll(Sources& sources);
Image BuildBomber(Sources& sources);
Image BuildBomberCaption(Sources& sources);

// Effects and the gauge (Effects.cpp).
Image BuildExplosion(Sources& sources);
Image BuildBlast(Sources& sources);
Image BuildGrazeSpark(Sources& sources);
Image BuildGauge(Sources& sources);

// The score digits (ScreenPictures.cpp).
Image BuildDigits(Sources& sources);
