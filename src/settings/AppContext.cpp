#include "AppContext.h"

#include <QStandardPaths>
#include <cstdlib>

namespace cps {

AppContext& app() {
    static AppContext context;
    return context;
}

bool AppContext::loadSettings(const QString& programDirectory) {
    programDir = programDirectory;
    if (!programDir.isEmpty() && !programDir.endsWith(QLatin1Char('/')) &&
        !programDir.endsWith(QLatin1Char('\\')))
        programDir += QLatin1Char('/');
    const bool opened = profile.openIn(programDirectory, QStringLiteral("Program.ini"));
    if (opened && (!profile.writable() ||
                   qEnvironmentVariable("CPS_READONLY_PROGRAM_DIR") == QLatin1String("1")))
        profile.useUserCopy(userProfilePath());
    const QString setup = QStringLiteral("Setup");
    languageName = profile.get(setup, QStringLiteral("Language"), QString());
    chinese = languageName == QLatin1String("Chinese");
    helpFileName = chinese ? QStringLiteral("chHelp.rcc") : QStringLiteral("enHelp.rcc");
    sqlWritingAllowed = std::atoi(
        profile.get(setup, QStringLiteral("EnableSql"), QString()).toLatin1().constData());
    appName = profile.get(languageName, QStringLiteral("Company"), QString());
    return opened;
}

QString AppContext::setupAppName() const {
    return profile.get(QStringLiteral("Setup"), QStringLiteral("AppName"), QString());
}

QString AppContext::userProfilePath() const {
    const QString overridePath = qEnvironmentVariable("CPS_USER_PROFILE");
    if (!overridePath.isEmpty()) return overridePath;
    QString name = setupAppName();
    if (name.isEmpty()) name = QStringLiteral("Program");
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Software/") + name + QStringLiteral("/Program.ini");
}

UserStore AppContext::userStore() const { return UserStore(setupAppName()); }

QString AppContext::text(const char* english, const char* chineseText) const {
    return QString::fromUtf8(chinese ? chineseText : english);
}

bool AppContext::saveOnExit(int sqlWriting) {
    profile.set(QStringLiteral("Setup"), QStringLiteral("EnableSql"), QString::number(sqlWriting));
    return profile.save();
}

void AppContext::prepareFill(RadioImage& image, bool imageFromNew) const {
    UserStore store = userStore();
    if (imageFromNew) {
        applyNewImageSettings(image, store.number(QStringLiteral("Type"), 0));
    } else {
        store.setNumber(QStringLiteral("Type"), image.at(addr::kRadioType));
    }
}

}  // namespace cps
