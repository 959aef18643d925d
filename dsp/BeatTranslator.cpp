#include "BeatTranslator.h"

namespace oskv
{
const float BeatTranslator::beatDivTableExtended[22] = {
    0.125f, 1.0f / 6.0f, 0.25f, 1.0f / 3.0f, 0.5f, 1.0f, 4.0f / 3.0f, 1.5f, 2.0f, 8.0f / 3.0f, 3.0f,
    4.0f, 16.0f / 3.0f, 8.0f, 32.0f / 3.0f, 16.0f, 64.0f / 3.0f, 32.0f, 128.0f / 3.0f, 64.0f, 256.0f / 3.0f, 128.0f
};

const float BeatTranslator::beatDivTable[18] = {
    0.125f, 0.25f, 0.5f, 1.0f, 4.0f / 3.0f, 2.0f, 8.0f / 3.0f, 4.0f, 16.0f / 3.0f, 8.0f,
    32.0f / 3.0f, 16.0f, 64.0f / 3.0f, 32.0f, 128.0f / 3.0f, 64.0f, 256.0f / 3.0f, 128.0f
};
} // namespace oskv
