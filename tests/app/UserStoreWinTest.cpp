// The per-user values in the Windows registry, as other programs read them.
#include <gtest/gtest.h>
#include <windows.h>

#include <QUuid>

#include "UserStore.h"

using namespace cps;

namespace {

class UserStoreWinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qunsetenv("CPS_USER_STORE");
        app = QStringLiteral("cps-test-") + QUuid::createUuid().toString(QUuid::Id128);
        key = (QStringLiteral("Software\\") + app).toStdWString();
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str()); }

    QString app;
    std::wstring key;
};

}  // namespace

TEST_F(UserStoreWinTest, PortNumberIsADwordUnderSoftwareAppName) {
    {
        UserStore store(app);
        storePortNumber(store, 12);
    }
    DWORD type = 0, value = 0, size = sizeof value;
    ASSERT_EQ(
        RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"COM", RRF_RT_ANY, &type, &value, &size),
        ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_DWORD));
    EXPECT_EQ(size, DWORD(4));
    EXPECT_EQ(value, DWORD(12));
    EXPECT_EQ(loadPortNumber(UserStore(app)), 12);
}

TEST_F(UserStoreWinTest, ReadsAValueAnotherProgramWrote) {
    // Written as "com", with more than the low byte set: the name's case does not matter
    // and only the low byte is the port.
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k,
                              nullptr),
              ERROR_SUCCESS);
    const DWORD value = 0x0103;
    RegSetValueExW(k, L"com", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(k);
    UserStore store(app);
    EXPECT_EQ(loadPortNumber(store), 3);
    // Storing again keeps the one value rather than adding a second spelling of it.
    storePortNumber(store, 5);
    EXPECT_EQ(loadPortNumber(UserStore(app)), 5);
    DWORD count = 0;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
    RegQueryInfoKeyW(k, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(k);
    EXPECT_EQ(count, DWORD(1));
}

TEST_F(UserStoreWinTest, MissingValueIsComOne) { EXPECT_EQ(loadPortNumber(UserStore(app)), 1); }
