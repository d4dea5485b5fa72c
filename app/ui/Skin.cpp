#include "Skin.h"

#include <QCoreApplication>
#include <QFile>

namespace {

QString& currentTheme() {
    static QString theme = QStringLiteral("darkgreen");
    return theme;
}

QString pictureFolder() {
    return ":/png/res/" + currentTheme() + "/png/";
}

}  // namespace

QString Skin::theme() {
    return currentTheme();
}

void Skin::setTheme(const QString& theme) {
    currentTheme() = theme;
}

QString Skin::path(const QString& name, SkinKind kind, bool withExtension) {
    const auto withOptional = [&](const QString& base, const char* extension) {
        return withExtension ? base + extension : base;
    };
    switch (kind) {
        case SkinKind::Png:
            return withOptional(pictureFolder() + name, ".png");
        case SkinKind::Icon:
            return withOptional(":/icon/res/" + currentTheme() + "/icon/" + name, ".icon");
        case SkinKind::StyleSheet:
            return withOptional(":/qss/res/" + currentTheme() + "/" + name, ".qss");
        case SkinKind::Gif:
            return withOptional(pictureFolder() + name, ".gif");
        case SkinKind::Bmp:
            return withOptional(pictureFolder() + name, ".bmp");
        case SkinKind::Svg:
            return withOptional(pictureFolder() + name, ".svg");
    }
    return {};
}

QString Skin::path(const QString& name, bool withExtension, const QString& typeText) {
    return path(name, typeText.contains("svg") ? SkinKind::Svg : SkinKind::Png, withExtension);
}

QString Skin::animationPath(const QString& name) {
    return path(name, SkinKind::Gif);
}

QString Skin::iconFile(const QString& name) {
    const QString local = QCoreApplication::applicationDirPath() + "/skin/" + name;
    return QFile::exists(local) ? local : pictureFolder() + name;
}
