#pragma once
// The looks of the lettering shared by several pictures.

#include <string>

#include "tools/pictures/Image.h"
#include "tools/pictures/Sources.h"

// The game's name in kana, on two lines, warm and outlined: the title lettering.
Image TitleLettering(Sources& sources, int scale);
// Latin text in one of the shared looks, magnified by scale.
Image Caption(Sources& sources, const std::string& text, int scale, const std::string& look);
// Pastes the image centred on column cx with its top at row y.
void PasteCentred(Image& onto, const Image& image, int cx, int y);
