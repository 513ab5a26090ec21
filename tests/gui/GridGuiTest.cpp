#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QtTest>
#include <memory>

#include "CChildFrame.h"
#include "CMSFlexGrid.h"
#include "CMainFrame.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "ChannelCodec.h"
#include "ProgramFolder.h"
#include "RealInput.h"
#include "ScriptedPrompter.h"
#include "Settings.h"
#include "Startup.h"
#include "WaitUntil.h"

namespace {

// Three channels as `cps channels` prints them.
const char* kThreeRows =
    "1\t145.50000\t145.50000\tNone\t88.5\tA\\\\B\tHigh\tWide\tYes\tOff\tOff\n"
    "2\t146.00625\t146.00625\tD023N\tD754I\tCALL\tLow\tNarrow\tNo\tCarrier\tBOT\n"
    "3\t150.00000\t151.00000\t100.0\tNone\t\\x80X\tMiddle\tWide\tYes\tQT/DQT\tBoth\n";

QString withoutLabels(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& l : lines) l = l.section(QLatin1Char('\t'), 1);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

class GridGuiTest : public QObject, cps::test::DesktopFixture {
    Q_OBJECT

    bool launch(const char* language) {
        dir_ = std::make_unique<cps::test::ProgramFolder>(
            cps::test::programIni(QString::fromLatin1(language)));
        if (!dir_->error().isEmpty()) return false;
        prompter_ = cps::test::ScriptedPrompter();
        startup_ = std::make_unique<Startup>(cps::test::startOptions(*dir_, prompter_));
        if (!startup_->start()) return false;
        frame()->show();
        return QTest::qWaitForWindowExposed(frame());
    }
    CProgramView* view() const { return frame()->activeView(); }
    CMSFlexGrid* grid() const { return view()->grid(); }
    QMdiSubWindow* channelWindow() const {
        QWidget* w = view();
        while (w && !qobject_cast<QMdiSubWindow*>(w)) w = w->parentWidget();
        return qobject_cast<QMdiSubWindow*>(w);
    }
    // Waits until the channel window is maximised (or not) and fills its area when it is,
    // then until the grid has laid itself out for the new size.
    static bool laidOut(QMdiSubWindow* window, bool maximized) {
        return cps::test::waitUntil([window, maximized] {
                   return window->isMaximized() == maximized &&
                          (!maximized ||
                           window->geometry() == window->mdiArea()->viewport()->rect());
               }) &&
               cps::test::processPending();
    }
    QComboBox* list(int col) const { return qobject_cast<QComboBox*>(view()->editorFor(col)); }

    void clickCell(int row, int col) {
        QTableWidgetItem* it = grid()->item(row - 1, col - 1);
        grid()->scrollToItem(it);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->visualItemRect(it).center());
    }
    // Keys for ASCII; other letters arrive as an input method commits them.
    static void typeText(QWidget* w, const QString& text) {
        for (QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(w, char(c.unicode()));
            } else {
                QInputMethodEvent commit;
                commit.setCommitString(QString(c));
                QApplication::sendEvent(w, &commit);
            }
        }
    }
    void selectRows(int first, int last) {
        grid()->setCurrent(first, 1);
        grid()->clearSelection();
        grid()->setRangeSelected(QTableWidgetSelectionRange(first - 1, 0, last - 1, 9), true);
    }

    // The open right-click menu of the grid: its item clicked where it is seen.
    void chooseFromGridMenu(const QString& name) {
        QMenu* menu = nullptr;
        QVERIFY(QTest::qWaitFor([&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == QStringLiteral("gridMenu") && w->isVisible())
                    menu = qobject_cast<QMenu*>(w);
            return menu != nullptr;
        }));
        QAction* item = menu->findChild<QAction*>(name);
        QVERIFY(item);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        QTRY_VERIFY(!menu->isVisible());
    }

  private slots:
    void cleanup() {
        startup_.reset();
        dir_.reset();
    }

    // On a wide screen the cell editors, the lists' drop-down parts included, show the
    // grid's grown font, not the small one they were made with.
    void editorsTakeTheGridsScaledFont() {
        QVERIFY(launch("English"));
        QVERIFY(view()->pasteText(QString::fromUtf8(kThreeRows)));
        view()->displayChanged(1920);
        const QFont gridFont = grid()->font();
        QVERIFY(gridFont.pointSizeF() > CProgramView::kBasePointSize * 1.8);
        const int gridHeight = QFontMetrics(gridFont).height();
        for (int col : {1, 4, 5, 6}) {
            clickCell(2, col);
            QWidget* editor = view()->editorFor(col);
            QTRY_VERIFY(editor->isVisible());
            QCOMPARE(editor->font().pointSizeF(), gridFont.pointSizeF());
            QCOMPARE(editor->fontMetrics().height(), QFontMetrics(editor->font()).height());
            QVERIFY2(editor->fontMetrics().height() >= gridHeight - 1,
                     qPrintable(QString::number(col)));
            if (auto* combo = qobject_cast<QComboBox*>(editor)) {
                QCOMPARE(combo->view()->font().pointSizeF(), gridFont.pointSizeF());
                if (combo->lineEdit())
                    QCOMPARE(combo->lineEdit()->font().pointSizeF(), gridFont.pointSizeF());
                if (combo->view()->isVisible()) QTest::keyClick(combo->view(), Qt::Key_Escape);
                QTRY_VERIFY(!combo->view()->isVisible());
            }
        }
    }

    void listColumnsMoveWithArrowsAndOpenOnlyWhenAsked() {
        QVERIFY(launch("English"));
        QVERIFY(view()->pasteText(QString::fromUtf8(kThreeRows)));
        clickCell(1, 7);
        QComboBox* wn = list(7);
        // The click opens the list; Escape closes it and leaves the value alone.
        QTRY_VERIFY(wn->view()->isVisible());
        QTest::keyClick(wn->view(), Qt::Key_Escape);
        QTRY_VERIFY(!wn->view()->isVisible());
        QVERIFY(wn->isVisible());

        QTest::keyClick(wn, Qt::Key_Down);
        QCOMPARE(grid()->row(), 2);
        QCOMPARE(grid()->textMatrix(1, 7), QStringLiteral("Wide"));
        QCOMPARE(wn->currentText(), QStringLiteral("Narrow"));  // row 2's own value
        QTest::keyClick(wn, Qt::Key_Up);
        QCOMPARE(grid()->row(), 1);
        QCOMPARE(grid()->textMatrix(2, 7), QStringLiteral("Narrow"));
        QVERIFY(!wn->view()->isVisible());

        QTest::keyClick(wn, Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(wn->view()->isVisible());
        QTest::keyClick(wn->view(), Qt::Key_Escape);
        QTRY_VERIFY(!wn->view()->isVisible());
        QTest::keyClick(wn, Qt::Key_F4);
        QTRY_VERIFY(wn->view()->isVisible());
        QTest::keyClick(wn->view(), Qt::Key_Escape);
        QTRY_VERIFY(!wn->view()->isVisible());

        // Typing opens the list at the item it begins; Enter there picks it.
        QTest::keyClick(wn, Qt::Key_N, Qt::NoModifier);
        QTRY_VERIFY(wn->view()->isVisible());
        QTest::keyClick(wn->view(), Qt::Key_Return);
        QTRY_VERIFY(!wn->view()->isVisible());
        QCOMPARE(wn->currentText(), QStringLiteral("Narrow"));
        // Escape cancels the edit: the cell keeps its text and the grid has the focus.
        QTest::keyClick(wn, Qt::Key_Escape);
        QVERIFY(!wn->isVisible());
        QCOMPARE(grid()->textMatrix(1, 7), QStringLiteral("Wide"));
        QVERIFY(grid()->hasFocus());
        // ... and Enter brings the editor back.
        QTest::keyClick(grid(), Qt::Key_Return);
        QVERIFY(wn->isVisible());
        QCOMPARE(wn->currentText(), QStringLiteral("Wide"));
    }

    void tabEnterEscapeAndPageKeysInEditors() {
        QVERIFY(launch("English"));
        QVERIFY(view()->pasteText(QString::fromUtf8(kThreeRows)));
        clickCell(1, 1);
        QLineEdit* freq = view()->frequencyEditor();
        QTest::keyClick(freq, Qt::Key_Tab);
        QCOMPARE(grid()->col(), 2);
        QVERIFY(freq->isVisible());
        QTest::keyClick(freq, Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(grid()->col(), 1);
        QTest::keyClick(freq, Qt::Key_Backtab);
        QCOMPARE(grid()->row(), 1);  // nothing before the first cell
        clickCell(1, 10);
        QTest::keyClick(list(10), Qt::Key_Tab);
        QCOMPARE(grid()->row(), 2);
        QCOMPARE(grid()->col(), 1);

        // Escape restores the text; Enter in the name column commits and moves down.
        clickCell(2, 5);
        QLineEdit* name = view()->nameEditor();
        QTest::keyClicks(name, QStringLiteral("XYZ"));
        QTest::keyClick(name, Qt::Key_Escape);
        QVERIFY(!name->isVisible());
        QCOMPARE(grid()->textMatrix(2, 5), QStringLiteral("CALL"));
        clickCell(2, 5);
        QTest::keyClicks(name, QStringLiteral("XYZ"));
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(grid()->textMatrix(2, 5), QStringLiteral("XYZ"));
        QCOMPARE(grid()->row(), 3);
        QCOMPARE(grid()->col(), 5);
        QVERIFY(name->isVisible());

        // A typed frequency is committed when PageDown leaves the cell.
        clickCell(3, 2);
        freq->clear();
        QTest::keyClicks(freq, QStringLiteral("152"));
        QCOMPARE(freq->text(), QStringLiteral("152"));
        QCOMPARE(grid()->row(), 3);
        const int page = grid()->pageRows();
        QVERIFY(page > 1);
        QTest::keyClick(freq, Qt::Key_PageDown);
        QCOMPARE(grid()->textMatrix(3, 2), QStringLiteral("152.00000"));
        QCOMPARE(grid()->row(), 3 + page);
        QVERIFY(freq->isVisible());
        QCOMPARE(freq->geometry(), grid()->cellRect());
        QTest::keyClick(freq, Qt::Key_PageUp);
        QCOMPARE(grid()->row(), 3);
        QCOMPARE(freq->text(), QStringLiteral("152.00000"));
    }

    void typedTonesAreKept_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("cell");
        QTest::newRow("250") << "English"
                             << "250"
                             << "250.0";
        QTest::newRow("88") << "English"
                            << "88"
                            << "88.0";
        QTest::newRow("1 is refused") << "English"
                                      << "1"
                                      << "88.5";
        QTest::newRow("code") << "English"
                              << "d023n"
                              << "D023N";
        QTest::newRow("none in capitals") << "English"
                                          << "none"
                                          << "NONE";
        QTest::newRow("Chinese none in English") << "English"
                                                 << "无"
                                                 << "None";
        QTest::newRow("English none in Chinese") << "Chinese"
                                                 << "None"
                                                 << "无";
        QTest::newRow("Chinese 250") << "Chinese"
                                     << "250"
                                     << "250.0";
    }
    void typedTonesAreKept() {
        QFETCH(QString, language);
        QFETCH(QString, typed);
        QFETCH(QString, cell);
        QVERIFY(launch(language.toLatin1().constData()));
        QVERIFY(view()->pasteText(QString::fromUtf8(kThreeRows)));
        clickCell(1, 4);  // encode tone 88.5
        QComboBox* tone = view()->toneList();
        QVERIFY(tone->isVisible());
        tone->lineEdit()->selectAll();
        typeText(tone->lineEdit(), typed);
        QCOMPARE(tone->currentText(), typed);  // nothing completed while typing
        QTest::keyClick(tone->lineEdit(), Qt::Key_Tab);
        QCOMPARE(grid()->col(), 5);
        QCOMPARE(grid()->textMatrix(1, 4), cell);
    }

    void editorSitsOverItsCellAfterMaximise() {
        QVERIFY(launch("English"));
        frame()->resize(1024, 700);
        QMdiSubWindow* window = channelWindow();
        QVERIFY(window);
        window->showNormal();
        QVERIFY(laidOut(window, false));
        clickCell(129, 1);
        QLineEdit* freq = view()->frequencyEditor();
        QVERIFY(freq->isVisible());
        QCOMPARE(grid()->row(), 129);
        window->showMaximized();
        QVERIFY(laidOut(window, true));
        // Still over row 129 ("Fr"), not over the row the old scroll position put there.
        QVERIFY(freq->isVisible());
        QCOMPARE(freq->geometry(), grid()->visualItemRect(grid()->item(128, 0)));
        clickCell(128, 1);
        QTest::keyClick(freq, Qt::Key_Down);
        QCOMPARE(grid()->row(), 129);
        QVERIFY(freq->isVisible());
        QCOMPARE(freq->geometry(), grid()->visualItemRect(grid()->item(128, 0)));
        window->showNormal();
        QVERIFY(laidOut(window, false));
        QVERIFY(freq->isVisible());
        QCOMPARE(freq->geometry(), grid()->visualItemRect(grid()->item(128, 0)));
    }

    void pasteWithARefusedCellChangesNothing() {
        QVERIFY(launch("English"));
        QVERIFY(view()->pasteText(QString::fromUtf8(kThreeRows)));
        QSignalSpy edited(view(), &CProgramView::userEdited);
        const QString before = view()->rowsText(1, 129);
        // A spreadsheet block without the label column; its second row has a tone of 300.
        const QString sheet = QStringLiteral(
            "147.00000\t147.00000\tNone\tNone\tONE\tHigh\tWide\tYes\tOff\tOff\r\n"
            "148.00000\t148.00000\t300\tNone\tTWO\tHigh\tWide\tYes\tOff\tOff\r\n");
        grid()->setCurrent(2, 1);
        QVERIFY(!view()->pasteText(sheet));
        QCOMPARE(view()->rowsText(1, 129), before);
        QCOMPARE(prompter_.texts.size(), 1);
        QVERIFY2(prompter_.texts.last().contains(QStringLiteral("Row 3")),
                 qPrintable(prompter_.texts.last()));
        QVERIFY(prompter_.texts.last().contains(QStringLiteral("QT/DQT Dec")));
        // A row of the wrong shape and rows past "Fr" are refused the same way.
        QVERIFY(!view()->pasteText(QStringLiteral("147\tONE\n")));
        QVERIFY(prompter_.texts.last().contains(QStringLiteral("Row 2")));
        grid()->setCurrent(128, 1);
        QVERIFY(!view()->pasteText(QString::fromUtf8(kThreeRows)));
        QVERIFY(prompter_.texts.last().contains(QStringLiteral("Row 128")));
        QCOMPARE(view()->rowsText(1, 129), before);
        QCOMPARE(edited.count(), 0);

        // The same block fixed goes in from the current row on.
        grid()->setCurrent(4, 1);
        QVERIFY(view()->pasteText(
            QString(sheet).replace(QStringLiteral("\t300\t"), QStringLiteral("\t131.8\t")) +
            QStringLiteral("\n")));
        QCOMPARE(grid()->textMatrix(5, 3), QStringLiteral("131.8"));
        QCOMPARE(grid()->textMatrix(5, 5), QStringLiteral("TWO"));
        QCOMPARE(edited.count(), 1);
        QCOMPARE(edited.last().first().toString(), QStringLiteral("Paste"));
    }

    void copyPasteRoundTripsRowsAndCutErases() {
        QVERIFY(launch("English"));
        QVERIFY(view()->pasteText(QString::fromUtf8(kThreeRows)));
        // A pasted "None" equals what the new row already shows once its frequency is in, so
        // it is kept as shown rather than typed (which would give "NONE").
        const QString rows = QString::fromUtf8(kThreeRows);
        QCOMPARE(view()->rowsText(1, 3), rows);
        QSignalSpy edited(view(), &CProgramView::userEdited);

        selectRows(1, 3);
        grid()->setFocus();
        QTest::keyClick(grid(), Qt::Key_C, Qt::ControlModifier);
        const QString copied = QApplication::clipboard()->text();
        QCOMPARE(copied, rows);
        clickCell(10, 1);
        // Rows on the clipboard: Ctrl+V in the open cell editor pastes them as rows.
        QVERIFY(view()->frequencyEditor()->hasFocus());
        cps::test::pressKey(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(withoutLabels(view()->rowsText(10, 12)), withoutLabels(copied));
        QCOMPARE(edited.count(), 1);

        // Byte for byte in the image too.
        view()->storeGridIntoImage();
        const cps::RadioImage& image = view()->documentImage();
        for (int n = 1; n <= 3; ++n)
            QCOMPARE(
                QByteArray(reinterpret_cast<const char*>(image.data()) + cps::recordOffset(n + 9),
                           24),
                QByteArray(reinterpret_cast<const char*>(image.data()) + cps::recordOffset(n), 24));

        // Shift+Delete cuts: the rows go to the clipboard and their records are erased.
        selectRows(10, 11);
        grid()->setFocus();
        QTest::keyClick(grid(), Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(withoutLabels(QApplication::clipboard()->text()),
                 withoutLabels(view()->rowsText(1, 2)));
        QCOMPARE(edited.count(), 2);
        QCOMPARE(edited.last().first().toString(), QStringLiteral("Cut"));
        view()->storeGridIntoImage();
        for (int i = 0; i < 24; ++i) QCOMPARE(int(image.at(cps::recordOffset(10) + i)), 0xFF);
        // Shift+Insert pastes them back; Ctrl+Insert copies.
        grid()->setCurrent(10, 1);
        grid()->setFocus();
        QTest::keyClick(grid(), Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(grid()->textMatrix(11, 5), QStringLiteral("CALL"));
        selectRows(12, 12);
        QTest::keyClick(grid(), Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(withoutLabels(QApplication::clipboard()->text()),
                 withoutLabels(view()->rowsText(3, 3)));

        // Clear Row from the right-click menu, on the cells or on the row labels.
        selectRows(11, 12);
        QTableWidgetItem* cell = grid()->item(10, 2);
        QCOMPARE(
            cps::test::rightClickSeen(grid()->viewport(), grid()->visualItemRect(cell).center()),
            QString());
        chooseFromGridMenu(QStringLiteral("gridClearRow"));
        QCOMPARE(grid()->textMatrix(11, 1), QString());
        QCOMPARE(grid()->textMatrix(12, 10), QString());
        QCOMPARE(edited.last().first().toString(), QStringLiteral("Clear Row"));
        const int count = edited.count();
        QHeaderView* labels = grid()->verticalHeader();
        grid()->scrollToItem(grid()->item(10, 0));
        const QPoint label11(labels->width() / 2, labels->sectionViewportPosition(10) + 5);
        QCOMPARE(cps::test::rightClickSeen(labels->viewport(), label11), QString());
        chooseFromGridMenu(QStringLiteral("gridClearRow"));
        QCOMPARE(edited.count(), count);  // nothing left to clear: no step
        // A row label outside the selection: the menu acts on that row.
        const QPoint label1(labels->width() / 2, labels->sectionViewportPosition(0) + 5);
        grid()->scrollToTop();
        QCOMPARE(cps::test::rightClickSeen(labels->viewport(), label1), QString());
        chooseFromGridMenu(QStringLiteral("gridCopy"));
        QCOMPARE(QApplication::clipboard()->text(), view()->rowsText(1, 1));
    }

    // A line that is no row: the message counts its fields in good English.
    void aPasteOfOneFieldSaysField() {
        QVERIFY(launch("English"));
        QApplication::clipboard()->setText(QStringLiteral("hello\n"));
        clickCell(4, 1);
        QTest::keyClick(view()->frequencyEditor(), Qt::Key_Escape);
        QVERIFY(grid()->hasFocus());
        cps::test::pressKey(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(prompter_.texts.size(), 1);
        QVERIFY2(prompter_.texts[0].contains(QStringLiteral("line 1 of the text has 1 field;")),
                 qPrintable(prompter_.texts[0]));
        QApplication::clipboard()->setText(QStringLiteral("a\tb\n"));
        cps::test::pressKey(Qt::Key_V, Qt::ControlModifier);
        QVERIFY2(prompter_.texts.value(1).contains(QStringLiteral("has 2 fields;")),
                 qPrintable(prompter_.texts.value(1)));
        QVERIFY(grid()->textMatrix(4, 1).isEmpty());
    }

    void menusInBothLanguages() {
        QVERIFY(launch("Chinese"));
        QMenu* edit = frame()->menuBar()->actions().at(1)->menu();
        QStringList texts;
        // Undo, Redo and a separator come first.
        for (QAction* a : edit->actions().mid(3, 3)) texts << a->text();
        QCOMPARE(texts, (QStringList{"剪切(&T)", "复制(&C)", "粘贴(&P)"}));
        std::unique_ptr<QMenu> menu(view()->createContextMenu(nullptr));
        texts.clear();
        for (QAction* a : menu->actions())
            if (!a->isSeparator()) texts << a->text();
        QCOMPARE(texts, (QStringList{"剪切(&T)", "复制(&C)", "粘贴(&P)", "清除行(&L)"}));
        QSignalSpy edited(view(), &CProgramView::userEdited);
        QVERIFY(view()->pasteText(QString::fromUtf8(kThreeRows)));
        QCOMPARE(edited.last().first().toString(), QStringLiteral("粘贴"));
        // Texts of the other language go in as this language's.
        QCOMPARE(grid()->textMatrix(1, 6), QStringLiteral("高"));
        QCOMPARE(grid()->textMatrix(1, 3), QStringLiteral("无"));
        grid()->setCurrent(5, 1);
        QVERIFY(!view()->pasteText(QStringLiteral("147\t147\t无\t无\tA\t很高\t宽\t是\t关\t关\n")));
        QVERIFY(prompter_.texts.last().contains(QStringLiteral("第 5 行")));
        QVERIFY(prompter_.texts.last().contains(QStringLiteral("低、中、高")));
    }

    void gridLook() {
        QVERIFY(launch("English"));
        frame()->resize(1600, 900);
        channelWindow()->showMaximized();
        QVERIFY(laidOut(channelWindow(), true));
        const QStringList families = grid()->font().families();
        QCOMPARE(families.value(0), QStringLiteral("Times New Roman"));
        QCOMPARE(grid()->horizontalHeader()->font().families().value(0),
                 QStringLiteral("Times New Roman"));
        QCOMPARE(grid()->horizontalHeaderItem(0)->font().families().value(0),
                 QStringLiteral("Times New Roman"));
        QCOMPARE(grid()->verticalHeaderItem(128)->font().families().value(0),
                 QStringLiteral("Times New Roman"));
        QCOMPARE(view()->frequencyEditor()->font().families().value(0),
                 QStringLiteral("Times New Roman"));
        QCOMPARE(grid()->item(0, 4)->font().families().value(0), QStringLiteral("Courier"));
        // Right of the last column the grid is grey 128; the cells are not.
        const QImage shot = grid()->viewport()->grab().toImage();
        const int right = grid()->columnViewportPosition(9) + grid()->columnWidth(9);
        QVERIFY(right + 10 < shot.width());
        QCOMPARE(shot.pixelColor(right + 5, 5), QColor(128, 128, 128));
        QVERIFY(shot.pixelColor(right - 5, 5) != QColor(128, 128, 128));
        // Wide screens grow the text with the columns.
        const double before = grid()->font().pointSizeF();
        view()->displayChanged(1920);
        QVERIFY(grid()->font().pointSizeF() > before);
        QCOMPARE(grid()->font().pointSizeF(), CProgramView::kBasePointSize * 1920 / 1024);
    }
};

QTEST_MAIN(GridGuiTest)
#include "GridGuiTest.moc"
