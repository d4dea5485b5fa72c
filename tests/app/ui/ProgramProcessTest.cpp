// The TarnPlayer program as a process: how it ends when its settings cannot be written, when the
// screen asks for a scaled restart, and when it crashes.
#include <spawn.h>
#include <sys/wait.h>

#include <QDateTime>
#include <QDeadlineTimer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <csignal>
#include <vector>

namespace {

QString program() {
    return QCoreApplication::applicationDirPath() + "/TarnPlayer";
}

// An environment with its own home and settings folders, on Qt's offscreen platform.
QProcessEnvironment isolated(const QString& home, const QString& configFolder) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home);
    environment.insert("XDG_CONFIG_HOME", configFolder);
    environment.insert("XDG_DATA_HOME", home + "/data");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    return environment;
}

struct Ended {
    bool exited;
    int status;  // the exit code, or the signal that ended it
};

// Starts the program; QProcess would hide the signal of a crash, so this works with the pid.
pid_t spawn(const QStringList& arguments, const QProcessEnvironment& environment) {
    std::vector<QByteArray> storage;
    std::vector<char*> argv, envp;
    storage.push_back(program().toLocal8Bit());
    for (const QString& argument : arguments) {
        storage.push_back(argument.toLocal8Bit());
    }
    const std::size_t argumentCount = storage.size();
    for (const QString& entry : environment.toStringList()) {
        storage.push_back(entry.toLocal8Bit());
    }
    for (std::size_t i = 0; i < storage.size(); ++i) {
        (i < argumentCount ? argv : envp).push_back(storage[i].data());
    }
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    pid_t pid = 0;
    return posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) == 0 ? pid : -1;
}

Ended waitForEnd(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? Ended{false, WTERMSIG(status)} : Ended{true, WEXITSTATUS(status)};
}

Ended runToEnd(const QStringList& arguments, const QProcessEnvironment& environment) {
    const pid_t pid = spawn(arguments, environment);
    return pid > 0 ? waitForEnd(pid) : Ended{true, -1000};
}

}  // namespace

class ProgramProcessTest : public QObject {
    Q_OBJECT

private slots:
    // The settings folder lies under a plain file, so it cannot be created.
    void settingsThatCannotBeCreatedEndTheProgramWithMinusOne() {
        QTemporaryDir home;
        QFile blocker(home.path() + "/blocker");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const Ended ended = runToEnd({"/nonexistent/store"}, isolated(home.path(), blocker.fileName() + "/config"));
        QVERIFY(ended.exited);
        QCOMPARE(ended.status, 255);
    }

    // Qt's offscreen screen is 800x600, a small screen: without an argument the program starts itself
    // again scaled and ends with 0. The restarted one has an argument, so it does not restart again;
    // it ends by itself here because its settings cannot be created either.
    void smallScreenRestartsScaledAndEndsWithZero() {
        QTemporaryDir home;
        QFile blocker(home.path() + "/blocker");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QProcess process;
        process.setProcessEnvironment(isolated(home.path(), blocker.fileName() + "/config"));
        process.start(program(), QStringList());
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        const QString log = QString::fromLocal8Bit(process.readAllStandardError());
        QVERIFY2(log.contains("set scale factor:") && log.contains("resetWnd:") && log.contains("scale:1"),
                 qPrintable(log));
    }

    // The language in the user's settings chooses the text table and, for Korean, Qt's own catalogue.
    void languageOfTheUserSettings_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("tableLine");
        QTest::addColumn<bool>("catalogue");
        QTest::newRow("English") << 1 << "language 1 texts: 189" << false;
        QTest::newRow("Korean") << 2048 << "language 2048 texts: 189" << true;
        QTest::newRow("unknown: no texts") << 3 << "language 3 texts: 0" << false;
    }
    void languageOfTheUserSettings() {
        QFETCH(int, language);
        QFETCH(QString, tableLine);
        QFETCH(bool, catalogue);
        QTemporaryDir home;
        const QString settingsFile = home.path() + "/config/corvane/TarnPlayer/tarnplayer.ini";
        QVERIFY(QDir().mkpath(QFileInfo(settingsFile).path()));
        {
            QSettings settings(settingsFile, QSettings::IniFormat);
            settings.setValue("function-customize/version", "v1.0.0");
            settings.setValue("function-customize/LanguageCurrent", language);
        }
        QProcess process;
        process.setProcessEnvironment(isolated(home.path(), home.path() + "/config"));
        process.start(program(), {"/nonexistent/store"});
        QString log;
        QDeadlineTimer deadline(60000);
        while (!log.contains(tableLine) && !deadline.hasExpired() && process.state() != QProcess::NotRunning) {
            process.waitForReadyRead(1000);
            log += QString::fromLocal8Bit(process.readAllStandardError());
        }
        process.kill();
        process.waitForFinished();
        QVERIFY2(log.contains(tableLine), qPrintable(log));
        QCOMPARE(log.contains("Qt catalogue:") && log.contains("qt_ko.qm loaded"), catalogue);
    }

    // The test's trigger is a SIGSEGV sent once start-up has written the user settings file, which
    // happens after the crash reporter is in place.
    void aCrashLeavesAReportAndEndsByItsSignal() {
        QTemporaryDir home;
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        const pid_t pid = spawn({"/nonexistent/store"}, isolated(home.path(), home.path() + "/config"));
        QVERIFY(pid > 0);
        const QString settingsFile = home.path() + "/config/corvane/TarnPlayer/tarnplayer.ini";
        QDeadlineTimer deadline(60000);
        while (!QFile::exists(settingsFile) && !deadline.hasExpired() && waitpid(pid, nullptr, WNOHANG) == 0) {
            QThread::msleep(20);
        }
        QVERIFY2(QFile::exists(settingsFile), "the program did not get through its start-up");
        kill(pid, SIGSEGV);
        const Ended ended = waitForEnd(pid);
        const QDateTime after = QDateTime::currentDateTime().addSecs(1);
        QVERIFY(!ended.exited);
        QCOMPARE(ended.status, SIGSEGV);

        const QDir reports(home.path() + "/data/TarnPlayer");
        const QStringList found = reports.entryList({"TarnPlayer_*.dmp"}, QDir::Files);
        QCOMPARE(found.size(), 1);
        const QDateTime stamp = QDateTime::fromString(found[0].mid(11, 19), "yyyy_MM_dd_hh_mm_ss");
        QVERIFY2(stamp >= before.addMSecs(-before.time().msec()) && stamp <= after, qPrintable(found[0]));
        QFile report(reports.filePath(found[0]));
        QVERIFY(report.open(QIODevice::ReadOnly));
        const QByteArray text = report.readAll();
        QVERIFY2(text.contains("SIGSEGV") && text.contains(TARNPLAYER_VERSION), text.constData());
    }
};

QTEST_GUILESS_MAIN(ProgramProcessTest)
#include "ProgramProcessTest.moc"
