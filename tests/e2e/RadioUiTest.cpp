#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "PortNames.h"
#include "PortSettingDlg.h"
#include "ProcessDlg.h"
#include "RadioUi.h"
#include "SimHarness.h"

using namespace cps;
using namespace cps::e2e;

namespace {

// Stands in for the channel window: counts the grid operations the radio commands ask for.
class FakeView : public QWidget, public RadioViewHost {
  public:
    RadioImage image = RadioImage::factory();
    RadioContext context;
    int commits = 0, stores = 0, fills = 0;
    QWidget* hostWidget() override { return this; }
    RadioImage& documentImage() override { return image; }
    RadioContext radioContext() override { return context; }
    Bands bandsInUse() override { return unpackBands(image); }
    void commitPendingEdit() override { ++commits; }
    void storeGridIntoImage() override { ++stores; }
    void imageReadFromRadio() override { ++fills; }
    CProcessDlg* process() { return findChild<CProcessDlg*>(); }
};

RadioImage radioMemory() {
    RadioImage img = RadioImage::factory();
    for (int i = 0; i < kImageSize; ++i) img.set(i, static_cast<uint8_t>(i * 31 + 1));
    img.set(addr::kBandCode, 2);
    for (int i = 0; i < addr::kPasswordLength; ++i) img.set(addr::kPassword + i, 0xFF);
    return img;
}

void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

struct RadioUi : ::testing::Test {
    QTemporaryDir dir;
    FakeView view;
    void SetUp() override {
        qputenv("CPS_USER_STORE", dir.filePath("user.ini").toLocal8Bit());
        saveDataFile(dir.filePath("radio.dat"), radioMemory());
    }
};

TEST_F(RadioUi, ReadAndStartRefillsTheGrid) {
    Sim sim({"--image", dir.filePath("radio.dat")}, dir.path());
    view.context.portName = sim.device();
    radioui::read(view);
    CProcessDlg* dlg = view.process();
    ASSERT_NE(dlg, nullptr);
    radioui::write(view);  // ignored while the window is open
    EXPECT_EQ(view.findChildren<CProcessDlg*>().size(), 1);
    dlg->startButton()->click();  // runs the transfer
    EXPECT_EQ(view.fills, 1);
    EXPECT_EQ(view.stores, 0);
    EXPECT_TRUE(view.image == radioMemory());
    flushDeletes();
    EXPECT_EQ(view.process(), nullptr);
}

TEST_F(RadioUi, FailedReadShowsTheBoxAndKeepsTheDocument) {
    Sim sim({"--image", dir.filePath("radio.dat"), "--nak-at", "0x800"}, dir.path());
    view.context.portName = sim.device();
    const RadioImage before = view.image;
    QString shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    closer.start(20);
    radioui::read(view);
    view.process()->startButton()->click();
    EXPECT_EQ(shown, QStringLiteral("Program Interrupt, Please reset the radio and try again"));
    EXPECT_EQ(view.fills, 0);
    EXPECT_TRUE(view.image == before);
}

TEST_F(RadioUi, CancelBeforeStartClosesTheWindow) {
    radioui::write(view);
    ASSERT_NE(view.process(), nullptr);
    EXPECT_EQ(view.commits, 1);
    view.process()->cancelButton()->click();
    flushDeletes();
    EXPECT_EQ(view.process(), nullptr);
    EXPECT_EQ(view.stores, 0);
}

TEST_F(RadioUi, PortSettingOffersOpenablePortsAndShowsTheCurrentOne) {
    CPortSettingDlg dlg(nullptr, false, portNameFor(12), {}, [](const QString& name) {
        const int n = portNumberFromName(name);
        return n == 2 || n == 12;
    });
    EXPECT_EQ(dlg.checkedPort(), 12);
    EXPECT_FALSE(dlg.buttons()->button(1)->isEnabled());
    EXPECT_TRUE(dlg.buttons()->button(2)->isEnabled());
    dlg.buttons()->button(2)->setChecked(true);
    EXPECT_EQ(dlg.checkedPort(), 2);
#ifndef Q_OS_WIN
    // Where each number leads is shown beside it.
    EXPECT_EQ(dlg.buttons()->button(3)->text(), QStringLiteral("COM3  /dev/ttyUSB2"));
#endif

    // The current port held elsewhere: nothing checked.
    CPortSettingDlg busy(nullptr, true, portNameFor(2), {}, [](const QString&) { return false; });
    EXPECT_EQ(busy.checkedPort(), 0);
    EXPECT_EQ(busy.windowTitle(), QStringLiteral("端口设置"));
}

}  // namespace

int main(int argc, char** argv) {
    // Test discovery runs this program without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
