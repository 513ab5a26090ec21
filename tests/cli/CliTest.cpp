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

TEST_F(CliTest, FeatureSectionsShowAndSet) {
    ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
    Result r = run({"show", file("new.dat"), "optional", "dtmf", "msk", "key", "stun"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    for (const char* line :
         {"optional\tTOT (s)\t30\n", "optional\tShort Press Orange Key\tEmergency Call\n",
          "optional\tPassword\t\n", "optional\tKeypad Lock\tOff\n", "optional\tMSK Type\tMSK-I\n",
          "dtmf\tDtmf Code Time\t100\n", "dtmf\tGroup Code\t*\n", "msk\tCall List 9\t\n",
          "key\tSide Key\tOption Singalling Call\n", "stun\tStun Type\tStun\n"})
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(line))) << line;
    EXPECT_TRUE(r.out.startsWith("optional\tBack Light\tAuto\n"));
    EXPECT_EQ(r.out.count('\n'), 24 + 7 + 10 + 1 + 3);
    r = run({"show", file("new.dat"), "dtmf", "--lang", "zh"});
    EXPECT_TRUE(r.out.contains(QStringLiteral("dtmf\tWork Status\t正常\n")));

    // The fields the dialog keeps as loaded can be set here; a Chinese item is taken too.
    r = run({"set", file("new.dat"), "-o", file("a.dat"), "optional", "Keypad Lock=On",
             "MSK Type=MSK-II", "Password=12x3", "Vox Gain Level=关"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("'12x3' became '123'")) << r.err.toStdString();
    const QByteArray a = read(file("a.dat"));
    EXPECT_EQ(a[0xC70] & 0x80, 0);
    EXPECT_EQ(a[0xC73] & 0x01, 0);
    EXPECT_EQ(a.mid(0xFE2, 6), QByteArray("123\xFF\xFF\xFF"));
    r = run({"info", file("a.dat")});
    EXPECT_TRUE(r.out.contains("Password: set"));

    // Unknown field or list value: status 2, nothing written.
    r = run({"set", file("new.dat"), "-o", file("b.dat"), "dtmf", "Group Code=E"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("0, 1, 2")) << r.err.toStdString();
    r = run({"set", file("new.dat"), "-o", file("b.dat"), "msk", "ID=12"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("ID Code")) << r.err.toStdString();
    EXPECT_EQ(run({"set", file("new.dat"), "-o", file("b.dat"), "stun", "Stun Type=Kill"}).status,
              1);
    EXPECT_FALSE(QFile::exists(file("b.dat")));
}
