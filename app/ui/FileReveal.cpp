#include "FileReveal.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {

constexpr int kFileManagerTimeoutMs = 5000;

void openFolderOf(const QString& absoluteFilePath) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(absoluteFilePath).absolutePath()));
}

}  // namespace

void revealInFolder(const QString& filePath) {
    const QString absolute = QFileInfo(filePath).absoluteFilePath();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openFolderOf(absolute);
        return;
    }
    // Asynchronous: a file manager that is slow to start must not freeze the program.
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                                                       "org.freedesktop.FileManager1", "ShowItems");
    call << QStringList{QUrl::fromLocalFile(absolute).toString(QUrl::FullyEncoded)} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kFileManagerTimeoutMs));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [absolute](QDBusPendingCallWatcher* finished) {
        if (finished->isError()) {
            openFolderOf(absolute);
        }
        finished->deleteLater();
    });
}

void openWithDefaultApplication(const QString& filePath) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(filePath));
}
