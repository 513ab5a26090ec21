#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "ChannelCodec.h"
#include "RadioImage.h"

using namespace cps;

namespace {

struct Result {
    int status = -1;
    QString out;
    QString err;
};

class CliTest : public ::testing::Test {
  protected:
    Result run(const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("CPS_USER_STORE", userStore());
        p.setProcessEnvironment(env);
        p.start(CPS_BINARY, args);
        EXPECT_TRUE(p.waitForFinished(20000));
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    QString file(const char* name) const { return dir.filePath(name); }
    QString userStore() const { return file("user.ini"); }
    QByteArray read(const QString& path) const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QTemporaryDir dir;
};

QByteArray bytesOf(const RadioImage& image) {
    return QByteArray(reinterpret_cast<const char*>(image.data()), kImageSize);
}

// Rows of a table where only the given channels are set.
QString table(const QMap<int, QString>& rows) {
    QString text;
    for (int n = 1; n <= kChannelCount; ++n)
        text += channelLabel(n) + (rows.contains(n) ? "\t" + rows[n] : QString(10, '\t')) + "\n";
    return text;
}

}  // namespace

TEST_F(CliTest, NewWritesTheFactoryImageWithNewImageSettings) {
    ASSERT_EQ(run({"new", "-o", file("a.dat")}).status, 0);
    RadioImage expected = RadioImage::factory();
    applyNewImageSettings(expected, 0);
    EXPECT_EQ(read(file("a.dat")), bytesOf(expected));

    write(userStore(), "[General]\nType=549\n");  // 0x225: only the low byte is kept
    ASSERT_EQ(run({"new", "-o", file("b.dat")}).status, 0);
    applyNewImageSettings(expected, 0x25);
    EXPECT_EQ(read(file("b.dat")), bytesOf(expected));
}

TEST_F(CliTest, ChannelsPrintsTheGridAndImportStoresItBack) {
    ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
    const QString rows =
        table({{1, "145.50000\t145.50000\tNone\tD023N\tCALL\tHigh\tWide\tYes\tOff\tOff"},
               {7, "136.01250\t140.00000\t88.5\tNone\t\tLow\tNarrow\tNo\tCarrier\tBoth"},
               {129, "150.00000\t\t\t67.0\t\t\t\t\t\t"}});
    write(file("rows.tsv"), rows.toUtf8());
    Result r =
        run({"channels", file("new.dat"), "--import", file("rows.tsv"), "-o", file("out.dat")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();

    r = run({"channels", file("out.dat")});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out, rows);
    const QByteArray out = read(file("out.dat"));
    EXPECT_EQ(out.mid(recordOffset(7), 4).toHex().toStdString(), "50126013");
    // Everything outside the channel records is the input's.
    EXPECT_EQ(out.mid(0xC18), read(file("new.dat")).mid(0xC18));

    // The Chinese table names the same contents and stores the same bytes.
    r = run({"channels", file("out.dat"), "--lang", "zh"});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.startsWith(
        QStringLiteral("1\t145.50000\t145.50000\t无\tD023N\tCALL\t高\t宽\t是\t关\t关\n")));
    write(file("zh.tsv"), r.out.toUtf8());
    ASSERT_EQ(
        run({"channels", file("new.dat"), "--import", file("zh.tsv"), "-o", file("zh.dat")}).status,
        0);
    EXPECT_EQ(read(file("zh.dat")), out);
}

TEST_F(CliTest, MalformedImportNamesTheLineAndWritesNothing) {
    ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
    QString rows = table({});
    write(file("short.tsv"), rows.replace("\n5\t", "\n5\tx\t").toUtf8());  // one field too many
    Result r =
        run({"channels", file("new.dat"), "--import", file("short.tsv"), "-o", file("o.dat")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("line 5")) << r.err.toStdString();

    rows = table({});
    write(file("label.tsv"), rows.replace("\nFr\t", "\nFR\t").toUtf8());
    r = run({"channels", file("new.dat"), "--import", file("label.tsv"), "-o", file("o.dat")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("line 129") && r.err.contains("FR")) << r.err.toStdString();

    write(file("few.tsv"), table({}).section('\n', 0, 127).toUtf8());
    r = run({"channels", file("new.dat"), "--import", file("few.tsv"), "-o", file("o.dat")});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(QFile::exists(file("o.dat")));
}

TEST_F(CliTest, InfoAndReadOnlyCommandsChangeNothing) {
    ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
    QByteArray image = read(file("new.dat"));
    image[0xFE2] = '1';
    image[0xFF0] = 0x40;  // band 1 from 400 MHz
    image[0xFF1] = 0x47;
    image[0xFF2] = 0x00;
    write(file("x.dat"), image);
    QFile::remove(userStore());

    Result r = run({"info", file("x.dat")});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "Band 1: 400-470 MHz\nBand 2: 134-176 MHz\nModel index: 0\nBand code: 1\n"
              "Radio type: 0\nPassword: set\n");
    ASSERT_EQ(run({"channels", file("x.dat")}).status, 0);
    EXPECT_EQ(read(file("x.dat")), image);
    EXPECT_FALSE(QFile::exists(userStore()));
}

TEST_F(CliTest, UsageAndFailures) {
    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({"frobnicate"}).status, 2);
    EXPECT_EQ(run({"new"}).status, 2);
    EXPECT_EQ(run({"channels", "a", "b"}).status, 2);
    EXPECT_EQ(run({"channels", "a", "--lang", "fr"}).status, 2);
    EXPECT_EQ(run({"channels", "a", "--import", "x"}).status, 2);
    Result r = run({"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char* command : {"new", "channels", "info", "read", "write"}) {
        EXPECT_TRUE(r.out.contains(command)) << command;
        EXPECT_EQ(run({command, "--help"}).status, 0) << command;
    }
    write(file("short.dat"), QByteArray(100, 'x'));
    r = run({"info", file("short.dat")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("100 bytes")) << r.err.toStdString();
    EXPECT_EQ(run({"channels", file("missing.dat")}).status, 1);
    EXPECT_EQ(run({"new", "-o", file("no/dir/x.dat")}).status, 1);
}

TEST_F(CliTest, ServiceSectionsShowAndSetAsTheirDialogs) {
    RadioImage image = RadioImage::factory();
    image.set(0xFCE, 0x85);
    image.set(0xFAB, 3);
    write(file("in.dat"), bytesOf(image));
    Result r = run({"show", file("in.dat"), "param", "sql"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains("param\tW/N Sql Difference\t-5\n"));
    EXPECT_TRUE(r.out.contains("param\tsql detect 4 wide high\t32\n"));
    EXPECT_TRUE(r.out.contains("sql\t440-449\t23\n"));

    r = run({"set", file("in.dat"), "-o", file("out.dat"), "param", "Mic amp gain=7"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("Password"));
    EXPECT_FALSE(QFile::exists(file("out.dat")));
    r = run({"set", file("in.dat"), "-o", file("out.dat"), "param", "Mic amp gain=16",
             "--access-code", "527KTM"});
    EXPECT_EQ(r.status, 2);
    r = run({"set", file("in.dat"), "-o", file("out.dat"), "param", "sql detect 1 wide low=150",
             "--access-code", "527KTM"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("'150' became '100'"));
    EXPECT_EQ(static_cast<uint8_t>(read(file("out.dat")).at(0xFB9)), 100);

    r = run({"set", file("in.dat"), "-o", file("out.dat"), "sql", "130-139=0"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    const QByteArray sql = read(file("out.dat"));
    EXPECT_EQ(sql.at(0xFA0), 5);
    EXPECT_EQ(sql.at(0xFAB), 23);
    EXPECT_EQ(sql.at(0xFA5), 26);

    r = run({"set", file("in.dat"), "-o", file("out.dat"), "info", "Freq Band=U Section",
             "High Freq 2=470"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    r = run({"show", file("out.dat"), "info"});
    EXPECT_EQ(r.out,
              "info\tCompany\tQM417 PLUS\ninfo\tFreq Band\tU Section\n"
              "info\tLow Freq 1\t400\ninfo\tHigh Freq 1\t470\n"
              "info\tLow Freq 2\t400\ninfo\tHigh Freq 2\t470\n");
}
