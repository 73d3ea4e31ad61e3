#include "board/SystemSecrets.h"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

// getentropy rather than getrandom: glibc and the page's runtime (over the browser's
// crypto.getRandomValues) both have it. It gives at most 256 bytes a call.
bool SystemRandomBytes(unsigned char* bytes, size_t count)
{
    while (count > 0) {
        const size_t part = count < 256 ? count : 256;
        if (getentropy(bytes, part) != 0)
            return false;
        bytes += part;
        count -= part;
    }
    return true;
}

bool CreatePrivateFile(const std::string& path, const std::string& text)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return false;
    const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    if (close(fd) != 0 || !written) {
        unlink(path.c_str());
        return false;
    }
    return true;
}
