// Build tool: draws every picture of the skin table from its SVG source into the resource folder
// tree and writes the resource collection file that lists them.
//
//   skin_rasterizer <source folder> <output folder>
//
// Sprites are composed from one glyph; PNG and BMP pictures are rendered at their table size;
// animations are their source turned one step further each frame. Besides pictures.qrc it writes
// pictures.d, the sources it read, so that the build reruns it when one of them changes. It runs
// without an application object: painting shapes into images needs none (only text would, and no
// source has any).
#include <QBuffer>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>

#include "GifWriter.h"
#include "Skin.h"
#include "SkinPictures.h"
#include "SpriteComposer.h"

namespace {

constexpr int animationDelayMs = 80;

[[noreturn]] void fail(const QString& message) {
    std::fprintf(stderr, "skin_rasterizer: %s\n", qPrintable(message));
    std::exit(1);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail("cannot read " + path);
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        fail("cannot write " + path);
}

// A path as a make rule names it: spaces escaped.
QByteArray makeEscaped(const QString& path) {
    return path.toLocal8Bit().replace(' ', "\\ ");
}

SpriteLook lookOf(const QString& name) {
    return name.startsWith("home/Header/") ? SpriteLook::OnTitleBar : SpriteLook::OnLight;
}

// The SVG text the picture is drawn from: the source itself, or the sprite composed from it.
QByteArray svgOf(const SkinPicture& picture, const QByteArray& source) {
    const bool sprite = picture.pictures > 1 && picture.kind != SkinKind::Gif;
    if (!sprite)
        return source;
    QDomDocument glyph;
    if (!glyph.setContent(source))
        fail(QString("%1: not well-formed SVG").arg(picture.name));
    return composeSprite(glyph, lookOf(picture.name));
}

QImage render(QSvgRenderer& renderer, QSize size, QImage::Format format, qreal turn = 0) {
    QImage image(size, format);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(size.width() / 2.0, size.height() / 2.0);
    painter.rotate(turn);
    painter.translate(-size.width() / 2.0, -size.height() / 2.0);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    return image;
}

// GIF pixels are either opaque or transparent: soft edges are blended onto the white panels the
// animations are shown on, and only the faintest edge pixels stay transparent.
QImage onWhite(const QImage& frame) {
    QImage image = frame.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            const int cover = qAlpha(pixel);
            const int white = 255 - cover;
            line[x] =
                cover < 64 ? qRgba(0, 0, 0, 0) : qRgb(qRed(pixel) + white, qGreen(pixel) + white, qBlue(pixel) + white);
        }
    }
    return image;
}

QByteArray encodeImage(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        fail(QString("cannot encode %1").arg(format));
    return bytes;
}

QByteArray drawPicture(const SkinPicture& picture, const QByteArray& svg) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        fail(QString("%1: the SVG does not render").arg(picture.name));
    const QSize expected(picture.width, picture.height);
    if (renderer.defaultSize() != expected)
        fail(QString("%1: drawn %2x%3, the table says %4x%5")
                 .arg(picture.name)
                 .arg(renderer.defaultSize().width())
                 .arg(renderer.defaultSize().height())
                 .arg(expected.width())
                 .arg(expected.height()));

    switch (picture.kind) {
        case SkinKind::Svg:
            return svg;
        case SkinKind::Png:
            return encodeImage(render(renderer, expected, QImage::Format_ARGB32_Premultiplied), "PNG");
        case SkinKind::Bmp:
            return encodeImage(render(renderer, expected, QImage::Format_RGB32), "BMP");
        case SkinKind::Gif: {
            QVector<QImage> frames;
            for (int i = 0; i < picture.pictures; ++i)
                frames.append(onWhite(
                    render(renderer, expected, QImage::Format_ARGB32_Premultiplied, 360.0 * i / picture.pictures)));
            return encodeGif(frames, animationDelayMs);
        }
        default:
            fail(QString("%1: no way to draw this kind").arg(picture.name));
    }
}

}  // namespace

int main(int argc, char** argv) {
    // QDom writes attributes in hash order; a fixed seed gives the same files on every build.
    qSetGlobalQHashSeed(0);
    if (argc != 3)
        fail("usage: skin_rasterizer <source folder> <output folder>");
    const QString sourceFolder = QString::fromLocal8Bit(argv[1]);
    const QString outputFolder = QString::fromLocal8Bit(argv[2]);
    const QString resourceRoot = ":/png/";

    QByteArray collection;
    QTextStream listing(&collection);
    listing << "<RCC>\n  <qresource prefix=\"/png\">\n";
    QByteArray sources;
    for (const SkinPicture& picture : skinPictures) {
        const QString sourceFile = sourceFolder + '/' + picture.name + ".svg";
        const QString file = Skin::path(picture.name, picture.kind).mid(resourceRoot.size());
        writeFile(outputFolder + '/' + file, drawPicture(picture, svgOf(picture, readFile(sourceFile))));
        listing << "    <file>" << file << "</file>\n";
        sources += " \\\n  " + makeEscaped(sourceFile);
    }
    listing << "  </qresource>\n</RCC>\n";
    listing.flush();
    const QString collectionFile = outputFolder + "/pictures.qrc";
    writeFile(collectionFile, collection);
    writeFile(outputFolder + "/pictures.d", makeEscaped(collectionFile) + ':' + sources + '\n');
    return 0;
}
