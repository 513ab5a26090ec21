#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "DataFile.h"
#include "RadioImage.h"

using namespace cps;

namespace {

// Hex text with optional blanks between bytes.
QByteArray hex(const char* text) { return QByteArray::fromHex(QByteArray(text).replace(' ', "")); }

QByteArray bytesOf(const RadioImage& image) {
    return QByteArray(reinterpret_cast<const char*>(image.data()), kImageSize);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

TEST(RadioImage, FactoryImageHoldsTheDefaultsAndErasedMemoryElsewhere) {
    const RadioImage image = RadioImage::factory();
    const struct {
        int offset;
        QByteArray bytes;
    } expected[] = {
        {0xC40, hex("0104000000BE135A00000A")},
        {0xC70, hex("FD00FF41")},
        {0xCB0, hex("00040000FF01")},
        {0xCCF, hex("0E")},
        {0xCDF, hex("00")},
        {0xEC0, hex("05050A0014000200")},
        {0xFA0, hex("25252627251A1A1B1918171717161615")},
        {0xFB0, hex("14131113FEDB0E3E4141421E1E2C2E50")},
        {0xFC0, hex("5152531E201E2005 2D062B000D0A04FF")},
        {0xFE1, hex("00")},
        {0xFF0, hex("131764131764 29 27 22 1E FF")},
    };
    QByteArray want(kImageSize, char(0xFF));
    for (int i = 0; i < 32; ++i) want.replace(0xE00 + 4 * i, 4, hex("4E202710"));
    for (int i = 0; i < 8; ++i) want.replace(0xE80 + 8 * i, 8, hex("4E20271005050A05"));
    for (const auto& e : expected) want.replace(e.offset, e.bytes.size(), e.bytes);
    const QByteArray got = bytesOf(image);
    for (int i = 0; i < kImageSize; ++i)
        EXPECT_EQ(uint8_t(got[i]), uint8_t(want[i])) << "offset 0x" << std::hex << i;
}

TEST(RadioImage, BandLimitsPackAndUnpackAsDecimalDigits) {
    RadioImage image;
    const uint8_t packed[6] = {0x13, 0x17, 0x64, 0x13, 0x17, 0x46};
    for (int i = 0; i < 6; ++i) image.set(0xFF0 + i, packed[i]);
    const Bands bands = unpackBands(image);
    EXPECT_EQ(bands.band1.low, 136 * kPerMHz);
    EXPECT_EQ(bands.band1.high, 174 * kPerMHz);
    EXPECT_EQ(bands.band2.low, 134 * kPerMHz);
    EXPECT_EQ(bands.band2.high, 176 * kPerMHz);

    RadioImage other;
    packBands(other, bands);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(other.at(0xFF0 + i), packed[i]) << i;

    Bands wide{{0, 999 * kPerMHz}, {400 * kPerMHz, 470 * kPerMHz}};
    packBands(other, wide);
    EXPECT_EQ(unpackBands(other), wide);
    // 0 is an empty cell, never a frequency; the lowest one is in.
    EXPECT_FALSE(wide.contains(0));
    EXPECT_TRUE(wide.contains(1));
    EXPECT_TRUE(wide.contains(999 * kPerMHz));
    EXPECT_FALSE(Bands({{136 * kPerMHz, 174 * kPerMHz}, {400 * kPerMHz, 470 * kPerMHz}})
                     .contains(175 * kPerMHz));
}

TEST(RadioImage, NewImageSettingsTakeTheStoredTypeAndDefaultBands) {
    RadioImage image = RadioImage::factory();
    const RadioImage before = image;
    applyNewImageSettings(image, 0x1234);
    EXPECT_EQ(image.at(0xFE1), 0x34);
    const QByteArray expected = hex("0001FFFF86 00B000B000B000");
    EXPECT_EQ(bytesOf(image).mid(0xFD0, 12).toHex().toStdString(), expected.toHex().toStdString());
    EXPECT_EQ(bytesOf(image).mid(0xFF0, 6).toHex().toStdString(), std::string("131746131746"));
    // Nothing else moves.
    int changed = 0;
    for (int i = 0; i < kImageSize; ++i) changed += image.at(i) != before.at(i);
    EXPECT_EQ(changed, 1 + 10 + 2);  // type byte, 0xFD0-0xFDB but 0xFD2-3, the bands' unit nibbles
}

TEST(DataFile, LoadsTheFirst4096BytesAndRefusesShortFiles) {
    QTemporaryDir dir;
    QByteArray content(kImageSize + 1, '\0');
    for (int i = 0; i < content.size(); ++i) content[i] = char(i * 7);
    writeFile(dir.filePath("long.dat"), content);
    writeFile(dir.filePath("short.dat"), content.left(kImageSize - 1));

    RadioImage image;
    QString error;
    ASSERT_TRUE(loadDataFile(dir.filePath("long.dat"), image, &error)) << error.toStdString();
    EXPECT_EQ(bytesOf(image), content.left(kImageSize));

    const RadioImage kept = image;
    EXPECT_FALSE(loadDataFile(dir.filePath("short.dat"), image, &error));
    EXPECT_TRUE(error.contains("4095")) << error.toStdString();
    EXPECT_EQ(image, kept);
    EXPECT_FALSE(loadDataFile(dir.filePath("missing.dat"), image, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(loadDataFile(dir.path(), image, &error));  // a folder is no data file
    EXPECT_EQ(image, kept);
}

TEST(DataFile, SaveWritesExactlyTheImageAndReportsFailure) {
    QTemporaryDir dir;
    RadioImage image = RadioImage::factory();
    image.set(0, 0x42);
    const QString path = dir.filePath("a.dat");
    writeFile(path, QByteArray(9000, 'x'));  // an older, longer file is replaced whole
    QString error;
    ASSERT_TRUE(saveDataFile(path, image, &error)) << error.toStdString();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), bytesOf(image));

    EXPECT_FALSE(saveDataFile(dir.filePath("no/such/folder/b.dat"), image, &error));
    EXPECT_FALSE(error.isEmpty());
    // A target that cannot be replaced (a folder) fails and stays as it was.
    QDir(dir.path()).mkdir("folder.dat");
    EXPECT_FALSE(saveDataFile(dir.filePath("folder.dat"), image, &error));
    EXPECT_TRUE(QFileInfo(dir.filePath("folder.dat")).isDir());
}
