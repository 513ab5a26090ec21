#include "Settings.h"

#include <QStandardPaths>
#include <cstdlib>

namespace cps {

namespace {
const QString kSetup = QStringLiteral("Setup");
}

const ProfileStore& Settings::profile() const {
    static const ProfileStore none;
    return file_ ? *file_ : none;
}

QString Settings::setupAppName() const {
    return profile().get(kSetup, QStringLiteral("AppName"), QString());
}

UserStore Settings::userStore() const { return UserStore(setupAppName()); }

QString Settings::text(const char* english, const char* chineseText) const {
    return QString::fromUtf8(chinese ? chineseText : english);
}

void Settings::prepareFill(RadioImage& image, bool imageFromNew) const {
    UserStore store = userStore();
    if (imageFromNew) {
        applyNewImageSettings(image, store.number(QStringLiteral("Type"), 0));
    } else {
        store.setNumber(QStringLiteral("Type"), image.at(addr::kRadioType));
    }
}

bool SettingsFile::open(const QString& programDirectory) {
    Settings s;
    s.file_ = &profile_;
    s.programDir = programDirectory;
    if (!s.programDir.isEmpty() && !s.programDir.endsWith(QLatin1Char('/')) &&
        !s.programDir.endsWith(QLatin1Char('\\')))
        s.programDir += QLatin1Char('/');
    const bool opened = profile_.openIn(programDirectory, QStringLiteral("Program.ini"));
    if (opened && (!profile_.writable() ||
                   qEnvironmentVariable("CPS_READONLY_PROGRAM_DIR") == QLatin1String("1")))
        profile_.useUserCopy(userProfilePath());
    s.languageName = profile_.get(kSetup, QStringLiteral("Language"), QString());
    s.chinese = s.languageName == QLatin1String("Chinese");
    s.helpFileName = s.chinese ? QStringLiteral("chHelp.rcc") : QStringLiteral("enHelp.rcc");
    s.sqlWritingAllowed = std::atoi(
        profile_.get(kSetup, QStringLiteral("EnableSql"), QString()).toLatin1().constData());
    s.appName = profile_.get(s.languageName, QStringLiteral("Company"), QString());
    settings_ = s;
    return opened;
}

QString SettingsFile::userProfilePath() const {
    const QString overridePath = qEnvironmentVariable("CPS_USER_PROFILE");
    if (!overridePath.isEmpty()) return overridePath;
    QString name = profile_.get(kSetup, QStringLiteral("AppName"), QString());
    if (name.isEmpty()) name = QStringLiteral("Program");
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Software/") + name + QStringLiteral("/Program.ini");
}

bool SettingsFile::saveLanguage(const QString& language, QString* why) {
    const QString key = QStringLiteral("Language");
    const QString previous = profile_.get(kSetup, key);
    profile_.set(kSetup, key, language);
    if (profile_.save()) return true;
    if (why) *why = profile_.errorString();
    profile_.set(kSetup, key, previous);
    return false;
}

bool SettingsFile::saveOnExit(int sqlWriting) {
    profile_.set(kSetup, QStringLiteral("EnableSql"), QString::number(sqlWriting));
    return profile_.save();
}

}  // namespace cps
