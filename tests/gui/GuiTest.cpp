#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QWheelEvent>
#include <QWindow>
#include <QtTest>
#include <memory>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include "CChildFrame.h"
#include "CMSFlexGrid.h"
#include "CMainFrame.h"
#include "CParamAdjustDlg.h"
#include "CPasswordDlg.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "CSoftwareInfoDlg.h"
#include "CSqlTuningDlg.h"
#include "ChannelCodec.h"
#include "ChannelTable.h"
#include "DataFile.h"
#include "FieldBinder.h"
#include "NavigationBar.h"
#include "ProgramFolder.h"
#include "RealInput.h"
#include "ScriptedPrompter.h"
#include "Session.h"
#include "Settings.h"
#include "SplashWindow.h"
#include "Startup.h"
#include "UserStore.h"
#include "WaitUntil.h"
#ifdef RADIOSIM_PATH
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "DataFile.h"
#include "ProcessDlg.h"
#include "SimHarness.h"
#endif

namespace {

const QByteArray kEnglishIni = cps::test::programIni();

QStringList menuTexts(QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) out << a->text();
    return out;
}

bool menuHas(QMenu* menu, int id) {
    for (QAction* a : menu->actions())
        if (a->data().toInt() == id) return true;
    return false;
}

}  // namespace

class GuiTest : public QObject, cps::test::DesktopFixture {
    Q_OBJECT

  private:
    void prepare(const QByteArray& ini, bool withLanguageFiles = true) {
        dir_ = std::make_unique<cps::test::ProgramFolder>(
            ini, withLanguageFiles ? cps::test::ProgramFolder::languageFiles() : QStringList());
        QCOMPARE(dir_->error(), QString());
        prompter_ = cps::test::ScriptedPrompter();
    }

    bool launch(const QString& file = QString()) {
        Startup::Options o = cps::test::startOptions(*dir_, prompter_);
        o.fileToOpen = file;
        startup_ = std::make_unique<Startup>(o);
        return startup_->start();
    }

    CProgramView* view() const { return frame()->activeView(); }
    CMSFlexGrid* grid() const { return view()->grid(); }

    void clickCell(int row, int col) {
        QTableWidgetItem* it = grid()->item(row - 1, col - 1);
        grid()->scrollToItem(it);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->visualItemRect(it).center());
    }

    // Types into the frequency editor over (row, col), then leaves by clicking elsewhere.
    void typeCell(int row, int col, const QString& text, int nextRow, int nextCol) {
        clickCell(row, col);
        QLineEdit* edit = view()->frequencyEditor();
        QVERIFY(edit->isVisible());
        edit->clear();
        QTest::keyClicks(edit, text);
        clickCell(nextRow, nextCol);
    }

  private slots:
    void cleanup() {
        startup_.reset();
        dir_.reset();
    }

    void startFailsWithoutLanguageFile() {
        prepare(kEnglishIni, false);
        QVERIFY(!launch());
        QCOMPARE(prompter_.shown.size(), 1);
        QCOMPARE(prompter_.shown[0].caption, QStringLiteral("Program"));
        QCOMPARE(prompter_.shown[0].text, QStringLiteral("Load language DLL fail"));
        QVERIFY(!frame());

        prepare("[Setup]\nLanguage=Chinese\n", false);
        QVERIFY(!launch());
        QCOMPARE(prompter_.lastText(), QStringLiteral("加载语言链接库失败"));

        prepare("[Setup]\n", true);  // no language named: no file to load
        QVERIFY(!launch());
    }

#ifdef Q_OS_UNIX
    void unreadableSettingsFileIsNamedWithTheLanguageFailure() {
        prepare(kEnglishIni);
        const QString ini = path(QStringLiteral("Program.ini"));
        QVERIFY(QFile::remove(ini));
        QVERIFY(::mkfifo(QFile::encodeName(ini).constData(), 0600) == 0);
        QVERIFY(!launch());  // and returns: a FIFO is never opened
        QCOMPARE(prompter_.shown.size(), 1);
        const QStringList lines = prompter_.shown[0].text.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("Load language DLL fail"));
        QVERIFY2(lines[1].contains(ini) && lines[1].contains(QStringLiteral("not a regular file")),
                 qPrintable(lines[1]));
    }

    void missingSettingsFileIsNamedWithTheLanguageFailure() {
        prepare(kEnglishIni);
        const QString ini = path(QStringLiteral("Program.ini"));
        QVERIFY(QFile::remove(ini));
        QVERIFY(!launch());
        QCOMPARE(prompter_.shown.size(), 1);
        const QStringList lines = prompter_.shown[0].text.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("Load language DLL fail"));
        QVERIFY2(lines[1].contains(QDir::toNativeSeparators(ini)) &&
                     lines[1].contains(QStringLiteral("was missing")),
                 qPrintable(lines[1]));
    }

    void saveOntoSomethingNotARegularFileIsRefused() {
        prepare(kEnglishIni);
        QVERIFY(launch());
        const QString fifo = path(QStringLiteral("fifo.dat"));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        prompter_.answers = {QMessageBox::Yes};
        prompter_.savePath = fifo;
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileSaveAs)),
                 QString());
        QCOMPARE(prompter_.shown.size(), 2);
        QVERIFY(prompter_.lastText().startsWith(QStringLiteral("Failed to save the document.\n")));
        QVERIFY2(prompter_.lastText().contains(QStringLiteral("not a regular file")),
                 qPrintable(prompter_.lastText()));
        struct stat st {};
        QVERIFY(::lstat(QFile::encodeName(fifo).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    }
#endif

    void firstSaveOfANewDocumentAlwaysAsks() {
        // The proposed name ([Setup] AppName) may name an existing file, such as the
        // program itself when it is started from its own folder.
        prepare(kEnglishIni);
        const QString victim = path(QStringLiteral("Program"));
        {
            QFile ini(path(QStringLiteral("Program.ini")));
            QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
            ini.write("[Setup]\nLanguage=English\nAppName=" + victim.toUtf8() + "\n");
            QFile f(victim);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("not an image");
        }
        QVERIFY(launch());
        prompter_.answers = {QMessageBox::Yes};
        prompter_.savePath.clear();  // the user cancels the file dialog
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileSave)),
                 QString());
        // The proposal is the name only, in the data folder: never the file AppName names.
        QCOMPARE(QFileInfo(prompter_.proposed).fileName(), QStringLiteral("Program.dat"));
        QVERIFY(QFileInfo(prompter_.proposed).absolutePath() != dir_->path());
        QFile f(victim);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("not an image"));
    }

    void englishStartUp() {
        prepare(kEnglishIni);
        QVERIFY(launch());
        QCOMPARE(frame()->windowTitle(), QStringLiteral("Test Title"));
        QCOMPARE(startup_->settings().appName, QStringLiteral("Test Company"));
        QVERIFY(frame()->session().imageFromNew());

        QCOMPARE(menuTexts(frame()->menu(cmd::Menu::File)).first(), QStringLiteral("&New\tCtrl+N"));
        QCOMPARE(menuTexts(frame()->menu(cmd::Menu::Program)),
                 (QStringList{"&Read    Ctrl+R", "&Write   Ctrl+W", "Program Fleet...",
                              "Compare with Radio"}));
        // Trims: no ShowLang means no Language command; service commands are never there.
        QVERIFY(!menuHas(frame()->menu(cmd::Menu::Setup), cmd::Language));
        QVERIFY(menuHas(frame()->menu(cmd::Menu::Setup), cmd::ComSetup));
        for (int id : {cmd::KeyAssignment, cmd::ParamAdjust, cmd::SqlTuning})
            QVERIFY(!menuHas(frame()->menu(cmd::Menu::Edit), id));
        QVERIFY(menuHas(frame()->menu(cmd::Menu::Edit), cmd::Stun));
        for (int id : {cmd::Read, cmd::Write, cmd::ComSetup, cmd::FileSave, cmd::ChannelInfo})
            QVERIFY(frame()->action(id)->isEnabled());
        QCOMPARE(frame()->action(cmd::Read)->statusTip(), QStringLiteral("Read Data From Radio"));
        QCOMPARE(frame()->action(cmd::Read)->toolTip(), QStringLiteral("Read"));
        QCOMPARE(frame()->statusMessage()->text(), QStringLiteral("Ready"));

        QCOMPARE(grid()->rows(), 130);
        QCOMPARE(grid()->cols(), 11);
        QCOMPARE(grid()->textMatrix(0, 0), QStringLiteral("CH"));
        QCOMPARE(grid()->textMatrix(0, 1), QStringLiteral("Rx Frequency"));
        QCOMPARE(grid()->textMatrix(0, 5), QStringLiteral("Chnnel Name"));
        QCOMPARE(grid()->textMatrix(129, 0), QStringLiteral("Fr"));
        QCOMPARE(grid()->foreColorFixed(), QColor(0, 50, 240));
        QCOMPARE(view()->toneList()->count(), 261);
        QCOMPARE(frame()->activeFrame()->windowTitle(),
                 QStringLiteral("Channel Information - TestRadio.dat[*]"));
        QVERIFY(!frame()->activeFrame()->isWindowModified());

        QTreeWidget* tree = frame()->navigationBar()->tree();
        QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("Test Company"));
        QCOMPARE(tree->topLevelItem(0)->child(2)->text(0), QStringLiteral("Software Info"));
        QCOMPARE(frame()->navigationBar()->caption(), QStringLiteral("Test Company"));
    }

    void showLangKeepsLanguageCommand() {
        prepare(QByteArray(kEnglishIni).replace("[Setup]\n", "[Setup]\nShowLang=1\n"));
        QVERIFY(launch());
        QVERIFY(menuHas(frame()->menu(cmd::Menu::Setup), cmd::Language));
    }

    void typingIntoTheGrid() {
        prepare(kEnglishIni);
        QVERIFY(launch());
        typeCell(1, 1, QStringLiteral("145.5"), 2, 1);
        QCOMPARE(grid()->textMatrix(1, 1), QStringLiteral("145.50000"));
        QCOMPARE(grid()->textMatrix(1, 2), QStringLiteral("145.50000"));
        QCOMPARE(grid()->textMatrix(1, 6), QStringLiteral("High"));
        QCOMPARE(grid()->textMatrix(1, 10), QStringLiteral("Off"));
        QVERIFY(prompter_.shown.isEmpty());

        // Off the channel step: message and an empty row.
        typeCell(1, 1, QStringLiteral("145.503"), 2, 1);
        QCOMPARE(prompter_.shown.size(), 1);
        QCOMPARE(prompter_.shown[0].caption, QStringLiteral("Caution"));
        // The message as it stands, then what is allowed on a line of its own.
        QCOMPARE(
            prompter_.shown[0].text,
            QStringLiteral("Error data Value, please input according the step value(6.25K/5k).\n"
                           "Example of a valid entry: 155.0125 (6.25 kHz step) or 155.015 (5 kHz "
                           "step)"));
        QCOMPARE(grid()->textMatrix(1, 1), QString());
        QCOMPARE(grid()->textMatrix(1, 6), QString());

        // Beyond 600 MHz: the editor stays open on the same cell.
        typeCell(3, 1, QStringLiteral("600.00001"), 4, 1);
        QCOMPARE(prompter_.shown.last().text.section('\n', 0, 0),
                 QStringLiteral("Error Data Format, please input again."));
        QVERIFY(prompter_.shown.last().text.section('\n', 1).startsWith(
            QStringLiteral("Example of a valid entry: 155.0125")));
        QCOMPARE(prompter_.shown.last().icon, Prompter::Icon::Stop);
        QCOMPARE(grid()->row(), 3);
        QVERIFY(view()->frequencyEditor()->isVisible());
        QCOMPARE(view()->frequencyEditor()->text(), QStringLiteral("600.00001"));

        // Enter with an out-of-band value empties the editor, which stays open.
        view()->frequencyEditor()->clear();
        QTest::keyClicks(view()->frequencyEditor(), QStringLiteral("200"));
        QTest::keyClick(view()->frequencyEditor(), Qt::Key_Return);
        QCOMPARE(prompter_.shown.last().text,
                 QStringLiteral("Out of range, please input again.\nAllowed: 134-176 MHz (the band "
                                "limits in use; Software Info sets them)"));
        QVERIFY(view()->frequencyEditor()->isVisible());
        QCOMPARE(view()->frequencyEditor()->text(), QString());

        // The key filter: letters and Shift+8 do nothing; at most 9 characters.
        QTest::keyClicks(view()->frequencyEditor(), QStringLiteral("1a4x6"));
        QTest::keyClick(view()->frequencyEditor(), Qt::Key_8, Qt::ShiftModifier);
        QCOMPARE(view()->frequencyEditor()->text(), QStringLiteral("146"));
        QTest::keyClicks(view()->frequencyEditor(), QStringLiteral(".00625000"));
        QCOMPARE(view()->frequencyEditor()->text(), QStringLiteral("146.00625"));
        QTest::keyClick(view()->frequencyEditor(), Qt::Key_Enter);
        QCOMPARE(grid()->textMatrix(3, 1), QStringLiteral("146.00625"));
        QVERIFY(!view()->frequencyEditor()->isVisible());

        // Transmit outside the bands becomes band 1's lower limit.
        typeCell(3, 2, QStringLiteral("300"), 3, 3);
        QCOMPARE(grid()->textMatrix(3, 2), QStringLiteral("134.00000"));
        QVERIFY(view()->toneList()->isVisible());

        // The name editor takes 7 characters.
        clickCell(3, 5);
        QVERIFY(view()->nameEditor()->isVisible());
        QTest::keyClicks(view()->nameEditor(), QStringLiteral("ABCDEFGHI"));
        clickCell(3, 6);
        QCOMPARE(grid()->textMatrix(3, 5), QStringLiteral("ABCDEFG"));

        // A list: the choice goes into the cell when it is left.
        auto* power = qobject_cast<QComboBox*>(view()->editorFor(6));
        QVERIFY(power->isVisible());
        QCOMPARE(power->currentText(), QStringLiteral("High"));
        power->setCurrentIndex(0);
        clickCell(4, 6);
        QCOMPARE(grid()->textMatrix(3, 6), QStringLiteral("Low"));
        QCOMPARE(grid()->textMatrix(4, 6), QString());  // no channel in row 4

        // Scrolling hides the editor.
        clickCell(5, 1);
        QVERIFY(view()->frequencyEditor()->isVisible());
        grid()->verticalScrollBar()->setValue(grid()->verticalScrollBar()->value() + 20);
        QVERIFY(!view()->frequencyEditor()->isVisible());
    }

    void saveCommitsPendingEditAndOpenRoundTrip() {
        prepare(kEnglishIni);
        QVERIFY(launch());
        // A value still in the editor is saved.
        clickCell(2, 1);
        QTest::keyClicks(view()->frequencyEditor(), QStringLiteral("150.025"));
        const QString file = path(QStringLiteral("saved.dat"));
        prompter_.answers = {QMessageBox::Yes};
        prompter_.savePath = file;
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileSave)),
                 QString());
        QCOMPARE(prompter_.shown.first().text, QStringLiteral("Whether to save the file"));
        QCOMPARE(QFileInfo(prompter_.proposed).fileName(), QStringLiteral("TestRadio.dat"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        f.close();
        QCOMPARE(bytes.size(), 4096);
        QCOMPARE(grid()->textMatrix(2, 1), QStringLiteral("150.02500"));
        // 150.025 MHz as BCD, least significant byte first.
        QCOMPARE(bytes.mid(cps::recordOffset(2), 4), QByteArray::fromHex("00250015"));
        // Channel 1 untouched, band limits of a new image.
        QCOMPARE(static_cast<uint8_t>(bytes[3]), uint8_t(0xFF));
        QCOMPARE(bytes.mid(0xFF0, 6), QByteArray::fromHex("131746131746"));

        // "No" writes nothing.
        QVERIFY(QFile::remove(file));
        prompter_.answers = {QMessageBox::No};
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileSaveAs)),
                 QString());
        QVERIFY(!QFile::exists(file));

        // Save writes a factory image plus new-image settings when nothing was edited.
        prompter_.answers = {QMessageBox::Yes};
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileSave)),
                 QString());
        QVERIFY(QFile::exists(file));

        // Open: a second document, the first window hides, the grid shows the file.
        typeCell(7, 1, QStringLiteral("140"), 8, 1);
        prompter_.answers = {QMessageBox::Yes};
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileSaveAs)),
                 QString());
        CChildFrame* first = frame()->activeFrame();
        cps::UserStore::atFile(path(QStringLiteral("user.ini")))
            .setNumber(QStringLiteral("Type"), 9);
        prompter_.openPath = file;
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileOpen)),
                 QString());
        QCOMPARE(frame()->documentCount(), 2);
        QVERIFY(frame()->activeFrame() != first);
        QVERIFY(first->isHidden());
        QVERIFY(!frame()->session().imageFromNew());
        QCOMPARE(grid()->textMatrix(2, 1), QStringLiteral("150.02500"));
        QCOMPARE(grid()->textMatrix(7, 1), QStringLiteral("140.00000"));
        QCOMPARE(view()->documentImage().at(0xFE1), uint8_t(0));
        // The opened image's type is remembered.
        QCOMPARE(
            cps::UserStore::atFile(path(QStringLiteral("user.ini"))).number(QStringLiteral("Type")),
            0u);
    }

    void newImageSavesFactoryBytes() {
        prepare(kEnglishIni);
        cps::UserStore::atFile(path(QStringLiteral("user.ini")))
            .setNumber(QStringLiteral("Type"), 0x37);
        QVERIFY(launch());
        prompter_.answers = {QMessageBox::Yes};
        prompter_.savePath = path(QStringLiteral("new.dat"));
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileSaveAs)),
                 QString());
        QFile f(prompter_.savePath);
        QVERIFY(f.open(QIODevice::ReadOnly));
        cps::RadioImage expected = cps::RadioImage::factory();
        cps::applyNewImageSettings(expected, 0x37);
        QCOMPARE(f.readAll(), QByteArray(reinterpret_cast<const char*>(expected.data()), 4096));
    }

    void openFailureChangesNothing() {
        prepare(kEnglishIni);
        QVERIFY(launch());
        const QString shortFile = path(QStringLiteral("short.dat"));
        QFile f(shortFile);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4095, '\xFF'));
        f.close();
        CChildFrame* before = frame()->activeFrame();
        prompter_.openPath = shortFile;
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileOpen)),
                 QString());
        QCOMPARE(prompter_.shown.size(), 1);
        QCOMPARE(frame()->documentCount(), 1);
        QCOMPARE(frame()->activeFrame(), before);
        QVERIFY(before->isVisible());
        QVERIFY(frame()->session().imageFromNew());
    }

    // A file whose band limits cannot be used keeps its channels, says once which limits are
    // used, and names the error of a missing file in the program's language.
    void unusableBandsAreReplacedWithOneNote() {
        for (const bool chinese : {false, true}) {
            prepare(chinese
                        ? QByteArray(kEnglishIni).replace("Language=English", "Language=Chinese")
                        : QByteArray(kEnglishIni));
            cps::RadioImage image = cps::RadioImage::factory();
            cps::applyNewImageSettings(image, 0);
            cps::ChannelTable rows(false);
            rows.setBands(cps::unpackBands(image));
            rows.leaveCell(5, 1, QStringLiteral("150"));
            rows.store(image);
            for (int i = 0; i < 6; ++i) image.set(cps::addr::kBandLimitsPacked + i, 0xFF);
            const QString file = path(QStringLiteral("erased.dat"));
            QVERIFY(cps::saveDataFile(file, image));

            QVERIFY(launch());
            prompter_.openPath = file;
            QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileOpen)),
                     QString());
            // The file is open and everything its opening set going has run: one note.
            QVERIFY(cps::test::waitUntil(
                [this] { return grid()->textMatrix(5, 1) == QStringLiteral("150.00000"); }));
            QVERIFY(cps::test::processPending());
            QCOMPARE(prompter_.shown.size(), 1);
            const auto& note = prompter_.shown[0];
            QCOMPARE(note.icon, Prompter::Icon::Information);
            QVERIFY2(note.text.contains(chinese ? QStringLiteral("频段 1：134-176 MHz")
                                                : QStringLiteral("Band 1: 134-176 MHz")),
                     qPrintable(note.text));
            QVERIFY(note.text.contains(chinese ? QStringLiteral("软件信息")
                                               : QStringLiteral("Software Info")));
            QCOMPARE(grid()->textMatrix(5, 1), QStringLiteral("150.00000"));
            QCOMPARE(view()->bandsInUse().band1.low, 134 * cps::kPerMHz);

            prompter_.openPath = path(QStringLiteral("missing.dat"));
            QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileOpen)),
                     QString());
            QVERIFY2(prompter_.lastText().contains(chinese ? QStringLiteral("文件不存在")
                                                           : QStringLiteral("Cannot open")),
                     qPrintable(prompter_.lastText()));
            cleanup();
        }
    }

    void newAsksFirst() {
        prepare(kEnglishIni);
        QVERIFY(launch());
        // Nothing changed: the clearing question alone.
        prompter_.answers = {QMessageBox::Cancel};
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileNew)),
                 QString());
        QCOMPARE(prompter_.lastText(), QStringLiteral("All data will be Cleared!"));

        typeCell(1, 1, QStringLiteral("145.5"), 2, 1);
        CChildFrame* before = frame()->activeFrame();
        prompter_.clearShown();
        prompter_.answers = {QMessageBox::Cancel};
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileNew)),
                 QString());
        QCOMPARE(prompter_.shown.size(), 1);
        QCOMPARE(prompter_.lastText(), QStringLiteral("Save changes to TestRadio.dat?"));
        QCOMPARE(frame()->activeFrame(), before);
        QCOMPARE(grid()->textMatrix(1, 1), QStringLiteral("145.50000"));

        // No: the changes go, without a second question.
        prompter_.answers = {QMessageBox::No};
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileNew)),
                 QString());
        QCOMPARE(prompter_.shown.size(), 2);
        QCOMPARE(frame()->documentCount(), 1);
        QCOMPARE(grid()->textMatrix(1, 1), QString());
        QVERIFY(frame()->session().imageFromNew());
    }

    void closeAndNavigation() {
        prepare(kEnglishIni);
        QVERIFY(launch());
        CChildFrame* child = frame()->activeFrame();
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileClose)),
                 QString());
        QVERIFY(child->isHidden());
        QCOMPARE(frame()->documentCount(), 1);

        // A click on the tree entry brings the window back, and acts again the next time.
        QTreeWidget* tree = frame()->navigationBar()->tree();
        QTreeWidgetItem* entry = tree->topLevelItem(0)->child(0);
        for (int i = 0; i < 2; ++i) {
            child->close();
            QVERIFY(child->isHidden());
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                              tree->visualItemRect(entry).center());
            QVERIFY(child->isVisible());
            QCOMPARE(tree->currentItem(), tree->topLevelItem(0));
        }

        NavigationBar* nav = frame()->navigationBar();
        QTest::mouseClick(nav->closeButton(), Qt::LeftButton);
        QVERIFY(nav->isHidden());
        QVERIFY(!frame()->action(cmd::ControlBar)->isChecked());
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::ControlBar)),
                 QString());
        QVERIFY(nav->isVisible());
        QVERIFY(frame()->action(cmd::ControlBar)->isChecked());

        QCOMPARE(NavigationBar::widthAfterDrag(5, 1000), 11);
        QCOMPARE(NavigationBar::widthAfterDrag(50, 1000), 50);
        QCOMPARE(NavigationBar::widthAfterDrag(900, 1000), 500);
        QCOMPARE(NavigationBar::trackingX(50, 1000), 80);
        // A drag on the strip released at x = 5 in bar coordinates.
        QWidget* strip = nav->resizeStrip();
        const int stripLeft = strip->mapTo(nav, QPoint(0, 0)).x();
        QTest::mousePress(strip, Qt::LeftButton, {}, QPoint(2, 10));
        QTest::mouseMove(strip, QPoint(50 - stripLeft, 10));
        QTest::mouseRelease(strip, Qt::LeftButton, {}, QPoint(50 - stripLeft, 10));
        QCOMPARE(nav->width(), 50);
        nav->beginResize();
        nav->endResize(5);
        QCOMPARE(nav->width(), 11);
        nav->beginResize();
        nav->endResize(100000);
        QCOMPARE(nav->width(), frame()->width() / 2);
    }

    // The tree's Software Info: OK with 400-470 on U takes effect in the grid at once, and
    // a channel typed before is kept in the image though the grid no longer shows it.
    void softwareInfoRefillsTheGrid() {
        prepare(kEnglishIni);
        QVERIFY(launch());
        typeCell(1, 1, QStringLiteral("145.5"), 2, 1);
        QCOMPARE(grid()->textMatrix(1, 1), QStringLiteral("145.50000"));
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<cps::CSoftwareInfoDlg*>(QApplication::activeModalWidget());
            if (!dlg) return;
            opened = true;
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Software Infomation"));
            dlg->binder()->set("Freq Band", QStringLiteral("U Section"));
            dlg->binder()->set("High Freq 2", QStringLiteral("470"));
            dlg->accept();
        });
        QTreeWidget* tree = frame()->navigationBar()->tree();
        QTreeWidgetItem* entry = tree->topLevelItem(0)->child(2);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(entry).center());
        QVERIFY(opened);
        QVERIFY(!frame()->session().imageFromNew());
        QVERIFY(view()->bandsInUse() == (cps::Bands{{400 * cps::kPerMHz, 470 * cps::kPerMHz},
                                                    {400 * cps::kPerMHz, 470 * cps::kPerMHz}}));
        QVERIFY(grid()->textMatrix(1, 1).isEmpty());
        const cps::RadioImage& image = view()->documentImage();
        QCOMPARE(int(image.at(cps::addr::kBandCode)), 2);
        QCOMPARE(int(image.at(0)), 0x00);  // 145.50000, least significant byte first
        QCOMPARE(int(image.at(2)), 0x55);
        QCOMPARE(int(image.at(3)), 0x14);
        typeCell(1, 1, QStringLiteral("440"), 2, 1);
        QCOMPARE(grid()->textMatrix(1, 1), QStringLiteral("440.00000"));
    }

    // The service commands reach the Edit menu after Ctrl+F11 and the access code; then Param
    // Adjust asks for the code again each time, Sql Tuning opens without it.
    void serviceCommandsOpenTheirDialogs() {
        prepare(kEnglishIni);
        QVERIFY(launch());
        QVERIFY(QTest::qWaitForWindowActive(frame()));
        QStringList seen;
        QString code;
        // Answers whatever modal dialog is up: the code into the Password dialog, Escape to
        // the others.
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            QWidget* w = QApplication::activeModalWidget();
            // Keys reach a dialog once it is the active window.
            if (!w || !w->isActiveWindow()) return;
            if (auto* pw = qobject_cast<cps::CPasswordDlg*>(w)) {
                seen << QStringLiteral("Password");
                QCOMPARE(cps::test::clickSeen(pw->edit()), QString());
                QVERIFY(cps::test::typeInto(pw->edit(), code));
                cps::test::pressKey(Qt::Key_Return);
            } else if (auto* d = qobject_cast<QDialog*>(w)) {
                seen << d->windowTitle();
                cps::test::pressKey(Qt::Key_Escape);
            }
        });
        poll.start(10);
        auto answer = [&](const QString& c) { code = c; };
        auto choose = [this](int command) {
            return cps::test::chooseMenu(frame()->menuBar(), frame()->action(command));
        };
        // Hidden until the access code is given.
        QVERIFY(!choose(cmd::ParamAdjust).isEmpty());
        QVERIFY(!choose(cmd::SqlTuning).isEmpty());
        answer(QStringLiteral("527ktm"));
        clickCell(1, 1);
        cps::test::pressKey(Qt::Key_F11, Qt::ControlModifier);
        QTRY_COMPARE(seen, QStringList{QStringLiteral("Password")});
        QVERIFY(frame()->session().serviceUnlocked());
        seen.clear();
        answer(QStringLiteral("wrong"));
        QCOMPARE(choose(cmd::ParamAdjust), QString());
        QCOMPARE(seen, QStringList{QStringLiteral("Password")});
        seen.clear();
        answer(QStringLiteral("527ktm"));
        QCOMPARE(choose(cmd::ParamAdjust), QString());
        QCOMPARE(seen, (QStringList{QStringLiteral("Password"), QStringLiteral("Param Adjust")}));
        seen.clear();
        answer(QString());
        QCOMPARE(choose(cmd::SqlTuning), QString());
        QCOMPARE(seen, QStringList{QStringLiteral("SQL Tuning")});
    }

    void chineseStartUp() {
        prepare(QByteArray(kEnglishIni).replace("Language=English", "Language=Chinese"));
        QVERIFY(launch());
        QVERIFY(startup_->settings().chinese);
        QCOMPARE(frame()->windowTitle(), QStringLiteral("测试标题"));
        QCOMPARE(frame()->menuBar()->actions().first()->text(), QStringLiteral("文件(&F)"));
        QCOMPARE(grid()->textMatrix(0, 1), QStringLiteral("接收频率"));
        QCOMPARE(frame()->navigationBar()->tree()->topLevelItem(0)->child(1)->text(0),
                 QStringLiteral("可选功能"));
        // Stun is 遥晕 (遥毙 is kill); the Program menu is not named like its Write item.
        QVERIFY(frame()->action(cmd::Stun)->text().startsWith(QStringLiteral("遥晕")));
        QMenu* program = frame()->menuBar()->actions().at(2)->menu();
        QCOMPARE(program->title(), QStringLiteral("编程(&P)"));
        QVERIFY(frame()->action(cmd::Write)->text().startsWith(QStringLiteral("写频(&W)")));
        typeCell(1, 1, QStringLiteral("145.5"), 2, 1);
        QCOMPARE(grid()->textMatrix(1, 3), QStringLiteral("无"));
        QCOMPARE(grid()->textMatrix(1, 6), QStringLiteral("高"));
        typeCell(2, 1, QStringLiteral("200"), 3, 1);
        QCOMPARE(prompter_.shown.last().caption, QStringLiteral("注意"));
        prompter_.answers = {QMessageBox::No};
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileSave)),
                 QString());
        QCOMPARE(prompter_.lastText(), QStringLiteral("是否保存文件"));
    }

    // The file dialogs are Qt's own: in Chinese their buttons, headings and the type of a
    // folder are Chinese too, and an English start after it is English again.
    void fileDialogTextsFollowTheLanguage() {
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                           QStringLiteral("/qtbase_zh_CN.qm")))
            QSKIP("Qt's Chinese translations are not installed (scripts/deps.sh installs them)");
        for (const bool chinese : {true, false}) {
            prepare(chinese
                        ? QByteArray(kEnglishIni).replace("Language=English", "Language=Chinese")
                        : QByteArray(kEnglishIni));
            QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("sub")));
            QVERIFY(launch());
            QFileDialog dialog(nullptr, QString(), dir_->path(), QStringLiteral("*.dat"));
            dialog.setOption(QFileDialog::DontUseNativeDialog);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            auto* model = dialog.findChild<QFileSystemModel*>();
            QVERIFY(model);
            QModelIndex sub;
            QTRY_VERIFY((sub = model->index(dir_->filePath(QStringLiteral("sub")))).isValid());
            const QModelIndex type = sub.siblingAtColumn(2);
            QTRY_COMPARE(type.data().toString(),
                         chinese ? QStringLiteral("文件夹") : QStringLiteral("Folder"));
            QCOMPARE(model->headerData(0, Qt::Horizontal).toString(),
                     chinese ? QStringLiteral("名称") : QStringLiteral("Name"));
            QStringList buttons;
            for (QPushButton* b : dialog.findChildren<QPushButton*>()) buttons << b->text();
            QVERIFY2(buttons.contains(chinese ? QStringLiteral("取消") : QStringLiteral("Cancel")),
                     qPrintable(buttons.join(QLatin1Char(','))));
            dialog.reject();
            cleanup();
        }
    }

    // The real grid's editors and the command-line import store a row alike: they run the
    // same cell rules, whatever the languages.
    void gridAndImportStoreTheSameRecord() {
        prepare(QByteArray(kEnglishIni).replace("Language=English", "Language=Chinese"));
        QVERIFY(launch());
        typeCell(1, 1, QStringLiteral("145.5"), 1, 2);
        typeCell(1, 2, QStringLiteral("300"), 1, 3);
        QVERIFY(view()->toneList()->isVisible());
        view()->toneList()->setEditText(QStringLiteral("d023n"));
        clickCell(1, 4);
        view()->toneList()->setEditText(QStringLiteral("259.99"));
        clickCell(1, 5);
        QTest::keyClicks(view()->nameEditor(), QStringLiteral("ABC"));
        clickCell(1, 6);
        qobject_cast<QComboBox*>(view()->editorFor(6))->setCurrentIndex(1);
        view()->commitPendingEdit();  // a scroll to the next column would drop the choice
        clickCell(1, 7);
        qobject_cast<QComboBox*>(view()->editorFor(7))->setCurrentIndex(1);
        view()->commitPendingEdit();
        QCOMPARE(grid()->textMatrix(1, 4), QStringLiteral("259.9"));
        QCOMPARE(grid()->textMatrix(1, 6), QStringLiteral("中"));
        QCOMPARE(grid()->textMatrix(1, 7), QStringLiteral("窄"));
        prompter_.answers = {QMessageBox::Yes};
        prompter_.savePath = path(QStringLiteral("typed.dat"));
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::FileSaveAs)),
                 QString());
        QFile f(prompter_.savePath);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray saved = f.readAll();

        cps::RadioImage image = cps::RadioImage::factory();
        cps::applyNewImageSettings(image, 0);
        cps::ChannelTable table(false);
        table.fill(image);
        const QStringList row{"145.5", "300", "d023n", "259.99", "ABC",
                              "中",    "窄",  "是",    "关",     "关"};
        for (int col = 1; col <= 10; ++col) QVERIFY(!table.typeCell(1, col, row[col - 1]).refused);
        table.store(image);
        QCOMPARE(saved.mid(0, cps::kRecordSize),
                 QByteArray(reinterpret_cast<const char*>(image.data()), cps::kRecordSize));
    }

    void splashSwallowsInputAndPausesStartUp() {
        prepare(kEnglishIni);
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkBlue);
        QVERIFY(picture.save(path(QStringLiteral("startup.bmp")), "BMP"));
        QVERIFY(!SplashWindow::showPicture(path(QStringLiteral("missing.bmp"))));

        QPointer<SplashWindow> splash =
            SplashWindow::showPicture(path(QStringLiteral("startup.bmp")));
        QVERIFY(splash);
        QCOMPARE(splash->size(), QSize(40, 30));
        QLineEdit other;
        other.show();
        QSignalSpy finished(splash.data(), &SplashWindow::finished);
        QTest::keyClick(&other, Qt::Key_A);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(other.text(), QString());  // the key that closed the splash went nowhere
        QTRY_VERIFY(!splash);
        QTest::keyClick(&other, Qt::Key_B);
        QCOMPARE(other.text(), QStringLiteral("b"));

        Startup::Options o;
        o.programDir = dir_->path() + QLatin1Char('/');
        o.prompter = &prompter_;
        startup_ = std::make_unique<Startup>(o);
        QElapsedTimer t;
        t.start();
        QVERIFY(startup_->start());
        QVERIFY(t.elapsed() >= 900);
    }

    void backgroundPicture() {
        prepare(kEnglishIni);
        QVERIFY(launch());
        QCOMPARE(frame()->mdiArea()->tile().size(), QSize(238, 157));  // built in
        startup_.reset();
        QImage picture(20, 10, QImage::Format_RGB32);
        picture.fill(Qt::green);
        QVERIFY(picture.save(path(QStringLiteral("background.bmp")), "BMP"));
        QVERIFY(launch());
        QCOMPARE(frame()->mdiArea()->tile().size(), QSize(20, 10));
    }

    void viewKeysAndWheel() {
        prepare(kEnglishIni);
        QVERIFY(launch());
        QSignalSpy service(view(), &CProgramView::serviceAccessRequested);
        QSignalSpy help(view(), &CProgramView::helpRequested);
        // Ctrl+F11 asks for the service access code; cancelled here.
        QTimer::singleShot(0, [] {
            if (auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dlg->reject();
        });
        QTest::keyClick(grid(), Qt::Key_F11, Qt::ControlModifier);
        QCOMPARE(service.count(), 1);
        QVERIFY(!frame()->session().serviceUnlocked());
        clickCell(1, 2);
        QTest::keyClick(view()->frequencyEditor(), Qt::Key_F1);
        QCOMPARE(help.count(), 1);
        QCOMPARE(help.first().first().toInt(), 2128);

        // One wheel notch scrolls a whole page.
        QScrollBar* bar = grid()->verticalScrollBar();
        const int before = bar->value();
        const QPoint at = grid()->viewport()->rect().center();
        QWheelEvent down(at, grid()->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid()->viewport(), &down);
        QCOMPARE(bar->value(), before + bar->pageStep());
        QVERIFY(!view()->frequencyEditor()->isVisible());
    }

    void lowerCaseChineseLoadsTheFileButKeepsEnglishTexts() {
        prepare(QByteArray(kEnglishIni).replace("Language=English", "Language=chinese"));
        QVERIFY(launch());
        QVERIFY(!startup_->settings().chinese);
        QCOMPARE(startup_->settings().helpFileName, QStringLiteral("enHelp.rcc"));
        QCOMPARE(frame()->menuBar()->actions().first()->text(), QStringLiteral("文件(&F)"));
        QCOMPARE(grid()->textMatrix(0, 1), QStringLiteral("Rx Frequency"));
    }

    void wideScreensScaleTheColumns() {
        prepare(kEnglishIni);
        QVERIFY(launch());
        const int base = CProgramView::kBaseWidth;
        QCOMPARE(grid()->colWidth(1), qRound(base * 1.06));
        view()->displayChanged(1280);
        QCOMPARE(grid()->colWidth(1), qRound(base * 1.06 * 1.25));
        QCOMPARE(grid()->colWidth(0), qRound(base * 0.5 * 1.25));
        view()->displayChanged(800);  // too narrow: nothing changes
        QCOMPARE(grid()->colWidth(1), qRound(base * 1.06 * 1.25));
    }

    // Letting go over the close button closes the bar wherever on the bar the press began;
    // a press on the close button let go elsewhere does not.
    void releaseOverTheCloseButtonClosesTheBar() {
        prepare(kEnglishIni);
        QVERIFY(launch());
        QVERIFY(QTest::qWaitForWindowExposed(frame()));
        NavigationBar* nav = frame()->navigationBar();
        QWindow* window = frame()->windowHandle();
        auto inWindow = [&](QWidget* w) { return w->mapTo(frame(), w->rect().center()); };
        auto* caption = nav->findChild<QLabel*>(QStringLiteral("caption"));
        QVERIFY(caption);
        QToolButton* close = nav->closeButton();
        QCOMPARE(QApplication::widgetAt(caption->mapToGlobal(caption->rect().center())),
                 static_cast<QWidget*>(caption));
        QCOMPARE(QApplication::widgetAt(close->mapToGlobal(close->rect().center())),
                 static_cast<QWidget*>(close));

        QTest::mousePress(window, Qt::LeftButton, {}, inWindow(close));
        QTest::mouseMove(window, inWindow(caption));
        QTest::mouseRelease(window, Qt::LeftButton, {}, inWindow(caption));
        QVERIFY(nav->isVisible());

        QTest::mousePress(window, Qt::LeftButton, {}, inWindow(caption));
        QTest::mouseRelease(window, Qt::LeftButton, {}, inWindow(caption));
        QVERIFY(nav->isVisible());

        QTest::mousePress(window, Qt::LeftButton, {}, inWindow(caption));
        QTest::mouseMove(window, inWindow(close));
        QTest::mouseRelease(window, Qt::LeftButton, {}, inWindow(close));
        QTRY_VERIFY(nav->isHidden());
        QVERIFY(!frame()->action(cmd::ControlBar)->isChecked());
    }

    // A saved switch that is neither 0 nor 1 is written back as the check box showed it.
    void exitWritesTheSwitchTheViewSet() {
        prepare(QByteArray(kEnglishIni).replace("[Setup]\n", "[Setup]\nEnableSql=7\n"));
        QVERIFY(launch());
        QVERIFY(view()->sqlSwitch()->isChecked());
        QCOMPARE(frame()->session().sqlWriting(), 1);
        startup_->exit();
        QFile f(path(QStringLiteral("Program.ini")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray ini = f.readAll();
        QVERIFY2(ini.contains("EnableSql=1") && !ini.contains("EnableSql=7"), ini.constData());
    }

    void exitWritesSqlSwitch() {
        prepare(kEnglishIni);
        QVERIFY(launch());
        startup_->exit();
        QFile f(path(QStringLiteral("Program.ini")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("EnableSql=0"));
    }

#ifdef RADIOSIM_PATH
    // Program > Read and Start against the simulated radio, through the real serial port
    // and the port number the view loaded from the per-user store.
    void readFromRadioRefillsTheGrid() {
        prepare(kEnglishIni);
        cps::RadioImage radio = cps::RadioImage::factory();
        cps::applyNewImageSettings(radio, 0);
        cps::ChannelRow row;
        row[cps::kColRx] = row[cps::kColTx] = QStringLiteral("145.50000");
        row[cps::kColName] = QStringLiteral("SIM");
        cps::encodeChannel(row, radio.data() + cps::recordOffset(3), cps::unpackBands(radio));
        QVERIFY(cps::saveDataFile(path(QStringLiteral("radio.dat")), radio));
        cps::e2e::Sim sim({QStringLiteral("--image"), path(QStringLiteral("radio.dat"))},
                          dir_->path());
        QVERIFY(!sim.device().isEmpty());
        {
            cps::UserStore store = cps::UserStore::atFile(path(QStringLiteral("user.ini")));
            store.setNumber(QStringLiteral("COM"), 4);
            store.setText(QStringLiteral("Ports/COM4"), sim.device());
        }
        QVERIFY(launch());
        QCOMPARE(frame()->session().portName(), QStringLiteral("COM4"));
        QVERIFY(grid()->textMatrix(3, 1).isEmpty());

        // A failure would show a box from the link; record and close it rather than hang.
        QString boxText;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxText = box->text();
                QCOMPARE(cps::test::clickSeen(box->button(QMessageBox::Ok)), QString());
            }
        });
        closer.start(20);
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(cmd::Read)), QString());
        auto* process = view()->findChild<cps::CProcessDlg*>();
        QVERIFY(process);
        QCOMPARE(cps::test::clickSeen(process->startButton()), QString());  // the whole read
        QCOMPARE(boxText, QString());
        QCOMPARE(grid()->textMatrix(3, 1), QStringLiteral("145.50000"));
        QCOMPARE(grid()->textMatrix(3, 5), QStringLiteral("SIM"));
        QVERIFY(!frame()->session().imageFromNew());
        QVERIFY(view()->documentImage() == radio);
    }
#endif
};

QTEST_MAIN(GuiTest)
#include "GuiTest.moc"
