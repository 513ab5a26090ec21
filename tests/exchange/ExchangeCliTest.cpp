#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "ChannelCodec.h"
#include "ChannelTable.h"
#include "DataFile.h"
#include "RadioImage.h"

using namespace cps;

namespace {

struct CpsRun {
    int status = -1;
    QString out;
    QString err;
};

class ExchangeCli : public ::testing::Test {
  protected:
    CpsRun run(const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("CPS_USER_STORE", path("user.ini"));
        p.setProcessEnvironment(env);
        p.start(CPS_BINARY, args);
        EXPECT_TRUE(p.waitForFinished(20000));
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    QString path(const char* name) const { return dir.filePath(name); }
    void write(const QString& p, const QByteArray& bytes) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QString saved(const RadioImage& image, const char* name) {
        const QString p = path(name);
        EXPECT_TRUE(saveDataFile(p, image));
        return p;
    }
    QTemporaryDir dir;
};

RadioImage withChannel(const char* rx, const char* name) {
    RadioImage image = RadioImage::factory();
    applyNewImageSettings(image, 0);
    ChannelTable table;
    table.fill(image);
    table.typeCell(7, 1, QString::fromLatin1(rx));
    table.typeCell(7, 5, QString::fromLatin1(name));
    table.store(image);
    return image;
}

TEST_F(ExchangeCli, CsvAndJsonRoundTripThroughFiles) {
    const RadioImage image = withChannel("145.5", "HOME");
    const QString dat = saved(image, "a.dat");
    ASSERT_EQ(run({"export-csv", dat, "-o", path("c.csv")}).status, 0);
    ASSERT_EQ(run({"import-csv", path("c.csv"), "--into", dat, "-o", path("c.dat")}).status, 0);
    RadioImage back;
    ASSERT_TRUE(loadDataFile(path("c.dat"), back));
    EXPECT_TRUE(back == image);

    const CpsRun exported = run({"export", dat, "-o", "-"});
    ASSERT_EQ(exported.status, 0);
    EXPECT_TRUE(exported.out.contains("\"Chnnel Name\": \"HOME\""));
    write(path("c.json"), exported.out.toUtf8());
    // Into the image itself, or into a new image it was made from, nothing changes: no
    // section is stored that the file leaves as it shows.
    ASSERT_EQ(run({"import", path("c.json"), "--into", dat, "-o", path("j.dat")}).status, 0);
    EXPECT_EQ(run({"diff", dat, path("j.dat")}).status, 0);
    ASSERT_EQ(
        run({"import", path("c.json"), "-o", path("n.dat"), "--access-code", "527KTM"}).status, 0);
    EXPECT_EQ(run({"diff", dat, path("n.dat")}).status, 0);

    // Its result exported and imported again comes back byte for byte.
    ASSERT_EQ(run({"export", path("n.dat"), "-o", path("n.json")}).status, 0);
    ASSERT_EQ(run({"import", path("n.json"), "--into", path("n.dat"), "-o", path("m.dat")}).status,
              0);
    EXPECT_EQ(run({"diff", path("n.dat"), path("m.dat")}).status, 0);
}

TEST_F(ExchangeCli, RefusedImportsWriteNothingAndSayWhere) {
    write(path("bad.csv"), "Location,Name,Frequency\r\n1,TOOLONGNAME,145.5\r\n");
    CpsRun r = run({"import-csv", path("bad.csv"), "-o", path("out.dat")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("line 2, Name 'TOOLONGNAME'")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("nothing written"));
    EXPECT_FALSE(QFile::exists(path("out.dat")));

    r = run({"import-csv", path("bad.csv"), "-o", path("out.dat"), "--lenient"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.err.contains("cut to 'TOOLONGN'")) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(path("out.dat")));

    write(path("bad.json"), R"({"optional": {"Beep": "Loud"}})");
    r = run({"import", path("bad.json"), "-o", path("bad.dat")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("$.optional[\"Beep\"]")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("bad.dat")));

    write(path("stun.json"), R"({"stun": {"Stun/Kill Code": "123"}})");
    r = run({"import", path("stun.json"), "-o", path("stun.dat"), "--access-code", "wrong"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("Password"));
}

TEST_F(ExchangeCli, DiffExitStatusIsLikeDiff) {
    const QString a = saved(withChannel("145.5", "HOME"), "a.dat");
    const QString b = saved(withChannel("145.5", "AWAY"), "b.dat");
    CpsRun r = run({"diff", a, a});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.isEmpty());

    r = run({"diff", a, b, "--lang", "en"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "Channel 7, Chnnel Name: \"HOME\" -> \"AWAY\"\n");
    r = run({"diff", a, b, "--lang", "zh"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, QString::fromUtf8("信道 7, 信道名字: \"HOME\" -> \"AWAY\"\n"));

    EXPECT_EQ(run({"diff", a, path("missing.dat")}).status, 2);
    EXPECT_EQ(run({"diff", a}).status, 2);
    EXPECT_EQ(run({"diff", a, b, "--lang", "fr"}).status, 2);
}

TEST_F(ExchangeCli, EveryCommandHasHelp) {
    for (const char* c : {"export-csv", "import-csv", "export", "import", "diff"}) {
        const CpsRun r = run({c, "--help"});
        EXPECT_EQ(r.status, 0) << c;
        EXPECT_TRUE(r.out.startsWith(QStringLiteral("Usage: cps ") + c)) << c;
    }
    const CpsRun usage = run({"--help"});
    EXPECT_TRUE(usage.out.contains("import-csv"));
}

}  // namespace
