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

TEST_F(CliTest, TwoToneSectionsShowAndSetAsTheDialogDoes) {
    ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
    const QByteArray before = read(file("new.dat"));
    Result r = run({"show", file("new.dat"), "2tone-encode"});
    ASSERT_EQ(r.status, 0);
    QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6 + 64);
    EXPECT_EQ(lines[0], "2tone-encode\tThe first delay time(s)\t0.5");
    EXPECT_EQ(lines[4], "2tone-encode\tTx rise delay time(ms)\t0.10");
    EXPECT_EQ(lines[5], "2tone-encode\tShort beep tone\tOff");
    EXPECT_EQ(lines[69], "2tone-encode\tTone2 Fre 32\t1000.0");
    r = run({"show", file("new.dat"), "2tone-decode", "--lang", "zh"});
    lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 48);
    EXPECT_EQ(lines[47], "2tone-decode\t2-Tone8 Long tone delay time(s)\t0.5");

    r = run({"set", file("new.dat"), "-o", file("d.dat"), "2tone-decode", "2-Tone6 A Tone(HZ)=5000",
             "2-Tone2 Interval time(s)=1.55"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("became '3106.0'")) << r.err.toStdString();
    const QByteArray d = read(file("d.dat"));
    EXPECT_EQ(d.mid(0xEA8, 2), QByteArray("\x79\x54", 2));   // 31060
    EXPECT_EQ(d.at(0xE8E), 15);                              // "1.5": three characters fit
    EXPECT_EQ(d.at(0xF8E), 30);                              // page 2 was visited
    EXPECT_EQ(d.mid(0xF80, 2), QByteArray("\x01\xC0", 2));   // page 1 stores at every opening
    EXPECT_EQ(d.mid(0xF90, 8), before.mid(0xF90, 8));        // page 3 was not
    EXPECT_EQ(d.mid(0xFA0, 0x30), before.mid(0xFA0, 0x30));  // the calibration

    r = run({"set", file("new.dat"), "-o", file("e.dat"), "2tone-encode",
             "Tx rise delay time(ms)=0.33", "Tone1 Fre 1=", "Short beep tone=On"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QByteArray e = read(file("e.dat"));
    EXPECT_EQ(e.mid(0xEC5, 3), QByteArray("\x00\x06\x01", 3));
    EXPECT_EQ(e.mid(0xE00, 2), QByteArray("\xFF\xFF", 2));
    EXPECT_EQ(e.mid(0xF00, 4), QByteArray("\x00\x00\x00\x70", 4));
    EXPECT_EQ(e.mid(0xFA0, 0x30), before.mid(0xFA0, 0x30));

    EXPECT_EQ(run({"set", file("new.dat"), "-o", file("f.dat"), "2tone-decode",
                   "2-Tone9 A Tone(HZ)=1000"})
                  .status,
              2);
    EXPECT_EQ(
        run({"set", file("new.dat"), "-o", file("f.dat"), "2tone-decode", "Pages stored=3"}).status,
        2);
    EXPECT_FALSE(QFile::exists(file("f.dat")));
}
