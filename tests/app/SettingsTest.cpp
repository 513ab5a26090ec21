#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "Settings.h"
#include "UserStore.h"

using namespace cps;

namespace {

void writeIni(const QTemporaryDir& dir, const QByteArray& text) {
    QFile f(dir.filePath("Program.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override { qputenv("CPS_USER_STORE", dir.filePath("user.ini").toLocal8Bit()); }
    void TearDown() override {
        qunsetenv("CPS_USER_STORE");
        qunsetenv("CPS_USER_PROFILE");
        qunsetenv("CPS_READONLY_PROGRAM_DIR");
    }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(SettingsTest, LanguageFlagNeedsTheExactWord) {
    writeIni(dir, "[Setup]\nLanguage=chinese\nEnableSql=1x\n[chinese]\nCompany=Acme\n");
    SettingsFile file;
    ASSERT_TRUE(file.open(dir.path()));
    const Settings& ctx = file.settings();
    EXPECT_FALSE(ctx.chinese);
    EXPECT_EQ(ctx.languageName, "chinese");
    EXPECT_EQ(ctx.helpFileName, "enHelp.rcc");
    EXPECT_EQ(ctx.sqlWritingAllowed, 1);
    EXPECT_EQ(ctx.appName, "Acme");
    EXPECT_TRUE(ctx.programDir.endsWith('/'));

    writeIni(dir, "[Setup]\nLanguage=Chinese\n");
    SettingsFile zhFile;
    ASSERT_TRUE(zhFile.open(dir.path()));
    const Settings& zh = zhFile.settings();
    EXPECT_TRUE(zh.chinese);
    EXPECT_EQ(zh.helpFileName, "chHelp.rcc");
    EXPECT_EQ(zh.sqlWritingAllowed, 0);
    EXPECT_EQ(zh.text("Yes", "是"), QStringLiteral("是"));
}

TEST_F(SettingsTest, ExitWritesTheSqlSwitchBack) {
    writeIni(dir, "[Setup]\nLanguage=English\n");
    {
        SettingsFile file;
        ASSERT_TRUE(file.open(dir.path()));
        EXPECT_TRUE(file.saveOnExit(file.settings().sqlWritingAllowed));
    }
    QFile f(dir.filePath("Program.ini"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[Setup]\nLanguage=English\nEnableSql=0\n"));
}

TEST_F(SettingsTest, FillMirrorsTheRadioTypeThroughThePerUserStore) {
    SettingsFile file;
    file.open(dir.path());
    const Settings& ctx = file.settings();
    RadioImage opened = RadioImage::factory();
    opened.set(addr::kRadioType, 0x37);
    ctx.prepareFill(opened, false);
    EXPECT_EQ(opened, [] {
        RadioImage i = RadioImage::factory();
        i.set(addr::kRadioType, 0x37);
        return i;
    }());  // an opened image is only read

    RadioImage fresh = RadioImage::factory();
    ctx.prepareFill(fresh, true);
    EXPECT_EQ(fresh.at(addr::kRadioType), 0x37);
    EXPECT_EQ(unpackBands(fresh).band1.low, 134 * kPerMHz);
}

TEST_F(SettingsTest, UserStoreNamesIgnoreCase) {
    UserStore store = UserStore::atFile(dir.filePath("u.ini"));
    EXPECT_EQ(store.number("COM", 1), 1u);
    store.setNumber("com", 12);
    EXPECT_EQ(store.number("COM", 1), 12u);
    store.setNumber("Com", 0xFFFFFFFF);
    EXPECT_EQ(store.number("com"), 0xFFFFFFFFu);
    store.setText("Ports/COM3", "/dev/ttyACM0");
    EXPECT_EQ(store.text("Ports/COM3"), "/dev/ttyACM0");
}

TEST_F(SettingsTest, PortValuesPerUser) {
    UserStore store = UserStore::atFile(dir.filePath("u.ini"));
    EXPECT_EQ(loadPortNumber(store), 1);
    store.setNumber(QStringLiteral("com"), 0x10C);  // only the low byte counts
    EXPECT_EQ(loadPortNumber(store), 12);
    storePortNumber(store, 5);
    EXPECT_EQ(loadPortNumber(store), 5);
    EXPECT_EQ(assignedDevice(store, 3), QString());
    store.setText(QStringLiteral("Ports/COM3"), QStringLiteral("/dev/ttyACM0"));
    EXPECT_EQ(assignedDevice(store, 3), QStringLiteral("/dev/ttyACM0"));
}

// An installed program whose folder the user cannot write (pretended through the override,
// since the tests may run as root): the exit and a language change land in the per-user
// copy, and the next start reads them from there.
TEST_F(SettingsTest, ReadOnlyProgramFolderUsesThePerUserCopy) {
    const QByteArray original = "[Setup]\r\nLanguage=English\r\nAppName=Radio\r\n";
    writeIni(dir, original);
    const QString copy = dir.filePath("home/Program.ini");
    qputenv("CPS_USER_PROFILE", copy.toLocal8Bit());
    qputenv("CPS_READONLY_PROGRAM_DIR", "1");
    {
        SettingsFile file;
        ASSERT_TRUE(file.open(dir.path()));
        EXPECT_EQ(file.settings().profile().userCopyPath(), copy);
        EXPECT_TRUE(file.saveLanguage("Chinese", nullptr));
        EXPECT_TRUE(file.saveOnExit(1));
    }
    {
        SettingsFile file;
        ASSERT_TRUE(file.open(dir.path()));
        const Settings& ctx = file.settings();
        EXPECT_TRUE(ctx.chinese);
        EXPECT_EQ(ctx.sqlWritingAllowed, 1);
        EXPECT_EQ(ctx.setupAppName(), "Radio");
    }
    QFile f(dir.filePath("Program.ini"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), original);
    f.close();

    // A writable folder keeps settings beside the program; a copy left from another run
    // must not hide what is written there.
    qunsetenv("CPS_READONLY_PROGRAM_DIR");
    {
        SettingsFile file;
        ASSERT_TRUE(file.open(dir.path()));
        EXPECT_FALSE(file.settings().chinese);
        EXPECT_TRUE(file.settings().profile().userCopyPath().isEmpty());
        file.saveOnExit(file.settings().sqlWritingAllowed);
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("EnableSql=0"));
    f.close();

    qunsetenv("CPS_USER_PROFILE");
    SettingsFile named;
    ASSERT_TRUE(named.open(dir.path()));
    EXPECT_TRUE(named.userProfilePath().endsWith("/Software/Radio/Program.ini"));
}

// A language choice that cannot be written says why and is not left in memory, where the
// exit's save would otherwise write it after all.
TEST_F(SettingsTest, UnsavedLanguageIsPutBack) {
    writeIni(dir, "[Setup]\nLanguage=English\n");
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("CPS_USER_PROFILE", dir.filePath("blocker/Program.ini").toLocal8Bit());
    qputenv("CPS_READONLY_PROGRAM_DIR", "1");
    SettingsFile file;
    ASSERT_TRUE(file.open(dir.path()));
    QString why;
    EXPECT_FALSE(file.saveLanguage("Chinese", &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(file.settings().profile().get("Setup", "Language"), "English");
    EXPECT_FALSE(file.settings().chinese);
}
