// Program > Read and Write as a dealer drives them with mouse and keyboard: Start takes a
// click wherever it is seen, Enter and Space never stop a transfer, a transfer that ends
// early says what it left behind, nothing changes the document or reaches the radio while
// one runs, and a read is a change to the document.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <functional>
#include <memory>

#include "CChildFrame.h"
#include "CMSFlexGrid.h"
#include "CMainFrame.h"
#include "CPasswordDlg.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "CSqlTuningDlg.h"
#include "ChannelCodec.h"
#include "DataFile.h"
#include "ExchangeCommands.h"
#include "NavigationBar.h"
#include "ProcessDlg.h"
#include "ProgramFolder.h"
#include "RadioLink.h"
#include "RealInput.h"
#include "ScriptedPrompter.h"
#include "Session.h"
#include "Settings.h"
#include "Startup.h"
#include "UserStore.h"
#ifdef RADIOSIM_PATH
#include "SimHarness.h"
#endif

using cps::test::chooseMenu;
using cps::test::clickSeen;
using cps::test::pressKey;

namespace {

// Every text the status line of the Process window shows.
QStringList statusTexts(bool chinese) {
    QStringList texts = {QString::fromUtf8(chinese ? "尚未开始" : "Not start yet"),
                         cps::linktext::waiting(chinese), cps::linktext::verifying(chinese)};
    for (int n : {1, 88, 191, 250, 256}) texts << QString::number(n);
    return texts;
}

// The first pixel of the button where a click does not reach it, or nothing.
QString firstPixelNotClickable(QPushButton* button) {
    const QRect r = button->rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (QString why = cps::test::whyNotSeenAt(button, QPoint(x, y)); !why.isEmpty())
                return QStringLiteral("(%1, %2): %3").arg(x).arg(y).arg(why);
    return {};
}

}  // namespace

class TransferGuiTest : public QObject, cps::test::DesktopFixture {
    Q_OBJECT

    void prepare(bool chinese) {
        dir_ = std::make_unique<cps::test::ProgramFolder>(
            cps::test::programIni(chinese ? QStringLiteral("Chinese") : QStringLiteral("English"),
                                  {QStringLiteral("ShowLang=1")}));
        QCOMPARE(dir_->error(), QString());
        prompter_ = cps::test::ScriptedPrompter();
    }

    bool launch(const QString& file = QString()) {
        Startup::Options o = cps::test::startOptions(*dir_, prompter_);
        o.fileToOpen = file;
        startup_ = std::make_unique<Startup>(o);
        return startup_->start() && cps::test::showActive(frame());
    }

    CChildFrame* child() const { return frame()->activeFrame(); }
    CProgramView* view() const { return frame()->activeView(); }
    CProgramDoc* doc() const { return frame()->activeDocument(); }
    CMSFlexGrid* grid() const { return view()->grid(); }
    cps::CProcessDlg* process() const { return view()->findChild<cps::CProcessDlg*>(); }

    QString clickCell(int row, int col) {
        QTableWidgetItem* it = grid()->item(row - 1, col - 1);
        grid()->scrollToItem(it);
        return clickSeen(grid()->viewport(), grid()->visualItemRect(it).center());
    }

    void saveImage(const QString& name, const cps::RadioImage& image) {
        QVERIFY(cps::saveDataFile(path(name), image));
    }

    static cps::RadioImage imageWithChannel(int channel, const QString& rx) {
        cps::RadioImage image = cps::RadioImage::factory();
        cps::applyNewImageSettings(image, 0);
        cps::ChannelRow row;
        row[cps::kColRx] = row[cps::kColTx] = rx;
        cps::encodeChannel(row, image.data() + cps::recordOffset(channel), cps::unpackBands(image));
        return image;
    }

    // The Process window of the command, opened from its menu by mouse, active.
    cps::CProcessDlg* openProcess(int command) {
        const QString why = chooseMenu(frame()->menuBar(), frame()->action(command));
        if (!why.isEmpty()) {
            qWarning("%s", qPrintable(why));
            return nullptr;
        }
        cps::CProcessDlg* p = process();
        if (!p) return nullptr;
        p->activateWindow();
        return QTest::qWaitForWindowActive(p) ? p : nullptr;
    }

#ifdef RADIOSIM_PATH
    // The port setting leads COM4 to the simulated radio.
    void usePort(const cps::e2e::Sim& sim) {
        cps::UserStore store = cps::UserStore::atFile(path(QStringLiteral("user.ini")));
        store.setNumber(QStringLiteral("COM"), 4);
        store.setText(QStringLiteral("Ports/COM4"), sim.device());
    }

    // A radio holding channel 3 at 145.5 MHz, behind the port the program uses; none when
    // the simulator did not start.
    std::unique_ptr<cps::e2e::Sim> radioOnPort() {
        saveImage(QStringLiteral("radio.dat"), imageWithChannel(3, QStringLiteral("145.5")));
        auto sim = std::make_unique<cps::e2e::Sim>(
            QStringList{QStringLiteral("--image"), path(QStringLiteral("radio.dat"))},
            dir_->path());
        if (sim->device().isEmpty()) return nullptr;
        usePort(*sim);
        return sim;
    }
#endif

    // Runs during the transfer's pump steps: what the user does while it runs.
    struct During {
        QTimer timer;
        std::function<void(int row)> act;
        QStringList boxes;  // the texts of the message boxes that came up, each answered OK
        bool running = false;
    };
    void watch(During& d) {
        connect(&d.timer, &QTimer::timeout, this, [this, &d] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                d.boxes << box->text();
                box->accept();
                return;
            }
            cps::CProcessDlg* p = process();
            d.running = p && child() && child()->transferRunning();
            if (!d.running || !d.act) return;
            const int row = p->findChild<QProgressBar*>()->value();
            d.act(row);
        });
        d.timer.start(5);
    }

  private slots:
    void cleanup() {
        startup_.reset();
        dir_.reset();
    }

    // Start takes a click on every pixel of it, whatever the status line says, in both
    // languages (the test runs again with the screen scaled by 2).
    void startTakesAClickEverywhereItIsSeen() {
        for (bool chinese : {false, true}) {
            cps::CProcessDlg dlg(QString::fromUtf8(chinese ? "读数据" : "Read Data"), chinese,
                                 nullptr);
            dlg.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            const QSize size = dlg.size();
            for (const QString& text : statusTexts(chinese)) {
                dlg.setStatus(text);
                QCoreApplication::processEvents();
                QString bad = firstPixelNotClickable(dlg.startButton());
                if (!bad.isEmpty()) {
                    for (QWidget* c : dlg.findChildren<QWidget*>())
                        bad += QStringLiteral("\n  %1 %2 min %3 hint %4")
                                   .arg(QString::fromLatin1(c->metaObject()->className()))
                                   .arg(QStringLiteral("%1,%2 %3x%4")
                                            .arg(c->x())
                                            .arg(c->y())
                                            .arg(c->width())
                                            .arg(c->height()))
                                   .arg(c->minimumWidth())
                                   .arg(c->sizeHint().width());
                    bad += QStringLiteral("\n  dialog %1x%2").arg(dlg.width()).arg(dlg.height());
                }
                QVERIFY2(bad.isEmpty(), qPrintable(text + QStringLiteral(": ") + bad));
                QVERIFY2(firstPixelNotClickable(dlg.cancelButton()).isEmpty(), qPrintable(text));
                QCOMPARE(dlg.size(), size);
                // The status shows whole.
                auto* status = dlg.findChild<QLabel*>(QStringLiteral("status1062"));
                QVERIFY(status->fontMetrics().horizontalAdvance(text) <= status->width());
            }
            QSignalSpy started(&dlg, &cps::CProcessDlg::startRequested);
            const QRect r = dlg.startButton()->rect();
            QVERIFY(clickSeen(dlg.startButton(), r.topLeft() + QPoint(1, 1)).isEmpty());
            QCOMPARE(started.count(), 1);
        }
    }

#ifdef RADIOSIM_PATH
    // Program > Write by mouse, Start by mouse; Enter and Space pressed during the write
    // change nothing, the write completes and the radio holds the document.
    void enterAndSpaceDuringAWriteDoNothing() {
        for (bool chinese : {false, true}) {
            enterAndSpaceDuringAWrite(chinese);
            cleanup();
        }
    }

    void aStoppedTransferSaysWhatItLeft() {
        for (bool chinese : {false, true}) {
            stoppedTransfers(chinese);
            cleanup();
        }
    }

  private:
    void enterAndSpaceDuringAWrite(bool chinese) {
        {
            prepare(chinese);
            const cps::RadioImage radio = imageWithChannel(3, QStringLiteral("145.50000"));
            saveImage(QStringLiteral("radio.dat"), radio);
            cps::e2e::Sim sim({QStringLiteral("--image"), path(QStringLiteral("radio.dat"))},
                              dir_->path());
            QVERIFY(!sim.device().isEmpty());
            usePort(sim);
            QVERIFY(launch(path(QStringLiteral("radio.dat"))));
            QCOMPARE(clickCell(2, 1), QString());
            QVERIFY(cps::test::typeInto(view()->frequencyEditor(), QStringLiteral("150")));
            QCOMPARE(clickCell(4, 1), QString());

            cps::CProcessDlg* p = openProcess(cmd::Write);
            QVERIFY(p);
            int pressed = 0;
            During d;
            d.act = [&](int row) {
                if (row < 20 || pressed >= 3) return;
                ++pressed;
                QVERIFY(p->isAncestorOf(QApplication::focusWidget()) ||
                        QApplication::activeWindow() == p);
                pressKey(Qt::Key_Return);
                pressKey(Qt::Key_Enter);
                pressKey(Qt::Key_Space);
            };
            watch(d);
            QCOMPARE(clickSeen(p->startButton()), QString());
            d.timer.stop();
            QCOMPARE(pressed, 3);
            QVERIFY2(d.boxes.isEmpty(), qPrintable(d.boxes.join(QLatin1Char('\n'))));
            QCOMPARE(frame()->statusMessage()->text(),
                     QString::fromUtf8(chinese ? "写数据完成，端口 COM4。"
                                               : "Write completed on COM4."));
            const cps::RadioImage memory = sim.stop();
            QVERIFY(memory == doc()->image());
            QCOMPARE(grid()->textMatrix(2, 1), QStringLiteral("150.00000"));
        }
    }

    // Escape stops a write: the message says the radio is partly written and that writing
    // again completes it; a cancelled read says the document is as it was.
    void stoppedTransfers(bool chinese) {
        {
            prepare(chinese);
            const auto sim = radioOnPort();
            QVERIFY(sim);
            QVERIFY(launch());
            const cps::RadioImage before = doc()->image();

            for (int command : {cmd::Write, cmd::Read}) {
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                prompter_.answers = {QMessageBox::No};
                cps::CProcessDlg* p = openProcess(command);
                QVERIFY(p);
                bool escaped = false;
                During d;
                d.act = [&](int row) {
                    if (row < 30 || escaped) return;
                    escaped = true;
                    pressKey(Qt::Key_Escape);
                };
                watch(d);
                QCOMPARE(clickSeen(p->startButton()), QString());
                QTRY_VERIFY(!process());
                QTRY_COMPARE(d.boxes.size(), 1);
                d.timer.stop();
                QVERIFY(escaped);
                const QString expected = command == cmd::Write
                                             ? cps::linktext::partlyWritten(chinese)
                                             : cps::linktext::readLeftDocument(chinese);
                QCOMPARE(d.boxes.value(0), expected);
                QVERIFY(!frame()->statusMessage()->text().contains(
                    QString::fromUtf8(chinese ? "完成" : "completed")));
            }
            QVERIFY(cps::linktext::partlyWritten(chinese).contains(
                QString::fromUtf8(chinese ? "再次写数据" : "Write again")));
            QVERIFY(doc()->image() == before);
        }
    }

  private slots:
    // While a write runs nothing changes the document or talks to the radio: the menus,
    // the tree, the grid, paste, undo; and the radio gets the image as it was at Start.
    void theDocumentIsBusyWhileATransferRuns() {
        prepare(false);
        saveImage(QStringLiteral("radio.dat"), imageWithChannel(3, QStringLiteral("145.5")));
        cps::e2e::Sim sim({QStringLiteral("--image"), path(QStringLiteral("radio.dat")),
                           QStringLiteral("--baud"), QStringLiteral("38400")},
                          dir_->path());
        QVERIFY(!sim.device().isEmpty());
        usePort(sim);
        QVERIFY(launch(path(QStringLiteral("radio.dat"))));
        QCOMPARE(clickCell(2, 1), QString());
        QVERIFY(cps::test::typeInto(view()->frequencyEditor(), QStringLiteral("150")));
        QCOMPARE(clickCell(4, 1), QString());
        QVERIFY(frame()->action(cmd::EditUndo)->isEnabled());
        QApplication::clipboard()->setText(view()->rowsText(3, 3));

        cps::CProcessDlg* p = openProcess(cmd::Write);
        QVERIFY(p);
        const cps::RadioImage atStart = [this] {
            view()->storeGridIntoImage();
            return doc()->image();
        }();
        bool tried = false;
        QStringList opened;
        QStringList stillOn;
        During d;
        d.act = [&](int row) {
            if (row < 5 || tried) return;
            tried = true;
            const QList<QAction*> changing = {
                frame()->action(cmd::SoftwareInfo), frame()->action(cmd::OptionalFeatures),
                frame()->action(cmd::Dtmf),         frame()->action(cmd::Msk),
                frame()->action(cmd::TwoTone),      frame()->action(cmd::Stun),
                frame()->action(cmd::Language),     frame()->action(cmd::ImportChannels),
                frame()->action(cmd::EditUndo),     frame()->action(cmd::EditPaste),
                frame()->action(cmd::EditCut),      frame()->action(cmd::CompareWithRadio),
                frame()->action(cmd::FileOpen),     frame()->action(cmd::Read)};
            for (QAction* a : changing) {
                if (a->isEnabled()) stillOn << a->text();
                // Chosen as the user would: the item takes the click and nothing opens.
                QVERIFY(chooseMenu(frame()->menuBar(), a).isEmpty());
                if (QWidget* modal = QApplication::activeModalWidget()) {
                    opened << modal->windowTitle();
                    modal->close();
                }
            }
            // The tree's entries open editors: the tree takes no click.
            QTreeWidget* tree = frame()->navigationBar()->tree();
            QTreeWidgetItem* info = tree->topLevelItem(0)->child(2);
            QVERIFY(!clickSeen(tree->viewport(), tree->visualItemRect(info).center()).isEmpty());
            // A cell click opens no editor; typing, pasting and undo keys change nothing.
            clickCell(5, 1);
            QVERIFY(!view()->frequencyEditor()->isVisible());
            grid()->setFocus();
            QTest::keyClicks(grid(), QStringLiteral("160"));
            pressKey(Qt::Key_V, Qt::ControlModifier);
            pressKey(Qt::Key_Z, Qt::ControlModifier);
            pressKey(Qt::Key_Delete, Qt::ShiftModifier);
            // Whatever might still reach the image now never reaches the radio.
            doc()->image().data()[0xF00] ^= 0xFF;
        };
        watch(d);
        QCOMPARE(clickSeen(p->startButton()), QString());
        d.timer.stop();
        QVERIFY(tried);
        QVERIFY2(stillOn.isEmpty(), qPrintable(stillOn.join(QLatin1String(", "))));
        QVERIFY2(opened.isEmpty(), qPrintable(opened.join(QLatin1String(", "))));
        QVERIFY2(d.boxes.isEmpty(), qPrintable(d.boxes.join(QLatin1Char('\n'))));
        QCOMPARE(frame()->statusMessage()->text(), QStringLiteral("Write completed on COM4."));
        QVERIFY(sim.stop() == atStart);
        QCOMPARE(grid()->textMatrix(5, 1), QString());
        QCOMPARE(grid()->textMatrix(2, 1), QStringLiteral("150.00000"));
        QCOMPARE(grid()->textMatrix(3, 1), QStringLiteral("145.50000"));
        // Afterwards every command and the tree are back.
        QVERIFY(frame()->navigationBar()->tree()->isEnabled());
        for (int id : {cmd::SoftwareInfo, cmd::Language, cmd::Read, cmd::Write, cmd::EditUndo})
            QVERIFY(frame()->action(id)->isEnabled());
        QCOMPARE(clickCell(5, 1), QString());
        QVERIFY(view()->frequencyEditor()->isVisible());
    }

    // The service dialogs' Read and Write hold the document busy as Program > Read and
    // Write do: every changing command is off while the radio is talked to, and back after.
    void serviceTransfersMakeTheDocumentBusy() {
        prepare(false);
        const auto sim = radioOnPort();
        QVERIFY(sim);
        QVERIFY(launch());
        QList<bool> busy;
        QStringList stillOn;
        connect(doc(), &CProgramDoc::busyChanged, this, [&](bool b) {
            busy << b;
            for (int id : {cmd::Read, cmd::Write, cmd::SoftwareInfo, cmd::EditUndo})
                if (b && frame()->action(id)->isEnabled()) stillOn << frame()->action(id)->text();
            if (b && frame()->navigationBar()->tree()->isEnabled())
                stillOn << QStringLiteral("tree");
        });
        // The access code, then Read and Write in Sql Tuning, each by mouse; Cancel closes it.
        QStringList pressed;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            QWidget* w = QApplication::activeModalWidget();
            if (!w || !w->isActiveWindow()) return;
            if (auto* pw = qobject_cast<cps::CPasswordDlg*>(w)) {
                QCOMPARE(clickSeen(pw->edit()), QString());
                QVERIFY(cps::test::typeInto(pw->edit(), QStringLiteral("527ktm")));
                pressKey(Qt::Key_Return);
            } else if (qobject_cast<cps::CSqlTuningDlg*>(w)) {
                for (const char* name : {"Read", "Write", "Cancel"}) {
                    const QString why =
                        clickSeen(cps::test::buttonReading(w, QString::fromLatin1(name)));
                    pressed << (why.isEmpty() ? QString::fromLatin1(name) : why);
                }
            }
        });
        poll.start(10);
        // The exchange's boxes come up inside a click, while the timer above is still in it.
        QStringList boxes;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxes << box->text();
                box->accept();
            }
        });
        answer.start(10);
        QCOMPARE(clickCell(1, 1), QString());
        pressKey(Qt::Key_F11, Qt::ControlModifier);
        QTRY_VERIFY(frame()->session().serviceUnlocked());
        QCOMPARE(chooseMenu(frame()->menuBar(), frame()->action(cmd::SqlTuning)), QString());
        poll.stop();
        answer.stop();
        QCOMPARE(pressed, (QStringList{QStringLiteral("Read"), QStringLiteral("Write"),
                                       QStringLiteral("Cancel")}));
        QCOMPARE(boxes, (QStringList{QStringLiteral("Read Successfully"),
                                     QStringLiteral("Write Successfully")}));
        QCOMPARE(busy, (QList<bool>{true, false, true, false}));
        QVERIFY2(stillOn.isEmpty(), qPrintable(stillOn.join(QLatin1String(", "))));
        QVERIFY(!doc()->isBusy());
        for (int id : {cmd::Read, cmd::Write, cmd::SoftwareInfo})
            QVERIFY(frame()->action(id)->isEnabled());
        QVERIFY(frame()->navigationBar()->tree()->isEnabled());
    }

    // What a read brings is not in any file: the document has unsaved changes, and the
    // next replacing command asks first.
    void aReadMarksTheDocumentChanged() {
        prepare(false);
        const auto sim = radioOnPort();
        QVERIFY(sim);
        QVERIFY(launch());
        QVERIFY(!doc()->isModified());
        cps::CProcessDlg* p = openProcess(cmd::Read);
        QVERIFY(p);
        During d;
        watch(d);
        QCOMPARE(clickSeen(p->startButton()), QString());
        d.timer.stop();
        QVERIFY2(d.boxes.isEmpty(), qPrintable(d.boxes.join(QLatin1Char('\n'))));
        QCOMPARE(grid()->textMatrix(3, 1), QStringLiteral("145.50000"));
        QVERIFY(doc()->isModified());
        QVERIFY(child()->windowTitle().contains(QStringLiteral("[*]")));
        QVERIFY(child()->isWindowModified());
        // Another read asks whether to save what the last one brought.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        prompter_.answers = {QMessageBox::Cancel};
        QVERIFY(chooseMenu(frame()->menuBar(), frame()->action(cmd::Read)).isEmpty());
        QCOMPARE(prompter_.texts.value(0), QStringLiteral("Save changes to TestRadio.dat?"));
        QVERIFY(!process());
    }
#endif
};

QTEST_MAIN(TransferGuiTest)
#include "TransferGuiTest.moc"
