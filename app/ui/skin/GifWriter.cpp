#include "GifWriter.h"

#include <QHash>

#include <climits>
#include <cstdint>

namespace {

constexpr int transparentIndex = 0;
constexpr int maxCodes = 4096;

struct Palette {
    QVector<QRgb> colours{qRgb(0, 0, 0)};  // index 0 stands for transparency
    QHash<QRgb, int> indexOf;

    int index(QRgb pixel) {
        if (qAlpha(pixel) < 128)
            return transparentIndex;
        const QRgb colour = qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
        if (const auto found = indexOf.constFind(colour); found != indexOf.constEnd())
            return *found;
        if (colours.size() < 256) {
            indexOf.insert(colour, colours.size());
            colours.append(colour);
            return colours.size() - 1;
        }
        return nearest(colour);
    }

    int nearest(QRgb colour) const {
        int best = 1;
        int bestDistance = INT_MAX;
        for (int i = 1; i < colours.size(); ++i) {
            const int dr = qRed(colour) - qRed(colours[i]);
            const int dg = qGreen(colour) - qGreen(colours[i]);
            const int db = qBlue(colour) - qBlue(colours[i]);
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        return best;
    }

    // The colour table holds a power of two of entries, at least four (two bits).
    int bits() const {
        int bits = 2;
        while ((1 << bits) < colours.size())
            ++bits;
        return bits;
    }
};

class BitWriter {
public:
    void write(int code, int width) {
        buffer_ |= static_cast<uint32_t>(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            bytes_.append(static_cast<char>(buffer_ & 0xff));
            buffer_ >>= 8;
            count_ -= 8;
        }
    }
    QByteArray finish() {
        if (count_ > 0)
            bytes_.append(static_cast<char>(buffer_ & 0xff));
        return bytes_;
    }

private:
    QByteArray bytes_;
    uint32_t buffer_ = 0;
    int count_ = 0;
};

// Variable-width LZW as GIF decoders expect it: the code width grows as soon as the next free code
// no longer fits, and the table starts over before it passes 4095 entries.
QByteArray compress(const QVector<uint8_t>& indices, int minCodeSize) {
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    int codeSize = minCodeSize + 1;
    int next = endCode + 1;
    QHash<uint32_t, int> table;
    BitWriter bits;

    const auto put = [&](int code) {
        bits.write(code, codeSize);
        if (next >= (1 << codeSize) && codeSize < 12)
            ++codeSize;
    };

    put(clearCode);
    int prefix = indices.front();
    for (int i = 1; i < indices.size(); ++i) {
        const uint32_t key = static_cast<uint32_t>(prefix) << 8 | indices[i];
        if (const auto found = table.constFind(key); found != table.constEnd()) {
            prefix = *found;
            continue;
        }
        put(prefix);
        prefix = indices[i];
        if (next >= maxCodes - 1) {
            put(clearCode);
            table.clear();
            codeSize = minCodeSize + 1;
            next = endCode + 1;
        } else {
            table.insert(key, next++);
        }
    }
    put(prefix);
    put(endCode);
    return bits.finish();
}

void appendWord(QByteArray& out, int value) {
    out.append(static_cast<char>(value & 0xff));
    out.append(static_cast<char>((value >> 8) & 0xff));
}

void appendSubBlocks(QByteArray& out, const QByteArray& data) {
    for (int at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        out.append(static_cast<char>(block.size()));
        out.append(block);
    }
    out.append('\0');
}

}  // namespace

QByteArray encodeGif(const QVector<QImage>& frames, int delayMs) {
    if (frames.isEmpty())
        return {};
    const QSize size = frames.front().size();

    Palette palette;
    QVector<QVector<uint8_t>> indexed;
    for (const QImage& frame : frames) {
        const QImage argb = frame.convertToFormat(QImage::Format_ARGB32);
        QVector<uint8_t> indices;
        indices.reserve(size.width() * size.height());
        for (int y = 0; y < size.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            for (int x = 0; x < size.width(); ++x)
                indices.append(static_cast<uint8_t>(palette.index(line[x])));
        }
        indexed.append(indices);
    }
    const int bits = palette.bits();

    QByteArray out("GIF89a");
    appendWord(out, size.width());
    appendWord(out, size.height());
    out.append(static_cast<char>(0x80 | (bits - 1) << 4 | (bits - 1)));  // global colour table
    out.append('\0');                                                    // background colour index
    out.append('\0');                                                    // square pixels
    for (int i = 0; i < (1 << bits); ++i) {
        const QRgb colour = i < palette.colours.size() ? palette.colours[i] : 0;
        out.append(static_cast<char>(qRed(colour)));
        out.append(static_cast<char>(qGreen(colour)));
        out.append(static_cast<char>(qBlue(colour)));
    }
    // Loop for ever.
    out.append("\x21\xff\x0bNETSCAPE2.0\x03\x01", 16);
    appendWord(out, 0);
    out.append('\0');

    for (const QVector<uint8_t>& indices : indexed) {
        // Each frame replaces the last one whole: restore to background, index 0 transparent.
        out.append("\x21\xf9\x04\x09", 4);
        appendWord(out, delayMs / 10);
        out.append(static_cast<char>(transparentIndex));
        out.append('\0');

        out.append('\x2c');
        appendWord(out, 0);
        appendWord(out, 0);
        appendWord(out, size.width());
        appendWord(out, size.height());
        out.append('\0');  // no local colour table, not interlaced
        out.append(static_cast<char>(bits));
        appendSubBlocks(out, compress(indices, bits));
    }
    out.append('\x3b');
    return out;
}
