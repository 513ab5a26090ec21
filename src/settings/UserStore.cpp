#include "UserStore.h"

#include <QSettings>
#include <QStringList>

namespace cps {
namespace {

// Registry value names ignore letter case; an INI file does not, so look names up by hand.
QString findKey(const QSettings& s, const QString& name) {
    const QStringList keys = s.childKeys();
    for (const QString& k : keys)
        if (k.compare(name, Qt::CaseInsensitive) == 0) return k;
    return QString();
}

}  // namespace

UserStore::UserStore(const QString& appName) {
    const QByteArray overridePath = qgetenv("CPS_USER_STORE");
    if (!overridePath.isEmpty()) {
        settings_ =
            std::make_unique<QSettings>(QString::fromLocal8Bit(overridePath), QSettings::IniFormat);
        return;
    }
#ifdef Q_OS_WIN
    settings_ = std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\") + appName, QSettings::NativeFormat);
#else
    settings_ = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QStringLiteral("Software"), appName);
#endif
}

UserStore UserStore::atFile(const QString& iniPath) {
    UserStore store;
    store.settings_ = std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
    return store;
}

UserStore::~UserStore() = default;
UserStore::UserStore(UserStore&&) noexcept = default;
UserStore& UserStore::operator=(UserStore&&) noexcept = default;

uint32_t UserStore::number(const QString& name, uint32_t def) const {
    const QString key = findKey(*settings_, name);
    if (key.isEmpty()) return def;
    bool ok = false;
    const qlonglong v = settings_->value(key).toLongLong(&ok);
    return ok ? static_cast<uint32_t>(v & 0xFFFFFFFF) : def;
}

void UserStore::setNumber(const QString& name, uint32_t value) {
    const QString key = findKey(*settings_, name);
    // An unsigned 32-bit value is a REG_DWORD in the registry, the type other programs
    // reading these values expect (a 64-bit one would be a REG_QWORD they cannot read).
    settings_->setValue(key.isEmpty() ? name : key, static_cast<uint>(value));
}

QString UserStore::text(const QString& name, const QString& def) const {
    const QVariant v = settings_->value(name);
    return v.isValid() ? v.toString() : def;
}

void UserStore::setText(const QString& name, const QString& value) {
    settings_->setValue(name, value);
}

void UserStore::sync() { settings_->sync(); }

int loadPortNumber(const UserStore& store) {
    return static_cast<int>(store.number(QStringLiteral("COM"), 1) & 0xFF);
}

void storePortNumber(UserStore& store, int number) {
    store.setNumber(QStringLiteral("COM"), static_cast<uint32_t>(number));
    store.sync();
}

QString assignedDevice(const UserStore& store, int portNumber) {
    return store.text(QStringLiteral("Ports/COM%1").arg(portNumber));
}

void assignDevice(UserStore& store, int portNumber, const QString& device) {
    store.setText(QStringLiteral("Ports/COM%1").arg(portNumber), device);
    store.sync();
}

bool verifyAfterWriting(const UserStore& store) {
    return store.number(QStringLiteral("VerifyAfterWrite"), 0) != 0;
}

void setVerifyAfterWriting(UserStore& store, bool on) {
    store.setNumber(QStringLiteral("VerifyAfterWrite"), on ? 1 : 0);
    store.sync();
}

}  // namespace cps
