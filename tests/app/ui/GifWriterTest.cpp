// The GIF writer of the skin build, judged by Qt's own GIF reader: every pixel comes back as written,
// through growing code widths, table restarts, several frames and transparency.
#include <QBuffer>
#include <QImageReader>
#include <QRandomGenerator>
#include <QtTest>

#include "GifWriter.h"

namespace {

constexpr int delayMs = 80;

// Pixels drawn from a small set of colours, a few of them transparent.
QImage patterned(QSize size, int colours, quint32 seed) {
    QRandomGenerator random(seed);
    QVector<QRgb> palette;
    for (int i = 0; i < colours; ++i)
        palette.append(qRgb(i * 7 % 256, i * 53 % 256, 255 - i));
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(
                x, y, random.bounded(10) == 0 ? qRgba(0, 0, 0, 0) : palette[static_cast<int>(random.bounded(colours))]);
    return image;
}

QVector<QImage> decode(QByteArray bytes, int* delay = nullptr) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    QVector<QImage> frames;
    for (int i = 0; i < reader.imageCount(); ++i) {
        frames.append(reader.read().convertToFormat(QImage::Format_ARGB32));
        if (delay)
            *delay = reader.nextImageDelay();
    }
    return frames;
}

// Transparent where the source was less than half opaque, its exact colour elsewhere.
bool sameAsWritten(const QImage& written, const QImage& read) {
    if (written.size() != read.size())
        return false;
    for (int y = 0; y < written.height(); ++y)
        for (int x = 0; x < written.width(); ++x) {
            const QRgb w = written.pixel(x, y);
            const QRgb r = read.pixel(x, y);
            if (qAlpha(w) < 128 ? qAlpha(r) != 0 : r != (w | 0xff000000))
                return false;
        }
    return true;
}

}  // namespace

class GifWriterTest : public QObject {
    Q_OBJECT

private slots:
    void framesComeBackPixelForPixel_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("colours");
        QTest::addColumn<int>("frames");
        // The smallest table (two-bit codes), a table that is not a power of two, the full 255
        // colours, enough pixels to fill the code table several times, and single-pixel frames.
        QTest::newRow("one colour") << QSize(3, 2) << 1 << 1;
        QTest::newRow("five colours") << QSize(17, 9) << 5 << 1;
        QTest::newRow("255 colours") << QSize(64, 48) << 255 << 1;
        QTest::newRow("table restarts") << QSize(320, 200) << 200 << 1;
        QTest::newRow("several frames") << QSize(40, 30) << 12 << 4;
        QTest::newRow("one pixel") << QSize(1, 1) << 2 << 3;
    }

    void framesComeBackPixelForPixel() {
        QFETCH(QSize, size);
        QFETCH(int, colours);
        QFETCH(int, frames);
        QVector<QImage> written;
        for (int i = 0; i < frames; ++i)
            written.append(patterned(size, colours, 17 + i));

        int delay = 0;
        const QVector<QImage> read = decode(encodeGif(written, delayMs), &delay);

        QCOMPARE(read.size(), frames);
        for (int i = 0; i < frames; ++i)
            QVERIFY2(sameAsWritten(written[i], read[i]), qPrintable(QString::number(i)));
        QCOMPARE(delay, delayMs);
    }

    void coloursBeyondTheTableTakeTheNearest() {
        QImage image(256, 1, QImage::Format_ARGB32);
        for (int x = 0; x < 255; ++x)
            image.setPixel(x, 0, qRgb(x, x, x));
        image.setPixel(255, 0, qRgb(100, 102, 99));  // the 256th colour: nearest kept one is grey 100

        const QVector<QImage> read = decode(encodeGif({image}, delayMs));

        QCOMPARE(read.size(), 1);
        QCOMPARE(read[0].pixel(254, 0), qRgb(254, 254, 254));
        QCOMPARE(read[0].pixel(255, 0), qRgb(100, 100, 100));
    }

    void loopsForEver() {
        QByteArray bytes = encodeGif({patterned(QSize(4, 4), 3, 1), patterned(QSize(4, 4), 3, 2)}, delayMs);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QCOMPARE(QImageReader(&buffer, "gif").loopCount(), -1);
    }
};

QTEST_MAIN(GifWriterTest)

#include "GifWriterTest.moc"
