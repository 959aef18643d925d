#include "support/FreshHomeForEachTest.h"

#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

// Every test process gets a message manager, as a host's message thread would provide.
int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append (new FreshHomeForEachTest);
    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    return RUN_ALL_TESTS();
}
