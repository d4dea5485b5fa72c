// The window frames: sprite buttons, the main window with its title bar and closing, the dialog frame
// with its title bar, the message box and the file chooser. Runs on Qt's offscreen platform, whose one
// screen is smaller than the main window's minimum size; geometry rules are checked as pure functions.
#include <QtTest>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <functional>

#include "Dialog_Base.h"
#include "Dialog_TitleBar.h"
#include "KVFileDialog.h"
#include "KVWindBase.h"
#include "LanguageTable.h"
#include "SSToolButton.h"
#include "SpriteStyle.h"
#include "TitleBar.h"
#include "kvMessagebox.h"

namespace {

QString prefixedText(const char* prefix, int number) {
    return QStringLiteral("%1 %2").arg(prefix).arg(number);
}

// A language file whose entry N reads "<prefix> N".
bool writeLanguageFile(const QString& path, const char* prefix) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream out(&file);
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<texts>\n";
    for (int i = 0; i < 168; ++i)
        out << "  <string>" << prefixedText(prefix, i) << "</string>\n";
    out << "</texts>\n";
    return true;
}

// Acts on the modal dialog that the code under test runs, as soon as it is up; the test then calls the
// blocking code, and `act` ends its event loop.
void onModalDialog(std::function<void(QDialog*)> act) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(10);
    // A dialog that never opens must not leave the poll running into a later test's dialog.
    const QDeadlineTimer deadline(20000);
    QObject::connect(poll, &QTimer::timeout, [poll, act, deadline] {
        if (deadline.hasExpired()) {
            poll->stop();
            poll->deleteLater();
            return;
        }
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!modal)
            return;
        poll->stop();
        poll->deleteLater();
        act(modal);
    });
    poll->start();
}

QPushButton* buttonWithText(QWidget* parent, const QString& text) {
    for (QPushButton* button : parent->findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

// Drags with the left button from `from` to `to`, both in `bar` coordinates.
void drag(QWidget* bar, QPoint from, QPoint to) {
    QTest::mousePress(bar, Qt::LeftButton, {}, from);
    // QTest moves the mouse by moving the cursor, which reaches no widget on the offscreen platform.
    QMouseEvent move(QEvent::MouseMove, to, bar->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, to);
}

// QFileDialog leaves a focused name field alone, as it would while the user types in it.
void select(QFileDialog* chooser, const QString& file) {
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();
    chooser->selectFile(file);
}

QRect availableRect() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// The offscreen screen is smaller than the main window's minimum size, which would otherwise keep the
// window from taking the available rectangle.
void allowAnySize(KVWindBase& window) {
    window.setMinimumSize(0, 0);
}

class CloseCounter : public QObject {
public:
    int closes = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close)
            ++closes;
        return QObject::eventFilter(watched, event);
    }
};

QPixmap filled(int width, int height, Qt::GlobalColor color) {
    QPixmap pixmap(width, height);
    pixmap.fill(color);
    return pixmap;
}

}  // namespace

class FramesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void sliceCuts_data();
    void sliceCuts();
    void spriteStyleSheet_data();
    void spriteStyleSheet();
    void buttonSlicesItsPicture_data();
    void buttonSlicesItsPicture();
    void hoverSignals_data();
    void hoverSignals();

    void initialGeometry_data();
    void initialGeometry();
    void mainWindowStartsMaximized();
    void maximizeAndRestore();
    void titleBarButtonsMaximizeAndRestore();
    void dragMovesMainWindowOnlyWhenNotMaximized_data();
    void dragMovesMainWindowOnlyWhenNotMaximized();
    void titleBarPaintsBackgrounds();
    void titleBarLanguageChange();
    void aboutMenu();
    void closeConfirmation_data();
    void closeConfirmation();

    void dialogFitsContent_data();
    void dialogFitsContent();
    void dialogMovesInAnyState();
    void dialogSizeChange_data();
    void dialogSizeChange();
    void sizeMenuChosenTwiceChangesOnce();
    void dialogMaximizeAndRestore();
    void titleStyles_data();
    void titleStyles();
    void countedDialogs();
    void closingBlocked_data();
    void closingBlocked();
    void messageboxResults_data();
    void messageboxResults();
    void doneWithValue();
    void fileDialogSelection();

private:
    QTemporaryDir dir_;
};

void FramesTest::initTestCase() {
    QVERIFY(dir_.isValid());
    // The about page makes the user's folders and the file chooser keeps its history: both go here.
    qputenv("HOME", dir_.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", dir_.filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", dir_.filePath("data").toUtf8());
    QVERIFY(writeLanguageFile(dir_.filePath("text.xml"), "text"));
    QVERIFY(writeLanguageFile(dir_.filePath("new.xml"), "new"));
    QVERIFY(LanguageTable::load(dir_.filePath("text.xml")));
}

void FramesTest::cleanup() {
    LanguageTable::load(dir_.filePath("text.xml"));
}

void FramesTest::sliceCuts_data() {
    QTest::addColumn<QSize>("sprite");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("sliceSize");
    QTest::addColumn<QStringList>("cuts");

    QTest::newRow("1: from the top") << QSize(16, 64) << 1 << 16
                                     << QStringList{"0 0 48 0", "16 0 32 0", "32 0 16 0", "48 0 0 0"};
    QTest::newRow("2: from the bottom") << QSize(16, 64) << 2 << 16
                                        << QStringList{"48 0 0 0", "32 0 16 0", "16 0 32 0", "0 0 48 0"};
    QTest::newRow("3: from the left") << QSize(64, 16) << 3 << 16
                                      << QStringList{"0 48 0 0", "0 32 0 16", "0 16 0 32", "0 0 0 48"};
    QTest::newRow("4: from the right") << QSize(64, 16) << 4 << 16
                                       << QStringList{"0 0 0 48", "0 16 0 32", "0 32 0 16", "0 48 0 0"};
    QTest::newRow("playback 192x48") << QSize(192, 48) << 3 << 48
                                     << QStringList{"0 144 0 0", "0 96 0 48", "0 48 0 96", "0 0 0 144"};
    QTest::newRow("rest dropped") << QSize(70, 16) << 3 << 16
                                  << QStringList{"0 54 0 0", "0 38 0 16", "0 22 0 32", "0 6 0 48"};
    QTest::newRow("vertical counts the height") << QSize(64, 16) << 1 << 16 << QStringList{"0 0 0 0"};
    QTest::newRow("direction 0: whole picture") << QSize(64, 16) << 0 << 16 << QStringList{"0 0 0 0"};
    QTest::newRow("direction 5: whole picture") << QSize(64, 16) << 5 << 16 << QStringList{"0 0 0 0"};
    QTest::newRow("missing picture") << QSize() << 3 << 16 << QStringList{};
    QTest::newRow("no slice size") << QSize(64, 16) << 3 << 0 << QStringList{};
}

void FramesTest::sliceCuts() {
    QFETCH(QSize, sprite);
    QFETCH(int, direction);
    QFETCH(int, sliceSize);
    QFETCH(QStringList, cuts);
    QCOMPARE(SpriteStyle::sliceCuts(sprite, direction, sliceSize), cuts);
    QCOMPARE(SpriteStyle::sliceCount(sprite, direction, sliceSize), cuts.size());
}

void FramesTest::spriteStyleSheet_data() {
    QTest::addColumn<int>("styleKind");
    QTest::addColumn<int>("firstSlice");
    QTest::addColumn<QString>("styleSheet");

    // A 64 x 16 sprite "s.svg" cut from the left in 16-pixel slices.
    QTest::newRow("0 normal") << 0 << 0 << "QToolButton{border-image:url(s.svg) 0 48 0 0;}";
    QTest::newRow("1 hover") << 1 << 0 << "QToolButton:hover{border-image:url(s.svg) 0 48 0 0;}";
    QTest::newRow("2 pressed") << 2 << 0
                               << "QToolButton:pressed{border-image:url(s.svg) 0 48 0 0; padding: 1px; margin: 1px;}";
    QTest::newRow("3 normal hover") << 3 << 0
                                    << "QToolButton{border-image:url(s.svg) 0 48 0 0;}"
                                       "QToolButton:hover{border-image:url(s.svg) 0 32 0 16;}";
    QTest::newRow("4 normal hover pressed")
        << 4 << 0
        << "QToolButton{border-image:url(s.svg) 0 48 0 0;}"
           "QToolButton:hover{border-image:url(s.svg) 0 32 0 16;}"
           "QToolButton:pressed{border-image:url(s.svg) 0 16 0 32; padding: 1px; margin: 1px;}";
    QTest::newRow("5 normal hover disabled") << 5 << 0
                                             << "QToolButton{border-image:url(s.svg) 0 48 0 0;}"
                                                "QToolButton:hover{border-image:url(s.svg) 0 32 0 16;}"
                                                "QToolButton:disabled{border-image:url(s.svg) 0 16 0 32;}";
    QTest::newRow("6 normal hover pressed disabled")
        << 6 << 0
        << "QToolButton{border-image:url(s.svg) 0 48 0 0;}"
           "QToolButton:hover{border-image:url(s.svg) 0 32 0 16;}"
           "QToolButton:pressed{border-image:url(s.svg) 0 16 0 32; padding: 1px; margin: 1px;}"
           "QToolButton:disabled{border-image:url(s.svg) 0 0 0 48;}";
    QTest::newRow("7 checkable") << 7 << 0
                                 << "QToolButton{border-image:url(s.svg) 0 48 0 0;}"
                                    "QToolButton:unchecked{border-image:url(s.svg) 0 48 0 0;}"
                                    "QToolButton:hover{border-image:url(s.svg) 0 32 0 16;}"
                                    "QToolButton:pressed{border-image:url(s.svg) 0 16 0 32; padding: 1px; margin: 1px;}"
                                    "QToolButton:checked{border-image:url(s.svg) 0 16 0 32;}"
                                    "QToolButton:disabled{border-image:url(s.svg) 0 0 0 48;}";
    QTest::newRow("8 normal disabled") << 8 << 0
                                       << "QToolButton{border-image:url(s.svg) 0 48 0 0;}"
                                          "QToolButton:disabled{border-image:url(s.svg) 0 32 0 16;}";
    QTest::newRow("first slice 2") << 0 << 2 << "QToolButton{border-image:url(s.svg) 0 16 0 32;}";
    QTest::newRow("first slice 1") << 3 << 1
                                   << "QToolButton{border-image:url(s.svg) 0 32 0 16;}"
                                      "QToolButton:hover{border-image:url(s.svg) 0 16 0 32;}";
    QTest::newRow("slice beyond the picture") << 6 << 1
                                              << "QToolButton{border-image:url(s.svg) 0 32 0 16;}"
                                                 "QToolButton:hover{border-image:url(s.svg) 0 16 0 32;}"
                                                 "QToolButton:pressed{border-image:url(s.svg) 0 0 0 48; "
                                                 "padding: 1px; margin: 1px;}"
                                                 "QToolButton:disabled{border-image:url(s.svg) ;}";
    QTest::newRow("unknown kind") << 9 << 0 << "";
}

void FramesTest::spriteStyleSheet() {
    QFETCH(int, styleKind);
    QFETCH(int, firstSlice);
    QFETCH(QString, styleSheet);
    QCOMPARE(SpriteStyle::styleSheet("s.svg", QSize(64, 16), 3, 16, styleKind, firstSlice), styleSheet);
}

void FramesTest::buttonSlicesItsPicture_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QSize>("sprite");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("sliceSize");
    QTest::addColumn<int>("slices");
    QTest::addColumn<QString>("lastCut");

    QTest::newRow("title bar png") << "png" << QSize(64, 16) << 3 << 16 << 4 << "0 0 0 48";
    QTest::newRow("title bar svg") << "svg" << QSize(64, 16) << 3 << 16 << 4 << "0 0 0 48";
    QTest::newRow("timeline") << "png" << QSize(80, 20) << 3 << 20 << 4 << "0 0 0 60";
    QTest::newRow("stacked") << "png" << QSize(16, 48) << 1 << 16 << 3 << "32 0 0 0";
}

void FramesTest::buttonSlicesItsPicture() {
    QFETCH(QString, format);
    QFETCH(QSize, sprite);
    QFETCH(int, direction);
    QFETCH(int, sliceSize);
    QFETCH(int, slices);
    QFETCH(QString, lastCut);

    const QString path = dir_.filePath(QStringLiteral("sprite.%1").arg(format));
    if (format == "svg") {
        QFile svg(path);
        QVERIFY(svg.open(QIODevice::WriteOnly));
        svg.write(QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\">"
                                 "<rect width=\"%1\" height=\"%2\" fill=\"red\"/></svg>")
                      .arg(sprite.width())
                      .arg(sprite.height())
                      .toUtf8());
    } else {
        QImage image(sprite, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(path));
    }

    SSToolButton button;
    button.setupSprite(path, direction, sliceSize, 0, slices - 1);
    QCOMPARE(button.styleSheet(), QStringLiteral("QToolButton{border-image:url(%1) %2;}").arg(path, lastCut));
    button.setupSprite(path, direction, sliceSize, 0, slices);
    QCOMPARE(button.styleSheet(), QStringLiteral("QToolButton{border-image:url(%1) ;}").arg(path));
}

void FramesTest::hoverSignals_data() {
    QTest::addColumn<bool>("notify");
    QTest::newRow("notifying") << true;
    QTest::newRow("quiet") << false;
}

void FramesTest::hoverSignals() {
    QFETCH(bool, notify);
    SSToolButton button(nullptr, notify);
    QSignalSpy entered(&button, &SSToolButton::MouseEnter);
    QSignalSpy left(&button, &SSToolButton::MouseLeave);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(&button, &enter);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    QCOMPARE(entered.count(), notify ? 1 : 0);
    QCOMPARE(left.count(), notify ? 1 : 0);
}

void FramesTest::initialGeometry_data() {
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("1366x728") << QRect(0, 0, 1366, 728) << QRect(171, 0, 1024, 728);
    QTest::newRow("1024x728") << QRect(0, 0, 1024, 728) << QRect(50, 0, 924, 728);
    QTest::newRow("1920x1040") << QRect(0, 0, 1920, 1040) << QRect(320, 70, 1280, 900);
    QTest::newRow("area 745473 (1301x573)") << QRect(0, 0, 1301, 573) << QRect(138, 77, 1024, 728);
    QTest::newRow("area 1152000 (1280x900)") << QRect(0, 0, 1280, 900) << QRect(128, 86, 1024, 728);
    QTest::newRow("area 1152900 (1281x900)") << QRect(0, 0, 1281, 900) << QRect(0, 0, 1280, 900);
    QTest::newRow("offset desktop") << QRect(1920, 24, 1366, 728) << QRect(2091, 24, 1024, 728);
    QTest::newRow("desktop smaller than window") << QRect(0, 0, 800, 600) << QRect(62, 64, 924, 728);
}

void FramesTest::initialGeometry() {
    QFETCH(QRect, available);
    QFETCH(QRect, geometry);
    QCOMPARE(KVWindBase::initialGeometry(available), geometry);
}

void FramesTest::mainWindowStartsMaximized() {
    KVWindBase window;
    auto* bar = window.findChild<TitleBar*>();
    QVERIFY(bar->findChild<QToolButton*>("RestoreButton")->isVisibleTo(bar));
    QVERIFY(!bar->findChild<QToolButton*>("MaxButton")->isVisibleTo(bar));

    const QRect normal = KVWindBase::initialGeometry(availableRect());
    QCOMPARE(window.minimumSize(), normal.size());
    window.showMinResponse();
    QCOMPARE(window.geometry(), normal);
}

void FramesTest::maximizeAndRestore() {
    KVWindBase window;
    allowAnySize(window);
    window.showMinResponse();
    const QRect normal(100, 80, 500, 400);
    window.setGeometry(normal);

    window.showMinResponse();
    QCOMPARE(window.geometry(), normal);  // not maximized: nothing to restore

    window.showMaxResponse();
    QCOMPARE(window.geometry(), availableRect());
    window.showMaxResponse();
    window.showMinResponse();
    QCOMPARE(window.geometry(), normal);
}

void FramesTest::titleBarButtonsMaximizeAndRestore() {
    KVWindBase window;
    allowAnySize(window);
    window.show();
    auto* bar = window.findChild<TitleBar*>();
    auto* maximize = bar->findChild<QToolButton*>("MaxButton");
    auto* restore = bar->findChild<QToolButton*>("RestoreButton");
    const QRect normal = KVWindBase::initialGeometry(availableRect());

    QTest::mouseClick(restore, Qt::LeftButton);
    QCOMPARE(window.geometry(), normal);
    QVERIFY(maximize->isVisible());
    QVERIFY(!restore->isVisible());

    QTest::mouseClick(maximize, Qt::LeftButton);
    QCOMPARE(window.geometry(), availableRect());
    QVERIFY(restore->isVisible());

    QTest::mouseDClick(bar, Qt::LeftButton, {}, QPoint(200, 10));
    QCOMPARE(window.geometry(), normal);
    QTest::mouseDClick(bar, Qt::LeftButton, {}, QPoint(200, 10));
    QCOMPARE(window.geometry(), availableRect());
}

void FramesTest::dragMovesMainWindowOnlyWhenNotMaximized_data() {
    QTest::addColumn<bool>("maximized");
    QTest::newRow("normal") << false;
    QTest::newRow("maximized") << true;
}

void FramesTest::dragMovesMainWindowOnlyWhenNotMaximized() {
    QFETCH(bool, maximized);
    KVWindBase window;
    allowAnySize(window);
    if (!maximized)
        window.showMinResponse();
    window.show();
    const QPoint before = window.pos();
    auto* bar = window.findChild<TitleBar*>();
    QSignalSpy pressed(bar, &TitleBar::pressWindowRequest);

    drag(bar, QPoint(300, 10), QPoint(330, 25));

    QCOMPARE(pressed.count(), 1);
    QCOMPARE(window.pos(), maximized ? before : before + QPoint(30, 15));

    // After the release, moving the mouse moves nothing.
    const QPoint released = window.pos();
    QMouseEvent move(QEvent::MouseMove, QPoint(400, 20), bar->mapToGlobal(QPoint(400, 20)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    QCOMPARE(window.pos(), released);
}

void FramesTest::titleBarPaintsBackgrounds() {
    TitleBar bar;
    bar.resize(400, 32);
    bar.setBackgrounds(filled(20, 32, Qt::red), filled(10, 32, Qt::green), filled(30, 32, Qt::blue));
    const QImage image = bar.grab().toImage();
    // Along the bottom row, below the title and the buttons.
    const int y = 31;
    QCOMPARE(image.pixelColor(0, y), QColor(Qt::red));
    QCOMPARE(image.pixelColor(19, y), QColor(Qt::red));
    QCOMPARE(image.pixelColor(20, y), QColor(Qt::green));
    QCOMPARE(image.pixelColor(369, y), QColor(Qt::green));
    QCOMPARE(image.pixelColor(370, y), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(399, y), QColor(Qt::blue));
}

void FramesTest::titleBarLanguageChange() {
    const std::pair<const char*, int> tips[] = {
        {"MinButton", 37}, {"MaxButton", 38}, {"CloseButton", 39}, {"RestoreButton", 40}, {"AboutButton", 79}};
    TitleBar bar;
    const QList<QAction*> actions = bar.findChild<QMenu*>()->actions();
    QCOMPARE(actions.size(), 2);
    const auto checkTexts = [&](const char* prefix) {
        for (const auto& [button, number] : tips)
            QCOMPARE(bar.findChild<QToolButton*>(button)->toolTip(), prefixedText(prefix, number));
        QCOMPARE(actions[0]->text(), prefixedText(prefix, 80));
        QCOMPARE(actions[1]->text(), prefixedText(prefix, 41));
    };
    checkTexts("text");

    QSignalSpy changed(&bar, &TitleBar::languageChangedTitle);
    QVERIFY(LanguageTable::load(dir_.filePath("new.xml")));
    bar.retranslate();
    checkTexts("new");
    QCOMPARE(changed.count(), 1);
}

void FramesTest::aboutMenu() {
    TitleBar bar;
    bar.resize(600, 32);
    bar.show();
    auto* about = bar.findChild<QToolButton*>("AboutButton");
    auto* menu = bar.findChild<QMenu*>();
    QTest::mouseClick(about, Qt::LeftButton);
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->pos(), about->mapToGlobal(about->rect().bottomLeft()));
    menu->hide();

    // Settings waits for its page; about shows the program's name and version in a dialog.
    QVERIFY(!menu->actions()[0]->isEnabled());
    QString shownName;
    QString shownTitle;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<Dialog_Base*>(QApplication::activeModalWidget())) {
            shownTitle = dialog->windowTitle();
            shownName = dialog->findChild<QLabel*>("m_LabName")->text();
            dialog->closeDialog();
        }
    });
    menu->actions()[1]->trigger();
    QCOMPARE(shownTitle, LanguageTable::text(41));
    QCOMPARE(shownName, ":  " + QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}

void FramesTest::closeConfirmation_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("closes");
    QTest::newRow("cancelled") << 109 << false;
    QTest::newRow("confirmed") << 145 << true;
}

void FramesTest::closeConfirmation() {
    QFETCH(int, button);
    QFETCH(bool, closes);
    KVWindBase window;
    window.show();
    CloseCounter counter;
    window.installEventFilter(&counter);
    const int countedBefore = Dialog_Base::openCountedDialogs();

    QString title;
    QString question;
    int countedWhileOpen = 0;
    onModalDialog([&](QDialog* dialog) {
        title = dialog->windowTitle();
        question = dialog->findChild<QLabel*>("m_pLabstr")->text();
        countedWhileOpen = Dialog_Base::openCountedDialogs();
        buttonWithText(dialog, prefixedText("text", button))->click();
    });
    QTest::mouseClick(window.findChild<QToolButton*>("CloseButton"), Qt::LeftButton);

    QCOMPARE(title, prefixedText("text", 147));
    QCOMPARE(question, prefixedText("text", 146));
    QCOMPARE(countedWhileOpen, countedBefore + 1);
    QCOMPARE(Dialog_Base::openCountedDialogs(), countedBefore);
    QCOMPARE(window.isVisible(), !closes);
    // The window closes on the timer's next tick once the view reports its work ended, never at once.
    QCOMPARE(counter.closes, 0);
    if (closes)
        QTRY_COMPARE_WITH_TIMEOUT(counter.closes, 1, 3000);
    else
        QTest::qWait(1200);
    QCOMPARE(counter.closes, closes ? 1 : 0);
}

void FramesTest::dialogFitsContent_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<QSize>("size");
    QTest::newRow("plain widget") << "widget" << QSize(300, 229);
    QTest::newRow("message box") << "message" << QSize(224, 141);
    QTest::newRow("file dialog") << "file" << QSize(590, 394);
}

void FramesTest::dialogFitsContent() {
    QFETCH(QString, content);
    QFETCH(QSize, size);
    QWidget* widget = nullptr;
    if (content == "widget") {
        widget = new QWidget;
        widget->resize(300, 200);
    } else if (content == "message") {
        widget = new kvMessagebox;
    } else {
        auto* chooser = new QFileDialog;
        chooser->setOption(QFileDialog::DontUseNativeDialog);
        widget = chooser;
    }
    Dialog_Base dialog(widget, "title");
    QCOMPARE(dialog.minimumSize(), size);
    QCOMPARE(dialog.maximumSize(), size);
    QCOMPARE(dialog.windowTitle(), QString("title"));
}

void FramesTest::dialogMovesInAnyState() {
    auto* content = new QWidget;
    content->resize(352, 288);
    Dialog_Base dialog(content, "title");
    dialog.move(40, 30);
    dialog.show();
    auto* bar = dialog.findChild<Dialog_TitleBar*>();

    drag(bar, QPoint(250, 10), QPoint(270, 15));
    QCOMPARE(dialog.pos(), QPoint(60, 35));

    dialog.maxOrRestoredRespone(true);
    const QPoint maximized = dialog.pos();
    drag(bar, QPoint(250, 10), QPoint(240, 30));
    QCOMPARE(dialog.pos(), maximized + QPoint(-10, 20));
}

void FramesTest::dialogSizeChange_data() {
    QTest::addColumn<QSize>("content");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("to 4CIF") << QSize(352, 288) << 1 << QSize(704, 576);
    QTest::newRow("to 1CIF") << QSize(704, 576) << 0 << QSize(352, 288);
    QTest::newRow("width already 4CIF") << QSize(704, 500) << 1 << QSize(704, 500);
    QTest::newRow("width already 1CIF") << QSize(352, 100) << 0 << QSize(352, 100);
    QTest::newRow("unknown mode") << QSize(352, 288) << 2 << QSize(352, 288);
}

void FramesTest::dialogSizeChange() {
    QFETCH(QSize, content);
    QFETCH(int, mode);
    QFETCH(QSize, expected);
    auto* widget = new QWidget;
    widget->resize(content);
    Dialog_Base dialog(widget, "title");
    dialog.OnChangeDialogSize(mode);
    QCOMPARE(widget->size(), expected);
    QCOMPARE(dialog.maximumSize(), QSize(expected.width(), expected.height() + Dialog_TitleBar::kHeight));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
}

void FramesTest::sizeMenuChosenTwiceChangesOnce() {
    auto* content = new QWidget;
    content->resize(352, 288);
    Dialog_Base dialog(content, "title");
    auto* bar = dialog.findChild<Dialog_TitleBar*>();
    auto* menu = bar->findChild<QMenu*>();
    QAction* cif = menu->actions()[0];
    QAction* fourCif = menu->actions()[1];
    QCOMPARE(cif->text(), QString("1CIF"));
    QCOMPARE(fourCif->text(), QString("4CIF"));
    QSignalSpy sizeChanges(bar, &Dialog_TitleBar::onChangedDialogSize);
    const auto choose = [&](QAction* action) {
        bar->onCIFBtnClicked();
        QVERIFY(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        menu->hide();
    };

    choose(fourCif);
    choose(fourCif);
    QCOMPARE(sizeChanges.count(), 1);
    QCOMPARE(sizeChanges[0][0].toInt(), 1);
    QCOMPARE(dialog.maximumSize(), QSize(704, 605));
    QVERIFY(fourCif->isChecked() && !fourCif->isEnabled());
    QVERIFY(!cif->isChecked() && cif->isEnabled());

    choose(cif);
    QCOMPARE(sizeChanges.count(), 2);
    QCOMPARE(dialog.maximumSize(), QSize(352, 317));
    QVERIFY(cif->isChecked() && !cif->isEnabled());
    QVERIFY(!fourCif->isChecked() && fourCif->isEnabled());
}

void FramesTest::dialogMaximizeAndRestore() {
    auto* content = new QWidget;
    content->resize(352, 288);
    Dialog_Base dialog(content, "title");
    dialog.move(30, 20);
    auto* bar = dialog.findChild<Dialog_TitleBar*>();
    QSignalSpy requests(bar, &Dialog_TitleBar::maxOrRestoredRequest);
    QList<QAction*> sizes = bar->findChild<QMenu*>()->actions();
    sizes[1]->trigger();
    const QRect normal = dialog.geometry();
    const QRect available = availableRect();

    bar->onBtnMaxMinClicked();
    QCOMPARE(dialog.geometry(), available);
    QCOMPARE(content->size(), QSize(available.width(), available.height() - Dialog_TitleBar::kHeight));
    for (QAction* size : sizes)
        QVERIFY(!size->isChecked() && size->isEnabled());

    bar->onBtnMaxMinClicked();
    QCOMPARE(dialog.geometry(), normal);
    QCOMPARE(content->size(), QSize(704, 576));
    QVERIFY(sizes[1]->isChecked() && !sizes[1]->isEnabled());
    QVERIFY(!sizes[0]->isChecked() && sizes[0]->isEnabled());

    QCOMPARE(requests.count(), 2);
    QCOMPARE(requests[0][0].toBool(), true);
    QCOMPARE(requests[1][0].toBool(), false);
}

void FramesTest::titleStyles_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("styleSheet");
    QTest::newRow("0 info") << 0 << "background: rgb(15,76,178);color: white;";
    QTest::newRow("1 alarm") << 1 << "background: rgb(228, 51, 51);font-size:20px;color: white;";
    QTest::newRow("2 plain") << 2 << "background: rgb(15,76,178);color: white;";
    QTest::newRow("3 plain alarm") << 3 << "background: rgb(228, 51, 51);color: white;";
    QTest::newRow("unknown") << 4 << "";
}

void FramesTest::titleStyles() {
    QFETCH(int, style);
    QFETCH(QString, styleSheet);
    auto* content = new QWidget;
    content->resize(300, 200);
    Dialog_Base dialog(content, "title", nullptr, false, style);
    auto* bar = dialog.findChild<Dialog_TitleBar*>();
    QCOMPARE(bar->objectName(), QString("dialog_titlebar"));
    QCOMPARE(bar->styleSheet(), styleSheet);
    QCOMPARE(bar->height(), 29);
}

void FramesTest::countedDialogs() {
    const int before = Dialog_Base::openCountedDialogs();
    auto* counted = new Dialog_Base(new QWidget, "counted", nullptr, true);
    QCOMPARE(Dialog_Base::openCountedDialogs(), before + 1);
    {
        Dialog_Base uncounted(new QWidget, "uncounted", nullptr, false);
        QCOMPARE(Dialog_Base::openCountedDialogs(), before + 1);
    }
    QCOMPARE(Dialog_Base::openCountedDialogs(), before + 1);
    delete counted;
    QCOMPARE(Dialog_Base::openCountedDialogs(), before);
}

void FramesTest::closingBlocked_data() {
    QTest::addColumn<bool>("blocked");
    QTest::addColumn<bool>("escape");
    QTest::newRow("escape") << false << true;
    QTest::newRow("window close") << false << false;
    QTest::newRow("blocked escape") << true << true;
    QTest::newRow("blocked window close") << true << false;
}

void FramesTest::closingBlocked() {
    QFETCH(bool, blocked);
    QFETCH(bool, escape);
    Dialog_Base dialog(new QWidget, "title");
    dialog.setCloseDisabled(blocked);
    QCOMPARE(dialog.findChild<QToolButton*>("toolbutton")->isEnabled(), !blocked);
    dialog.show();
    if (escape)
        QTest::keyClick(&dialog, Qt::Key_Escape);
    else
        dialog.close();
    QCOMPARE(dialog.isVisible(), blocked);
    if (!blocked)
        QCOMPARE(dialog.result(), -1);
}

void FramesTest::messageboxResults_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<int>("result");
    QTest::newRow("OK") << "ok" << 0;
    QTest::newRow("Cancel") << "cancel" << -1;
    // Escape must never read as the confirmation 0 that QDialog's own reject would give.
    QTest::newRow("Escape") << "escape" << -1;
    QTest::newRow("title bar close") << "close" << -1;
    // Ended with no answer at all (hidden): still not a confirmation.
    QTest::newRow("hidden") << "hide" << -1;
}

void FramesTest::messageboxResults() {
    QFETCH(QString, way);
    QFETCH(int, result);
    auto* box = new kvMessagebox;
    box->setText("Sure?");
    Dialog_Base dialog(box, "question");
    QSignalSpy closeRequests(&dialog, &Dialog_Base::sendCloseReq);
    onModalDialog([way](QDialog* modal) {
        if (way == "ok")
            buttonWithText(modal, prefixedText("text", 145))->click();
        else if (way == "cancel")
            buttonWithText(modal, prefixedText("text", 109))->click();
        else if (way == "escape")
            QTest::keyClick(modal, Qt::Key_Escape);
        else if (way == "hide")
            modal->hide();
        else
            modal->findChild<QToolButton*>("toolbutton")->click();
    });
    QCOMPARE(dialog.exec(), result);
    QCOMPARE(closeRequests.count(), way == "hide" ? 0 : 1);
    QCOMPARE(dialog.resultObject(), nullptr);
}

void FramesTest::doneWithValue() {
    auto* content = new Widget_DialogBase;
    content->resize(200, 100);
    Dialog_Base dialog(content, "value");
    QObject value;
    onModalDialog([&](QDialog*) { emit content->doneRequest(Widget_DialogBase::ConfirmedWithValue, &value); });
    QCOMPARE(dialog.exec(), 1);
    QCOMPARE(dialog.resultObject(), &value);
}

void FramesTest::fileDialogSelection() {
    QTemporaryDir folder;
    QFile(folder.filePath("a.txt")).open(QIODevice::WriteOnly);
    QFile(folder.filePath("b.log")).open(QIODevice::WriteOnly);
    const QString chosen = QFileInfo(folder.filePath("a.txt")).absoluteFilePath();

    KVFileDialog files;
    files.setFileMode(QFileDialog::ExistingFile);
    files.setDirectory(folder.path());
    files.setNameFilter("Text (*.txt)");
    onModalDialog([&](QDialog* frame) {
        auto* chooser = frame->findChild<QFileDialog*>();
        select(chooser, chosen);
        QMetaObject::invokeMethod(chooser, "accept");
    });
    QVERIFY(files.exec());
    QCOMPARE(files.selectedFiles(), QStringList{chosen});
    QCOMPARE(files.selectedFile(), chosen);
    QCOMPARE(files.selectedNameFilter(), QString("Text (*.txt)"));

    // Run again and cancel through the frame's close button: the last selection stays.
    onModalDialog([](QDialog* frame) {
        select(frame->findChild<QFileDialog*>(), "b.log");
        frame->findChild<QToolButton*>("toolbutton")->click();
    });
    QVERIFY(!files.exec());
    QCOMPARE(files.selectedFile(), chosen);
}

QTEST_MAIN(FramesTest)
#include "FramesTest.moc"
