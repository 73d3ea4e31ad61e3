#pragma once
// UTF-8, the game's text, to and from the wide strings of Windows' calls.

#include <string>

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);
