#include "SpriteStyle.h"

#include <vector>

namespace {

const char* const kNormal = "QToolButton{border-image:url(%1) %2;}";
const char* const kHover = "QToolButton:hover{border-image:url(%1) %2;}";
const char* const kPressed = "QToolButton:pressed{border-image:url(%1) %2; padding: 1px; margin: 1px;}";
const char* const kChecked = "QToolButton:checked{border-image:url(%1) %2;}";
const char* const kUnchecked = "QToolButton:unchecked{border-image:url(%1) %2;}";
const char* const kDisabled = "QToolButton:disabled{border-image:url(%1) %2;}";

struct StateRule {
    const char* rule;
    int sliceOffset;
};

// The states each style kind styles, in the order their rules are written (a later rule wins a tie).
std::vector<StateRule> stateRules(int styleKind) {
    switch (styleKind) {
        case 0:
            return {{kNormal, 0}};
        case 1:
            return {{kHover, 0}};
        case 2:
            return {{kPressed, 0}};
        case 3:
            return {{kNormal, 0}, {kHover, 1}};
        case 4:
            return {{kNormal, 0}, {kHover, 1}, {kPressed, 2}};
        case 5:
            return {{kNormal, 0}, {kHover, 1}, {kDisabled, 2}};
        case 6:
            return {{kNormal, 0}, {kHover, 1}, {kPressed, 2}, {kDisabled, 3}};
        case 7:
            return {{kNormal, 0}, {kUnchecked, 0}, {kHover, 1}, {kPressed, 2}, {kChecked, 2}, {kDisabled, 3}};
        case 8:
            return {{kNormal, 0}, {kDisabled, 1}};
        default:
            return {};
    }
}

QString cut(int top, int right, int bottom, int left) {
    return QStringLiteral("%1 %2 %3 %4").arg(top).arg(right).arg(bottom).arg(left);
}

}  // namespace

int SpriteStyle::sliceCount(QSize sprite, int direction, int sliceSize) {
    if (direction < 1 || direction > 4)
        return 1;
    if (sliceSize <= 0)
        return 0;
    return (direction <= 2 ? sprite.height() : sprite.width()) / sliceSize;
}

QStringList SpriteStyle::sliceCuts(QSize sprite, int direction, int sliceSize) {
    const int count = sliceCount(sprite, direction, sliceSize);
    QStringList cuts;
    for (int i = 0; i < count; ++i) {
        const int near = i * sliceSize;
        const int heightRest = sprite.height() - (i + 1) * sliceSize;
        const int widthRest = sprite.width() - (i + 1) * sliceSize;
        switch (direction) {
            case 1:
                cuts << cut(near, 0, heightRest, 0);
                break;
            case 2:
                cuts << cut(heightRest, 0, near, 0);
                break;
            case 3:
                cuts << cut(0, widthRest, 0, near);
                break;
            case 4:
                cuts << cut(0, near, 0, widthRest);
                break;
            default:
                cuts << cut(0, 0, 0, 0);
                break;
        }
    }
    return cuts;
}

QString SpriteStyle::styleSheet(const QString& spritePath, QSize sprite, int direction, int sliceSize, int styleKind,
                                int firstSlice) {
    const QStringList cuts = sliceCuts(sprite, direction, sliceSize);
    QString sheet;
    for (const StateRule& state : stateRules(styleKind))
        sheet += QString::fromLatin1(state.rule).arg(spritePath, cuts.value(firstSlice + state.sliceOffset));
    return sheet;
}
