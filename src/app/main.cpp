#include <QApplication>
#include <QDir>
#include <clocale>

#include "Startup.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Frequencies are typed and stored with a full stop whatever the desktop's locale.
    std::setlocale(LC_NUMERIC, "C");
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    Startup startup(Startup::fromArguments(QCoreApplication::arguments(), dir));
    if (!startup.start()) return 1;
    const int rc = application.exec();
    startup.exit();
    return rc;
}
