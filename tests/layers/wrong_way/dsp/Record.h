#pragma once

// A signal-path record must not reach up to the processor.
#include "plugin/PluginProcessor.h"
