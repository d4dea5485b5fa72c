// A tool button drawn from a sprite picture that holds one slice per button state.
#pragma once

#include <QToolButton>

class SSToolButton : public QToolButton {
    Q_OBJECT

public:
    // With `notifyHover` the button reports the mouse entering and leaving it.
    explicit SSToolButton(QWidget* parent = nullptr, bool notifyHover = false);

    // Reads the sprite's size and styles the button from its slices (see SpriteStyle). A missing
    // picture leaves the button without a picture.
    void setupSprite(const QString& spritePath, int direction, int sliceSize, int styleKind, int firstSlice = 0);
    // The window buttons of both title bars: a 64x16 svg sprite of four 16-pixel states side by side.
    void setupWindowButtonSprite(const QString& name);

signals:
    void MouseEnter();
    void MouseLeave();

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool notifyHover_;
};
