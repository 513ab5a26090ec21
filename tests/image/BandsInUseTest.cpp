#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "ChannelCodec.h"
#include "DataFile.h"
#include "RadioImage.h"

using namespace cps;

namespace {

Band mhz(int low, int high) { return {low * kPerMHz, high * kPerMHz}; }

// An image whose packed limits (0xFF0-0xFF5) are the given six bytes, with the 16-bit copy
// and band code of a new image unless a test changes them.
RadioImage withPacked(std::initializer_list<uint8_t> packed) {
    RadioImage image = RadioImage::factory();
    applyNewImageSettings(image, 0);
    int o = addr::kBandLimitsPacked;
    for (uint8_t b : packed) image.set(o++, b);
    return image;
}

void setCopy16(RadioImage& image, int band, int low, int high) {
    const int o = addr::kBandLimits16 + 4 * band;
    image.set(o, low & 0xFF);
    image.set(o + 1, low >> 8);
    image.set(o + 2, high & 0xFF);
    image.set(o + 3, high >> 8);
}

void expectBand(const Band& got, const Band& want) {
    EXPECT_EQ(got.low, want.low);
    EXPECT_EQ(got.high, want.high);
}

}  // namespace

TEST(BandsInUse, UsableLimitsAreTakenAsStored) {
    const BandsInUse in = loadBandsInUse(withPacked({0x13, 0x17, 0x64, 0x40, 0x47, 0x00}));
    EXPECT_FALSE(in.replaced());
    expectBand(in.bands.band1, mhz(136, 174));
    expectBand(in.bands.band2, mhz(400, 470));
    // A band of one frequency is still a band.
    EXPECT_FALSE(loadBandsInUse(withPacked({0x15, 0x15, 0x00, 0x15, 0x15, 0x00})).replaced());
}

TEST(BandsInUse, UnusablePackedBandsComeFromTheSixteenBitCopy) {
    struct Case {
        const char* what;
        std::initializer_list<uint8_t> packed;
    };
    const Case cases[] = {
        {"erased", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"reversed 176-134", {0x17, 0x13, 0x64, 0x17, 0x13, 0x64}},
        {"zeros", {0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"a units nibble above 9", {0x13, 0x17, 0x4A, 0x13, 0x17, 0xA6}},
        {"upper 0, lower 0-9", {0x00, 0x00, 0x50, 0x00, 0x00, 0x50}},
    };
    for (const Case& c : cases) {
        RadioImage image = withPacked(c.packed);
        setCopy16(image, 0, 136, 174);
        setCopy16(image, 1, 400, 470);
        const BandsInUse in = loadBandsInUse(image);
        EXPECT_EQ(in.source[0], BandSource::Copy16) << c.what;
        EXPECT_EQ(in.source[1], BandSource::Copy16) << c.what;
        expectBand(in.bands.band1, mhz(136, 174));
        expectBand(in.bands.band2, mhz(400, 470));
    }
}

TEST(BandsInUse, EachBandFallsBackOnItsOwn) {
    RadioImage image = withPacked({0x13, 0x17, 0x64, 0xFF, 0xFF, 0xFF});
    setCopy16(image, 1, 350, 390);
    const BandsInUse in = loadBandsInUse(image);
    EXPECT_EQ(in.source[0], BandSource::Packed);
    EXPECT_EQ(in.source[1], BandSource::Copy16);
    expectBand(in.bands.band1, mhz(136, 174));
    expectBand(in.bands.band2, mhz(350, 390));
}

TEST(BandsInUse, WithoutAUsableCopyTheBandCodeResetValuesApply) {
    struct Case {
        uint8_t code;
        Band reset;
    };
    // V, U, M and codes no band has (0, 3, 0xFF) that count as V.
    const Case cases[] = {{1, mhz(134, 176)}, {2, mhz(400, 520)}, {4, mhz(330, 400)},
                          {0, mhz(134, 176)}, {3, mhz(134, 176)}, {0xFF, mhz(134, 176)}};
    for (const Case& c : cases) {
        RadioImage image = withPacked({0xFF, 0xFF, 0xFF, 0x17, 0x13, 0x64});
        setCopy16(image, 0, 0xFFFF, 0xFFFF);  // erased: above 999 MHz
        setCopy16(image, 1, 176, 134);        // reversed
        image.set(addr::kBandCode, c.code);
        const BandsInUse in = loadBandsInUse(image);
        EXPECT_EQ(in.source[0], BandSource::BandCode) << int(c.code);
        EXPECT_EQ(in.source[1], BandSource::BandCode) << int(c.code);
        expectBand(in.bands.band1, c.reset);
        expectBand(in.bands.band2, c.reset);
    }
    RadioImage zeros = withPacked({0, 0, 0, 0, 0, 0});
    setCopy16(zeros, 0, 0, 0);
    setCopy16(zeros, 1, 0, 0);
    EXPECT_EQ(loadBandsInUse(zeros).source[0], BandSource::BandCode);
}

TEST(BandsInUse, ZeroIsNeverInBand) {
    EXPECT_FALSE(mhz(0, 0).contains(0));
    EXPECT_FALSE(mhz(0, 176).contains(0));
    EXPECT_FALSE((Bands{mhz(0, 0), mhz(0, 999)}).contains(0));
    EXPECT_TRUE(mhz(0, 176).contains(1));
    // An empty row holds no receive frequency: the store erases its record, whatever the
    // limits are.
    uint8_t record[kRecordSize];
    std::fill(record, record + kRecordSize, 0x00);
    encodeChannel(ChannelRow{}, record, Bands{mhz(0, 0), mhz(0, 0)});
    for (uint8_t b : record) ASSERT_EQ(b, 0xFF);
}

TEST(BandsInUse, NoteSaysTheLimitsTheirOriginAndSoftwareInfoInBothLanguages) {
    RadioImage image = withPacked({0xFF, 0xFF, 0xFF, 0x40, 0x47, 0x00});
    setCopy16(image, 0, 0xFFFF, 0xFFFF);
    image.set(addr::kBandCode, 2);
    const BandsInUse in = loadBandsInUse(image);
    const QString en = msg::bandsInUseNote(in, 2, false);
    EXPECT_EQ(en,
              "The frequency band limits of this image cannot be used, so the program uses:\n"
              "Band 1: 400-520 MHz (the reset values of U Section)\n"
              "Band 2: 400-470 MHz (as stored)\n"
              "Software Info (Edit menu) sets the band limits.");
    const QString zh = msg::bandsInUseNote(in, 2, true);
    EXPECT_TRUE(zh.contains(QString::fromUtf8("频段 1：400-520 MHz（U Section 的默认值）")))
        << zh.toStdString();
    EXPECT_TRUE(zh.contains(QString::fromUtf8("软件信息"))) << zh.toStdString();
}

TEST(EntryMessages, DetailLinesNameTheBandsAndShowValidEntries) {
    const Bands one{mhz(134, 176), mhz(134, 176)};
    EXPECT_EQ(msg::outOfRangeDetail(one, false),
              "Allowed: 134-176 MHz (the band limits in use; Software Info sets them)");
    const Bands two{mhz(136, 174), mhz(400, 470)};
    EXPECT_TRUE(msg::outOfRangeDetail(two, false).contains("136-174 MHz or 400-470 MHz"));
    EXPECT_TRUE(msg::outOfRangeDetail(two, true).contains(
        QString::fromUtf8("允许范围：136-174 MHz 或 400-470 MHz")));
    EXPECT_EQ(msg::badFormatDetail(one, false),
              "Example of a valid entry: 155.0125 (MHz, digits and one full stop, 67 to 600)");
    EXPECT_EQ(msg::badStepDetail(one, false),
              "Example of a valid entry: 155.0125 (6.25 kHz step) or 155.015 (5 kHz step)");
    // The examples are entries the grid takes: inside band 1 and on a step, even for a band
    // of a single frequency.
    for (const Bands& b : {one, two, Bands{mhz(150, 150), mhz(150, 150)}}) {
        const QString line = msg::badStepDetail(b, false);
        const QStringList words = line.split(' ');
        for (int i : {5, 10}) {
            const Freq v = freqTextToValue(words[i]);
            EXPECT_TRUE(b.band1.contains(v) && onFrequencyStep(v)) << line.toStdString();
        }
    }
}

TEST(DataFile, LoadErrorsInTheLanguageAsked) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.dat");
    // Messages name files as the system writes paths (backslashes on Windows).
    const QString missingShown = QDir::toNativeSeparators(missing);
    RadioImage image;
    QString error;
    EXPECT_FALSE(loadDataFile(missing, image, &error, true));
    EXPECT_EQ(error, QString::fromUtf8("无法打开 %1：文件不存在").arg(missingShown));
    EXPECT_FALSE(loadDataFile(missing, image, &error, false));
    EXPECT_TRUE(error.startsWith("Cannot open " + missingShown)) << error.toStdString();

    const QString shortFile = dir.filePath("short.dat");
    QFile f(shortFile);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(100, 'x'));
    f.close();
    EXPECT_FALSE(loadDataFile(shortFile, image, &error, true));
    EXPECT_EQ(error, QString::fromUtf8("%1 不是对讲机数据文件：它只有 100 字节，需要 4096 字节")
                         .arg(QDir::toNativeSeparators(shortFile)));
    EXPECT_FALSE(loadDataFile(dir.path(), image, &error, true));
    EXPECT_TRUE(error.contains(QString::fromUtf8("不是普通文件"))) << error.toStdString();
}
