#include "support/FreshHomeForEachTest.h"

#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

#include <X11/Xlib.h>

#include <cstdio>

namespace
{
// An X protocol error must fail loudly in the log, not abort the whole test process.
int reportXError (Display*, XErrorEvent* event)
{
    std::fprintf (stderr, "X error: code %d, request %d\n", (int) event->error_code, (int) event->request_code);
    return 0;
}
} // namespace

int main (int argc, char** argv)
{
    XSetErrorHandler (reportXError);
    ::testing::InitGoogleTest (&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append (new FreshHomeForEachTest);
    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    return RUN_ALL_TESTS();
}
