#include "SpriteComposer.h"

#include <QColor>
#include <QDomDocument>

#include <array>

namespace {

enum class State { Normal, Hover, Pressed, Disabled };
constexpr std::array states{State::Normal, State::Hover, State::Pressed, State::Disabled};

const QColor ink("#2d4a63");
const QColor accent("#0f4cb2");
const QColor white("#ffffff");

// Hover turns the glyph blue, pressed inverts it on a blue backdrop, disabled greys it out.
QColor onLight(const QColor& colour, State state) {
    switch (state) {
        case State::Normal:
            return colour;
        case State::Hover:
            return colour == ink ? accent : colour;
        case State::Pressed:
            if (colour == ink)
                return white;
            if (colour == white)
                return accent;  // cut-outs follow the backdrop
            return colour.lightnessF() > 0.7 ? QColor("#3d72cc") : colour.lighter(125);
        case State::Disabled:
            if (colour == white)
                return colour;
            return QColor::fromHslF(colour.hslHueF() < 0 ? 0 : colour.hslHueF(), 0.1 * colour.hslSaturationF(),
                                    0.72 + 0.25 * colour.lightnessF());
    }
    return colour;
}

// On the title bar the glyph is a little dimmed at rest and full white when the mouse is on it.
QColor onTitleBar(const QColor& colour, State state) {
    if (colour != white)
        return colour;
    switch (state) {
        case State::Normal:
            return QColor("#d8e3f5");
        case State::Disabled:
            return QColor("#7f98c6");
        default:
            return colour;
    }
}

struct Backdrop {
    QString fill;  // empty: none
    double opacity = 1.0;
};

Backdrop backdrop(SpriteLook look, State state) {
    if (state == State::Hover)
        return look == SpriteLook::OnLight ? Backdrop{"#d3eefb"} : Backdrop{"#ffffff", 0.22};
    if (state == State::Pressed)
        return {look == SpriteLook::OnLight ? "#0f4cb2" : "#0a3580"};
    return {};
}

QString suffixed(const QString& value, const QString& suffix) {
    if (value.startsWith('#'))
        return value + suffix;
    if (value.startsWith("url(#"))
        return value.chopped(1) + suffix + ')';
    return value;
}

// Each state gets its own copy of the glyph: colours recoloured, ids made unique so that a <use>
// inside one state never picks up another state's element.
void restyle(QDomElement element, SpriteLook look, State state, const QString& suffix) {
    for (const char* name : {"fill", "stroke", "stop-color"}) {
        const QString value = element.attribute(name);
        if (value.startsWith('#')) {
            const QColor colour(value);
            element.setAttribute(
                name, (look == SpriteLook::OnLight ? onLight(colour, state) : onTitleBar(colour, state)).name());
        } else if (value.startsWith("url(#")) {
            element.setAttribute(name, suffixed(value, suffix));
        }
    }
    if (element.hasAttribute("id"))
        element.setAttribute("id", element.attribute("id") + suffix);
    if (element.hasAttribute("xlink:href"))
        element.setAttribute("xlink:href", suffixed(element.attribute("xlink:href"), suffix));
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement())
        restyle(child, look, state, suffix);
}

QString number(double value) {
    return QString::number(value, 'g', 6);
}

}  // namespace

QByteArray composeSprite(const QDomDocument& glyph, SpriteLook look) {
    const QDomElement source = glyph.documentElement();
    const double width = source.attribute("width").toDouble();
    const double height = source.attribute("height").toDouble();
    const double shift = height / 32.0;  // pressed glyphs sink a little

    QDomDocument sprite;
    QDomElement root = sprite.createElement("svg");
    root.setAttribute("xmlns", "http://www.w3.org/2000/svg");
    root.setAttribute("xmlns:xlink", "http://www.w3.org/1999/xlink");
    root.setAttribute("width", number(4 * width));
    root.setAttribute("height", number(height));
    root.setAttribute("viewBox", QString("0 0 %1 %2").arg(number(4 * width), number(height)));
    sprite.appendChild(root);

    for (std::size_t i = 0; i < states.size(); ++i) {
        const State state = states[i];
        const double left = static_cast<double>(i) * width;
        if (const Backdrop back = backdrop(look, state); !back.fill.isEmpty()) {
            QDomElement rect = sprite.createElement("rect");
            rect.setAttribute("x", number(left + 1));
            rect.setAttribute("y", "1");
            rect.setAttribute("width", number(width - 2));
            rect.setAttribute("height", number(height - 2));
            rect.setAttribute("rx", number(height / 6));
            rect.setAttribute("fill", back.fill);
            if (back.opacity < 1.0)
                rect.setAttribute("fill-opacity", number(back.opacity));
            root.appendChild(rect);
        }
        const double offset = state == State::Pressed ? shift : 0.0;
        QDomElement group = sprite.createElement("g");
        group.setAttribute("transform", QString("translate(%1 %2)").arg(number(left + offset), number(offset)));
        for (QDomNode child = source.firstChild(); !child.isNull(); child = child.nextSibling()) {
            QDomNode copy = sprite.importNode(child, true);
            if (copy.isElement())
                restyle(copy.toElement(), look, state, QString("-s%1").arg(i));
            group.appendChild(copy);
        }
        root.appendChild(group);
    }
    return sprite.toByteArray(1);
}
