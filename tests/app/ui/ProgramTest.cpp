// TarnPlayer as a user meets it, on a virtual X server: it starts through its real start-up with a
// window titled "TARN-VIDEO PLAYER" whose skin is complete, shows result pop-ups, asks before it
// closes and ends with exit code 0. Screenshots of each step are saved for people to look at.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <functional>
#include <vector>

#include "AppConfig.h"
#include "Dialog_Base.h"
#include "Dialog_TitleBar.h"
#include "KVWindBase.h"
#include "LanguageTable.h"
#include "Model_MsgHelper.h"
#include "StartUp.h"
#include "Widget_Popup.h"

namespace {

int failures = 0;

void check(bool condition, const char* what) {
    std::printf("%s: %s\n", condition ? "PASS" : "FAIL", what);
    failures += condition ? 0 : 1;
}

QString screenshotFolder() {
    const QString folder = qEnvironmentVariable("TARNPLAYER_SCREENSHOTS", QDir::currentPath());
    QDir().mkpath(folder);
    return folder;
}

QImage screenshot(const char* name) {
    const QImage image = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    image.save(screenshotFolder() + "/" + qEnvironmentVariable("PROGRAM_TEST_SCREENSHOT_PREFIX") + name + ".png");
    return image;
}

// Whether a region of the screen holds a drawn picture rather than one flat colour.
bool hasPicture(const QImage& screen, const QRect& area) {
    const QImage part = screen.copy(area);
    for (int y = 0; y < part.height(); ++y) {
        for (int x = 0; x < part.width(); ++x) {
            if (part.pixel(x, y) != part.pixel(0, 0)) {
                return true;
            }
        }
    }
    return false;
}

QRect onScreen(const QWidget& widget) {
    return {widget.mapToGlobal(QPoint(0, 0)), widget.size()};
}

// The exit question on screen, if any.
Dialog_Base* exitQuestion() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<Dialog_Base*>(widget); dialog && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

void clickButton(QWidget& dialog, const QString& text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    check(false, qPrintable("a button named " + text));
}

// Steps run one after another on the program's event loop, each after the previous one and a pause
// for the X server to show what it did.
class Steps {
public:
    void add(std::function<void()> step) { steps_.push_back(std::move(step)); }
    void start() { next(); }

private:
    void next() {
        if (index_ < steps_.size()) {
            // The next step is scheduled first: a step may open a modal dialog and not return until later.
            QTimer::singleShot(700, [this] {
                const std::size_t current = index_++;
                next();
                steps_[current]();
            });
        }
    }
    std::vector<std::function<void()>> steps_;
    std::size_t index_ = 0;
};

QString writeSnapshot(const QString& folder) {
    QImage frame(704, 576, QImage::Format_RGB32);
    frame.fill(QColor(40, 90, 160));
    for (int x = 100; x < 160; ++x) {
        for (int y = 0; y < frame.height(); ++y) {
            frame.setPixel(x, y, qRgb(240, 240, 240));
        }
    }
    const QString path = folder + "/picture/20261201/CH01_20261201090002.png";
    QDir().mkpath(QFileInfo(path).path());
    frame.save(path);
    return path;
}

}  // namespace

int main() {
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    // The language the user chose earlier: 1 English, 2048 Korean.
    const int language = qEnvironmentVariableIntValue("PROGRAM_TEST_LANGUAGE") == 2048 ? 2048 : 1;
    const QString exitQuestionText =
        language == 2048 ? QString::fromUtf8("프로그램을 종료하시겠습니까?") : QString("Do you want to exit?");
    {
        // The settings file is named after the running program, this test.
        const QString base = QFileInfo(QFileInfo("/proc/self/exe").symLinkTarget()).completeBaseName();
        const QString folder = home.path() + "/config/corvane/" + base;
        QDir().mkpath(folder);
        QSettings settings(folder + "/" + base.toLower() + ".ini", QSettings::IniFormat);
        settings.setValue("function-customize/version", "v1.0.0");
        settings.setValue("function-customize/LanguageCurrent", language);
    }

    Steps steps;
    KVWindBase* window = nullptr;
    bool closedAfterConfirmation = false;

    steps.add([&] {
        check(window->isVisible(), "the main window is shown");
        check(window->windowTitle() == "TARN-VIDEO PLAYER", "its title is TARN-VIDEO PLAYER");
        check(window->geometry() == QGuiApplication::primaryScreen()->availableGeometry(), "it starts maximised");
        check(LanguageTable::text(146) == exitQuestionText, "the chosen language's table is loaded");
        const QImage screen = screenshot("main_window");
        for (const char* name : {"AboutButton", "MinButton", "RestoreButton", "CloseButton"}) {
            auto* button = window->findChild<QToolButton*>(name);
            check(button && button->isVisible() && hasPicture(screen, onScreen(*button)),
                  qPrintable(QString("the title bar's %1 shows its picture").arg(name)));
        }
        const QColor bar = screen.pixelColor(window->width() / 2, 3);
        check(bar.blue() > bar.red() + 60, "the title bar is blue");
    });
    steps.add([&] { Model_MsgHelper::instance().showFileResult(writeSnapshot(home.path()), true, 1, 60000); });
    steps.add([&] {
        Widget_Popup* popup = Model_MsgHelper::instance().currentPopup();
        const QImage screen = screenshot("popup_success");
        check(popup && popup->isVisible(), "a success pop-up is shown");
        if (popup) {
            const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
            check(popup->geometry().bottomRight() == available.bottomRight() - QPoint(1, 0),
                  "it sits in the bottom-right corner");
            const auto* icon = popup->findChild<QLabel*>("resultIcon");
            const auto* picture = popup->findChild<QLabel*>("picture");
            check(icon && hasPicture(screen, onScreen(*icon)), "it shows the success picture");
            check(picture && hasPicture(screen, onScreen(*picture)), "it shows the snapshot");
        }
    });
    steps.add([&] { Model_MsgHelper::instance().showResult(LanguageTable::text(95), false, 60000); });
    steps.add([&] {
        Widget_Popup* popup = Model_MsgHelper::instance().currentPopup();
        const QImage screen = screenshot("popup_failure");
        check(popup && popup->isVisible(), "a failure pop-up is shown");
        if (popup) {
            const QColor bar = screen.pixelColor(onScreen(*popup).topLeft() + QPoint(popup->width() / 2, 1));
            check(bar.red() > 200 && bar.green() < 80, "its bar is red");
            popup->closeResponse();
        }
    });
    steps.add([&] {
        auto* menu = window->findChild<QMenu*>();
        check(menu && menu->actions().size() == 2, "the title bar has its menu");
        if (menu && menu->actions().size() == 2) {
            menu->actions()[1]->trigger();
        }
    });
    steps.add([&] {
        auto* about = qobject_cast<Dialog_Base*>(QApplication::activeModalWidget());
        check(about != nullptr, "the menu's about entry opens the about page");
        if (about) {
            const QImage screen = screenshot("about");
            const auto* version = about->findChild<QLabel*>("m_LabVersion");
            check(version && version->text().contains("v1.0.0"), "it shows the shipped version");
            check(hasPicture(screen, onScreen(*about->findChild<QLabel*>("m_LabIcon"))),
                  "it shows the program's picture");
            about->closeDialog();
        }
    });
    // A close from the window system asks first; cancelling keeps the program running.
    steps.add([&] { window->close(); });
    steps.add([&] {
        Dialog_Base* question = exitQuestion();
        check(question != nullptr, "closing from the window system asks first");
        const QImage screen = screenshot("exit_question");
        if (question) {
            auto* titleBar = question->findChild<Dialog_TitleBar*>();
            const QLabel* icon = titleBar ? titleBar->findChild<QLabel*>() : nullptr;
            check(icon && hasPicture(screen, onScreen(*icon)), "the question's title bar shows its picture");
            clickButton(*question, LanguageTable::text(109));
        }
    });
    steps.add([&] {
        check(window->isVisible() && !exitQuestion(), "cancelling keeps the window");
        if (auto* close = window->findChild<QToolButton*>("CloseButton")) {
            QTest::mouseClick(close, Qt::LeftButton);
        }
    });
    steps.add([&] {
        Dialog_Base* question = exitQuestion();
        check(question != nullptr, "the close button asks first");
        if (question) {
            closedAfterConfirmation = true;
            clickButton(*question, LanguageTable::text(145));
        }
    });

    char program[] = "TarnPlayer";
    char storeArgument[] = "/nonexistent/store";  // an argument: no scale restart
    char* arguments[] = {program, storeArgument, nullptr};
    const int exitCode = runTarnPlayer(2, arguments, [&](KVWindBase& shown) {
        window = &shown;
        // A step that waits for something that never comes must not hang the test run.
        auto* watchdog = new QTimer(&shown);
        QObject::connect(watchdog, &QTimer::timeout, [] {
            check(false, "the steps finish within 120 s");
            QCoreApplication::exit(3);
        });
        watchdog->start(120000);
        steps.start();
    });
    check(closedAfterConfirmation && exitCode == 0, "the program ends with exit code 0 after the confirmation");
    userSettings().sync();  // while the temporary home still exists
    std::printf("%d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
