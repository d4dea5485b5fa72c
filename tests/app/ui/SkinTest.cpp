// The skin compiled into the program: every picture the widgets ask for is there, loads at its size
// and shows its states. The test links only tarn_ui, as the program does, so it also proves the
// resources register themselves.
#include <QFile>
#include <QImageReader>
#include <QtTest>
#include <set>

#include "Skin.h"
#include "SkinPictures.h"

namespace {

const char* formatOf(SkinKind kind) {
    switch (kind) {
        case SkinKind::Svg:
            return "svg";
        case SkinKind::Gif:
            return "gif";
        case SkinKind::Bmp:
            return "bmp";
        default:
            return "png";
    }
}

// A picture that is one flat colour (or all transparent) shows nothing.
bool showsSomething(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb first = argb.pixel(0, 0);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            if (argb.pixel(x, y) != first)
                return true;
    return false;
}

// The pictures a file holds: a sprite's states cut side by side, or an animation's frames.
QVector<QImage> picturesIn(QImageReader& reader, const SkinPicture& picture) {
    QVector<QImage> pictures;
    if (picture.kind == SkinKind::Gif) {
        for (int i = 0; i < picture.pictures; ++i)
            pictures.append(reader.read());
        return pictures;
    }
    const QImage whole = reader.read();
    const int slice = picture.width / picture.pictures;
    for (int i = 0; i < picture.pictures; ++i)
        pictures.append(whole.copy(i * slice, 0, slice, picture.height));
    return pictures;
}

}  // namespace

class SkinTest : public QObject {
    Q_OBJECT

private slots:
    void everyPictureHasOneEntry() {
        std::set<QString> names;
        for (const SkinPicture& picture : skinPictures)
            QVERIFY2(names.insert(picture.name).second, picture.name);
    }

    void picture_data() {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < skinPictures.size(); ++i)
            QTest::newRow(skinPictures[i].name) << static_cast<int>(i);
    }

    void picture() {
        QFETCH(int, index);
        const SkinPicture& picture = skinPictures[static_cast<std::size_t>(index)];
        const QString path = Skin::path(picture.name, picture.kind);

        QVERIFY2(QFile::exists(path), qPrintable(path));
        QImageReader reader(path);
        QCOMPARE(reader.format(), QByteArray(formatOf(picture.kind)));
        QCOMPARE(reader.size(), QSize(picture.width, picture.height));
        if (picture.kind == SkinKind::Gif)
            QCOMPARE(reader.imageCount(), picture.pictures);

        const QVector<QImage> pictures = picturesIn(reader, picture);
        for (int i = 0; i < pictures.size(); ++i) {
            QVERIFY2(!pictures[i].isNull(), qPrintable(reader.errorString()));
            QVERIFY2(showsSomething(pictures[i]), qPrintable(QString("picture %1 is blank").arg(i)));
            for (int j = 0; j < i; ++j)
                QVERIFY2(pictures[i] != pictures[j],
                         qPrintable(QString("pictures %1 and %2 are the same").arg(j).arg(i)));
        }
    }
};

QTEST_MAIN(SkinTest)

#include "SkinTest.moc"
