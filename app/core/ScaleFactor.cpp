#include "ScaleFactor.h"

double screenScaleFactor(int width, int height, double physicalDpiY) {
    const bool large = width > 1919 && height > 1079;
    const bool small = width < 1024 && height < 768;
    if (!large && !small) {
        return 1.0;
    }
    const double d = physicalDpiY / 96.0;
    return d * 1280 > width ? width / 1280.0 - 0.05 : d;
}

bool needsScaleRestart(double factor) {
    return factor > 1.1 || (factor >= 0.1 && factor <= 0.8);
}

double restartScale(double factor) {
    double scale = 1.25;
    if (factor > 1.95) {
        scale = 2.0;
    } else if (factor > 1.7) {
        scale = 1.75;
    } else if (factor > 1.4) {
        scale = 1.5;
    }
    if (factor >= 0.1 && factor <= 0.8) {
        scale = factor >= 0.5 ? 0.75 : 0.5;
    }
    return scale < 1.0 ? 1.0 : scale;
}

QString scaleArgument(double scale) {
    return QStringLiteral("scale:%1").arg(scale);
}
