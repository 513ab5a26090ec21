// The service dialogs' Read and Write buttons against radiosim, offscreen, and their grids.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "CMSFlexGrid.h"
#include "CParamAdjustDlg.h"
#include "CSoftwareInfoDlg.h"
#include "CSqlTuningDlg.h"
#include "FieldBinder.h"
#include "RealInput.h"
#include "ServiceGrid.h"
#include "SimHarness.h"

using namespace cps;
using namespace cps::e2e;

namespace {

// Closes every message box as it appears and keeps its text.
struct BoxCloser {
    QStringList shown;
    QTimer timer;
    BoxCloser() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown << box->text();
                box->accept();
            }
        });
        timer.start(20);
    }
};

RadioImage radioMemory() {
    RadioImage img = RadioImage::factory();
    for (int a = 0xFA0; a < 0xFD0; ++a) img.set(a, static_cast<uint8_t>(10 + (a - 0xFA0) % 60));
    img.set(0xFCA, 0x5A);  // Max amp offset 90
    img.set(0xFCB, 0x00);
    img.set(0xFCE, 0x83);  // -3
    return img;
}

struct ServiceUi : ::testing::Test {
    QTemporaryDir dir;
    RadioImage doc = RadioImage::factory();
    BoxCloser boxes;
    QString radioFile() {
        saveDataFile(dir.filePath("radio.dat"), radioMemory());
        return dir.filePath("radio.dat");
    }
};

// The radio commands' context for the simulated radio's device.
RadioContext radioOn(const Sim& sim, bool chinese) {
    RadioContext c;
    c.chinese = chinese;
    c.caption = QStringLiteral("Two-Way Radio");
    c.portName = sim.device();
    return c;
}

void clickCell(CMSFlexGrid* grid, int row, int col) {
    QTableWidgetItem* it = grid->item(row - 1, col - 1);
    EXPECT_EQ(test::clickSeen(grid->viewport(), grid->visualItemRect(it).center()), QString());
}

// The cell editor's text replaced as the user does it: select all, then type.
void retype(QLineEdit* edit, const QString& text) {
    ASSERT_TRUE(edit->hasFocus());
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(test::typeInto(edit, text));
}

void showActive(QWidget& dlg) {
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
}

TEST_F(ServiceUi, ParamAdjustReadsAndWritesItsBlocks) {
    Sim sim({"--image", radioFile()}, dir.path());
    CParamAdjustDlg dlg(doc, radioOn(sim, false));
    showActive(dlg);
    EXPECT_EQ(test::clickSeen(dlg.readButton()), QString());
    ASSERT_EQ(boxes.shown, QStringList{"Read Successfully"});
    const RadioImage radio = radioMemory();
    for (int a = 0; a < kImageSize; ++a)
        ASSERT_EQ(doc.at(a), a >= 0xFB4 && a < 0xFD0 ? radio.at(a) : RadioImage::factory().at(a))
            << a;
    EXPECT_EQ(dlg.list("Max amp offset")->currentText(), "90");
    EXPECT_EQ(dlg.list("W/N Sql Difference")->currentText(), "-3");
    EXPECT_EQ(dlg.grid()->textMatrix(1, 1), QString::number(radio.at(0xFB7)));
    // The box closed; the window manager gives the dialog back its activation.
    showActive(dlg);

    // A cell typed in and not yet left still counts for Write.
    clickCell(dlg.grid(), 2, 3);
    ASSERT_TRUE(dlg.cellEdit()->isVisible());
    EXPECT_EQ(dlg.grid()->highLight(), 0);
    retype(dlg.cellEdit(), "150");
    EXPECT_EQ(test::clickSeen(dlg.writeButton()), QString());
    EXPECT_EQ(boxes.shown.last(), "Write Successfully");
    EXPECT_FALSE(dlg.cellEdit()->isVisible());
    EXPECT_EQ(dlg.grid()->textMatrix(2, 3), "100");
    ASSERT_TRUE(sim.sawClose());
    const QStringList log = sim.log();
    EXPECT_EQ(log.mid(log.size() - 5),
              (QStringList{"W 0FB4 4", "W 0FB8 8", "W 0FC0 8", "W 0FC8 8", "CLOSED"}));
    EXPECT_EQ(sim.stop().at(0xFB7 + 4 + 2), 100);
}

TEST_F(ServiceUi, AFailedReadChangesNothing) {
    Sim sim({"--image", radioFile(), "--nak-at", "0xFA8"}, dir.path());
    CSqlTuningDlg dlg(doc, radioOn(sim, true));
    const RadioImage before = doc;
    showActive(dlg);
    EXPECT_EQ(test::clickSeen(dlg.readButton()), QString());
    EXPECT_EQ(boxes.shown, QStringList{QString::fromUtf8("通讯出错")});
    EXPECT_TRUE(doc == before);
    EXPECT_EQ(dlg.grid()->textMatrix(1, 1), "37");
}

TEST_F(ServiceUi, SqlTuningStepsAndWrites) {
    Sim sim({}, dir.path());
    doc.set(0xFA0, 100);
    CSqlTuningDlg dlg(doc, radioOn(sim, false));
    showActive(dlg);
    EXPECT_EQ(dlg.grid()->textMatrix(0, 1), "Sql (5 - 100)");
    EXPECT_EQ(dlg.grid()->textMatrix(18, 0), "520-529");
    // A press on the heading column highlights; a press on a cell edits it, unhighlighted.
    QHeaderView* heading = dlg.grid()->verticalHeader();
    dlg.grid()->setHighLight(0);
    QTest::mousePress(heading->viewport(), Qt::LeftButton, {},
                      QPoint(5, heading->sectionViewportPosition(2) + 3));
    EXPECT_EQ(dlg.grid()->highLight(), 2);
    clickCell(dlg.grid(), 3, 1);
    EXPECT_EQ(dlg.grid()->highLight(), 0);
    ASSERT_TRUE(dlg.cellEdit()->isVisible());
    EXPECT_EQ(dlg.cellEdit()->maxLength(), 3);
    EXPECT_EQ(dlg.cellEdit()->text(), "38");
    retype(dlg.cellEdit(), "0");
    // Leaves the edit first: 0 became 5, then 6.
    EXPECT_EQ(test::clickSeen(dlg.upButton()), QString());
    EXPECT_FALSE(dlg.cellEdit()->isVisible());
    EXPECT_EQ(dlg.grid()->textMatrix(3, 1), "6");
    EXPECT_EQ(dlg.grid()->textMatrix(1, 1), "5");
    EXPECT_EQ(dlg.grid()->textMatrix(2, 1), "38");
    EXPECT_EQ(test::clickSeen(dlg.writeButton()), QString());
    EXPECT_EQ(boxes.shown, QStringList{"Write Successfully"});
    EXPECT_EQ(doc.at(0xFA0), 5);
    ASSERT_TRUE(sim.sawClose());
    const RadioImage radio = sim.stop();
    for (int a = 0xFA0; a < 0xFB4; ++a) ASSERT_EQ(radio.at(a), doc.at(a)) << a;
    EXPECT_EQ(sim.log(),
              (QStringList{"PROGRAM", "IDENT", "W 0FA0 8", "W 0FA8 8", "W 0FB0 4", "CLOSED"}));
}

TEST_F(ServiceUi, SoftwareInfoFollowsTheBand) {
    Bands inUse;
    applyNewImageSettings(doc, 0);
    CSoftwareInfoDlg dlg(doc, false, &inUse);
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    QLineEdit* low1 = dlg.edit(CSoftwareInfoDlg::kLow1Id);
    QLineEdit* low2 = dlg.edit(CSoftwareInfoDlg::kLow2Id);
    EXPECT_TRUE(low1->isEnabled());
    EXPECT_FALSE(low2->isEnabled());
    EXPECT_EQ(inUse.band1.low, 134 * kPerMHz);

    // Leaving the edit applies the band's rule even when the text did not change.
    EXPECT_EQ(test::clickSeen(low1), QString());
    retype(low1, "120");
    test::pressKey(Qt::Key_Tab);
    EXPECT_FALSE(low1->hasFocus());
    for (int id : {CSoftwareInfoDlg::kLow1Id, CSoftwareInfoDlg::kLow2Id})
        EXPECT_EQ(dlg.edit(id)->text(), "134");

    // The third band chosen from the opened list.
    QComboBox* band = dlg.bandList();
    EXPECT_EQ(test::clickSeen(band), QString());
    ASSERT_TRUE(QTest::qWaitFor([band] { return band->view()->isVisible(); }));
    // A list takes no release that comes as quickly as a double click's after it opened.
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    QAbstractItemView* items = band->view();
    EXPECT_EQ(
        test::clickSeen(items->viewport(), items->visualRect(band->model()->index(2, 0)).center()),
        QString());
    ASSERT_EQ(band->currentIndex(), 2);
    EXPECT_FALSE(low1->isEnabled());
    EXPECT_TRUE(low2->isEnabled());
    for (int id : {CSoftwareInfoDlg::kLow1Id, CSoftwareInfoDlg::kLow2Id})
        EXPECT_EQ(dlg.edit(id)->text(), "330");
    EXPECT_EQ(dlg.edit(CSoftwareInfoDlg::kHigh1Id)->text(), "400");
    QPushButton* ok = nullptr;
    for (QPushButton* b : dlg.findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("OK")) ok = b;
    EXPECT_EQ(test::clickSeen(ok), QString());
    EXPECT_EQ(doc.at(addr::kBandCode), 4);
    EXPECT_TRUE(inUse == (Bands{{330 * kPerMHz, 400 * kPerMHz}, {330 * kPerMHz, 400 * kPerMHz}}));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
