// The start-up decisions that need no window: version comparison and the user settings file, the
// screen scale check and its restart, the language table and the settings read through AppConfig.
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "AppConfig.h"
#include "LanguageTable.h"
#include "ScaleFactor.h"
#include "ScaleRestart.h"
#include "ShippedSettings.h"

namespace {

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray iniWithVersion(const char* version) {
    return QByteArray("[function-customize]\nversion=") + version + "\nLanguageCurrent=2048\n";
}

}  // namespace

class ConfigurationTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home_;

private slots:
    void initTestCase() {
        // AppConfig makes folders in the home folder and the user file lives in the config folder.
        QVERIFY(home_.isValid());
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home_.path() + "/config").toUtf8());
        setUserSettingsIdentity("corvane", "TarnPlayer");
    }

    // Written now, while the folder exists: the settings object would otherwise write itself out at
    // exit, after the folder is gone, and make it again.
    void cleanupTestCase() { userSettings().sync(); }

    void versionComparison_data() {
        QTest::addColumn<QString>("shipped");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("newer");
        QTest::newRow("second part 10 > 2") << "v1.10.0"
                                            << "v1.2.0" << true;
        QTest::newRow("a later greater part wins over an earlier smaller one") << "v1.0.5"
                                                                               << "v2.0.0" << true;
        QTest::newRow("equal") << "v1.0.0"
                               << "v1.0.0" << false;
        QTest::newRow("older") << "v1.0.0"
                               << "v1.0.1" << false;
        QTest::newRow("major newer") << "v2.0.0"
                                     << "v1.9.9" << true;
        QTest::newRow("more parts") << "v1.0.0.1"
                                    << "v1.0.0" << true;
        QTest::newRow("fewer parts") << "v1.0"
                                     << "v1.0.0" << false;
        QTest::newRow("leading zeros are the same number") << "v1.01.0"
                                                           << "v1.1.0" << false;
        QTest::newRow("empty stored") << "v1.0.0"
                                      << "" << true;
    }
    void versionComparison() {
        QFETCH(QString, shipped);
        QFETCH(QString, stored);
        QFETCH(bool, newer);
        QCOMPARE(isShippedVersionNewer(shipped, stored), newer);
    }

    void userFileReconciliation_data() {
        QTest::addColumn<QByteArray>("stored");  // empty: no user file
        QTest::addColumn<QByteArray>("shipped");
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("holdsShipped");
        const QByteArray v110 = iniWithVersion("v1.10.0");
        QTest::newRow("stored 1.2.0, shipped 1.10.0: replaced")
            << iniWithVersion("v1.2.0") << v110 << int(UserFileResult::Replaced) << true;
        QTest::newRow("stored 2.0.0, shipped 1.0.5: replaced")
            << iniWithVersion("v2.0.0") << iniWithVersion("v1.0.5") << int(UserFileResult::Replaced) << true;
        QTest::newRow("same version: kept whatever else it holds")
            << QByteArray("[function-customize]\nversion=v1.10.0\n[file]\nMaxSize=3\n") << v110
            << int(UserFileResult::Kept) << false;
        QTest::newRow("stored newer: kept") << iniWithVersion("v1.11.0") << v110 << int(UserFileResult::Kept) << false;
        QTest::newRow("no user file: created from the shipped one")
            << QByteArray() << v110 << int(UserFileResult::Created) << true;
        QTest::newRow("no user file and no default.ini: created empty")
            << QByteArray() << QByteArray() << int(UserFileResult::Created) << true;
    }
    void userFileReconciliation() {
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, shipped);
        QFETCH(int, result);
        QFETCH(bool, holdsShipped);
        QTemporaryDir dir;
        const QString defaultIni = dir.path() + "/default.ini";
        const QString userFile = dir.path() + "/config/corvane/TarnPlayer/tarnplayer.ini";
        if (!shipped.isEmpty()) {
            writeFile(defaultIni, shipped);
        }
        if (!stored.isEmpty()) {
            QVERIFY(QDir().mkpath(QFileInfo(userFile).path()));
            writeFile(userFile, stored);
        }
        const QString shippedVersion = readShippedSettings(defaultIni).version;
        QCOMPARE(int(reconcileUserSettingsFile(userFile, defaultIni, shippedVersion)), result);
        QCOMPARE(readFile(userFile), holdsShipped ? shipped : stored);
        QVERIFY(!QFile::exists(userFile + ".new"));
    }

    void userFileThatCannotBeCreated() {
        QTemporaryDir dir;
        writeFile(dir.path() + "/plain-file", "x");
        const QString userFile = dir.path() + "/plain-file/corvane/tarnplayer.ini";
        QCOMPARE(reconcileUserSettingsFile(userFile, dir.path() + "/default.ini", "v1.0.0"),
                 UserFileResult::CannotCreate);
    }

    void shippedSettingsDefaultsAndValues() {
        QTemporaryDir dir;
        const ShippedSettings missing = readShippedSettings(dir.path() + "/default.ini");
        QCOMPARE(missing.companyName, QString("corvane"));
        QCOMPARE(missing.languageCurrent, 1u);
        QCOMPARE(missing.version, QString("1.0.0"));
        QCOMPARE(missing.buildTime, QString("2000-01-01"));
        writeFile(dir.path() + "/default.ini",
                  "[function-customize]\ncompany_name=acme\nLanguageCurrent=2048\nversion=v2.1.0\n");
        const ShippedSettings read = readShippedSettings(dir.path() + "/default.ini");
        QCOMPARE(read.companyName, QString("acme"));
        QCOMPARE(read.languageCurrent, 2048u);
        QCOMPARE(read.version, QString("v2.1.0"));
        QCOMPARE(read.buildTime, QString("2000-01-01"));
    }

    void scaleFactor_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<double>("dpiY");
        QTest::addColumn<double>("factor");
        QTest::addColumn<QString>("restartArgument");  // empty: no restart
        QTest::newRow("1920x1080 at 144 dpi") << 1920 << 1080 << 144.0 << 1.5 << "scale:1.5";
        QTest::newRow("2560x1440 at 96 dpi") << 2560 << 1440 << 96.0 << 1.0 << "";
        QTest::newRow("800x600 at 96 dpi: small, raised to 1") << 800 << 600 << 96.0 << 0.575 << "scale:1";
        QTest::newRow("1366x768: neither large nor small") << 1366 << 768 << 144.0 << 1.0 << "";
        QTest::newRow("3840x2160 at 192 dpi") << 3840 << 2160 << 192.0 << 2.0 << "scale:2";
        QTest::newRow("1920x1080 at 130 dpi") << 1920 << 1080 << 130.0 << 130.0 / 96 << "scale:1.25";
        QTest::newRow("1920x1080 at 170 dpi: wider than the screen allows")
            << 1920 << 1080 << 170.0 << 1.45 << "scale:1.5";
        QTest::newRow("2560x1440 at 180 dpi") << 2560 << 1440 << 180.0 << 1.875 << "scale:1.75";
        QTest::newRow("1000x700 at 96 dpi: tiny") << 1000 << 700 << 96.0 << 1000.0 / 1280 - 0.05 << "scale:1";
    }
    void scaleFactor() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(double, dpiY);
        QFETCH(double, factor);
        QFETCH(QString, restartArgument);
        const double computed = screenScaleFactor(width, height, dpiY);
        QVERIFY2(qAbs(computed - factor) < 1e-9, qPrintable(QString::number(computed)));
        QCOMPARE(needsScaleRestart(computed), !restartArgument.isEmpty());
        if (!restartArgument.isEmpty()) {
            QCOMPARE(scaleArgument(restartScale(computed)), restartArgument);
        }
    }

    void restartScales_data() {
        QTest::addColumn<double>("factor");
        QTest::addColumn<double>("scale");
        QTest::newRow("1.2") << 1.2 << 1.25;
        QTest::newRow("1.4") << 1.4 << 1.25;
        QTest::newRow("1.7") << 1.7 << 1.5;
        QTest::newRow("1.95") << 1.95 << 1.75;
        QTest::newRow("2.5") << 2.5 << 2.0;
        QTest::newRow("0.6 raised") << 0.6 << 1.0;
        QTest::newRow("0.3 raised") << 0.3 << 1.0;
    }
    void restartScales() {
        QFETCH(double, factor);
        QFETCH(double, scale);
        QCOMPARE(restartScale(factor), scale);
    }

    // The restarted program gets the scale in Qt's variable, and the argument that skips the check.
    void restartSetsTheScaleForTheStartedProgram() {
        QTemporaryDir dir;
        const QString script = dir.path() + "/program";
        const QString out = dir.path() + "/seen";
        writeFile(script,
                  QString("#!/bin/sh\necho \"$QT_SCALE_FACTOR $1\" > %1.part && mv %1.part %1\n").arg(out).toUtf8());
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(restartScaled(script, 1.5));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out), 20000);
        QCOMPARE(readFile(out), QByteArray("1.5 scale:1.5\n"));
    }

    void failedRestartIsReported() { QVERIFY(!restartScaled("/nonexistent/TarnPlayer", 1.5)); }

    void languageTable() {
        QTemporaryDir dir;
        const QString path = dir.path() + "/lang.xml";
        writeFile(path,
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?><language><group><string>zero</string>"
                  "<group><string>one <b>bold</b></string></group></group>"
                  "<string>outer <string>inner</string> tail</string><other>not an entry</other></language>");
        QVERIFY(LanguageTable::load(path));
        QCOMPARE(LanguageTable::size(), 4);
        QCOMPARE(LanguageTable::text(0), QString("zero"));
        QCOMPARE(LanguageTable::text(1), QString("one bold"));
        QCOMPARE(LanguageTable::text(2), QString("outer inner tail"));
        QCOMPARE(LanguageTable::text(3), QString("inner"));
        QCOMPARE(LanguageTable::text(4), QString());
        QCOMPARE(LanguageTable::text(-1), QString());

        QVERIFY(!LanguageTable::load(dir.path() + "/missing.xml"));
        QCOMPARE(LanguageTable::size(), 0);
        QCOMPARE(LanguageTable::text(0), QString());
    }

    void languageFiles_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("catalogue");
        QTest::newRow("English") << 1 << "/Language/ENU.xml"
                                 << "";
        QTest::newRow("Korean") << 2048 << "/Language/KOR.xml"
                                << "/qt_ko.qm";
        QTest::newRow("unknown code") << 3 << ""
                                      << "";
    }
    void languageFiles() {
        QFETCH(int, code);
        QFETCH(QString, file);
        QFETCH(QString, catalogue);
        QCOMPARE(languageFileName(code), file);
        QCOMPARE(qtCatalogueFileName(code), catalogue);
    }

    // The shipped files keep their numbering: each entry's id is its position, and every number the
    // program asks for is there and filled in.
    void shippedLanguageFilesAreNumberedByPosition_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("English") << "/Language/ENU.xml";
        QTest::newRow("Korean") << "/Language/KOR.xml";
    }
    void shippedLanguageFilesAreNumberedByPosition() {
        QFETCH(QString, file);
        const QString path = QCoreApplication::applicationDirPath() + file;
        QVERIFY2(LanguageTable::load(path), qPrintable(path));
        QFile xmlFile(path);
        QVERIFY(xmlFile.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&xmlFile);
        int position = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("string")) {
                QCOMPARE(xml.attributes().value("id").toInt(), position);
                QVERIFY2(!LanguageTable::text(position).trimmed().isEmpty(), qPrintable(QString::number(position)));
                ++position;
            }
        }
        QVERIFY(!xml.hasError());
        QCOMPARE(LanguageTable::size(), position);
        QVERIFY(position > 188);
    }

    void folderDefaultsAreCreated() {
        AppConfig& config = AppConfig::instance();
        const QString base = home_.path() + "/TarnPlayer";
        for (const QString& folder : {QString("picture"), QString("video"), QString("cut"), QString("download")}) {
            QVERIFY2(QFileInfo(base + "/" + folder).isDir(), qPrintable(folder));
        }
        QCOMPARE(config.pictureFolder(), base + "/picture");
        userSettings().setValue("file/video", "/media/clips");
        QCOMPARE(config.videoFolder(), QString("/media/clips"));
    }

    void recordSizeLimit_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("megabytes");
        QTest::newRow("missing") << QVariant() << 1024;
        QTest::newRow("0") << QVariant(0) << 1024;
        QTest::newRow("1") << QVariant(1) << 2048;
        QTest::newRow("2") << QVariant(2) << 3072;
        QTest::newRow("3") << QVariant(3) << 4096;
        QTest::newRow("4") << QVariant(4) << 1024;
        QTest::newRow("-1") << QVariant(-1) << 1024;
        QTest::newRow("not a number") << QVariant("big") << 1024;
    }
    void recordSizeLimit() {
        QFETCH(QVariant, stored);
        QFETCH(int, megabytes);
        if (stored.isValid()) {
            userSettings().setValue("file/MaxSize", stored);
        } else {
            userSettings().remove("file/MaxSize");
        }
        QCOMPARE(AppConfig::instance().recordSizeLimitMB(), megabytes);
    }
};

QTEST_GUILESS_MAIN(ConfigurationTest)
#include "ConfigurationTest.moc"
