#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "ChannelCodec.h"
#include "DataFile.h"
#include "RadioImage.h"

using namespace cps;

namespace {

struct Result {
    int status = -1;
    QString err;
};

// `cps print` end to end: the PDF's text as pdftotext reads it.
class PrintCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        pdftotext = QStandardPaths::findExecutable("pdftotext");
        RadioImage image = RadioImage::factory();
        applyNewImageSettings(image, 0);
        const ChannelRow one{"145.50000", "145.52500", "88.5", "D023N", "CALL",
                             "High",      "Wide",      "Yes",  "Off",   "Both"};
        for (int n : {1, 2, 3, 4, 5, 6, 129})
            encodeChannel(one, image.data() + recordOffset(n), unpackBands(image));
        // A transmit text of 16 characters, no 0xFF after it.
        const char bot[] = "0123456789ABCD*#";
        for (int i = 0; i < 16; ++i) image.set(0xC50 + i, static_cast<uint8_t>(bot[i]));
        ASSERT_TRUE(saveDataFile(file("radio.dat"), image, nullptr));
        ASSERT_TRUE(saveDataFile(file("empty.dat"), RadioImage::factory(), nullptr));
    }
    Result run(const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("CPS_USER_STORE", file("user.ini"));
        env.remove("DISPLAY");  // the report draws without a display
        env.remove("QT_QPA_PLATFORM");
        p.setProcessEnvironment(env);
        p.start(CPS_BINARY, QStringList{"print"} + args);
        EXPECT_TRUE(p.waitForFinished(30000));
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardError())};
    }
    QString text(const QString& pdf) {
        QProcess p;
        p.start(pdftotext, {pdf, "-"});
        EXPECT_TRUE(p.waitForFinished(30000));
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    QString file(const char* name) const { return dir.filePath(name); }
    QTemporaryDir dir;
    QString pdftotext;
};

}  // namespace

TEST_F(PrintCliTest, DefaultReportHasOptionalAndChannelPages) {
    if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
    ASSERT_EQ(run({file("radio.dat"), "-o", file("r.pdf"), "--lang", "en"}).status, 0);
    const QString t = text(file("r.pdf"));
    for (const char* s : {"Optional",
                          "Key lock:",
                          "Manual",
                          "FREQ.CH",
                          "Light 1",
                          "5k",
                          "Beginning of Trasmit:",
                          "0123456789ABCD*#",
                          "PTT ID type:",
                          "DTMF",
                          "Channel Infomation",
                          "Channel 1:",
                          "Channel 6:",
                          "Channel FR:",
                          "Receive Frequency:",
                          "145.50000",
                          "145.52500",
                          "D023N",
                          "CALL",
                          "Both",
                          "Optional Singal:",
                          "Page 1 of 3",
                          "Page 3 of 3"})
        EXPECT_TRUE(t.contains(QString::fromUtf8(s))) << s;
    EXPECT_FALSE(t.contains("Page 4 of")) << "five channels to a page: 7 channels, 2 pages";
    EXPECT_FALSE(t.contains("2-Tone Encode"));
    EXPECT_FALSE(t.contains("First Digit Time"));
}

TEST_F(PrintCliTest, EverySectionInChinese) {
    if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
    ASSERT_EQ(
        run({file("radio.dat"), "-o", file("zh.pdf"), "--sections", "all", "--lang", "zh"}).status,
        0);
    const QString t = text(file("zh.pdf"));
    for (const char* s : {"编码",
                          "首位数码持续时间 (毫秒):",
                          "禁止发射",
                          "快速呼叫列表",
                          "身份码:",
                          "可选功能",
                          "数字功能键锁定:",
                          "2-Tone 解码",
                          "2-Tone 8:",
                          "2-Tone 编码",
                          "音频1",
                          "2000.0",
                          "1000.0",
                          "0.10",
                          "自动",
                          "颜色1",
                          "频率信道",
                          "信道信息",
                          "信道 FR:",
                          "接收频率:",
                          "高",
                          "宽",
                          "是",
                          "Page 1 of 7",
                          "Page 7 of 7",
                          "对讲机写频软件开发者"})
        EXPECT_TRUE(t.contains(QString::fromUtf8(s))) << s;
}

TEST_F(PrintCliTest, NoPageOrBadArgumentsWriteNothing) {
    // Only channels, and none filled: nothing to print.
    Result r = run({file("empty.dat"), "-o", file("none.pdf"), "--sections", "channels"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("Nothing to print")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(file("none.pdf")));

    r = run({file("radio.dat"), "-o", file("bad.pdf"), "--sections", "optional,keys"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("keys"));
    EXPECT_EQ(run({file("radio.dat"), "-o", file("bad.pdf"), "--lang", "fr"}).status, 2);
    EXPECT_EQ(run({file("radio.dat")}).status, 2);
    EXPECT_FALSE(QFile::exists(file("bad.pdf")));

    r = run({file("radio.dat"), "-o", file("no/such/dir/r.pdf")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(run({file("missing.dat"), "-o", file("m.pdf")}).status, 1);
    EXPECT_FALSE(QFile::exists(file("m.pdf")));
}

TEST_F(PrintCliTest, PagesDecodeTheirOwnRowsInThePdf) {
    if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
    RadioImage image = RadioImage::factory();
    image.set(0xC40, 0x0C);  // TOT 12 x 30
    image.set(0xC41, 0x1A);  // squelch 10
    image.set(0xC43, 0x05);  // step: no list value
    image.set(0xCCF, 0x41);  // group code "A"
    image.set(0xEC3, 0x00);  // tone interval 41 x 50 ms
    image.set(0xEC4, 41);
    image.set(0xEC7, 0x02);  // short beep: bit 0 clear
    image.set(0xE00, 0xFF);  // entry 1 tone 1: FF 00 prints blank
    image.set(0xE01, 0x00);
    ASSERT_TRUE(saveDataFile(file("odd.dat"), image, nullptr));
    ASSERT_EQ(
        run({file("odd.dat"), "-o", file("odd.pdf"), "--sections", "all", "--lang", "en"}).status,
        0);
    const QString t = text(file("odd.pdf"));
    for (const char* s : {"360", "25k", "2.0"}) EXPECT_TRUE(t.contains(QString::fromUtf8(s))) << s;
    EXPECT_FALSE(t.contains("6528.0"));
    EXPECT_FALSE(t.contains(QRegularExpression("\\bON\\b")));  // short beep prints Off
}
