#pragma once

#include "support/TemporaryHome.h"

#include <gtest/gtest.h>

// Each test starts with an empty home, as it would in a process of its own: files one test
// leaves there (presets, preferences, logs, maps) are never read by the next.
class FreshHomeForEachTest : public ::testing::EmptyTestEventListener
{
public:
    void OnTestStart (const ::testing::TestInfo&) override { sombrax_test::emptyTemporaryHome(); }
};
