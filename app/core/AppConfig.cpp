#include "AppConfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

struct Identity {
    QString company = QStringLiteral("corvane");
    QString programBaseName;
};

Identity& identity() {
    static Identity id;
    return id;
}

QString programBaseName() {
    const QString& name = identity().programBaseName;
    return name.isEmpty() ? QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() : name;
}

QString textSetting(const char* key, const QString& fallback) {
    return userSettings().value(key, fallback).toString();
}

}  // namespace

void setUserSettingsIdentity(const QString& company, const QString& programBaseName) {
    identity() = {company, programBaseName};
}

QSettings& userSettings() {
    static QSettings settings(QSettings::IniFormat, QSettings::UserScope, identity().company,
                              programBaseName() + "/" + programBaseName().toLower());
    return settings;
}

QString AppConfig::userFolder() {
    return QDir::homePath() + "/" + programBaseName();
}

AppConfig& AppConfig::instance() {
    static AppConfig config;
    return config;
}

AppConfig::AppConfig()
    : pictureFolderDefault(userFolder() + "/picture"),
      videoFolderDefault(userFolder() + "/video"),
      cutFolderDefault(userFolder() + "/cut"),
      downloadFolderDefault(userFolder() + "/download") {
    // Single-level creation on purpose: the home folder exists; a failure shows up when a file is written.
    QDir().mkdir(userFolder());
    for (const QString& folder : {pictureFolderDefault, videoFolderDefault, cutFolderDefault, downloadFolderDefault}) {
        QDir().mkdir(folder);
    }
}

QString AppConfig::pictureFolder() const {
    return textSetting("file/picture", pictureFolderDefault);
}
QString AppConfig::videoFolder() const {
    return textSetting("file/video", videoFolderDefault);
}
QString AppConfig::cutFolder() const {
    return textSetting("file/cut", cutFolderDefault);
}
QString AppConfig::downloadFolder() const {
    return textSetting("file/download", downloadFolderDefault);
}
int AppConfig::recordSizeLimitMB() const {
    const int index = value(maxSize);
    return index >= 0 && index <= 3 ? 1024 * (index + 1) : 1024;
}

int AppConfig::value(const SettingKey& key) const {
    return userSettings().value(key.key, key.defaultValue).toInt();
}

void AppConfig::sync() {
    userSettings().sync();
}
