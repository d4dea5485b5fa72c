#include "FileReveal.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {

bool showItemsOverDBus(const QString& filePath) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    QDBusInterface fileManager("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                               "org.freedesktop.FileManager1", bus);
    if (!fileManager.isValid()) {
        return false;
    }
    const QDBusReply<void> reply = fileManager.call(
        "ShowItems", QStringList{QUrl::fromLocalFile(QFileInfo(filePath).absoluteFilePath()).toString()}, QString());
    return reply.isValid();
}

}  // namespace

bool revealInFolder(const QString& filePath) {
    return showItemsOverDBus(filePath) ||
           QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(filePath).absolutePath()));
}

bool openWithDefaultApplication(const QString& filePath) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(filePath));
}
