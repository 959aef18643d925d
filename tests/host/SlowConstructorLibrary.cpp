// A library whose constructor takes 30 s, so the dynamic loader holds its lock that long.
// It first writes one byte to the descriptor named by SOMBRAX_SLOW_LIBRARY_READY_FD.

#include <cstdlib>
#include <unistd.h>

namespace
{
__attribute__ ((constructor)) void loadSlowly()
{
    if (const char* fd = std::getenv ("SOMBRAX_SLOW_LIBRARY_READY_FD"))
    {
        const char byte = 'r';
        [[maybe_unused]] const auto written = write (std::atoi (fd), &byte, 1);
    }

    sleep (30);
}
} // namespace
