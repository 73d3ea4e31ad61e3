#include "app/SaveRecord.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/Files.h"

// The file holds the record exactly as it lies in memory, which is the file's byte order only
// on a little-endian machine.
static_assert(std::endian::native == std::endian::little);

SaveRecord saveRecord;

void HighScoreTable::Insert(int32_t score)
{
    scores[11] = kSentinel;
    scores[0] = score;
    // Insertion sort from the right; the sentinel stops every scan before the end, and since
    // every position is visited, even a table loaded unsorted comes out ascending.
    for (int k = 9; k >= 0; --k) {
        int32_t key = scores[k];
        int position = k;
        while (scores[position + 1] < key) {
            scores[position] = scores[position + 1];
            ++position;
        }
        scores[position] = key;
    }
}

void SaveRecord::Load(std::span<const uint8_t> file)
{
    unsigned char bytes[sizeof(SaveRecord)] = {};
    // A short file leaves the rest zero; of a longer one only the first hundred bytes count.
    std::copy_n(file.begin(), std::min(file.size(), sizeof bytes), bytes);
    std::memcpy(this, bytes, sizeof bytes);
}

bool SaveRecord::Save(const char* path) const
{
    return ReplaceFile(path, this, sizeof(SaveRecord));
}
