// The document's life in the main window: unsaved changes, undo and redo, the save
// question, recent and dropped files, the accelerators, the channel window's fit and the
// status bar around a transfer.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <functional>
#include <memory>

#include "CChildFrame.h"
#include "CLanguageDlg.h"
#include "CMSFlexGrid.h"
#include "CMainFrame.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "CSoftwareInfoDlg.h"
#include "ChannelCodec.h"
#include "DataFile.h"
#include "FieldBinder.h"
#include "NavigationBar.h"
#include "ProcessDlg.h"
#include "ProgramFolder.h"
#include "RealInput.h"
#include "ScriptedPrompter.h"
#include "Settings.h"
#include "Startup.h"
#include "UserStore.h"
#include "WaitUntil.h"
#ifdef RADIOSIM_PATH
#include <QMessageBox>

#include "SimHarness.h"
#endif

using cps::test::onModal;

namespace {

// The caption as the title bar shows it.
QString shownCaption(const QWidget* w) {
    QString t = w->windowTitle();
    return t.replace(QStringLiteral("[*]"),
                     w->isWindowModified() ? QStringLiteral("*") : QString());
}

}  // namespace

class DocumentGuiTest : public QObject, cps::test::DesktopFixture {
    Q_OBJECT

  private:
    void prepare(bool chinese = false) {
        dir_ = std::make_unique<cps::test::ProgramFolder>(
            cps::test::programIni(chinese ? QStringLiteral("Chinese") : QStringLiteral("English"),
                                  {QStringLiteral("ShowLang=1")}));
        QCOMPARE(dir_->error(), QString());
        prompter_ = cps::test::ScriptedPrompter();
    }

    bool launch(bool show = true) {
        Startup::Options o = cps::test::startOptions(*dir_, prompter_);
        o.showWindow = show;
        startup_ = std::make_unique<Startup>(o);
        return startup_->start();
    }

    CChildFrame* child() const { return frame()->activeFrame(); }
    CProgramView* view() const { return frame()->activeView(); }
    CProgramDoc* doc() const { return frame()->activeDocument(); }
    CMSFlexGrid* grid() const { return view()->grid(); }

    void showActive() {
        frame()->show();
        frame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame()));
    }

    void clickCell(int row, int col) {
        QTableWidgetItem* it = grid()->item(row - 1, col - 1);
        grid()->scrollToItem(it);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->visualItemRect(it).center());
    }

    void typeCell(int row, int col, const QString& text, int nextRow, int nextCol) {
        clickCell(row, col);
        QLineEdit* edit = view()->frequencyEditor();
        QVERIFY(edit->isVisible());
        edit->clear();
        QTest::keyClicks(edit, text);
        clickCell(nextRow, nextCol);
    }

    // Key presses go where the user's would: to the widget with the focus.
    void press(int key, Qt::KeyboardModifiers mods = {}) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : frame();
        QTest::keyClick(target, static_cast<Qt::Key>(key), mods);
    }

    void writeDataFile(const QString& name, int channel, const QString& rx) {
        cps::RadioImage image = cps::RadioImage::factory();
        cps::applyNewImageSettings(image, 0);
        cps::ChannelRow row;
        row[cps::kColRx] = row[cps::kColTx] = rx;
        cps::encodeChannel(row, image.data() + cps::recordOffset(channel), cps::unpackBands(image));
        QVERIFY(cps::saveDataFile(path(name), image));
    }

  private slots:
    void cleanup() {
        startup_.reset();
        dir_.reset();
    }

    // A cell edit, a dialog's OK with its grid refill, then back to the saved state with the
    // keys: the marker goes away there and comes back with redo.
    void undoAndRedoFollowTheSavedState() {
        prepare();
        QVERIFY(launch());
        showActive();
        QAction* undo = frame()->action(cmd::EditUndo);
        QAction* redo = frame()->action(cmd::EditRedo);
        QCOMPARE(frame()->menu(cmd::Menu::Edit)->actions().value(0), undo);
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
        QCOMPARE(shownCaption(child()), QStringLiteral("Channel Information - TestRadio.dat"));

        prompter_.answers = {QMessageBox::Yes};
        prompter_.savePath = path(QStringLiteral("saved"));  // no extension given
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileSave)),
                 QString());
        QVERIFY(QFile::exists(path(QStringLiteral("saved.dat"))));
        QCOMPARE(shownCaption(child()), QStringLiteral("Channel Information - saved.dat"));
        const cps::RadioImage saved = doc()->image();

        typeCell(5, 1, QStringLiteral("145.5"), 6, 1);
        QVERIFY(doc()->isModified());
        QCOMPARE(shownCaption(child()), QStringLiteral("Channel Information - saved.dat*"));
        QCOMPARE(undo->text(), QStringLiteral("&Undo Rx Frequency of channel 5\tCtrl+Z"));
        // A commit that changes nothing is no step.
        clickCell(5, 6);
        clickCell(5, 7);
        QCOMPARE(doc()->stepCount(), 1);

        // Software Info OK: U band, so the grid refills without channel 5.
        onModal([](QWidget* modal) {
            auto* dlg = qobject_cast<cps::CSoftwareInfoDlg*>(modal);
            QVERIFY(dlg);
            dlg->binder()->set("Freq Band", QStringLiteral("U Section"));
            dlg->binder()->set("High Freq 2", QStringLiteral("470"));
            dlg->accept();
        });
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::SoftwareInfo)),
                 QString());
        QVERIFY(grid()->textMatrix(5, 1).isEmpty());
        showActive();
        QCOMPARE(undo->text(), QStringLiteral("&Undo Software Infomation\tCtrl+Z"));

        // The editor over the current cell has nothing of its own to undo: Ctrl+Z is the
        // document's.
        clickCell(8, 1);
        QVERIFY(view()->frequencyEditor()->hasFocus());
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(grid()->textMatrix(5, 1), QStringLiteral("145.50000"));
        QCOMPARE(int(doc()->image().at(cps::addr::kBandCode)), 1);
        QCOMPARE(view()->bandsInUse().band1.low, 134 * cps::kPerMHz);
        QVERIFY(doc()->isModified());
        QCOMPARE(redo->text(), QStringLiteral("&Redo Software Infomation\tCtrl+Y"));

        press(Qt::Key_Backspace, Qt::AltModifier);
        QVERIFY(grid()->textMatrix(5, 1).isEmpty());
        QVERIFY(!doc()->isModified());
        QCOMPARE(shownCaption(child()), QStringLiteral("Channel Information - saved.dat"));
        QVERIFY(doc()->image() == saved);
        QVERIFY(!undo->isEnabled());

        press(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(grid()->textMatrix(5, 1), QStringLiteral("145.50000"));
        QVERIFY(doc()->isModified());
        // A new edit after an undo drops the redo steps.
        press(Qt::Key_Z, Qt::ControlModifier);
        typeCell(9, 1, QStringLiteral("150"), 10, 1);
        QVERIFY(!redo->isEnabled());
        QCOMPARE(doc()->stepCount(), 1);
        // The saved state is still one undo away.
        press(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!doc()->isModified());
    }

    // A paste of rows is one step; undo gives back the grid and the image before it.
    void pasteIsOneStepBackToTheSavedState() {
        prepare();
        QVERIFY(launch());
        showActive();
        prompter_.savePath = path(QStringLiteral("pasted.dat"));
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileSave)),
                 QString());
        QVERIFY(!doc()->isModified());
        const cps::RadioImage saved = doc()->image();
        const QString before = grid()->textMatrix(12, 1);

        QApplication::clipboard()->setText(
            QStringLiteral("145.5\t145.5\tNone\t88.5\tPASTE\tLow\tWide\tYes\tOff\tOff\n"
                           "146.5\t146.5\tNone\tNone\t\tHigh\tNarrow\tNo\tOff\tOff\n"));
        clickCell(12, 1);
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::EditPaste)),
                 QString());
        QCOMPARE(grid()->textMatrix(12, 5).trimmed(), QStringLiteral("PASTE"));
        QCOMPARE(grid()->textMatrix(13, 1), QStringLiteral("146.50000"));
        QVERIFY(doc()->isModified());
        QCOMPARE(frame()->action(cmd::EditUndo)->text(), QStringLiteral("&Undo Paste\tCtrl+Z"));
        QCOMPARE(doc()->stepCount(), 1);

        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::EditUndo)),
                 QString());
        QCOMPARE(grid()->textMatrix(12, 1), before);
        QVERIFY(grid()->textMatrix(13, 1).isEmpty());
        QVERIFY(!doc()->isModified());
        view()->storeGridIntoImage();
        QVERIFY(doc()->image() == saved);

        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::EditRedo)),
                 QString());
        QCOMPARE(grid()->textMatrix(13, 1), QStringLiteral("146.50000"));
        QVERIFY(doc()->isModified());
    }

    // Typing in the name editor: Ctrl+Z first takes back the typing, then the document's
    // step. The frequency editor takes no control keys: there the key is the document's.
    void editorUndoesItsOwnTypingFirst() {
        prepare();
        QVERIFY(launch());
        showActive();
        typeCell(1, 1, QStringLiteral("145.5"), 1, 5);
        QVERIFY(view()->nameEditor()->hasFocus());
        QTest::keyClicks(view()->nameEditor(), QStringLiteral("ABC"));
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(view()->nameEditor()->text(), QString());
        QCOMPARE(grid()->textMatrix(1, 1), QStringLiteral("145.50000"));
        press(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(grid()->textMatrix(1, 1).isEmpty());
        QVERIFY(!view()->nameEditor()->isVisible());

        typeCell(2, 1, QStringLiteral("146"), 3, 1);
        QTest::keyClicks(view()->frequencyEditor(), QStringLiteral("150"));
        press(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(grid()->textMatrix(2, 1).isEmpty());
    }

    void chineseUndoTexts() {
        prepare(true);
        QVERIFY(launch());
        QCOMPARE(shownCaption(child()), QStringLiteral("信道信息 - TestRadio.dat"));
        typeCell(129, 1, QStringLiteral("145.5"), 128, 1);
        QCOMPARE(frame()->action(cmd::EditUndo)->text(),
                 QStringLiteral("撤销(&U) 信道 Fr 的接收频率\tCtrl+Z"));
        QCOMPARE(shownCaption(child()), QStringLiteral("信道信息 - TestRadio.dat*"));
        prompter_.answers = {QMessageBox::Cancel};
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileNew)),
                 QString());
        QCOMPARE(prompter_.texts.last(), QStringLiteral("是否保存对 TestRadio.dat 的更改？"));
    }

    // Exit, Open and a language restart ask about unsaved changes; Cancel abandons them.
    void unsavedChangesAreNeverLostSilently() {
        prepare();
        QVERIFY(launch());
        frame()->show();
        writeDataFile(QStringLiteral("other.dat"), 2, QStringLiteral("150.00000"));
        // Unchanged: Exit asks nothing.
        QVERIFY(frame()->close());
        QVERIFY(prompter_.texts.isEmpty());
        frame()->show();

        // A value still in the editor counts.
        clickCell(1, 1);
        QTest::keyClicks(view()->frequencyEditor(), QStringLiteral("145.5"));
        prompter_.answers = {QMessageBox::Cancel};
        QVERIFY(!frame()->close());
        QCOMPARE(prompter_.texts.last(), QStringLiteral("Save changes to TestRadio.dat?"));
        QVERIFY(frame()->isVisible());

        // Open: Cancel keeps the document and shows no file dialog.
        prompter_.openPath = path(QStringLiteral("other.dat"));
        prompter_.answers = {QMessageBox::Cancel};
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileOpen)),
                 QString());
        QCOMPARE(frame()->documentCount(), 1);

        // The language restart: Cancel keeps the window and the language.
        onModal([](QWidget* modal) {
            auto* dlg = qobject_cast<CLanguageDlg*>(modal);
            QVERIFY(dlg);
            QVERIFY(QTest::qWaitForWindowExposed(dlg));
            QCOMPARE(cps::test::clickSeen(dlg->chineseButton()), QString());
            QCOMPARE(cps::test::clickSeen(cps::test::buttonReading(dlg, QStringLiteral("OK"))),
                     QString());
        });
        prompter_.answers = {QMessageBox::Cancel};
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::Language)),
                 QString());
        QVERIFY(frame()->isVisible());
        QVERIFY(!startup_->restartPending());
        QFile ini(path(QStringLiteral("Program.ini")));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY(ini.readAll().contains("Language=English"));

        // Yes saves under a name asked for, then opens.
        prompter_.answers = {QMessageBox::Yes};
        prompter_.savePath = path(QStringLiteral("mine.dat"));
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileOpen)),
                 QString());
        QCOMPARE(prompter_.texts.size(), 4);  // no "Whether to save" on top
        cps::RadioImage mine;
        QVERIFY(cps::loadDataFile(path(QStringLiteral("mine.dat")), mine));
        QCOMPARE(cps::decodeChannel(mine.data(), cps::unpackBands(mine), false)[cps::kColRx],
                 QStringLiteral("145.50000"));
        QCOMPARE(frame()->documentCount(), 2);
        QCOMPARE(grid()->textMatrix(2, 1), QStringLiteral("150.00000"));
        QVERIFY(!doc()->isModified());

        // The next new document proposes the folder last used.
        prompter_.answers = {QMessageBox::Ok, QMessageBox::Yes};
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileNew)),
                 QString());
        prompter_.savePath.clear();
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileSave)),
                 QString());
        QCOMPARE(prompter_.proposed, path(QStringLiteral("TestRadio.dat")));
    }

    void recentFilesAndDroppedFiles() {
        prepare();
        QVERIFY(launch());
        for (int i = 1; i <= 5; ++i) {
            const QString name = QStringLiteral("f%1.dat").arg(i);
            writeDataFile(name, i, QStringLiteral("150.00000"));
            QVERIFY(frame()->openDocument(path(name)));
        }
        QCOMPARE(frame()->recentFiles(),
                 (QStringList{path("f5.dat"), path("f4.dat"), path("f3.dat"), path("f2.dat")}));
        // In the File menu, before Exit.
        QStringList texts;
        QMenu* file = frame()->menu(cmd::Menu::File);
        for (QAction* a : file->actions())
            if (a->isVisible() && !a->isSeparator()) texts << a->text();
        const int exitAt = texts.indexOf(frame()->action(cmd::Exit)->text());
        QCOMPARE(texts.mid(exitAt - 4, 4).first(),
                 QStringLiteral("&1 ") + QDir::toNativeSeparators(path("f5.dat")));
        QAction* third = frame()->findChild<QAction*>(QStringLiteral("recentFile3"));
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), third), QString());
        QCOMPARE(grid()->textMatrix(3, 1), QStringLiteral("150.00000"));
        QCOMPARE(frame()->recentFiles().first(), path("f3.dat"));
        // Kept per user: a new window lists the same.
        startup_.reset();
        QVERIFY(launch());
        QCOMPARE(frame()->recentFiles().first(), path("f3.dat"));

        // A dropped data file opens, after the question about unsaved changes.
        typeCell(7, 1, QStringLiteral("145.5"), 8, 1);
        auto drop = [this](const QString& file) {
            QMimeData mime;
            mime.setUrls({QUrl::fromLocalFile(file)});
            QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, {});
            QApplication::sendEvent(frame(), &enter);
            if (!enter.isAccepted()) return false;
            QDropEvent dropped(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, {});
            QApplication::sendEvent(frame(), &dropped);
            QCoreApplication::processEvents();
            return true;
        };
        QFile::copy(path("f1.dat"), path("notdata.txt"));
        QVERIFY(!drop(path("notdata.txt")));
        prompter_.answers = {QMessageBox::Cancel};
        QVERIFY(drop(path("f1.dat")));
        QCOMPARE(prompter_.texts.last(), QStringLiteral("Save changes to TestRadio.dat?"));
        QCOMPARE(grid()->textMatrix(7, 1), QStringLiteral("145.50000"));
        prompter_.answers = {QMessageBox::No};
        QVERIFY(drop(path("f1.dat")));
        QCOMPARE(grid()->textMatrix(1, 1), QStringLiteral("150.00000"));
        QCOMPARE(frame()->recentFiles().first(), path("f1.dat"));
    }

    // Every accelerator, pressed where the user's focus is, runs its command.
    void everyAcceleratorRunsItsCommand() {
        prepare();
        QVERIFY(launch());
        showActive();
        typeCell(1, 1, QStringLiteral("145.5"), 2, 1);
        QTimer rejecter;  // any dialog a command opens is cancelled
        connect(&rejecter, &QTimer::timeout, [] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->reject();
        });
        rejecter.start(10);
        struct Key {
            int key;
            Qt::KeyboardModifiers mods;
            int command;
        };
        const Key keys[] = {
            {Qt::Key_B, Qt::ControlModifier, cmd::ControlBar},
            {Qt::Key_B, Qt::ControlModifier, cmd::ControlBar},
            {Qt::Key_N, Qt::ControlModifier, cmd::FileNew},
            {Qt::Key_O, Qt::ControlModifier, cmd::FileOpen},
            {Qt::Key_P, Qt::ControlModifier, cmd::Print},
            {Qt::Key_S, Qt::ControlModifier, cmd::FileSave},
            {Qt::Key_Z, Qt::ControlModifier, cmd::EditUndo},
            {Qt::Key_Y, Qt::ControlModifier, cmd::EditRedo},
            {Qt::Key_Backspace, Qt::AltModifier, cmd::EditUndo},
            {Qt::Key_R, Qt::ControlModifier, cmd::Read},
        };
        for (const Key& k : keys) {
            frame()->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(frame()));
            grid()->setFocus();
            prompter_.answers = {QMessageBox::Cancel};
            QSignalSpy spy(frame()->action(k.command), &QAction::triggered);
            press(k.key, k.mods);
            QVERIFY2(spy.count() == 1, qPrintable(QKeySequence(k.key | k.mods).toString()));
        }
        // F1 outside the grid (which answers F1 with its own pages) is the main window's.
        frame()->navigationBar()->tree()->setFocus();
        QSignalSpy help(frame()->action(cmd::Help), &QAction::triggered);
        press(Qt::Key_F1);
        QCOMPARE(help.count(), 1);
        QCOMPARE(view()->findChild<cps::CProcessDlg*>()->windowTitle(),
                 QStringLiteral("Read Data"));
        QCOMPARE(cps::test::clickSeen(view()->findChild<cps::CProcessDlg*>()->cancelButton()),
                 QString());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        // Ctrl+W is Write's alone, also from inside the channel window.
        clickCell(3, 1);
        QSignalSpy write(frame()->action(cmd::Write), &QAction::triggered);
        press(Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(write.count(), 1);
        QVERIFY(child()->isVisible());
        auto* process = view()->findChild<cps::CProcessDlg*>();
        QVERIFY(process);
        QCOMPARE(process->windowTitle(), QStringLiteral("Write Data"));
        QCOMPARE(cps::test::clickSeen(process->cancelButton()), QString());

        // F6 and Shift+F6 move between the navigation tree and the grid.
        grid()->setFocus();
        press(Qt::Key_F6);
        QCOMPARE(QApplication::focusWidget(), frame()->navigationBar()->tree());
        press(Qt::Key_F6, Qt::ShiftModifier);
        QVERIFY(QApplication::focusWidget() == grid() ||
                view()->isAncestorOf(QApplication::focusWidget()));
    }

    // A real size change of the main window: the channel window stays inside the client
    // area, so row 129 and the scroll bar's end are in view; it grows back with the room.
    void channelWindowFitsTheClientArea() {
        prepare();
        QVERIFY(launch());
        frame()->showNormal();
        frame()->setGeometry(0, 0, 1024, 600);
        QTRY_VERIFY(frame()->mdiArea()->viewport()->height() < CChildFrame::kHeight);
        auto inside = [this] {
            const QRect area = frame()->mdiArea()->viewport()->rect();
            return area.contains(child()->geometry());
        };
        QTRY_VERIFY(inside());
        grid()->scrollToBottom();
        QCoreApplication::processEvents();
        const QRect last = grid()->visualItemRect(grid()->item(128, 0));
        QVERIFY(grid()->viewport()->rect().contains(last));
        const QPoint lastInArea =
            grid()->viewport()->mapTo(frame()->mdiArea()->viewport(), last.bottomLeft());
        QVERIFY(frame()->mdiArea()->viewport()->rect().contains(lastInArea));
        clickCell(128, 1);
        QTest::keyClick(view()->frequencyEditor(), Qt::Key_Down);
        QCOMPARE(grid()->row(), 129);

        // Placed partly outside (as a window manager may): the next resize brings it in.
        child()->move(300, 200);
        frame()->setGeometry(0, 0, 1900, 1000);
        QTRY_VERIFY(frame()->mdiArea()->viewport()->height() > 800);
        QTRY_VERIFY(inside());
        QCOMPARE(child()->width(), qRound(CChildFrame::kWidth * view()->scale()));
    }

    void mainTitleStaysWhenTheChannelWindowIsMaximised() {
        prepare();
        QVERIFY(launch());
        frame()->show();
        child()->showMaximized();
        QTRY_VERIFY(child()->isMaximized());
        QCoreApplication::processEvents();
        QTRY_COMPARE(frame()->windowTitle(), QStringLiteral("Test Title"));
        typeCell(1, 1, QStringLiteral("145.5"), 2, 1);
        QCoreApplication::processEvents();
        QTRY_COMPARE(frame()->windowTitle(), QStringLiteral("Test Title"));
        child()->showNormal();
        QTRY_COMPARE(frame()->windowTitle(), QStringLiteral("Test Title"));
    }

    void statusBarPromptsAndLockPanes() {
        prepare();
        QVERIFY(launch());
        showActive();
        // Offscreen tells no lock states: the panes stay empty.
        for (const char* pane : {"capsPane", "numPane", "scrollPane"})
            QCOMPARE(frame()->findChild<QLabel*>(QLatin1String(pane))->text(), QString());
        auto* tb = frame()->findChild<QToolBar*>(QStringLiteral("toolBar"));
        QWidget* button = tb->widgetForAction(frame()->action(cmd::Read));
        QTest::mouseMove(button);
        QTRY_COMPARE(frame()->statusBar()->currentMessage(),
                     QStringLiteral("Read Data From Radio"));
        QTest::mouseMove(frame()->mdiArea()->viewport());
        QTRY_COMPARE(frame()->statusBar()->currentMessage(), QString());
        QVERIFY(frame()->statusMessage()->isVisible());
    }

    void processDialogShowsPercentAndKeepsItsSize() {
        cps::CProcessDlg dlg(QStringLiteral("Read Data"), false, nullptr);
        dlg.show();
        const QSize before = dlg.size();
        auto* bar = dlg.findChild<QProgressBar*>();
        QVERIFY(bar->isTextVisible());
        dlg.setProgressRange(256);
        dlg.setProgress(64);
        QCOMPARE(bar->text(), QStringLiteral("25%"));
        dlg.setStatus(QStringLiteral("Waiting the response from radio...."));
        QCoreApplication::processEvents();
        QCOMPARE(dlg.size(), before);
        cps::CProcessDlg zh(QStringLiteral("读数据"), true, nullptr);
        zh.show();
        const QSize zhBefore = zh.size();
        zh.setStatus(QStringLiteral("请等待对机讲响应...."));
        QCoreApplication::processEvents();
        QCOMPARE(zh.size(), zhBefore);
    }

#ifdef RADIOSIM_PATH
    // A read replaces the image as one step: undo gives the image before it. While it runs
    // the commands that would disturb it are off; afterwards the status bar says how it
    // ended. A write changes no step.
    void readIsOneStepAndTheTransferLocksTheCommands() {
        prepare();
        writeDataFile(QStringLiteral("radio.dat"), 3, QStringLiteral("145.50000"));
        cps::e2e::Sim sim({QStringLiteral("--image"), path(QStringLiteral("radio.dat"))},
                          dir_->path());
        QVERIFY(!sim.device().isEmpty());
        {
            cps::UserStore store = cps::UserStore::atFile(path(QStringLiteral("user.ini")));
            store.setNumber(QStringLiteral("COM"), 4);
            store.setText(QStringLiteral("Ports/COM4"), sim.device());
        }
        QVERIFY(launch());
        frame()->show();
        typeCell(1, 1, QStringLiteral("150"), 2, 1);
        const cps::RadioImage before = doc()->image();

        const int locked[] = {cmd::FileNew,    cmd::FileOpen, cmd::FileClose, cmd::FileSave,
                              cmd::FileSaveAs, cmd::Exit,     cmd::Read,      cmd::Write,
                              cmd::ComSetup,   cmd::Language};
        int lockedSeen = -1;
        QString percent;
        QSize startSize;
        QSize runningSize;
        QTimer watch;  // runs inside the transfer's pump steps
        connect(&watch, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                QCOMPARE(cps::test::clickSeen(box->button(QMessageBox::Ok)), QString());
                return;
            }
            auto* p = view()->findChild<cps::CProcessDlg*>();
            if (!p || p->startButton()->isEnabled() || !child()->transferRunning()) return;
            int off = 0;
            for (int id : locked) off += frame()->action(id)->isEnabled() ? 0 : 1;
            lockedSeen = off;
            percent = p->findChild<QProgressBar*>()->text();
            runningSize = p->size();
        });
        watch.start(5);
        prompter_.answers = {QMessageBox::No};  // the typed channel is not saved
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::Read)), QString());
        QCOMPARE(prompter_.texts.last(), QStringLiteral("Save changes to TestRadio.dat?"));
        auto* process = view()->findChild<cps::CProcessDlg*>();
        QVERIFY(process);
        startSize = process->size();
        QCOMPARE(cps::test::clickSeen(process->startButton()), QString());
        QCOMPARE(lockedSeen, int(std::size(locked)));
        QVERIFY2(percent.endsWith(QLatin1Char('%')), qPrintable(percent));
        QCOMPARE(runningSize, startSize);
        for (int id : locked) QVERIFY(frame()->action(id)->isEnabled());
        QCOMPARE(frame()->statusMessage()->text(), QStringLiteral("Read completed on COM4."));
        QCOMPARE(grid()->textMatrix(3, 1), QStringLiteral("145.50000"));
        // No file holds what the radio held.
        QVERIFY(doc()->isModified());
        QCOMPARE(frame()->action(cmd::EditUndo)->text(), QStringLiteral("&Undo Read Data\tCtrl+Z"));

        // A write is no step and keeps the history.
        const int steps = doc()->stepCount();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::Write)), QString());
        QCOMPARE(cps::test::clickSeen(view()->findChild<cps::CProcessDlg*>()->startButton()),
                 QString());
        QCOMPARE(frame()->statusMessage()->text(), QStringLiteral("Write completed on COM4."));
        QCOMPARE(doc()->stepCount(), steps);
        QVERIFY(doc()->isModified());

        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::EditUndo)),
                 QString());
        QCOMPARE(grid()->textMatrix(1, 1), QStringLiteral("150.00000"));
        QVERIFY(grid()->textMatrix(3, 1).isEmpty());
        QVERIFY(doc()->image() == before);
        QVERIFY(doc()->isModified());
    }

    // The radio stops answering half way through a read (a cable pulled): the message is
    // answered, the commands come back, nothing claims success, and the document keeps what
    // it held.
    void cablePulledMidReadLeavesTheDocumentRecoverable() {
        prepare();
        writeDataFile(QStringLiteral("radio.dat"), 3, QStringLiteral("145.50000"));
        cps::e2e::Sim sim({QStringLiteral("--image"), path(QStringLiteral("radio.dat")),
                           QStringLiteral("--silent-at"), QStringLiteral("0x0800")},
                          dir_->path());
        QVERIFY(!sim.device().isEmpty());
        {
            cps::UserStore store = cps::UserStore::atFile(path(QStringLiteral("user.ini")));
            store.setNumber(QStringLiteral("COM"), 4);
            store.setText(QStringLiteral("Ports/COM4"), sim.device());
        }
        QVERIFY(launch());
        frame()->show();
        const cps::RadioImage before = doc()->image();
        int boxes = 0;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ++boxes;
                QCOMPARE(cps::test::clickSeen(box->button(QMessageBox::Ok)), QString());
            }
        });
        watch.start(5);
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::Read)), QString());
        auto* process = view()->findChild<cps::CProcessDlg*>();
        QVERIFY(process);
        QCOMPARE(cps::test::clickSeen(process->startButton()), QString());
        watch.stop();
        QVERIFY(boxes >= 1);
        QVERIFY(!child()->transferRunning());
        for (int id : {cmd::FileNew, cmd::FileSave, cmd::Exit, cmd::Read, cmd::Write})
            QVERIFY(frame()->action(id)->isEnabled());
        QVERIFY(!frame()->statusMessage()->text().contains(QStringLiteral("completed")));
        // The rows received before the break never reach the document: it is as it was,
        // with nothing to save and no step to undo.
        QVERIFY(doc()->image() == before);
        QVERIFY(!doc()->isModified());
        QCOMPARE(doc()->stepCount(), 0);
        QVERIFY(grid()->textMatrix(3, 1).isEmpty());
    }
#endif
};

QTEST_MAIN(DocumentGuiTest)
#include "DocumentGuiTest.moc"
