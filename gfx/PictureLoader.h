#pragma once
// Pictures of the resource archive as surfaces.

#include <string>

#include "platform/Platform.h"

class ResourceArchive;
class Surface;

// A new surface, with a device context attached to the window's, holding the BMP stored under
// name in the archive (24 or 32 bits, bottom-up, uncompressed, pixels right behind the
// headers); error is emptied. A missing entry or a damaged picture gives a blank surface of the
// size the header gives (or 1x1 when the header itself is unusable or claims more than 4 MB of
// pixels), and error one line naming the resource and what is wrong with it.
Surface* LoadPicture(HWND window, ResourceArchive& archive, const char* name, std::string& error);
