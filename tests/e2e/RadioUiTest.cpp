#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "PortNames.h"
#include "PortSettingDlg.h"
#include "ProcessDlg.h"
#include "RadioLink.h"
#include "RadioUi.h"
#include "RealInput.h"
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
    EXPECT_EQ(test::clickSeen(dlg->startButton()), QString());  // runs the transfer
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
    QStringList shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown << box->text();
            EXPECT_EQ(test::clickSeen(box->button(QMessageBox::Ok)), QString());
        }
    });
    closer.start(20);
    radioui::read(view);
    EXPECT_EQ(test::clickSeen(view.process()->startButton()), QString());
    // The fault, then what it left: the document as it was.
    EXPECT_EQ(shown, (QStringList{"Program Interrupt, Please reset the radio and try again",
                                  linktext::readLeftDocument(false)}));
    EXPECT_EQ(view.fills, 0);
    EXPECT_TRUE(view.image == before);
}

TEST_F(RadioUi, CancelBeforeStartClosesTheWindow) {
    radioui::write(view);
    ASSERT_NE(view.process(), nullptr);
    EXPECT_EQ(view.commits, 1);
    EXPECT_EQ(test::clickSeen(view.process()->cancelButton()), QString());
    flushDeletes();
    EXPECT_EQ(view.process(), nullptr);
    EXPECT_EQ(view.stores, 0);
}

TEST_F(RadioUi, PortSettingOffersOpenablePortsAndShowsTheCurrentOne) {
    CPortSettingDlg dlg(nullptr, false, portNameFor(12), {}, [](const QString& name) {
        const int n = portNumberFromName(name);
        return n == 2 || n == 12 ? OpenFailure::None : OpenFailure::Missing;
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
    CPortSettingDlg busy(nullptr, true, portNameFor(2), {},
                         [](const QString&) { return OpenFailure::Busy; });
    EXPECT_EQ(busy.checkedPort(), 0);
    EXPECT_EQ(busy.windowTitle(), QStringLiteral("端口设置"));
}

// Keyboard only: the port in use has the focus, and an arrow key picks the next port that
// can be opened, skipping the greyed ones.
TEST_F(RadioUi, PortSettingArrowKeysMoveTheChoice) {
    CPortSettingDlg dlg(nullptr, false, portNameFor(5), {}, [](const QString& name) {
        const int n = portNumberFromName(name);
        return n == 2 || n == 5 ? OpenFailure::None : OpenFailure::Missing;
    });
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    ASSERT_EQ(dlg.focusWidget(), dlg.buttons()->button(5));
    QTest::keyClick(dlg.focusWidget(), Qt::Key_Up);
    EXPECT_EQ(dlg.checkedPort(), 2);
    EXPECT_EQ(dlg.focusWidget(), dlg.buttons()->button(2));
}

TEST_F(RadioUi, PortSettingSaysWhyANumberIsGreyed) {
    const PortResolver resolve = [](const QString& name) {
        return QStringLiteral("/dev/ttyUSB%1").arg(portNumberFromName(name) - 1);
    };
    for (const bool chinese : {false, true}) {
        CPortSettingDlg dlg(nullptr, chinese, portNameFor(3), resolve, [](const QString& name) {
            switch (portNumberFromName(name)) {
                case 1:
                    return OpenFailure::None;
                case 3:
                    return OpenFailure::Denied;
                case 4:
                    return OpenFailure::Busy;
                default:
                    return OpenFailure::Missing;
            }
        });
        auto* status = dlg.findChild<QLabel*>("portStatus");
        ASSERT_TRUE(status);
        // The current port cannot be opened: why is there from the start.
        const QString denied = linktext::portReason(OpenFailure::Denied, "/dev/ttyUSB2", chinese);
        EXPECT_EQ(status->text(), "COM3: " + denied);
        EXPECT_EQ(dlg.buttons()->button(3)->toolTip(), denied);
        EXPECT_TRUE(dlg.buttons()->button(1)->statusTip().isEmpty());

        // The mouse resting on another greyed number shows its reason.
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        QAbstractButton* com4 = dlg.buttons()->button(4);
        const QPoint at = com4->rect().center();
        ASSERT_EQ(QApplication::widgetAt(com4->mapToGlobal(at)), com4);
        QTest::mouseMove(com4, at);
        const QString busy = linktext::portReason(OpenFailure::Busy, "/dev/ttyUSB3", chinese);
        EXPECT_TRUE(QTest::qWaitFor([&] { return status->text() == "COM4: " + busy; }, 5000))
            << status->text().toStdString();
        EXPECT_EQ(com4->toolTip(), busy);
        EXPECT_EQ(dlg.buttons()->button(9)->toolTip(),
                  linktext::portReason(OpenFailure::Missing, "/dev/ttyUSB8", chinese));
    }
}

#ifndef Q_OS_WIN
TEST_F(RadioUi, PortSettingDescribesListedPortsAndOffersThemForUnassignedNumbers) {
    SystemPort usb;
    usb.device = QStringLiteral("/dev/ttyUSB0");
    usb.name = QStringLiteral("ttyUSB0");
    usb.description = QStringLiteral("USB Serial");
    usb.vendorId = 0x10c4;
    usb.productId = 0xea60;
    SystemPort acm;
    acm.device = QStringLiteral("/dev/ttyACM0");
    acm.name = QStringLiteral("ttyACM0");
    // COM2 is assigned to a device the system does not list; COM1 leads to ttyUSB0.
    const DeviceMap assigned = [](int n) {
        return n == 2 ? QStringLiteral("/tmp/radio") : QString();
    };
    QStringList probed;
    CPortSettingDlg dlg(
        nullptr, false, portNameFor(1), portResolver(assigned),
        [&probed](const QString& name) {
            probed << name;
            return name == QLatin1String("/dev/ttyACM0") ? OpenFailure::None : OpenFailure::Missing;
        },
        {usb, acm}, assigned);
    auto* described = dlg.findChild<QLabel*>("description1");
    ASSERT_TRUE(described);
    EXPECT_EQ(described->text(), QStringLiteral("USB Serial (10c4:ea60)"));
    EXPECT_FALSE(dlg.findChild<QComboBox*>("assign1"));
    EXPECT_FALSE(dlg.findChild<QComboBox*>("assign2")) << "assigned already";
    auto* offer = dlg.findChild<QComboBox*>("assign5");
    ASSERT_TRUE(offer);
    ASSERT_EQ(offer->count(), 3);
    EXPECT_EQ(offer->itemData(2).toString(), QStringLiteral("/dev/ttyACM0"));

    // Choosing a device points the number at it and probes that device; going back undoes it.
    QAbstractButton* com5 = dlg.buttons()->button(5);
    EXPECT_FALSE(com5->isEnabled());
    offer->setCurrentIndex(2);
    EXPECT_TRUE(com5->isEnabled());
    EXPECT_EQ(com5->text(), QStringLiteral("COM5  /dev/ttyACM0"));
    EXPECT_EQ(probed.last(), QStringLiteral("/dev/ttyACM0"));
    EXPECT_EQ(dlg.newAssignments().value(5), QStringLiteral("/dev/ttyACM0"));
    offer->setCurrentIndex(0);
    EXPECT_TRUE(dlg.newAssignments().isEmpty());
    EXPECT_FALSE(com5->isEnabled());
    EXPECT_EQ(com5->text(), QStringLiteral("COM5  /dev/ttyUSB4"));

    // In Chinese, the offer's first entry too.
    CPortSettingDlg zh(
        nullptr, true, portNameFor(1), portResolver(assigned),
        [](const QString&) { return OpenFailure::Denied; }, {acm}, assigned);
    auto* zhOffer = zh.findChild<QComboBox*>("assign3");
    ASSERT_TRUE(zhOffer);
    EXPECT_EQ(zhOffer->itemText(0), QStringLiteral("映射到设备..."));
}
#endif

}  // namespace

int main(int argc, char** argv) {
    // Test discovery runs this program without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
