#pragma once

#include <QString>
#include <QVariant>
#include <cstdint>
#include <memory>

class QSettings;

namespace cps {

// Per-user values kept under "Software\" + application name: the native registry on
// Windows, an INI file in the user's config folder elsewhere. The environment variable
// CPS_USER_STORE names another INI file to use instead (tests, portable installs).
class UserStore {
  public:
    explicit UserStore(const QString& appName);
    // A store kept in the INI file at iniPath.
    static UserStore atFile(const QString& iniPath);
    ~UserStore();
    UserStore(UserStore&&) noexcept;
    UserStore& operator=(UserStore&&) noexcept;

    // 32-bit number, def when absent or unreadable.
    uint32_t number(const QString& name, uint32_t def = 0) const;
    void setNumber(const QString& name, uint32_t value);
    QString text(const QString& name, const QString& def = QString()) const;
    void setText(const QString& name, const QString& value);
    void sync();

  private:
    UserStore() = default;
    std::unique_ptr<QSettings> settings_;
};

// The program's per-user values of the serial port: "COM", the port number in its low byte
// (COM1 when absent), and "Ports/COMn", the device a user assigned to COMn.
int loadPortNumber(const UserStore& store);
void storePortNumber(UserStore& store, int number);
QString assignedDevice(const UserStore& store, int portNumber);
void assignDevice(UserStore& store, int portNumber, const QString& device);

// "VerifyAfterWrite": whether a write from the program reads back what it sent (off when
// absent).
bool verifyAfterWriting(const UserStore& store);
void setVerifyAfterWriting(UserStore& store, bool on);

}  // namespace cps
