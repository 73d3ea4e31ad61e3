#include "board/PlayerKey.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <random>

namespace {

constexpr size_t kKeyDigits = 64;

bool HexKey(const std::string& text)
{
    return text.size() == kKeyDigits && std::all_of(text.begin(), text.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c)) &&
                      !std::isupper(static_cast<unsigned char>(c));
           });
}

std::string NewKey()
{
    std::random_device device;  // the system's own source
    std::string key;
    static constexpr char kDigits[] = "0123456789abcdef";
    for (size_t i = 0; i < kKeyDigits / 8; i++) {
        const uint32_t word = device();
        for (int shift = 28; shift >= 0; shift -= 4)
            key += kDigits[(word >> shift) & 0xF];
    }
    return key;
}

}  // namespace

std::string PlayerKeyIn(const std::string& path)
{
    char text[kKeyDigits + 2] = {};
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        const size_t read = std::fread(text, 1, sizeof text - 1, file);
        std::fclose(file);
        std::string key(text, read);
        while (!key.empty() && (key.back() == '\n' || key.back() == '\r'))
            key.pop_back();
        return HexKey(key) ? key : std::string();
    }
    const std::string key = NewKey();
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return {};
    const std::string line = key + "\n";
    const bool written = write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    if (close(fd) != 0 || !written) {
        unlink(path.c_str());
        return {};
    }
    return key;
}
