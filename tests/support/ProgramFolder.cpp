#include "ProgramFolder.h"

#include <QFile>
#include <QTest>
#include <QWidget>

namespace cps::test {

QByteArray programIni(const QString& language, const QStringList& moreSetup,
                      const QString& appName) {
    QString ini = QStringLiteral("[Setup]\nLanguage=%1\nAppName=%2\n").arg(language, appName);
    for (const QString& line : moreSetup) ini += line + QLatin1Char('\n');
    ini += QStringLiteral(
        "\n[English]\nTitle=Test Title\nCompany=Test Company\n\n"
        "[Chinese]\nTitle=测试标题\nCompany=测试公司\n");
    return ini.toUtf8();
}

QStringList ProgramFolder::languageFiles() {
    return {QStringLiteral("English.qm"), QStringLiteral("Chinese.qm")};
}

ProgramFolder::ProgramFolder(const QByteArray& ini, const QStringList& fromBuild) {
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder: ") + dir_.errorString();
        return;
    }
    if (!write(QStringLiteral("Program.ini"), ini)) {
        error_ = QStringLiteral("Program.ini not written");
        return;
    }
    for (const QString& name : fromBuild) {
        if (!QFile::copy(QStringLiteral(CPS_BIN_DIR "/") + name, filePath(name))) {
            error_ = name + QStringLiteral(" not copied from " CPS_BIN_DIR);
            return;
        }
    }
    qputenv("CPS_USER_STORE", QFile::encodeName(filePath(QStringLiteral("user.ini"))));
}

QString ProgramFolder::dir() const { return dir_.path() + QLatin1Char('/'); }

bool ProgramFolder::write(const QString& name, const QByteArray& bytes) const {
    QFile f(filePath(name));
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

QByteArray ProgramFolder::read(const QString& name) const {
    QFile f(filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

Startup::Options startOptions(const ProgramFolder& folder, Prompter& prompter) {
    Startup::Options o;
    o.programDir = folder.dir();
    o.prompter = &prompter;
    o.splash = false;
    o.launch = [](const QString&, const QStringList&) { return true; };
    return o;
}

bool showActive(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

}  // namespace cps::test
