// A service must not reach the widgets, not even by a relative path.
#include "../toolkit_ui/MIDITarget.h"
