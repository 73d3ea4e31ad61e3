#include "sound/DecoderVersion.h"

#include <mpg123.h>

// Declared weak, so that the game still starts with a library too old to have it.
extern "C" const char* mpg123_distversion(unsigned int* major, unsigned int* minor,
                                          unsigned int* patch) __attribute__((weak));

std::string DecoderVersionText()
{
    if (mpg123_distversion)
        return std::string("libmpg123 ") + mpg123_distversion(nullptr, nullptr, nullptr);
    return std::string("libmpg123 ") + KORIMO_MPG123_BUILT_VERSION + " (built with; API " +
           std::to_string(MPG123_API_VERSION) + ")";
}
