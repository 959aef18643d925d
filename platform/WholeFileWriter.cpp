#include "WholeFileWriter.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace oskv
{
namespace
{
    // Names already taken (a save running in another process, or one killed part-way) are
    // skipped, up to this many.
    constexpr int maxTemporaryNames = 100;

    // As the framework's FileOutputStream creates files, so that a saved file's permissions
    // don't change.
    constexpr mode_t newFileMode = 0644;

    std::atomic<unsigned int> temporaryCounter { 0 };

    juce::File temporaryFileFor (const juce::File& target)
    {
        return target.getSiblingFile ("." + target.getFileName() + "."
                                      + juce::String::toHexString ((int) ::getpid()) + "-"
                                      + juce::String::toHexString ((int) temporaryCounter++) + ".tmp");
    }

    // Makes the rename itself durable; a folder that can't be synced still holds the new file.
    void syncFolder (const juce::File& folder)
    {
        const int fd = ::open (folder.getFullPathName().toRawUTF8(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);

        if (fd >= 0)
        {
            ::fsync (fd);
            ::close (fd);
        }
    }
} // namespace

bool WholeFileWriter::replace (const juce::File& target, const void* data, size_t numBytes)
{
    if (target == juce::File())
        return false;

    for (int attempt = 0; attempt < maxTemporaryNames; ++attempt)
    {
        const auto temporary = temporaryFileFor (target);
        const auto temporaryPath = temporary.getFullPathName();
        const int fd = ::open (temporaryPath.toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, newFileMode);

        if (fd < 0)
        {
            if (errno == EEXIST || errno == EINTR)
                continue;

            return false;
        }

        if (! commit (fd, temporaryPath.toRawUTF8(), target.getFullPathName().toRawUTF8(), data, numBytes))
            return false;

        syncFolder (target.getParentDirectory());
        return true;
    }

    return false;
}

bool WholeFileWriter::replace (const juce::File& target, const juce::XmlElement& xml, const juce::XmlElement::TextFormat& format)
{
    juce::MemoryOutputStream bytes;
    xml.writeTo (bytes, format);
    return replace (target, bytes.getData(), bytes.getDataSize());
}

bool WholeFileWriter::commit (int fd, const char* temporaryPath, const char* targetPath,
                              const void* data, size_t numBytes) noexcept
{
    auto written = writeAll (fd, data, numBytes);

    // Network and FUSE file systems may report a failed write only when syncing or closing.
    while (written && ::fsync (fd) != 0)
        if (errno != EINTR)
            written = false;

    if (::close (fd) != 0 && errno != EINTR)
        written = false;

    if (written && ::rename (temporaryPath, targetPath) == 0)
        return true;

    ::unlink (temporaryPath);
    return false;
}

bool WholeFileWriter::writeAll (int fd, const void* data, size_t numBytes) noexcept
{
    auto* bytes = static_cast<const char*> (data);

    while (numBytes > 0)
    {
        const auto written = ::write (fd, bytes, numBytes);

        if (written < 0 && errno == EINTR)
            continue;

        if (written <= 0)
            return false;

        bytes += written;
        numBytes -= (size_t) written;
    }

    return true;
}
} // namespace oskv
