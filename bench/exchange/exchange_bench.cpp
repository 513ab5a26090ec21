// Times export then import of a full image: the channel CSV and the configuration JSON.
#include <chrono>
#include <cstdio>

#include "ChannelCodec.h"
#include "ChannelTable.h"
#include "Exchange.h"

using namespace cps;
using Clock = std::chrono::steady_clock;

namespace {

// The fastest of 10 batches: on a shared machine the minimum is the figure other load
// disturbs least.
template <typename F>
double millisPerRun(int runs, F&& f) {
    double best = 1e300;
    for (int b = 0; b < 10; ++b) {
        const auto start = Clock::now();
        for (int i = 0; i < runs; ++i) f();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (ms / runs < best) best = ms / runs;
    }
    return best;
}

// Every location in use, with names, tones and offsets.
RadioImage fullImage() {
    RadioImage image = RadioImage::factory();
    applyNewImageSettings(image, 0);
    ChannelTable table;
    table.fill(image);
    const char* tones[] = {"88.5", "D023N", "None", "D754I", "254.1"};
    for (int n = 1; n <= kChannelCount; ++n) {
        const Freq rx = 136 * kPerMHz + n * 12500;
        table.typeCell(n, 1, freqValueToText(rx));
        table.typeCell(n, 2, freqValueToText(rx + (n % 3) * 60000));
        table.typeCell(n, 3, QString::fromLatin1(tones[n % 5]));
        table.typeCell(n, 4, QString::fromLatin1(tones[(n + 1) % 5]));
        table.typeCell(n, 5, QStringLiteral("CH%1").arg(n));
    }
    table.store(image);
    return image;
}

}  // namespace

int main() {
    const RadioImage image = fullImage();
    QByteArray csv, json;
    exchange::ImportResult back;

    const double csvOut = millisPerRun(20, [&] { csv = exchange::exportCsv(image); });
    const double csvIn = millisPerRun(20, [&] { back = exchange::importCsv(csv, image); });
    if (!back.ok || !(back.image == image)) std::printf("CSV round trip FAILED\n");
    const double jsonOut = millisPerRun(20, [&] { json = exchange::exportJson(image); });
    exchange::JsonOptions service;
    service.serviceAccess = true;
    const RadioImage fresh = [] {
        RadioImage i = RadioImage::factory();
        applyNewImageSettings(i, 0);
        return i;
    }();
    const double jsonIn =
        millisPerRun(20, [&] { back = exchange::importJson(json, fresh, service); });
    if (!back.ok) std::printf("JSON import FAILED: %s\n", qPrintable(back.error));

    std::printf(
        "channel CSV (129 channels, %lld bytes): export %.3f ms, import %.3f ms, "
        "together %.3f ms\n",
        static_cast<long long>(csv.size()), csvOut, csvIn, csvOut + csvIn);
    std::printf(
        "configuration JSON (%lld bytes): export %.3f ms, import into a new image %.3f "
        "ms, together %.3f ms\n",
        static_cast<long long>(json.size()), jsonOut, jsonIn, jsonOut + jsonIn);
    return 0;
}
