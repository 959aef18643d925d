#pragma once

namespace oskv
{
/** LFO cycles per four-beat bar for each synced-rate index. */
struct BeatTranslator
{
    /** The current 22-entry table that `lfo_synced_rate` indexes. */
    static const float beatDivTableExtended[22];

    /** The older 18-entry table that states without the extended-sync mark refer to. */
    static const float beatDivTable[18];
};
} // namespace oskv
