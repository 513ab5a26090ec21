#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "AppContext.h"
#include "UserStore.h"

using namespace cps;

namespace {

void writeIni(const QTemporaryDir& dir, const QByteArray& text) {
    QFile f(dir.filePath("Program.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

class AppContextTest : public ::testing::Test {
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

TEST_F(AppContextTest, LanguageFlagNeedsTheExactWord) {
    writeIni(dir, "[Setup]\nLanguage=chinese\nEnableSql=1x\n[chinese]\nCompany=Acme\n");
    AppContext ctx;
    ASSERT_TRUE(ctx.loadSettings(dir.path()));
    EXPECT_FALSE(ctx.chinese);
    EXPECT_EQ(ctx.languageName, "chinese");
    EXPECT_EQ(ctx.helpFileName, "enHelp.rcc");
    EXPECT_EQ(ctx.sqlWritingAllowed, 1);
    EXPECT_EQ(ctx.appName, "Acme");
    EXPECT_TRUE(ctx.programDir.endsWith('/'));

    writeIni(dir, "[Setup]\nLanguage=Chinese\n");
    AppContext zh;
    ASSERT_TRUE(zh.loadSettings(dir.path()));
    EXPECT_TRUE(zh.chinese);
    EXPECT_EQ(zh.helpFileName, "chHelp.rcc");
    EXPECT_EQ(zh.sqlWritingAllowed, 0);
    EXPECT_EQ(zh.text("Yes", "是"), QStringLiteral("是"));
}

TEST_F(AppContextTest, ExitWritesTheSqlSwitchBack) {
    writeIni(dir, "[Setup]\nLanguage=English\n");
    {
        AppContext ctx;
        ASSERT_TRUE(ctx.loadSettings(dir.path()));
        ctx.saveOnExit(ctx.sqlWritingAllowed);
    }
    QFile f(dir.filePath("Program.ini"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[Setup]\nLanguage=English\nEnableSql=0\n"));
}

TEST_F(AppContextTest, FillMirrorsTheRadioTypeThroughThePerUserStore) {
    AppContext ctx;
    ctx.loadSettings(dir.path());
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

TEST_F(AppContextTest, UserStoreNamesIgnoreCase) {
    UserStore store = UserStore::atFile(dir.filePath("u.ini"));
    EXPECT_EQ(store.number("COM", 1), 1u);
    store.setNumber("com", 12);
    EXPECT_EQ(store.number("COM", 1), 12u);
    store.setNumber("Com", 0xFFFFFFFF);
    EXPECT_EQ(store.number("com"), 0xFFFFFFFFu);
    store.setText("Ports/COM3", "/dev/ttyACM0");
    EXPECT_EQ(store.text("Ports/COM3"), "/dev/ttyACM0");
}

TEST_F(AppContextTest, PortValuesPerUser) {
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
TEST_F(AppContextTest, ReadOnlyProgramFolderUsesThePerUserCopy) {
    const QByteArray original = "[Setup]\r\nLanguage=English\r\nAppName=Radio\r\n";
    writeIni(dir, original);
    const QString copy = dir.filePath("home/Program.ini");
    qputenv("CPS_USER_PROFILE", copy.toLocal8Bit());
    qputenv("CPS_READONLY_PROGRAM_DIR", "1");
    {
        AppContext ctx;
        ASSERT_TRUE(ctx.loadSettings(dir.path()));
        EXPECT_EQ(ctx.profile.userCopyPath(), copy);
        ctx.sqlWritingAllowed = 1;
        ctx.profile.set("Setup", "Language", "Chinese");
        ctx.saveOnExit(ctx.sqlWritingAllowed);
    }
    {
        AppContext ctx;
        ASSERT_TRUE(ctx.loadSettings(dir.path()));
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
        AppContext ctx;
        ASSERT_TRUE(ctx.loadSettings(dir.path()));
        EXPECT_FALSE(ctx.chinese);
        EXPECT_TRUE(ctx.profile.userCopyPath().isEmpty());
        ctx.saveOnExit(ctx.sqlWritingAllowed);
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("EnableSql=0"));
    f.close();

    qunsetenv("CPS_USER_PROFILE");
    AppContext named;
    ASSERT_TRUE(named.loadSettings(dir.path()));
    EXPECT_TRUE(named.userProfilePath().endsWith("/Software/Radio/Program.ini"));
}
