#include "StartUp.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextCodec>
#include <QTranslator>
#include <memory>

#include "AppConfig.h"
#include "KVWindBase.h"
#include "LanguageTable.h"
#include "MiniDumper.h"
#include "ScaleFactor.h"
#include "ScaleRestart.h"
#include "ShippedSettings.h"
#include "Skin.h"

namespace {

QString resourceText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

int runTarnPlayer(int argc, char** argv, const std::function<void(KVWindBase&)>& whenShown) {
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    const std::string programName =
        QFileInfo(QString::fromLocal8Bit(argc > 0 ? argv[0] : "TarnPlayer")).completeBaseName().toStdString();
    MiniDumper::install(programName, TARNPLAYER_VERSION, MiniDumper::defaultReportFolder(programName), true);

    auto app = std::make_unique<QApplication>(argc, argv);
    if (argc <= 1) {
        const double factor = firstScreenScaleFactor();
        if (needsScaleRestart(factor)) {
            qInfo() << "set scale factor:" << factor;
            // When the restart cannot start, this instance goes on unscaled rather than leaving the
            // user with no program at all.
            if (restartScaled(QCoreApplication::applicationFilePath(), factor)) {
                return 0;
            }
        }
    }
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("utf8"));
    app->setStyleSheet(resourceText(Skin::path("Corvane_gray1", SkinKind::StyleSheet)));

    const QString programFolder = QDir(QCoreApplication::applicationDirPath()).absolutePath();
    const QString defaultIni = programFolder + "/default.ini";
    const ShippedSettings shipped = readShippedSettings(defaultIni);
    setUserSettingsIdentity(shipped.companyName, QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());

    AppConfig& config = AppConfig::instance();
    config.version = shipped.version;
    config.buildTime = shipped.buildTime;
    userSettings().setValue(config.languageDefault.key, shipped.languageCurrent);

    if (reconcileUserSettingsFile(userSettings().fileName(), defaultIni, shipped.version) ==
        UserFileResult::CannotCreate) {
        qWarning().noquote() << "cannot create the user settings file" << userSettings().fileName();
        return -1;
    }
    userSettings().sync();

    const int language = config.value(config.languageCurrent);
    QTranslator qtCatalogue;
    if (!qtCatalogueFileName(language).isEmpty()) {
        const QString catalogue = programFolder + qtCatalogueFileName(language);
        qInfo().noquote() << "Qt catalogue:" << catalogue << (qtCatalogue.load(catalogue) ? "loaded" : "not loaded");
    }
    LanguageTable::load(programFolder + languageFileName(language));
    qInfo().noquote() << "language" << language << "texts:" << LanguageTable::size();
    app->installTranslator(&qtCatalogue);

    auto window = std::make_unique<KVWindBase>();
    window->show();
    if (whenShown) {
        whenShown(*window);
    }
    const int exitCode = app->exec();
    window.reset();
    app->removeTranslator(&qtCatalogue);
    return exitCode;
}
