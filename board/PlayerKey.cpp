#include "board/PlayerKey.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include "board/SystemSecrets.h"
#include "board/Utf8Path.h"

namespace {

constexpr size_t kKeyDigits = 64;

bool HexKey(const std::string& text)
{
    return text.size() == kKeyDigits && std::all_of(text.begin(), text.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c)) &&
                      !std::isupper(static_cast<unsigned char>(c));
           });
}

// Empty when the system's source of random bytes fails.
std::string NewKey()
{
    unsigned char bytes[kKeyDigits / 2];
    if (!SystemRandomBytes(bytes, sizeof bytes))
        return {};
    std::string key;
    static constexpr char kDigits[] = "0123456789abcdef";
    for (const unsigned char byte : bytes) {
        key += kDigits[byte >> 4];
        key += kDigits[byte & 0xF];
    }
    return key;
}

}  // namespace

std::string PlayerKeyIn(const std::string& path)
{
    if (std::ifstream file{Utf8Path(path), std::ios::binary}) {
        char text[kKeyDigits + 2] = {};
        file.read(text, sizeof text - 1);
        std::string key(text, static_cast<size_t>(file.gcount()));
        while (!key.empty() && (key.back() == '\n' || key.back() == '\r'))
            key.pop_back();
        return HexKey(key) ? key : std::string();
    }
    const std::string key = NewKey();
    return !key.empty() && CreatePrivateFile(path, key + "\n") ? key : std::string();
}
