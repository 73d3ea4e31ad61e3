#pragma once
// Builds the archive pair "<base>.set" / "<base>.dat" from folders of files, and lists or
// unpacks an existing pair. Every operation returns false with a one-line reason in error.

#include <cstdio>
#include <string>
#include <vector>

// Packs every regular file of the folders, sorted by name, so the same files always give
// byte-identical archives. Refuses (and writes nothing) when a name is too long for the index,
// two files share a name, a file can't be read or the data would outgrow 32-bit offsets.
bool PackFolders(const std::vector<std::string>& folders, const std::string& base,
                 std::string& error);

// One line per entry: name, offset and size.
bool ListArchive(const std::string& base, std::FILE* out, std::string& error);

// Writes the entry called name (or every entry when name is empty) into folder.
bool ExtractArchive(const std::string& base, const std::string& folder, const std::string& name,
                    std::string& error);
