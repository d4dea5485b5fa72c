// The shipped settings: default.ini in the program folder, read only, and how the per-user settings
// file is brought in line with it at start.
#pragma once

#include <QString>

struct ShippedSettings {
    QString companyName = QStringLiteral("corvane");
    unsigned languageCurrent = 1;
    QString version = QStringLiteral("1.0.0");
    QString buildTime = QStringLiteral("2000-01-01");
};

// The version a user settings file without one is taken to have.
inline const QString kUserVersionDefault = QStringLiteral("v1.0.0");

// A missing file or key gives the defaults above.
ShippedSettings readShippedSettings(const QString& defaultIniPath);

// Whether the shipped version `shipped` is newer than the stored `stored` ("v1.2.0" style): more parts,
// or a part that differs as text and is greater as a number.
bool isShippedVersionNewer(const QString& shipped, const QString& stored);

enum class UserFileResult { Kept, Replaced, Created, CannotCreate };

// An existing user file is replaced by a copy of default.ini when the shipped version is newer; a
// missing one is created as such a copy (empty when there is no default.ini).
UserFileResult reconcileUserSettingsFile(const QString& userFile, const QString& defaultIniPath,
                                         const QString& shippedVersion);
