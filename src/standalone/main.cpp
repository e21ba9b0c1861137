#include "standalone/plimsarApplication.h"

START_JUCE_APPLICATION (plimsarApplication)
