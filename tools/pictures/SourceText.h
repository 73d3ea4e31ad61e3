#pragma once
// A source file of the pictures read as lines: blank lines and lines starting with "//" are
// dropped, every other line keeps its number so that messages can point at it.

#include <string>
#include <vector>

struct SourceLine {
    int number;
    std::string text;
};

class SourceText {
public:
    bool Load(const std::string& path, std::string& error);

    const std::vector<SourceLine>& lines() const { return content; }
    // "path:line: message", the form editors jump to.
    std::string At(const SourceLine& line, const std::string& message) const;
    std::string At(const std::string& message) const { return path + ": " + message; }

private:
    std::string path;
    std::vector<SourceLine> content;
};

// Splits at runs of spaces and tabs.
std::vector<std::string> Words(const std::string& text);
// "32x16" -> 32, 16; false unless both are whole numbers from 1 to 4096.
bool ParseSize(const std::string& text, int& width, int& height);
