#pragma once

#include <string>

// Path of the plug-in binary under test: "--plugin=<path>" on the command
// line, else the SOMBRAX_VST_PLUGIN environment variable; empty if neither.
const std::string& getPluginPath();

// Makes X errors recorded instead of fatal, as a host does; called first
// thing in main, since it includes Xlib's thread set-up.
void installHostXErrorHandler();
