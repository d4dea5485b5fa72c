// Showing a written file: the desktop's file manager is asked over the session bus to show the file
// selected, and without one the folder is opened. Runs on a private session bus with a stand-in file
// manager; opening URLs is caught with a URL handler instead of starting applications.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDesktopServices>
#include <QLabel>
#include <QRegularExpression>
#include <QtTest>

#include "FileReveal.h"
#include "Widget_Popup.h"

class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QStringList shown;

public slots:
    void ShowItems(const QStringList& uris, const QString&) { shown += uris; }
};

class OpenedUrls : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.append(url); }
};

class FileRevealTest : public QObject {
    Q_OBJECT

private:
    FakeFileManager fileManager_;
    OpenedUrls urls_;

    bool offerFileManager() {
        QDBusConnection bus = QDBusConnection::sessionBus();
        return bus.registerObject("/org/freedesktop/FileManager1", &fileManager_, QDBusConnection::ExportAllSlots) &&
               bus.registerService("org.freedesktop.FileManager1");
    }

private slots:
    void initTestCase() {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
        QDesktopServices::setUrlHandler("file", &urls_, "open");
    }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler("file"); }
    void init() {
        fileManager_.shown.clear();
        urls_.opened.clear();
    }
    void cleanup() {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject("/org/freedesktop/FileManager1");
        bus.unregisterService("org.freedesktop.FileManager1");
    }

    void fileManagerShowsTheFileSelected() {
        QVERIFY(offerFileManager());
        revealInFolder("/media/evidence/export 1/CH01_090000.mp4");
        QTRY_COMPARE_WITH_TIMEOUT(fileManager_.shown, QStringList{"file:///media/evidence/export%201/CH01_090000.mp4"},
                                  10000);
        QVERIFY(urls_.opened.isEmpty());
    }

    void withoutAFileManagerTheFolderOpens() {
        revealInFolder("/media/evidence/CH01_090000.mp4");
        QTRY_COMPARE_WITH_TIMEOUT(urls_.opened, QList<QUrl>{QUrl::fromLocalFile("/media/evidence")}, 10000);
        QVERIFY(fileManager_.shown.isEmpty());
    }

    void aPictureOpensInTheDefaultApplication() {
        openWithDefaultApplication("/media/evidence/snap 1.png");
        QCOMPARE(urls_.opened, QList<QUrl>{QUrl::fromLocalFile("/media/evidence/snap 1.png")});
    }

    // The pop-up shows a long path cut short, but its link hands the whole path to the file manager.
    void popupLinkRevealsTheWholePath() {
        QVERIFY(offerFileManager());
        const QString path = "/home/investigator/TarnPlayer/download/20261201/" + QString(80, 'x') + "/CH01.mp4";
        Widget_Popup popup;
        popup.setContent("Exported file:", PopupStyle::Success, path);
        auto* link = popup.findChild<QLabel*>("link");
        const QString href = QRegularExpression("href=\"([^\"]*)\"").match(link->text()).captured(1);
        QVERIFY(QMetaObject::invokeMethod(link, "linkActivated", Q_ARG(QString, href)));
        QTRY_COMPARE_WITH_TIMEOUT(fileManager_.shown,
                                  QStringList{QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)}, 10000);
    }
};

QTEST_MAIN(FileRevealTest)
#include "FileRevealTest.moc"
