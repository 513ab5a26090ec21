// Times the conversions every grid fill and store runs, and the settings load at start-up.
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

#include "ChannelCodec.h"
#include "ProfileStore.h"
#include "RadioImage.h"

using namespace cps;
using Clock = std::chrono::steady_clock;

namespace {

template <typename F>
double microsPerRun(int runs, F&& f) {
    const auto start = Clock::now();
    for (int i = 0; i < runs; ++i) f();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / runs;
}

RadioImage fullImage() {
    RadioImage image = RadioImage::factory();
    applyNewImageSettings(image, 0);
    const Bands bands = unpackBands(image);
    for (int n = 1; n <= kChannelCount; ++n) {
        ChannelRow row;
        row[kColRx] = freqValueToText(134 * kPerMHz + n * 12500);
        row[kColTx] = freqValueToText(135 * kPerMHz + n * 12500);
        row[kColDecTone] = n % 2 ? QStringLiteral("88.5") : QStringLiteral("D023N");
        row[kColEncTone] = QStringLiteral("None");
        row[kColName] = QStringLiteral("CH%1").arg(n);
        row[kColPower] = QStringLiteral("High");
        row[kColBandwidth] = QStringLiteral("Wide");
        row[kColScan] = QStringLiteral("Yes");
        row[kColBusyLock] = QStringLiteral("Off");
        row[kColPttId] = QStringLiteral("BOT");
        encodeChannel(row, image.data() + recordOffset(n), bands);
    }
    return image;
}

}  // namespace

int main() {
    RadioImage image = fullImage();
    const Bands bands = unpackBands(image);
    std::array<ChannelRow, kChannelCount> rows;

    const double decode = microsPerRun(500, [&] {
        for (int n = 1; n <= kChannelCount; ++n)
            rows[n - 1] = decodeChannel(image.data() + recordOffset(n), bands, false);
    });
    const double encode = microsPerRun(500, [&] {
        for (int n = 1; n <= kChannelCount; ++n)
            encodeChannel(rows[n - 1], image.data() + recordOffset(n), bands);
    });
    std::printf("decode 129 channels: %8.1f us\n", decode);
    std::printf("encode 129 channels: %8.1f us\n", encode);

    QTemporaryDir dir;
    const QString path = dir.filePath("Program.ini");
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) return 1;
        for (int s = 0; s < 50; ++s) {
            f.write(QStringLiteral("[Section%1]\r\n").arg(s).toUtf8());
            for (int k = 0; k < 19; ++k)
                f.write(
                    QStringLiteral("Key%1 = value %2 // comment\r\n").arg(k).arg(s * k).toUtf8());
        }
    }
    const double load = microsPerRun(200, [&] {
        ProfileStore store;
        store.open(path);
    });
    ProfileStore store;
    store.open(path);
    const double lookup = microsPerRun(20000, [&] { (void)store.get("section49", "key18"); });
    std::printf("load 1000-line settings file: %8.1f us\n", load);
    std::printf("lookup, last key of last section: %8.2f us\n", lookup);
    return 0;
}
