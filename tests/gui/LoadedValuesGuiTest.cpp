// Values as a radio or another program left them, which the typing rules would not give:
// opening a cell or a dialog and leaving it must not change them, only typing does; and
// channels that band limits leave out are named when the limits change.
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "CChildFrame.h"
#include "CDtmfCodesDlg.h"
#include "CMSFlexGrid.h"
#include "CMainFrame.h"
#include "CMskDlg.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "CSoftwareInfoDlg.h"
#include "ChannelCodec.h"
#include "ChannelTable.h"
#include "DataFile.h"
#include "FeatureFields.h"
#include "ProgramFolder.h"
#include "ScriptedPrompter.h"
#include "Settings.h"
#include "Startup.h"
#include "WaitUntil.h"

using cps::test::onModal;

namespace {

const cps::Bands kBands{{134 * cps::kPerMHz, 176 * cps::kPerMHz},
                        {400 * cps::kPerMHz, 480 * cps::kPerMHz}};

// Channel 2 as a radio may hold it: an off-step receive frequency, a transmit frequency
// outside both bands and a name of 8 characters. Channel 3 has no transmit frequency,
// channel 4 lies at 136.00625. DTMF BOT "E1", EOT "a1", MSK ID "aG". Stored as the program
// stores it, so that a save of the unchanged document gives these bytes again.
cps::RadioImage radioImage() {
    cps::RadioImage image = cps::RadioImage::factory();
    cps::applyNewImageSettings(image, 0);
    cps::packBands(image, kBands);
    const cps::field::Table& t = cps::channelFields();
    const cps::field::Env env{false, kBands, false};
    auto put = [&](int n, int col, const char* text) {
        cps::field::store(t.fields[col], image.data() + cps::recordOffset(n),
                          QString::fromLatin1(text), env);
    };
    put(2, cps::kColRx, "406.11281");
    put(2, cps::kColTx, "490.12345");
    put(2, cps::kColName, "ABCDEFGH");
    put(3, cps::kColRx, "150.00000");
    put(4, cps::kColRx, "136.00625");
    put(4, cps::kColTx, "136.00625");
    for (int i = 0; i < 8; ++i) {
        image.set(cps::feature::kBot + i, i == 0 ? 'E' : i == 1 ? '1' : 0xFF);
        image.set(cps::feature::kEot + i, i == 0 ? 'a' : i == 1 ? '1' : 0xFF);
    }
    image.set(cps::feature::kMskId, 'a');
    image.set(cps::feature::kMskId + 1, 'G');
    image.set(cps::feature::kMskId + 2, 0xFF);
    image.set(cps::feature::kMskId + 3, 0xFF);
    cps::ChannelTable table;
    table.fill(image);
    table.store(image);
    return image;
}

// A click where the user sees w, after making sure nothing covers that point.
void clickSeen(QWidget* w, QPoint at = QPoint(-1, -1)) {
    if (at.x() < 0) at = w->rect().center();
    QWidget* seen = QApplication::widgetAt(w->mapToGlobal(at));
    QVERIFY2(seen == w || w->isAncestorOf(seen), qPrintable(w->objectName()));
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
}

void clickOk(QDialog* d) {
    for (QDialogButtonBox* box : d->findChildren<QDialogButtonBox*>())
        for (QAbstractButton* b : box->buttons())
            if (box->buttonRole(b) == QDialogButtonBox::AcceptRole) clickSeen(b);
}

// The widget keys go to: the focused one, or in an open dialog the one it gives the focus.
QWidget* keyTarget() {
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* focus = QApplication::focusWidget();
    if (modal && (!focus || !modal->isAncestorOf(focus))) return modal->focusWidget();
    return focus;
}

void press(int key, Qt::KeyboardModifiers mods = {}) {
    QWidget* target = keyTarget();
    QVERIFY(target);
    QTest::keyClick(target, static_cast<Qt::Key>(key), mods);
}

void type(const QString& text) {
    QWidget* target = keyTarget();
    QVERIFY(target);
    QTest::keyClicks(target, text);
}

}  // namespace

class LoadedValuesGuiTest : public QObject, cps::test::DesktopFixture {
    Q_OBJECT

    cps::RadioImage opened_;

    bool launch(const char* language) {
        dir_ = std::make_unique<cps::test::ProgramFolder>(
            cps::test::programIni(QString::fromLatin1(language)));
        if (!dir_->error().isEmpty()) return false;
        prompter_ = cps::test::ScriptedPrompter();
        startup_ = std::make_unique<Startup>(cps::test::startOptions(*dir_, prompter_));
        return startup_->start() && cps::test::showActive(frame());
    }
    // Opens the radio's image with Ctrl+O.
    void openRadioImage() {
        opened_ = radioImage();
        QVERIFY(cps::saveDataFile(path("radio.dat"), opened_));
        prompter_.openPath = path("radio.dat");
        press(Qt::Key_O, Qt::ControlModifier);
        QTRY_COMPARE(grid()->textMatrix(2, 5), QStringLiteral("ABCDEFGH"));
        QVERIFY(!doc()->isModified());
    }
    CProgramView* view() const { return frame()->activeView(); }
    CProgramDoc* doc() const { return frame()->activeDocument(); }
    CMSFlexGrid* grid() const { return view()->grid(); }

    void clickCell(int row, int col) {
        QTableWidgetItem* it = grid()->item(row - 1, col - 1);
        grid()->scrollToItem(it);
        clickSeen(grid()->viewport(), grid()->visualItemRect(it).center());
    }
    QStringList rowTexts(int row) const {
        QStringList texts;
        for (int c = 1; c < cps::ChannelTable::kCols; ++c) texts << grid()->textMatrix(row, c);
        return texts;
    }
    // Chooses a command from its menu with the mouse.
    void chooseMenu(int command) {
        QAction* action = frame()->action(command);
        QMenuBar* bar = frame()->menuBar();
        for (QAction* top : bar->actions()) {
            QMenu* menu = top->menu();
            if (!menu || !menu->actions().contains(action)) continue;
            clickSeen(bar, bar->actionGeometry(top).center());
            QTRY_VERIFY(menu->isVisible());
            clickSeen(menu, menu->actionGeometry(action).center());
            return;
        }
        QFAIL("command in no menu");
    }

  private slots:
    void cleanup() {
        startup_.reset();
        dir_.reset();
    }

    // Entering and leaving cells by mouse, Tab and arrows changes nothing, whatever the cells
    // hold; typing still meets the typing limit; a save gives the opened bytes back.
    void cellsKeepLoadedValuesUntilTyped() {
        for (const char* language : {"English", "Chinese"}) {
            QVERIFY(launch(language));
            openRadioImage();
            const QStringList two = rowTexts(2), three = rowTexts(3);
            QCOMPARE(two.value(0), QStringLiteral("406.11281"));
            QCOMPARE(two.value(1), QStringLiteral("490.12345"));
            QVERIFY(three.value(1).isEmpty() && three.value(5).isEmpty());

            clickCell(2, 5);
            QCOMPARE(view()->nameEditor()->text(), QStringLiteral("ABCDEFGH"));
            clickCell(2, 1);
            QCOMPARE(view()->frequencyEditor()->text(), QStringLiteral("406.11281"));
            for (int i = 0; i < 10; ++i) press(Qt::Key_Tab);
            press(Qt::Key_Down);
            // Channel 3's list cells are empty: they open empty.
            clickCell(3, 1);
            for (int i = 0; i < 10; ++i) press(Qt::Key_Tab);
            press(Qt::Key_Up);
            press(Qt::Key_Left);
            clickCell(6, 1);
            QCOMPARE(rowTexts(2), two);
            QCOMPARE(rowTexts(3), three);
            QVERIFY(!doc()->isModified());

            // A save of what was only looked at stores the opened bytes.
            press(Qt::Key_S, Qt::ControlModifier);
            cps::RadioImage saved;
            QVERIFY(cps::loadDataFile(path("radio.dat"), saved));
            QVERIFY(saved == opened_);

            // Typing: the name editor takes no eighth character.
            clickCell(2, 5);
            press(Qt::Key_End);
            type(QStringLiteral("X"));
            QCOMPARE(view()->nameEditor()->text(), QStringLiteral("ABCDEFGH"));
            press(Qt::Key_Backspace);
            press(Qt::Key_Backspace);
            type(QStringLiteral("XYZ"));
            QCOMPARE(view()->nameEditor()->text(), QStringLiteral("ABCDEFX"));
            clickCell(6, 1);
            QCOMPARE(grid()->textMatrix(2, 5), QStringLiteral("ABCDEFX"));
            QVERIFY(doc()->isModified());
            cleanup();
        }
    }

    // DTMF BOT/EOT and the MSK ID show their bytes as loaded; leaving them and OK keep the
    // bytes; what is typed is filtered.
    void dialogsKeepLoadedTextsUntilTyped() {
        QVERIFY(launch("English"));
        openRadioImage();
        bool seen = false;
        onModal<CDtmfCodesDlg>([&seen](CDtmfCodesDlg* d) {
            seen = true;
            QCOMPARE(d->bot()->text(), QStringLiteral("E1"));
            QCOMPARE(d->eot()->text(), QStringLiteral("a1"));
            clickSeen(d->bot());
            press(Qt::Key_Tab);
            press(Qt::Key_Tab);
            QCOMPARE(d->bot()->text(), QStringLiteral("E1"));
            QCOMPARE(d->eot()->text(), QStringLiteral("a1"));
            clickOk(d);
        });
        chooseMenu(cmd::Dtmf);
        QVERIFY(seen);
        QVERIFY(doc()->image() == opened_);
        QVERIFY(!doc()->isModified());

        seen = false;
        onModal<CMskDlg>([&seen](CMskDlg* d) {
            seen = true;
            QCOMPARE(d->idCode()->text(), QStringLiteral("aG"));
            clickSeen(d->idCode());
            press(Qt::Key_Tab);
            clickOk(d);
        });
        chooseMenu(cmd::Msk);
        QVERIFY(seen);
        QVERIFY(doc()->image() == opened_);

        // Typed at the end of the loaded text: the filter takes '2', not 'e'.
        onModal<CDtmfCodesDlg>([](CDtmfCodesDlg* d) {
            clickSeen(d->bot());
            press(Qt::Key_End);
            type(QStringLiteral("e2"));
            QCOMPARE(d->bot()->text(), QStringLiteral("E12"));
            clickOk(d);
        });
        chooseMenu(cmd::Dtmf);
        QCOMPARE(int(doc()->image().at(cps::feature::kBot + 2)), int('2'));
        QCOMPARE(int(doc()->image().at(cps::feature::kBot)), int('E'));
        QCOMPARE(int(doc()->image().at(cps::feature::kEot)), int('a'));
    }

    // Raising Low Freq 1 above channel 4 hides it: the note names it and says what happens
    // next, in the user's language; Undo shows it again.
    void channelsLeftOutByNewLimitsAreNamed() {
        for (const char* language : {"English", "Chinese"}) {
            const bool chinese = QLatin1String(language) == QLatin1String("Chinese");
            QVERIFY(launch(language));
            openRadioImage();
            QCOMPARE(grid()->textMatrix(4, 1), QStringLiteral("136.00625"));
            prompter_.clearShown();
            onModal<cps::CSoftwareInfoDlg>([](cps::CSoftwareInfoDlg* d) {
                QLineEdit* low = nullptr;  // Low Freq 1, the only limit at 134
                for (QLineEdit* e : d->findChildren<QLineEdit*>())
                    if (e->text() == QLatin1String("134")) low = e;
                QVERIFY(low);
                clickSeen(low);
                press(Qt::Key_End);
                press(Qt::Key_Backspace);
                press(Qt::Key_Backspace);
                type(QStringLiteral("40"));
                for (QPushButton* b : d->findChildren<QPushButton*>())
                    if (b->isVisible() && b->isDefault()) clickSeen(b);
            });
            chooseMenu(cmd::SoftwareInfo);
            QTRY_VERIFY2(grid()->textMatrix(4, 1).isEmpty(),
                         qPrintable(prompter_.texts.join('|') + QLatin1Char(' ') +
                                    QString::number(view()->bandsInUse().band1.low)));
            QTRY_VERIFY(!prompter_.texts.isEmpty());
            const QString note = prompter_.texts.join(QLatin1Char('\n'));
            QVERIFY2(note.contains(QLatin1String("4 (136.00625)")), qPrintable(note));
            QVERIFY2(note.contains(chinese ? QStringLiteral("下次保存或写入时将被清除")
                                           : QStringLiteral("the next save or write clears them")),
                     qPrintable(note));
            QVERIFY2(note.contains(chinese ? QStringLiteral("撤销") : QStringLiteral("Undo")),
                     qPrintable(note));
            QVERIFY(!note.contains(QLatin1String("2 (406.11281)")));

            frame()->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(frame()));
            clickCell(5, 1);
            press(Qt::Key_Z, Qt::ControlModifier);
            QTRY_COMPARE(grid()->textMatrix(4, 1), QStringLiteral("136.00625"));
            cleanup();
        }
    }
};

QTEST_MAIN(LoadedValuesGuiTest)
#include "LoadedValuesGuiTest.moc"
