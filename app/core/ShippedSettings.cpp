#include "ShippedSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <cstdio>

ShippedSettings readShippedSettings(const QString& defaultIniPath) {
    const ShippedSettings defaults;
    if (!QFileInfo(defaultIniPath).isFile()) {
        return defaults;
    }
    QSettings ini(defaultIniPath, QSettings::IniFormat);
    ShippedSettings read;
    read.companyName = ini.value("function-customize/company_name", defaults.companyName).toString();
    read.languageCurrent = ini.value("function-customize/LanguageCurrent", defaults.languageCurrent).toUInt();
    read.version = ini.value("function-customize/version", defaults.version).toString();
    read.buildTime = ini.value("function-customize/buildTime", defaults.buildTime).toString();
    return read;
}

bool isShippedVersionNewer(const QString& shipped, const QString& stored) {
    const QStringList a = shipped.mid(1).split('.');
    const QStringList b = stored.mid(1).split('.');
    if (a.size() > b.size()) {
        return true;
    }
    // A smaller part early on does not end the walk: any later greater part still counts as newer.
    for (int i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && a[i].toLongLong() > b[i].toLongLong()) {
            return true;
        }
    }
    return false;
}

namespace {

// Copies default.ini, or writes an empty file when there is none to copy.
bool copyShipped(const QString& defaultIniPath, const QString& userFile) {
    if (QFileInfo(defaultIniPath).isFile()) {
        return QFile::copy(defaultIniPath, userFile) &&
               QFile::setPermissions(userFile, QFile::permissions(userFile) | QFile::WriteOwner);
    }
    QFile empty(userFile);
    return empty.open(QIODevice::WriteOnly);
}

}  // namespace

UserFileResult reconcileUserSettingsFile(const QString& userFile, const QString& defaultIniPath,
                                         const QString& shippedVersion) {
    if (QFileInfo::exists(userFile)) {
        const QString stored = QSettings(userFile, QSettings::IniFormat)
                                   .value("function-customize/version", kUserVersionDefault)
                                   .toString();
        if (stored == shippedVersion || !isShippedVersionNewer(shippedVersion, stored)) {
            return UserFileResult::Kept;
        }
        // Copy beside the file first, so a failed copy never leaves the user without settings.
        const QString fresh = userFile + ".new";
        QFile::remove(fresh);
        if (!copyShipped(defaultIniPath, fresh)) {
            return UserFileResult::Kept;
        }
        // One rename replaces the file, so the user has the old settings or the new ones, never none.
        if (std::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(userFile).constData()) != 0) {
            QFile::remove(fresh);
            return UserFileResult::Kept;
        }
        return UserFileResult::Replaced;
    }
    if (!QDir().mkpath(QFileInfo(userFile).absolutePath()) || !copyShipped(defaultIniPath, userFile)) {
        return UserFileResult::CannotCreate;
    }
    return UserFileResult::Created;
}
