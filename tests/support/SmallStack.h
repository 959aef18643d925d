#pragma once

// Runs a call on a thread with a small stack, so that recursion the code should have
// refused overflows at once instead of fitting by luck into the main thread's 8 MB.

#include <pthread.h>

#include <cstddef>
#include <functional>
#include <stdexcept>

namespace test_support
{
constexpr std::size_t smallStackBytes = 256 * 1024;

inline void runOnSmallStack (const std::function<void()>& call, std::size_t stackBytes = smallStackBytes)
{
    pthread_attr_t attributes;
    pthread_attr_init (&attributes);
    pthread_attr_setstacksize (&attributes, stackBytes);

    auto body = [] (void* argument) -> void*
    {
        (*static_cast<const std::function<void()>*> (argument)) ();
        return nullptr;
    };

    pthread_t thread;
    const auto created = pthread_create (&thread, &attributes, body, const_cast<std::function<void()>*> (&call));
    pthread_attr_destroy (&attributes);

    if (created != 0)
        throw std::runtime_error ("could not start a thread with a small stack");

    pthread_join (thread, nullptr);
}
} // namespace test_support
