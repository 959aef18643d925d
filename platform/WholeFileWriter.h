#pragma once

#include <juce_core/juce_core.h>

namespace oskv
{
/** Replaces a file's contents whole or not at all. A write that comes back short (a full
    disk, a quota, a file-size limit) or a rename that fails leaves the old file byte for
    byte as it was, and the caller hears of it.

    The new bytes go to a temporary file beside the target, which is synced, closed and
    then renamed over the target in one step; on any failure it is removed instead.
*/
class WholeFileWriter
{
public:
    /** Replaces the target with the bytes. The temporary file is hidden and ends in ".tmp",
        so a listing by the target's extension never shows it, even if the process dies
        part-way. A new file gets the permissions the framework's file streams give. */
    static bool replace (const juce::File& target, const void* data, size_t numBytes);

    /** Replaces the target with the XML document, byte for byte as the framework's own file
        writer lays it out. */
    static bool replace (const juce::File& target, const juce::XmlElement& xml, const juce::XmlElement::TextFormat& format);

    /** For a signal handler too: writes the bytes to fd (the file at temporaryPath, opened
        for writing), syncs and closes it, then renames it over targetPath. When any step
        fails, temporaryPath is removed and the target is left alone. fd is closed either way. */
    static bool commit (int fd, const char* temporaryPath, const char* targetPath,
                        const void* data, size_t numBytes) noexcept;

    /** For a signal handler too: writes every byte, going on after short and interrupted
        writes. False on an error, or when the system writes nothing. */
    static bool writeAll (int fd, const void* data, size_t numBytes) noexcept;
};
} // namespace oskv
