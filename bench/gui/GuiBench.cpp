// Measures the desktop program's start-up (settings, language file, main window, first
// document, grid filled and shown; no splash) and a fill plus store of all 129 channels.
// Run with QT_QPA_PLATFORM=offscreen where there is no display.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "CMainFrame.h"
#include "CProgramView.h"
#include "ChannelCodec.h"
#include "Startup.h"

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Every channel in use, so the fill and the store do their full work.
void fillAllChannels(cps::RadioImage& image) {
    cps::Bands bands = cps::unpackBands(image);
    cps::ChannelRow row{};
    for (int n = 1; n <= cps::kChannelCount; ++n) {
        row[cps::kColRx] = cps::freqValueToText(bands.band1.low + n * 2500);
        row[cps::kColTx] = row[cps::kColRx];
        row[cps::kColDecTone] = QStringLiteral("67.0");
        row[cps::kColEncTone] = QStringLiteral("D023N");
        row[cps::kColName] = QStringLiteral("CH%1").arg(n);
        row[cps::kColPower] = QStringLiteral("High");
        row[cps::kColBandwidth] = QStringLiteral("Wide");
        row[cps::kColScan] = QStringLiteral("Yes");
        row[cps::kColBusyLock] = QStringLiteral("Off");
        row[cps::kColPttId] = QStringLiteral("Off");
        cps::encodeChannel(row, image.data() + cps::recordOffset(n), bands);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QTemporaryDir dir;
    // Without them start-up would stop at its "Load language DLL fail" box and wait there.
    for (const char* name : {"Program.ini", "English.qm"}) {
        const QString from = QStringLiteral(CPS_BIN_DIR "/") + QLatin1String(name);
        if (!QFile::copy(from, dir.filePath(QLatin1String(name)))) {
            std::fprintf(stderr, "bench_gui: %s is missing (the build folder it was built in)\n",
                         qPrintable(from));
            return 1;
        }
    }
    qputenv("CPS_USER_STORE", dir.filePath(QStringLiteral("user.ini")).toLocal8Bit());

    std::vector<double> startMs;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        Startup::Options o;
        o.programDir = dir.path() + QLatin1Char('/');
        o.splash = false;
        Startup startup(o);
        if (!startup.start()) return 1;
        QApplication::processEvents();
        startMs.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("start-up to shown grid: median %.1f ms over %zu runs\n", median(startMs),
                startMs.size());

    Startup::Options o;
    o.programDir = dir.path() + QLatin1Char('/');
    o.splash = false;
    o.showWindow = false;
    Startup startup(o);
    if (!startup.start()) return 1;
    CProgramView* view = startup.mainFrame()->activeView();
    fillAllChannels(view->documentImage());
    std::vector<double> fillMs, storeMs;
    for (int i = 0; i < 50; ++i) {
        QElapsedTimer t;
        t.start();
        view->fillGridFromImage();
        fillMs.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        view->storeGridIntoImage();
        storeMs.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("grid fill, 129 channels: median %.3f ms\n", median(fillMs));
    std::printf("grid store, 129 channels: median %.3f ms\n", median(storeMs));
    return 0;
}
