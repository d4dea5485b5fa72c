// The TarnPlayer program as a process: how it ends when its settings cannot be written, when the
// screen asks for a scaled restart, and when it crashes.
#include <spawn.h>
#include <sys/wait.h>

#include <QDateTime>
#include <QProcess>
#include <QTemporaryDir>
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

// Runs the program and reports how it ended; QProcess hides the signal of a crash.
Ended runToEnd(const QStringList& arguments, const QProcessEnvironment& environment) {
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
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) {
        return {true, -1000};
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? Ended{false, WTERMSIG(status)} : Ended{true, WEXITSTATUS(status)};
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

    void aCrashLeavesAReportAndEndsByItsSignal() {
        QTemporaryDir home;
        QProcessEnvironment environment = isolated(home.path(), home.path() + "/config");
        environment.insert("TARNPLAYER_TEST_CRASH", "1");
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        const Ended ended = runToEnd({"/nonexistent/store"}, environment);
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
