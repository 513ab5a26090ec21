// The 2-Tone dialog driven through Edit > 2-Tone with real clicks and key presses.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <memory>

#include "CMSFlexGrid.h"
#include "CMainFrame.h"
#include "CProgramDoc.h"
#include "CTwoToneDlg.h"
#include "CTwoTonePages.h"
#include "ProgramFolder.h"
#include "RealInput.h"
#include "ScriptedPrompter.h"
#include "Startup.h"

using namespace cps;

namespace {

unsigned word(const RadioImage& image, int at) { return (image.at(at) << 8) | image.at(at + 1); }

void clickTab(QTabWidget* tabs, int index) {
    QTabBar* bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

void clickCell(CMSFlexGrid* grid, int row, int col) {
    QTableWidgetItem* it = grid->item(row - 1, col - 1);
    grid->scrollToItem(it);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(it).center());
}

// Types a number as a user can: the decimal point from the keypad.
void typeNumber(QWidget* w, const QString& text) {
    for (QChar c : text) {
        if (c == QLatin1Char('.')) {
            QTest::keyClick(w, Qt::Key_Period, Qt::KeypadModifier);
        } else {
            QTest::keyClick(w, c.toLatin1());
        }
    }
}

void retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    typeNumber(edit, text);
}

}  // namespace

class TwoToneGuiTest : public QObject, cps::test::DesktopFixture {
    Q_OBJECT

  private:
    void launch(const QByteArray& language) {
        dir_ = std::make_unique<cps::test::ProgramFolder>(
            cps::test::programIni(QString::fromLatin1(language)));
        QCOMPARE(dir_->error(), QString());
        startup_ = std::make_unique<Startup>(cps::test::startOptions(*dir_, prompter_));
        QVERIFY(startup_->start());
    }

    RadioImage& image() const { return frame()->activeDocument()->image(); }

    // Opens the dialog from the Edit menu and runs `steps` while it is up.
    void runDialog(const std::function<void(CTwoToneDlg*)>& steps) {
        QAction* open = nullptr;
        for (QAction* a : frame()->menu(cmd::Menu::Edit)->actions())
            if (a->objectName() == QLatin1String("actionTwoTone")) open = a;
        QVERIFY(open && open->isEnabled());
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            CTwoToneDlg* dlg = qobject_cast<CTwoToneDlg*>(frame()->editorDialog(cmd::TwoTone));
            if (dlg && dlg->isVisible()) {
                // Focus moves, and with them the rules on leaving a field, need an active window.
                QApplication::setActiveWindow(dlg);
                if (QApplication::activeWindow() != dlg) return;
                steps(dlg);
                ran = true;
                dlg->close();
            }
        });
        frame()->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame()));
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), open), QString());
        QVERIFY(ran);
        QVERIFY(!qobject_cast<CTwoToneDlg*>(frame()->editorDialog(cmd::TwoTone))->isVisible());
    }

  private slots:
    void cleanup() {
        startup_.reset();
        dir_.reset();
    }

    void editEncodeAndDecodeThenClose() {
        launch("English");
        const RadioImage before = image();
        CTwoToneDlg* first = nullptr;
        runDialog([&](CTwoToneDlg* dlg) {
            first = dlg;
            QCOMPARE(dlg->windowTitle(), QStringLiteral("2-Tone"));
            QCOMPARE(dlg->tabs()->tabText(0), QStringLiteral("Encode"));
            QCOMPARE(dlg->tabs()->tabText(1), QStringLiteral("Decode"));
            CTwoToneEncodePage* enc = dlg->encodePage();
            QCOMPARE(enc->edit(4)->text(), QStringLiteral("0.10"));
            QCOMPARE(enc->grid()->textMatrix(0, 1), QStringLiteral("Tone1 Fre"));
            QCOMPARE(enc->grid()->textMatrix(32, 2), QStringLiteral("1000.0"));

            // Decode page 6: a typed A tone, the B tone one step up.
            clickTab(dlg->tabs(), 1);
            QTabWidget* inner = dlg->decodeSheet()->tabs();
            QCOMPARE(inner->tabText(7), QStringLiteral("2-Tone8"));
            clickTab(inner, 5);
            CTwoToneDecodePage* page6 = dlg->decodeSheet()->page(6);
            QVERIFY(page6->isVisible());
            retype(page6->edit(0), QStringLiteral("1234.5"));
            QTest::keyClicks(page6->edit(0), QStringLiteral("x."));  // refused by the filter
            QCOMPARE(page6->edit(0)->text(), QStringLiteral("1234.5"));
            QTest::mouseClick(page6->upDown(1)->upButton(), Qt::LeftButton);
            QCOMPARE(page6->edit(1)->text(), QStringLiteral("1000.1"));
            retype(page6->edit(4), QStringLiteral("9"));
            page6->edit(3)->setFocus();  // leaving the interval clamps it
            QCOMPARE(page6->edit(4)->text(), QStringLiteral("2.0"));

            // Back on Encode: two code-table cells and the Tx rise delay.
            clickTab(dlg->tabs(), 0);
            CMSFlexGrid* grid = enc->grid();
            clickCell(grid, 1, 1);
            QVERIFY(enc->cellEditor()->isVisible());
            typeNumber(enc->cellEditor(), QStringLiteral("1000"));
            clickCell(grid, 3, 2);
            QCOMPARE(grid->textMatrix(1, 1), QStringLiteral("1000.0"));
            QTest::keyClick(enc->cellEditor(), Qt::Key_Backspace);
            clickCell(grid, 4, 2);
            QCOMPARE(grid->textMatrix(3, 2), QString());
            typeNumber(enc->cellEditor(), QStringLiteral("5000"));
            retype(enc->edit(4), QStringLiteral("0.33"));  // the cell editor stays open
            enc->edit(0)->setFocus();
            QCOMPARE(enc->edit(4)->text(), QStringLiteral("0.30"));
            QTest::mouseClick(enc->upDown(4)->downButton(), Qt::LeftButton);
            QCOMPARE(enc->edit(4)->text(), QStringLiteral("0.25"));
            QTest::mouseClick(enc->shortBeep(), Qt::LeftButton, {},
                              QPoint(8, enc->shortBeep()->height() / 2));
            // Typed and not left while the cell editor is still open: closing keeps both.
            retype(enc->edit(1), QStringLiteral("2.5"));
        });
        const RadioImage& after = image();
        // Encode page: tone and timer records of the code table, common timings.
        QCOMPARE(word(after, 0xE00), 0x2710u);
        QCOMPARE(word(after, 0xF00), 0x0070u);
        QCOMPARE(word(after, 0xE0A), 0xFFFFu);
        QCOMPARE(word(after, 0xF0A), 0x0000u);
        QCOMPARE(word(after, 0xE0E), 31060u);  // the open editor was committed on closing
        QCOMPARE(word(after, 0xF0E), 36u);
        QCOMPARE(word(after, 0xE0C), 0x4E20u);
        QCOMPARE(word(after, 0xF0C), 56u);
        QCOMPARE(word(after, 0xEC5), 5u);
        QCOMPARE(after.at(0xEC1), 25);
        QCOMPARE(after.at(0xEC7), 1);
        // Decode page 6's tone record; pages 1 (shown at opening) and 6 stored.
        QCOMPARE(word(after, 0xEA8), 12345u);
        QCOMPARE(word(after, 0xEAA), 10001u);
        QCOMPARE(after.at(0xEAE), 20);
        QCOMPARE(word(after, 0xF80), 448u);
        QCOMPARE(word(after, 0xF82), 896u);
        QCOMPARE(after.at(0xF84), 10);
        for (int i = 0xF88; i < 0xFA0; ++i) QCOMPARE(after.at(i), before.at(i));
        // The squelch and audio calibration, byte for byte.
        for (int i = 0xFA0; i <= 0xFCF; ++i) QCOMPARE(after.at(i), before.at(i));

        // The same object again, with fresh pages showing what was stored.
        runDialog([&](CTwoToneDlg* dlg) {
            QCOMPARE(dlg, first);
            QCOMPARE(dlg->tabs()->currentIndex(), 0);
            QCOMPARE(dlg->encodePage()->grid()->textMatrix(1, 1), QStringLiteral("1000.0"));
            QCOMPARE(dlg->encodePage()->edit(4)->text(), QStringLiteral("0.25"));
            QVERIFY(dlg->encodePage()->shortBeep()->isChecked());
            clickTab(dlg->tabs(), 1);
            QCOMPARE(dlg->decodeSheet()->tabs()->currentIndex(), 0);
            clickTab(dlg->decodeSheet()->tabs(), 5);
            QCOMPARE(dlg->decodeSheet()->page(6)->edit(0)->text(), QStringLiteral("1234.5"));
            QCOMPARE(dlg->decodeSheet()->page(6)->upDown(0)->pos(), 12345);
        });
    }

    void chineseTexts() {
        launch("Chinese");
        runDialog([&](CTwoToneDlg* dlg) {
            QCOMPARE(dlg->tabs()->tabText(0), QStringLiteral("编码"));
            QCOMPARE(dlg->tabs()->tabText(1), QStringLiteral("解码"));
            QCOMPARE(dlg->encodePage()->grid()->textMatrix(0, 0), QStringLiteral("编号"));
            QCOMPARE(dlg->encodePage()->shortBeep()->text(), QStringLiteral("短提示音"));
        });
    }
};

QTEST_MAIN(TwoToneGuiTest)
#include "TwoToneGuiTest.moc"
