// Builds a button sprite from one glyph: its four state pictures side by side, in the order normal,
// hover, pressed, disabled, as the tool buttons slice them.
#pragma once

#include <QByteArray>

class QDomDocument;

// What the sprite is drawn on decides how its states are told apart.
enum class SpriteLook {
    OnLight,     // slate glyphs on the white and light-blue panels
    OnTitleBar,  // white glyphs on the blue title bar
};

// The glyph's width and height are one state picture; the sprite is four of them wide.
QByteArray composeSprite(const QDomDocument& glyph, SpriteLook look);
