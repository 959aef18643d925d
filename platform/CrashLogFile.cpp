#include "CrashLogFile.h"

#include "platform/WholeFileWriter.h"

#include <atomic>
#include <cerrno>
#include <ctime>
#include <dlfcn.h>
#include <execinfo.h>
#include <fcntl.h>
#include <link.h>
#include <mutex>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace oskv
{
namespace
{
    constexpr size_t maxPathBytes = 4096;
    constexpr size_t maxTextBytes = 4096;
    constexpr int maxFrames = 128;

    struct PreparedLog
    {
        char path[maxPathBytes];
        char tempPath[maxPathBytes];
        char bannerHead[maxTextBytes];  // up to and including "Log started: "
        char summary[maxTextBytes];
        long utcOffsetSeconds;
    };

    // Two slots, so a new instance can prepare while a crashing thread reads the other.
    PreparedLog slots[2];
    std::atomic<int> activeSlot { -1 };
    std::mutex prepareMutex;

    // One writer of the log and the trim buffer at a time: a crash report, or a trim made
    // before the framework's logger opens the log. The first crashing thread's report ends
    // the process.
    std::atomic<uintptr_t> writingThread { 0 };
    const char* const tempSuffix = ".trim";
    char trimBuffer[(size_t) CrashLogFile::maxInitialFileSize];

    bool copyText (char* destination, size_t capacity, const juce::String& text)
    {
        const auto bytes = text.getNumBytesAsUTF8();

        if (bytes + 1 > capacity)
            return false;

        text.copyToUTF8 (destination, capacity);
        return true;
    }

    //==============================================================================
    // From here on: only what a signal handler may call.

    size_t textLength (const char* text) noexcept
    {
        size_t n = 0;
        while (text[n] != 0)
            ++n;
        return n;
    }

    // A report is appended as far as there is room for it.
    void writeText (int fd, const char* text) noexcept
    {
        WholeFileWriter::writeAll (fd, text, textLength (text));
    }

    void writeNumber (int fd, long long value, int minDigits = 1) noexcept
    {
        char digits[24];
        int n = 0;
        const bool negative = value < 0;
        auto magnitude = negative ? (unsigned long long) (-(value + 1)) + 1 : (unsigned long long) value;

        do
        {
            digits[n++] = (char) ('0' + (int) (magnitude % 10));
            magnitude /= 10;
        } while (magnitude > 0 || n < minDigits);

        if (negative)
            digits[n++] = '-';

        char text[24];

        for (int i = 0; i < n; ++i)
            text[i] = digits[n - 1 - i];

        WholeFileWriter::writeAll (fd, text, (size_t) n);
    }

    // The local date and time as the framework writes them: "9 Mar 2024 3:04:05pm".
    void writeLocalTime (int fd, long utcOffsetSeconds) noexcept
    {
        static const char* const months[] = { "Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec" };
        timespec now {};
        clock_gettime (CLOCK_REALTIME, &now);

        const long long local = (long long) now.tv_sec + utcOffsetSeconds;
        long long days = local / 86400;
        long long secondsOfDay = local % 86400;

        if (secondsOfDay < 0)
        {
            secondsOfDay += 86400;
            --days;
        }

        // Days since 1970-01-01 to the civil date (proleptic Gregorian calendar).
        const long long z = days + 719468;
        const long long era = (z >= 0 ? z : z - 146096) / 146097;
        const long long dayOfEra = z - era * 146097;
        const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
        const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
        const long long mp = (5 * dayOfYear + 2) / 153;
        const long long day = dayOfYear - (153 * mp + 2) / 5 + 1;
        const long long month = mp < 10 ? mp + 3 : mp - 9;
        const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);

        const int hours = (int) (secondsOfDay / 3600);
        const int minutes = (int) ((secondsOfDay / 60) % 60);
        const int seconds = (int) (secondsOfDay % 60);
        const int hours12 = hours == 0 ? 12 : (hours <= 12 ? hours : hours - 12);

        writeNumber (fd, day);
        writeText (fd, " ");
        writeText (fd, months[month - 1]);
        writeText (fd, " ");
        writeNumber (fd, year);
        writeText (fd, " ");
        writeNumber (fd, hours12);
        writeText (fd, ":");
        writeNumber (fd, minutes, 2);
        writeText (fd, ":");
        writeNumber (fd, seconds, 2);
        writeText (fd, hours >= 12 ? "pm" : "am");
    }

    // The framework logger's trimming: a file over the limit keeps its last 128 KiB, from
    // the first line-break character in them on; without one, the file stays as it is.
    // The cut copy replaces the log only once written whole, so a full disk leaves the log
    // as it was. The caller holds the writing guard, which the shared buffer needs.
    void trimFile (const char* path, const char* tempPath) noexcept
    {
        const int in = ::open (path, O_RDONLY | O_CLOEXEC);

        if (in < 0)
            return;

        struct stat info {};
        const auto limit = (off_t) CrashLogFile::maxInitialFileSize;

        if (::fstat (in, &info) != 0 || info.st_size <= limit || ::lseek (in, info.st_size - limit, SEEK_SET) < 0)
        {
            ::close (in);
            return;
        }

        size_t filled = 0;

        while (filled < sizeof (trimBuffer))
        {
            const auto got = ::read (in, trimBuffer + filled, sizeof (trimBuffer) - filled);

            if (got < 0 && errno == EINTR)
                continue;

            if (got <= 0)
                break;

            filled += (size_t) got;
        }

        ::close (in);

        size_t start = 0;

        while (start < filled && trimBuffer[start] != '\n' && trimBuffer[start] != '\r')
        {
            if (trimBuffer[start] == 0)
                return;

            ++start;
        }

        if (start == filled)
            return;

        const int out = ::open (tempPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);

        if (out >= 0)
            WholeFileWriter::commit (out, tempPath, path, trimBuffer + start, filled - start);
    }

    // One writer of the log and the trim buffer at a time. False when the calling thread
    // holds the guard already: a fault inside its own report or trim.
    bool beginWriting() noexcept
    {
        const auto self = (uintptr_t) pthread_self();
        uintptr_t idle = 0;

        while (! writingThread.compare_exchange_strong (idle, self))
        {
            if (idle == self)
                return false;

            // Another thread is writing; a crash report ends the process when done.
            idle = 0;
            const timespec pause { 0, 10 * 1000 * 1000 };
            ::nanosleep (&pause, nullptr);
        }

        return true;
    }

    void createParentFolders (const PreparedLog& log) noexcept
    {
        char folder[maxPathBytes];
        const auto length = textLength (log.path);

        for (size_t i = 1; i < length; ++i)
        {
            if (log.path[i] != '/')
                continue;

            for (size_t k = 0; k < i; ++k)
                folder[k] = log.path[k];

            folder[i] = 0;
            ::mkdir (folder, 0755);
        }
    }

    // Lower-case hexadecimal digits of value, written backwards so that they end at end.
    char* writeHexDigits (uintptr_t value, char* end) noexcept
    {
        do
        {
            *--end = "0123456789abcdef"[value & 15];
            value >>= 4;
        } while (value != 0);

        return end;
    }

    void writeBacktrace (int fd) noexcept
    {
        void* frames[maxFrames];
        const int numFrames = ::backtrace (frames, maxFrames);

        for (int i = 0; i < numFrames; ++i)
            CrashLogFile::writeFrameLine (fd, frames[i]);
    }
} // namespace

//==============================================================================
bool CrashLogFile::prepare (const juce::File& logFile, const juce::String& welcomeLine, const juce::String& summaryText)
{
    const std::lock_guard<std::mutex> lock (prepareMutex);

    const int next = activeSlot.load() == 0 ? 1 : 0;
    auto& slot = slots[next];

    const juce::String newLine ("\r\n");
    const auto bannerHead = newLine + juce::String::repeatedString ("*", 58) + newLine
                          + welcomeLine + newLine + "Log started: ";

    if (! copyText (slot.path, sizeof (slot.path), logFile.getFullPathName())
        || ! copyText (slot.tempPath, sizeof (slot.tempPath), logFile.getFullPathName() + tempSuffix)
        || ! copyText (slot.bannerHead, sizeof (slot.bannerHead), bannerHead)
        || ! copyText (slot.summary, sizeof (slot.summary), summaryText))
        return false;

    const auto now = std::time (nullptr);
    std::tm local {};
    localtime_r (&now, &local);
    slot.utcOffsetSeconds = local.tm_gmtoff;

    // The first backtrace() loads the unwinder, which allocates: do it now, not in the handler.
    void* frames[2];
    ::backtrace (frames, 2);

    activeSlot.store (next, std::memory_order_release);
    return true;
}

void CrashLogFile::writeFrameLine (int fd, void* address) noexcept
{
    // The lookup backtrace_symbols() makes, without the memory it asks for; the text
    // follows its formats, which backtrace_symbols_fd() does not quite match.
    Dl_info info {};
    link_map* object = nullptr;
    const auto found = ::dladdr1 (address, &info, reinterpret_cast<void**> (&object), RTLD_DL_LINKMAP) != 0
                    && info.dli_fname != nullptr && info.dli_fname[0] != 0;

    iovec parts[12];
    int numParts = 0;
    const auto add = [&] (const char* text, size_t size) { parts[numParts++] = { const_cast<char*> (text), size }; };

    char offsetText[2 * sizeof (uintptr_t)];
    char addressText[2 * sizeof (uintptr_t)];
    auto* const offsetEnd = offsetText + sizeof (offsetText);
    auto* const addressEnd = addressText + sizeof (addressText);

    if (found)
    {
        // Without a symbol the offset is from the object's load bias; with neither, no offset.
        const auto origin = info.dli_sname != nullptr ? (uintptr_t) info.dli_saddr : (uintptr_t) object->l_addr;
        const auto position = (uintptr_t) address;

        add (info.dli_fname, textLength (info.dli_fname));
        add ("(", 1);

        if (info.dli_sname != nullptr)
            add (info.dli_sname, textLength (info.dli_sname));

        if (info.dli_sname != nullptr || origin != 0)
        {
            const auto offset = position >= origin ? position - origin : origin - position;
            add (position >= origin ? "+" : "-", 1);

            if (offset != 0)
                add ("0x", 2); // "%#tx" writes zero as a bare "0"

            const auto* digits = writeHexDigits (offset, offsetEnd);
            add (digits, (size_t) (offsetEnd - digits));
        }

        add (") ", 2);
    }

    if (address == nullptr)
    {
        add ("[(nil)]\r\n", 9); // "%p" of a null pointer
    }
    else
    {
        const auto* digits = writeHexDigits ((uintptr_t) address, addressEnd);
        add ("[0x", 3);
        add (digits, (size_t) (addressEnd - digits));
        add ("]\r\n", 3);
    }

    while (::writev (fd, parts, numParts) < 0 && errno == EINTR)
    {
    }
}

void CrashLogFile::trim (const juce::File& logFile)
{
    const auto path = logFile.getFullPathName();
    const auto tempPath = path + tempSuffix;

    if (! beginWriting())
        return;

    trimFile (path.toRawUTF8(), tempPath.toRawUTF8());
    writingThread.store (0);
}

bool CrashLogFile::isPrepared() noexcept
{
    return activeSlot.load (std::memory_order_acquire) >= 0;
}

void CrashLogFile::writeCrashReport() noexcept
{
    const int slotIndex = activeSlot.load (std::memory_order_acquire);

    if (slotIndex < 0)
        return;

    // A fault inside our own report: give up, the process ends all the same.
    if (! beginWriting())
        return;

    const auto& log = slots[slotIndex];

    trimFile (log.path, log.tempPath);
    createParentFolders (log);

    const int fd = ::open (log.path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);

    if (fd >= 0)
    {
        writeText (fd, log.bannerHead);
        writeLocalTime (fd, log.utcOffsetSeconds);
        writeText (fd, "\r\n\r\n");

        writeBacktrace (fd);
        writeText (fd, "\r\n");

        writeText (fd, log.summary);
        ::close (fd);
    }

    writingThread.store (0);
}
} // namespace oskv
