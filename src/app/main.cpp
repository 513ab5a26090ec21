#include <QApplication>
#include <QDir>
#include <QFile>
#include <clocale>

#include "CMainFrame.h"
#include "Startup.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Frequencies are typed and stored with a full stop whatever the desktop's locale.
    std::setlocale(LC_NUMERIC, "C");
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    Startup startup(Startup::fromArguments(QCoreApplication::arguments(), dir));
    if (!startup.start()) return 1;
    // Lets a script (or a test of the language restart) see that the program came up, and
    // in which language: the main window's title goes to the file this names.
    const QString report = qEnvironmentVariable("CPS_STARTUP_REPORT");
    if (!report.isEmpty()) {
        QFile f(report);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(startup.mainFrame()->windowTitle().toUtf8() + '\n');
    }
    const int rc = application.exec();
    startup.exit();
    return rc;
}
