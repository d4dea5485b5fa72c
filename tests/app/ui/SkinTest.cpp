// The skin compiled into the program: every picture the widgets ask for is there, loads at its size
// and shows its states, and the application style sheet parses and finds its pictures. The test links
// only tarn_ui, as the program does, so it also proves the resources register themselves.
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <QtTest>
#include <cstdlib>
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

QString styleSheet() {
    QFile file(Skin::path("Corvane_gray1", SkinKind::StyleSheet));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList parseWarnings;

void collectParseWarnings(QtMsgType, const QMessageLogContext&, const QString& message) {
    if (message.contains("parse", Qt::CaseInsensitive))
        parseWarnings.append(message);
}

// How many pixels of the widget are close to the skin's accent blue.
int accentPixels(QWidget& widget) {
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QColor accent("#0f4cb2");
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - accent.red()) + std::abs(c.green() - accent.green()) +
                    std::abs(c.blue() - accent.blue()) <
                24)
                ++count;
        }
    return count;
}

}  // namespace

class SkinTest : public QObject {
    Q_OBJECT

private slots:
    void pathRules_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("withExtension");
        QTest::addColumn<QString>("path");
        QTest::newRow("png") << "home/Header/TitleBar_bk" << int(SkinKind::Png) << true
                             << ":/png/res/darkgreen/png/home/Header/TitleBar_bk.png";
        QTest::newRow("png, no extension") << "app" << int(SkinKind::Png) << false << ":/png/res/darkgreen/png/app";
        QTest::newRow("svg") << "comm/info" << int(SkinKind::Svg) << true << ":/png/res/darkgreen/png/comm/info.svg";
        QTest::newRow("gif") << "gif/loading" << int(SkinKind::Gif) << true
                             << ":/png/res/darkgreen/png/gif/loading.gif";
        QTest::newRow("bmp") << "preview/Loading" << int(SkinKind::Bmp) << true
                             << ":/png/res/darkgreen/png/preview/Loading.bmp";
        QTest::newRow("icon") << "app" << int(SkinKind::Icon) << true << ":/icon/res/darkgreen/icon/app.icon";
        QTest::newRow("style sheet") << "Corvane_gray1" << int(SkinKind::StyleSheet) << true
                                     << ":/qss/res/darkgreen/Corvane_gray1.qss";
        QTest::newRow("style sheet, no extension")
            << "Corvane_gray1" << int(SkinKind::StyleSheet) << false << ":/qss/res/darkgreen/Corvane_gray1";
    }
    void pathRules() {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QFETCH(bool, withExtension);
        QFETCH(QString, path);
        QCOMPARE(Skin::path(name, SkinKind(kind), withExtension), path);
    }

    void pathByTypeTextAndTheme() {
        QCOMPARE(Skin::path("comm/success", true, "svg"), QString(":/png/res/darkgreen/png/comm/success.svg"));
        QCOMPARE(Skin::path("comm/success", true, "image/svg+xml"),
                 QString(":/png/res/darkgreen/png/comm/success.svg"));
        QCOMPARE(Skin::path("home/Header/TitleBar_bk", true, "png"),
                 QString(":/png/res/darkgreen/png/home/Header/TitleBar_bk.png"));
        QCOMPARE(Skin::path("app", false, ""), QString(":/png/res/darkgreen/png/app"));
        QCOMPARE(Skin::animationPath("gif/16"), QString(":/png/res/darkgreen/png/gif/16.gif"));
        Skin::setTheme("blue");
        const QString other = Skin::path("app", SkinKind::Png);
        Skin::setTheme("darkgreen");
        QCOMPARE(other, QString(":/png/res/blue/png/app.png"));
    }

    // A picture in the program's own "skin" folder is used before the compiled-in one.
    void iconFileLookup() {
        QCOMPARE(Skin::iconFile("app.png"), QString(":/png/res/darkgreen/png/app.png"));
        QVERIFY(QFile::exists(Skin::iconFile("app.png")));
        const QString localFolder = QCoreApplication::applicationDirPath() + "/skin";
        const bool madeFolder = QDir().mkdir(localFolder);
        const QString local = localFolder + "/skin_test_icon.png";
        QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(local));
        const QString found = Skin::iconFile("skin_test_icon.png");
        QFile::remove(local);
        if (madeFolder)
            QDir().rmdir(localFolder);
        QCOMPARE(found, local);
    }

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

    void styleSheetNamesTheProgramsWidgets_data() {
        QTest::addColumn<QString>("selector");
        for (const char* selector :
             {"KVWindBase", "Dialog_Base", "Dialog_TitleBar", "Widget_Popup", "Widget_Config", "Widget_Playback_Option",
              "CHCheckWidget", "QPushButton#tablebtn", "QPushButton#tablebtnHighlight", "QCheckBox#HeadercheckBox"})
            QTest::newRow(selector) << QString(selector);
    }

    void styleSheetNamesTheProgramsWidgets() {
        QFETCH(QString, selector);
        const QRegularExpression rule("(^|[\\s,}])" + QRegularExpression::escape(selector) + "[\\s,{:]");
        QVERIFY(styleSheet().contains(rule));
    }

    void everyPictureTheStyleSheetUsesLoads() {
        const QRegularExpression url("url\\(([^)]*)\\)");
        int found = 0;
        for (auto match = url.globalMatch(styleSheet()); match.hasNext();) {
            const QString path = match.next().captured(1);
            QVERIFY2(!QImage(path).isNull(), qPrintable(path));
            ++found;
        }
        QVERIFY(found > 0);
    }

    void styleSheetParses() {
        // Qt parses the application style sheet when it first polishes a widget, and only warns on failure.
        parseWarnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(collectParseWarnings);
        qApp->setStyleSheet(styleSheet());
        QWidget().ensurePolished();
        qInstallMessageHandler(previous);
        qApp->setStyleSheet({});
        QVERIFY2(parseWarnings.isEmpty(), qPrintable(parseWarnings.join('\n')));
    }

    void checkBoxesDrawTheSkinIndicators() {
        qApp->setStyleSheet(styleSheet());
        QCheckBox unchecked;
        QCheckBox checked;
        checked.setChecked(true);
        QCheckBox partial;
        partial.setTristate(true);
        partial.setCheckState(Qt::PartiallyChecked);
        const int plain = accentPixels(unchecked);
        const int ticked = accentPixels(checked);
        const int half = accentPixels(partial);
        qApp->setStyleSheet({});
        // The checked and partial pictures are filled with the accent blue; the unchecked one is white.
        QCOMPARE(plain, 0);
        QVERIFY(ticked > 60);
        QVERIFY(half > 60);
    }
};

QTEST_MAIN(SkinTest)

#include "SkinTest.moc"
