// The style sheet of a sprite tool button: one picture holds a slice per button state, and each state
// rule cuts its slice out of the picture with border-image offsets.
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

class SpriteStyle {
public:
    // Directions 1 and 2 stack the slices from the top or the bottom, 3 and 4 lay them out from the left
    // or the right; any other direction takes the whole picture as one slice.
    static int sliceCount(QSize sprite, int direction, int sliceSize);
    // The border-image cut ("top right bottom left") of every slice, in slice order.
    static QStringList sliceCuts(QSize sprite, int direction, int sliceSize);
    // The button's style sheet for a style kind (0 to 8; others give none) whose states start at
    // `firstSlice`. A state whose slice the picture lacks names the picture without a cut.
    static QString styleSheet(const QString& spritePath, QSize sprite, int direction, int sliceSize, int styleKind,
                              int firstSlice);
};
