#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <clocale>

#include "CMainFrame.h"
#include "Startup.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // The window class (X11) and application id (Wayland) name the desktop file.
    QCoreApplication::setApplicationName(QStringLiteral(CPS_DESKTOP_NAME));
    QGuiApplication::setDesktopFileName(QStringLiteral(CPS_DESKTOP_NAME));
    // Frequencies are typed and stored with a full stop whatever the desktop's locale.
    std::setlocale(LC_NUMERIC, "C");
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    Startup startup(Startup::fromArguments(QCoreApplication::arguments(), dir));
    if (!startup.start()) return 1;
    // Lets a script (or a test of the language restart or of an installed copy) see that
    // the program came up, in which language and with which files: one item a line.
    const QString report = qEnvironmentVariable("CPS_STARTUP_REPORT");
    if (!report.isEmpty()) {
        QFile f(report);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            for (const QString& line : startup.report()) f.write(line.toUtf8() + '\n');
    }
    // CPS_QUIT_AFTER_START=1 ends the run as soon as it is up, through the usual exit.
    if (qEnvironmentVariable("CPS_QUIT_AFTER_START") == QLatin1String("1"))
        QTimer::singleShot(0, &application, &QCoreApplication::quit);
    const int rc = application.exec();
    startup.exit();
    return rc;
}
