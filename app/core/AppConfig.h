// The program's configuration: the shipped version and build time, the per-user settings file and the
// folders where snapshots, clips, cuts and downloads go.
#pragma once

#include <QSettings>
#include <QString>

// A user setting read as a number, with the value used when the key is missing.
struct SettingKey {
    QString key;
    int defaultValue;
};

// The per-user settings file: user scope, organisation = company, application = B/b (B = the
// program's base name), so the file is <config>/<company>/B/b.ini.
QSettings& userSettings();
// Chooses the organisation and program name of the user settings file; call before the first use.
void setUserSettingsIdentity(const QString& company, const QString& programBaseName);

class AppConfig {
public:
    // Created on first use: makes the user's program folder and its four sub-folders.
    static AppConfig& instance();

    QString version;    // the shipped settings version
    QString buildTime;  // shown by the about page

    const QString pictureFolderDefault;
    const QString videoFolderDefault;
    const QString cutFolderDefault;
    const QString downloadFolderDefault;

    const SettingKey recordType{"file/RecordType", 1};
    const SettingKey maxSize{"file/MaxSize", 0};
    const SettingKey languageMask{"function-customize/LanguageMask", 1};
    const SettingKey languageCurrent{"function-customize/LanguageCurrent", 1};
    const SettingKey languageDefault{"function-customize/LanguageDefault", 1};

    QString pictureFolder() const;
    QString videoFolder() const;
    QString cutFolder() const;
    QString downloadFolder() const;
    // The size limit of a clip recording in MB, from the "file/MaxSize" index.
    int recordSizeLimitMB() const;
    // The stored value as a number: the default when missing, 0 when it is not a number.
    int value(const SettingKey& key) const;
    void sync();

    // The user's program folder: the home folder joined with the program's base name.
    static QString userFolder();

private:
    AppConfig();
};
