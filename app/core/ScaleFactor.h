// The screen scale check at start: small or very large screens restart the program with a scale
// factor that keeps its fixed-size layout readable.
#pragma once

#include <QString>

// The factor for a screen of the given geometry and physical dots per inch (vertical).
double screenScaleFactor(int width, int height, double physicalDpiY);
// Whether the factor asks for a restart.
bool needsScaleRestart(double factor);
// The scale the restarted program runs with (never below 1).
double restartScale(double factor);
// The restart argument, "scale:" with the scale in the shortest general notation.
QString scaleArgument(double scale);
