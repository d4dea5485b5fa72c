// Writes an animated GIF: Qt reads GIF but cannot write it, and the loading animations are GIFs.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QVector>

// Frames of one size, shown in turn forever. Pixels less than half opaque become transparent; the
// first 255 colours met keep their exact value, later ones take the nearest of those.
QByteArray encodeGif(const QVector<QImage>& frames, int delayMs);
