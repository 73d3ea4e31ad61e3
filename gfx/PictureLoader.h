#pragma once
// Pictures as surfaces: a BMP decoded from its bytes, or from an entry of the resource archive.

#include <cstdint>
#include <span>
#include <string>

#include "platform/Platform.h"

class ResourceArchive;
class Surface;

// A new surface, with a device context attached to the window's, holding the BMP in bytes (24
// or 32 bits, bottom-up, uncompressed, pixels right behind the headers); error is emptied.
// Nothing is read outside bytes. A damaged picture gives a blank surface of the size the header
// gives (or 1x1 when the header itself is unusable or claims more than 4 MB of pixels), and
// error one line naming the picture (name) and what is wrong with it.
Surface* DecodePicture(HWND window, std::span<const uint8_t> bytes, const char* name,
                       std::string& error);
// The picture stored under name in the archive: its entry's bytes, decoded as above. A missing
// entry gives a 1x1 blank and error "<name>: not in the archive".
Surface* LoadPicture(HWND window, ResourceArchive& archive, const char* name, std::string& error);
