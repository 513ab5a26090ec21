#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>

namespace {

const QString kPrefix = QStringLiteral("/opt/cps");

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// One installation for the whole suite, as a package would lay it out.
class InstallTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        root_ = std::make_unique<QTemporaryDir>();
        QProcess install;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), root_->path());
        install.setProcessEnvironment(env);
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QStringLiteral(CPS_CMAKE),
                      {QStringLiteral("--install"), QStringLiteral(CPS_BUILD_DIR),
                       QStringLiteral("--prefix"), kPrefix});
        installed_ = install.waitForFinished(120000) &&
                     install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0;
        installLog_ = install.readAll();
    }
    static void TearDownTestSuite() { root_.reset(); }

    void SetUp() override { ASSERT_TRUE(installed_) << installLog_.constData(); }

    static QString installed(const QString& relative) {
        return root_->path() + kPrefix + QLatin1Char('/') + relative;
    }
    static QString programDir() { return installed(QStringLiteral(CPS_PROGRAM_DIR)); }

    // Runs an installed program with the per-user files kept in this test's own folder.
    QProcess::ExitStatus run(QProcess& p, const QString& program, const QStringList& args,
                             const QStringList& extraEnv = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), home_.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.filePath(QStringLiteral(".config")));
        env.insert(QStringLiteral("CPS_USER_STORE"), home_.filePath(QStringLiteral("user.ini")));
        for (const QString& e : extraEnv) {
            const int eq = e.indexOf(QLatin1Char('='));
            env.insert(e.left(eq), e.mid(eq + 1));
        }
        p.setProcessEnvironment(env);
        p.start(program, args);
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            ADD_FAILURE() << program.toStdString() << " did not end";
        }
        return p.exitStatus();
    }

    // Starts the installed desktop program until it is up and has quit again; returns its
    // report: title, language file, settings file, per-user copy.
    QStringList startProgram(const QStringList& extraEnv = {}) {
        const QString report = home_.filePath(QStringLiteral("report.txt"));
        QFile::remove(report);
        QProcess p;
        QStringList env = extraEnv;
        env << QStringLiteral("CPS_STARTUP_REPORT=") + report
            << QStringLiteral("CPS_QUIT_AFTER_START=1");
        run(p, installed(QStringLiteral("bin/" CPS_DESKTOP_NAME)), {QStringLiteral("-nosplash")},
            env);
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
        return QString::fromUtf8(readAll(report)).split(QLatin1Char('\n'));
    }

    static std::unique_ptr<QTemporaryDir> root_;
    static bool installed_;
    static QByteArray installLog_;
    QTemporaryDir home_;
};

std::unique_ptr<QTemporaryDir> InstallTest::root_;
bool InstallTest::installed_ = false;
QByteArray InstallTest::installLog_;

}  // namespace

TEST_F(InstallTest, OneProgramFolderWithLinksMenuEntryAndIcon) {
    for (const char* name : {"Program", "cps", "radiosim", "English.qm", "Chinese.qm",
                             "Program.ini", "enHelp.rcc", "chHelp.rcc"})
        EXPECT_TRUE(QFileInfo(programDir() + QLatin1Char('/') + QLatin1String(name)).isFile())
            << name;
    for (const char* link : {"bin/cps", "bin/" CPS_DESKTOP_NAME}) {
        const QFileInfo info(installed(QLatin1String(link)));
        EXPECT_TRUE(info.isSymLink()) << link;
        // Relative, so the tree can move (DESTDIR, the package).
        EXPECT_TRUE(std::filesystem::read_symlink(info.filePath().toStdString()).is_relative())
            << link;
        EXPECT_EQ(QFileInfo(info.canonicalFilePath()).path(),
                  QFileInfo(programDir()).canonicalFilePath())
            << link;
    }
    EXPECT_EQ(readAll(programDir() + QStringLiteral("/Program.ini")),
              readAll(QStringLiteral(CPS_SOURCE_DIR "/resources/Program.ini")));
    const QByteArray desktop =
        readAll(installed(QStringLiteral("share/applications/" CPS_DESKTOP_NAME ".desktop")));
    EXPECT_TRUE(desktop.contains("\nExec=" CPS_DESKTOP_NAME " %f\n")) << desktop.constData();
    EXPECT_TRUE(desktop.contains("\nIcon=" CPS_DESKTOP_NAME "\n"));
    EXPECT_TRUE(QFileInfo(installed(QStringLiteral(
                              "share/icons/hicolor/32x32/apps/" CPS_DESKTOP_NAME ".png")))
                    .isFile());
}

TEST_F(InstallTest, InstalledCpsRunsThroughItsLink) {
    QProcess version;
    run(version, installed(QStringLiteral("bin/cps")), {QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode(), 0);
    EXPECT_EQ(version.readAllStandardOutput(), QByteArray("cps " CPS_VERSION "\n"));

    const QString image = home_.filePath(QStringLiteral("new.dat"));
    QProcess create;
    run(create, installed(QStringLiteral("bin/cps")),
        {QStringLiteral("new"), QStringLiteral("-o"), image});
    EXPECT_EQ(create.exitCode(), 0) << create.readAllStandardError().constData();
    EXPECT_EQ(QFileInfo(image).size(), 4096);
}

TEST_F(InstallTest, InstalledProgramFindsItsLanguageFileAndSettings) {
    const QStringList report = startProgram();
    ASSERT_GE(report.size(), 4);
    EXPECT_EQ(report[0], QStringLiteral("Radio Programming Software"));
    const QString dir = QFileInfo(programDir()).canonicalFilePath();
    EXPECT_EQ(QFileInfo(report[1]).canonicalFilePath(), dir + QStringLiteral("/English.qm"));
    // Read where the program looks, beside itself (a link to the one in etc/).
    EXPECT_EQ(QFileInfo(QFileInfo(report[2]).absolutePath()).canonicalFilePath(), dir);
    EXPECT_EQ(QFileInfo(report[2]).fileName(), QStringLiteral("Program.ini"));
    EXPECT_EQ(report[3], QString());  // a folder it can write: no per-user copy
}

TEST_F(InstallTest, ReadOnlyInstallKeepsSettingsPerUser) {
    const QString copy = home_.filePath(QStringLiteral("copy/Program.ini"));
    const QStringList readOnly = {QStringLiteral("CPS_READONLY_PROGRAM_DIR=1"),
                                  QStringLiteral("CPS_USER_PROFILE=") + copy};
    const QByteArray shipped = readAll(programDir() + QStringLiteral("/Program.ini"));

    QStringList report = startProgram(readOnly);
    ASSERT_GE(report.size(), 4);
    EXPECT_EQ(report[3], copy);
    EXPECT_FALSE(QFile::exists(copy));  // nothing changed: no copy written

    // The copy a language switch leaves is read first on the next start.
    ASSERT_TRUE(QDir().mkpath(QFileInfo(copy).path()));
    QFile f(copy);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Setup]\r\nLanguage=Chinese\r\n");
    f.close();
    report = startProgram(readOnly);
    ASSERT_GE(report.size(), 4);
    EXPECT_EQ(report[0], QStringLiteral("对讲机写频软件"));
    EXPECT_TRUE(report[1].endsWith(QStringLiteral("/Chinese.qm"))) << report[1].toStdString();
    EXPECT_EQ(readAll(programDir() + QStringLiteral("/Program.ini")), shipped);
}

// The settings are system configuration: etc/ holds them, the program folder links there.
TEST_F(InstallTest, SettingsFileLivesInEtcWithALinkInTheProgramFolder) {
    const QString link = programDir() + QStringLiteral("/Program.ini");
    const QFileInfo info(link);
    ASSERT_TRUE(info.isSymLink());
    EXPECT_TRUE(std::filesystem::read_symlink(link.toStdString()).is_relative());
    // /opt/cps keeps its configuration in /etc/opt/cps, as the file system standard says.
    EXPECT_TRUE(info.isFile());
    EXPECT_EQ(info.canonicalFilePath(),
              QFileInfo(root_->path() + QStringLiteral("/etc/opt/cps/cps/Program.ini"))
                  .canonicalFilePath());
}

TEST_F(InstallTest, ManualPagesIconsMenuDataAndCompletionComeAlong) {
    for (const char* file :
         {"share/man/man1/cps.1.gz", "share/man/man1/cps-program.1.gz", "share/doc/cps/copyright",
          "share/doc/cps/changelog.gz", "share/bash-completion/completions/cps",
          "share/icons/hicolor/scalable/apps/" CPS_DESKTOP_NAME ".svg"})
        EXPECT_TRUE(QFileInfo(installed(QLatin1String(file))).isFile()) << file;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        EXPECT_TRUE(
            QFileInfo(
                installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/" CPS_DESKTOP_NAME ".png")
                              .arg(size)))
                .isFile())
            << size;
    const QByteArray desktop =
        readAll(installed(QStringLiteral("share/applications/" CPS_DESKTOP_NAME ".desktop")));
    EXPECT_TRUE(desktop.contains("\nStartupWMClass=" CPS_DESKTOP_NAME "\n")) << desktop.constData();
    const QStringList metainfo =
        QDir(installed(QStringLiteral("share/metainfo"))).entryList({"*.metainfo.xml"});
    ASSERT_EQ(metainfo.size(), 1);
    const QByteArray xml = readAll(installed(QStringLiteral("share/metainfo/") + metainfo.first()));
    EXPECT_TRUE(xml.contains("<launchable type=\"desktop-id\">" CPS_DESKTOP_NAME ".desktop<"));
    EXPECT_TRUE(xml.contains("<release version=\"" CPS_VERSION "\""));

    // The manual page is cps's own --help.
    QProcess gunzip;
    gunzip.start(QStringLiteral("gzip"),
                 {QStringLiteral("-dc"), installed(QStringLiteral("share/man/man1/cps.1.gz"))});
    ASSERT_TRUE(gunzip.waitForFinished(10000));
    const QByteArray page = gunzip.readAllStandardOutput();
    EXPECT_TRUE(page.contains(".TH CPS")) << page.left(200).constData();
    EXPECT_TRUE(page.contains("export\\-csv")) << page.constData();
}
