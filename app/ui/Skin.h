// Where the skin's pictures and style sheets are: compiled-in resources under the current theme.
#pragma once

#include <QString>

enum class SkinKind { Png, Icon, StyleSheet, Gif, Bmp, Svg };

class Skin {
public:
    static QString theme();
    static void setTheme(const QString& theme);

    // The resource path of a picture or style sheet; the extension is appended only when asked.
    static QString path(const QString& name, SkinKind kind, bool withExtension = true);
    // The form every widget uses: the svg path when the type text says "svg", else the png path.
    static QString path(const QString& name, bool withExtension, const QString& typeText);
    static QString animationPath(const QString& name);
    // A picture the user put into the program's "skin" folder wins over the compiled-in one.
    static QString iconFile(const QString& name);
};
