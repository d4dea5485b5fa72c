// The scale check at start: on screens where the fixed-size layout would be unreadable, the program
// starts itself again with a scale factor and this instance ends.
#pragma once

#include <QString>

// The factor for the application's first screen, 1 without a screen.
double firstScreenScaleFactor();
// Starts `program` detached with the restart argument for `factor`, the chosen scale set as Qt's scale
// factor in its environment. Answers whether it started.
bool restartScaled(const QString& program, double factor);
