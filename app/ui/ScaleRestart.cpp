#include "ScaleRestart.h"

#include <QDebug>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>

#include "ScaleFactor.h"

double firstScreenScaleFactor() {
    const auto screens = QGuiApplication::screens();
    if (screens.isEmpty()) {
        return 1.0;
    }
    const QScreen* screen = screens.first();
    qInfo() << "screen->size:" << screen->size();
    qInfo() << "screen->geometry:" << screen->geometry();
    qInfo() << "screen->physicalSize:" << screen->physicalSize();
    return screenScaleFactor(screen->geometry().width(), screen->geometry().height(), screen->physicalDotsPerInchY());
}

bool restartScaled(const QString& program, double factor) {
    const double scale = restartScale(factor);
    QProcess process;
    process.setProgram(program);
    process.setArguments({scaleArgument(scale)});
    // The argument only tells the new instance to skip this check; the variable is what scales it.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_SCALE_FACTOR", QString::number(scale));
    process.setProcessEnvironment(environment);
    const bool started = process.startDetached();
    qInfo().noquote() << (started ? "resetWnd:" : "resetWnd failed:") << program << scaleArgument(scale);
    return started;
}
