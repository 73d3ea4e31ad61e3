#pragma once
// Surfaces written to disk as 32-bit bottom-up BMP files, their pixels exactly as they lie in
// memory.

#include <string>

class Surface;

// Replaces fileName. Returns false (and leaves nothing half-written) on failure.
bool SaveBmp(const Surface& surface, const char* fileName);
// Writes the surface to the first free "Snap%04d.bmp" in the folder ("" is the working
// directory).
void SaveSnapshot(const Surface& surface, const std::string& folder = "");
