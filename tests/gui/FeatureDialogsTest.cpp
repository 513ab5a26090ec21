// The feature editors and the service access, driven through the real main window's
// commands with key presses and clicks, checked on the document's image bytes.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <functional>
#include <memory>

#include "CColorLabel.h"
#include "CDtmfCodesDlg.h"
#include "CKeyAssignmentDlg.h"
#include "CMSFlexGrid.h"
#include "CMainFrame.h"
#include "CMskDlg.h"
#include "COptionalFeaturesDlg.h"
#include "CPasswordDlg.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "CStunDlg.h"
#include "DataFile.h"
#include "FeatureFields.h"
#include "HelpContext.h"
#include "NavigationBar.h"
#include "ProgramFolder.h"
#include "RealInput.h"
#include "ScriptedPrompter.h"
#include "Session.h"
#include "Settings.h"
#include "Startup.h"
#include "WaitUntil.h"

using cps::test::onModal;

namespace {

const QByteArray kIni = cps::test::programIni();

QPushButton* button(QDialog* d, QDialogButtonBox::ButtonRole role) {
    for (QDialogButtonBox* box : d->findChildren<QDialogButtonBox*>())
        for (QAbstractButton* b : box->buttons())
            if (box->buttonRole(b) == role) return qobject_cast<QPushButton*>(b);
    return nullptr;
}
void clickOk(QDialog* d) {
    QTest::mouseClick(button(d, QDialogButtonBox::AcceptRole), Qt::LeftButton);
}
void clickCancel(QDialog* d) {
    QTest::mouseClick(button(d, QDialogButtonBox::RejectRole), Qt::LeftButton);
}

// Moves a list to item index with the arrow keys, as a user would.
void chooseByKeys(QComboBox* box, int index) {
    box->setFocus();
    while (box->currentIndex() < index) QTest::keyClick(box, Qt::Key_Down);
    while (box->currentIndex() > index) QTest::keyClick(box, Qt::Key_Up);
}

// The next item of a list (the previous one for the last item).
int otherItem(const QComboBox* box) {
    return box->currentIndex() + 1 < box->count() ? box->currentIndex() + 1
                                                  : box->currentIndex() - 1;
}

void typeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

void giveAccessCode(const QString& code) {
    onModal<cps::CPasswordDlg>([code](cps::CPasswordDlg* d) {
        QTest::keyClicks(d->edit(), code);
        clickOk(d);
    });
}

bool menuHolds(QMenu* menu, int id, int* count = nullptr) {
    int n = 0;
    for (QAction* a : menu->actions())
        if (a->data().toInt() == id) ++n;
    if (count) *count = n;
    return n > 0;
}

// The image bytes, and where two images differ, for readable failures.
QByteArray bytesOf(const cps::RadioImage& image) {
    return QByteArray(reinterpret_cast<const char*>(image.data()), cps::kImageSize);
}
QString differences(const cps::RadioImage& a, const cps::RadioImage& b) {
    QStringList out;
    for (int i = 0; i < cps::kImageSize; ++i)
        if (a.at(i) != b.at(i)) out << QString::asprintf("%03X: %02X/%02X", i, a.at(i), b.at(i));
    return out.join(QStringLiteral(", "));
}

// A starting image where every field holds something other than the new-image value.
cps::RadioImage sampleImage() {
    cps::RadioImage image = cps::RadioImage::factory();
    cps::applyNewImageSettings(image, 0);
    const uint8_t block[] = {3, 7, 2, 1, 5, 0xA9, 0x56, 0x21, 0xFF, 0xFF, 12};
    for (size_t i = 0; i < sizeof block; ++i) image.set(0xC40 + int(i), block[i]);
    image.set(0xC70, 0x7E);
    image.set(0xC71, 17);
    image.set(0xC72, 0xA5);
    image.set(0xC73, 0xD2);
    image.set(0xC74, 0xA5);
    image.set(0xCCF, 3);
    const std::pair<int, const char*> texts[] = {{0xC50, "12A"},  {0xC60, "9*"},   {0xCC0, "55"},
                                                 {0xC80, "0BEE"}, {0xC88, "C0DE"}, {0xCD0, "123"},
                                                 {0xCE0, "CD#"}};
    for (const auto& [at, text] : texts)
        for (int i = 0; text[i]; ++i) image.set(at + i, uint8_t(text[i]));
    for (int i = 0; i < 3; ++i) image.set(0xFE2 + i, uint8_t('1' + i));
    return image;
}

}  // namespace

class FeatureDialogsTest : public QObject, cps::test::DesktopFixture {
    Q_OBJECT

  private:
    cps::RadioImage& image() const { return frame()->activeDocument()->image(); }

    void launch(const QByteArray& ini = kIni) {
        dir_ = std::make_unique<cps::test::ProgramFolder>(ini);
        QCOMPARE(dir_->error(), QString());
        startup_ = std::make_unique<Startup>(cps::test::startOptions(*dir_, prompter_));
        QVERIFY(startup_->start());
    }

    // Opens a command of the Edit menu (asserting it is there and live).
    void runEdit(int id) {
        QVERIFY(menuHolds(frame()->menu(cmd::Menu::Edit), id));
        QVERIFY(frame()->action(id)->isEnabled());
        QCOMPARE(cps::test::chooseMenu(frame()->menuBar(), frame()->action(id)), QString());
    }

    // Key Assignment has no menu item after start-up: the tree's last entry opens it.
    void openKeyAssignment() {
        QTreeWidget* tree = frame()->navigationBar()->tree();
        QTreeWidgetItem* entry = tree->topLevelItem(0)->child(3);
        QVERIFY(entry);
        QCOMPARE(cps::test::clickSeen(tree->viewport(), tree->visualItemRect(entry).center()),
                 QString());
    }

    // Runs the cps program; returns its exit status.
    int cps(const QStringList& args, QString* err = nullptr) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CPS_USER_STORE"), path(QStringLiteral("cli-user.ini")));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(CPS_PATH), args);
        if (!p.waitForFinished(20000)) return -1;
        if (err) *err = QString::fromUtf8(p.readAllStandardError());
        return p.exitCode();
    }

    QByteArray fileBytes(const QString& name) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

  private slots:
    void init() {
        // A dialog left open by a failing check must not hang the run.
        QTimer::singleShot(20000, [] {
            while (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->reject();
        });
    }
    void cleanup() {
        startup_.reset();
        dir_.reset();
    }

    void editMenuOffersEveryEditor() {
        launch();
        QMenu* edit = frame()->menu(cmd::Menu::Edit);
        for (int id : {cmd::OptionalFeatures, cmd::Dtmf, cmd::Msk, cmd::TwoTone, cmd::Stun})
            QVERIFY2(menuHolds(edit, id), qPrintable(QString::number(id, 16)));
        // MSK and 2-Tone follow DTMF.
        QList<int> order;
        for (QAction* a : edit->actions()) order << a->data().toInt();
        const int dtmf = order.indexOf(cmd::Dtmf);
        QCOMPARE(order.mid(dtmf, 3), (QList<int>{cmd::Dtmf, cmd::Msk, cmd::TwoTone}));
        QCOMPARE(frame()->action(cmd::TwoTone)->objectName(), QStringLiteral("actionTwoTone"));
        QVERIFY(frame()->action(cmd::TwoTone)->isEnabled());
        QCOMPARE(frame()->action(cmd::Msk)->text(), QStringLiteral("MSK"));
        QCOMPARE(frame()->action(cmd::TwoTone)->text(), QStringLiteral("2-Tone"));
        // Key Assignment keeps its start-up trim but has its dialog.
        QVERIFY(!menuHolds(edit, cmd::KeyAssignment));
        QVERIFY(frame()->action(cmd::KeyAssignment)->isEnabled());
    }

    void optionalFeaturesEditsAndCancels() {
        launch();
        cps::RadioImage& img = image();
        // The bits below the visible part: keypad lock checked, MSK-II, repeater invert on.
        img.set(0xC70, img.at(0xC70) & ~0x80);
        img.set(0xC73, (img.at(0xC73) & ~0x01) | 0x02);
        const cps::RadioImage before = img;

        onModal<COptionalFeaturesDlg>([](COptionalFeaturesDlg* d) {
            QCOMPARE(d->list("TOT (s)")->currentText(), QStringLiteral("30"));
            QCOMPARE(d->list("Short Press Orange Key")->currentText(),
                     QStringLiteral("Emergency Call"));
            QCOMPARE(d->list("Priority Channel")->count(), 129);
            QVERIFY(d->keypadLock()->isChecked());
            QCOMPARE(d->list("MSK Type")->currentText(), QStringLiteral("MSK-II"));
            // Shortened: the window ends one pixel above the MSK Type list.
            const QWidget* msk = d->list("MSK Type");
            QCOMPARE(msk->mapTo(d, QPoint(0, 0)).y(), d->height() + 1);
            QVERIFY(!d->keypadLock()->isEnabled());
            QVERIFY(!d->hiddenPart()->isEnabled());
            QCOMPARE(d->passwordEdit()->objectName(), QStringLiteral("1133"));

            chooseByKeys(d->list("TOT (s)"), 3);  // 90 s
            QTest::keyClick(d->list("Beep"), Qt::Key_Down);
            typeInto(d->passwordEdit(), QStringLiteral("12a34567"));
            QCOMPARE(d->passwordEdit()->text(), QStringLiteral("123456"));
            clickOk(d);
        });
        runEdit(cmd::OptionalFeatures);
        cps::RadioImage expected = before;
        expected.set(0xC40, 3);
        expected.set(0xC45, before.at(0xC45) & ~0x08);
        for (int i = 0; i < 6; ++i) expected.set(0xFE2 + i, uint8_t('1' + i));
        QCOMPARE(differences(img, expected), QString());

        // Twice from the tree: both open; Cancel stores nothing.
        QTreeWidget* tree = frame()->navigationBar()->tree();
        QTreeWidgetItem* entry = tree->topLevelItem(0)->child(1);
        for (int i = 0; i < 2; ++i) {
            bool opened = false;
            onModal<COptionalFeaturesDlg>([&opened](COptionalFeaturesDlg* d) {
                opened = true;
                QCOMPARE(d->list("TOT (s)")->currentText(), QStringLiteral("90"));
                chooseByKeys(d->list("Squelch Level"), 9);
                typeInto(d->passwordEdit(), QStringLiteral("9"));
                clickCancel(d);
            });
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                              tree->visualItemRect(entry).center());
            QVERIFY(opened);
            QCOMPARE(differences(img, expected), QString());
        }
        QCOMPARE(qobject_cast<COptionalFeaturesDlg*>(frame()->editorDialog(cmd::OptionalFeatures)),
                 frame()->findChild<COptionalFeaturesDlg*>());
    }

    void dtmfFiltersAndIgnoresEnter() {
        launch();
        cps::RadioImage& img = image();
        const cps::RadioImage before = img;
        onModal<CDtmfCodesDlg>([](CDtmfCodesDlg* d) {
            QCOMPARE(d->codeTime()->currentText(), QStringLiteral("100"));
            QCOMPARE(d->groupCode()->currentText(), QStringLiteral("*"));
            typeInto(d->bot(), QStringLiteral("a%e1"));
            QCOMPARE(d->bot()->text(), QStringLiteral("A1"));
            typeInto(d->localId(), QStringLiteral("12345678"));
            QCOMPARE(d->localId()->text(), QStringLiteral("1234567"));
            chooseByKeys(d->workStatus(), 0);  // Stun
            for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
                QTest::keyClick(d->bot(), Qt::Key(key));
                QTest::keyClick(d, Qt::Key(key));
            }
            QVERIFY(d->isVisible());
            clickOk(d);
        });
        runEdit(cmd::Dtmf);
        cps::RadioImage expected = before;
        expected.set(0xC50, 'A');
        expected.set(0xC51, '1');
        for (int i = 0; i < 7; ++i) expected.set(0xCC0 + i, uint8_t('1' + i));
        expected.set(0xC74, 0xA5);
        QCOMPARE(differences(img, expected), QString());

        onModal<CDtmfCodesDlg>([](CDtmfCodesDlg* d) {
            QCOMPARE(d->bot()->text(), QStringLiteral("A1"));
            typeInto(d->eot(), QStringLiteral("999"));
            chooseByKeys(d->codeTime(), 0);
            clickCancel(d);
        });
        runEdit(cmd::Dtmf);
        QCOMPARE(differences(img, expected), QString());
    }

    // Typed into an edit and not yet left, then a list changed (wheel, keys): OK stores both.
    void typedTextSurvivesAChangeElsewhere() {
        cps::RadioImage img = cps::RadioImage::factory();
        CDtmfCodesDlg d(img, false);
        QTest::keyClicks(d.bot(), QStringLiteral("12"));
        QTest::keyClicks(d.localId(), QStringLiteral("3"));
        QTest::keyClick(d.workStatus(), Qt::Key_Up);
        QCOMPARE(d.bot()->text(), QStringLiteral("12"));
        d.accept();
        QCOMPARE(img.at(0xC50), '1');
        QCOMPARE(img.at(0xC51), '2');
        QCOMPARE(img.at(0xCC0), '3');
        QCOMPARE(img.at(0xC74), 0xA5);
    }

    void mskGridEditingAndKeyFilter() {
        launch();
        cps::RadioImage& img = image();
        const cps::RadioImage before = img;
        onModal<CMskDlg>([](CMskDlg* d) {
            CMSFlexGrid* grid = d->callList();
            QCOMPARE(grid->textMatrix(0, 1), QStringLiteral("Call List"));
            QCOMPARE(grid->textMatrix(9, 0), QStringLiteral("9"));
            QCOMPARE(grid->foreColorFixed(), QColor(0, 70, 213));
            QTest::keyClicks(d->idCode(), QStringLiteral("fg 1"));
            QTest::keyClick(d->idCode(), Qt::Key_2, Qt::ShiftModifier);
            QCOMPARE(d->idCode()->text(), QStringLiteral("F1"));

            auto clickCell = [grid](int row) {
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                                  grid->visualItemRect(grid->item(row - 1, 0)).center());
            };
            clickCell(3);
            QVERIFY(d->cellEditor()->isVisible());
            QTest::keyClicks(d->cellEditor(), QStringLiteral("12abz"));
            QCOMPARE(d->cellEditor()->text(), QStringLiteral("12AB"));
            clickCell(9);
            QCOMPARE(grid->textMatrix(3, 1), QStringLiteral("12AB"));
            // Typed and confirmed without leaving the cell.
            QTest::keyClicks(d->cellEditor(), QStringLiteral("c4"));
            for (int key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Tab, Qt::Key_Space})
                QTest::keyClick(d->cellEditor(), Qt::Key(key));
            QVERIFY(d->isVisible());
            QCOMPARE(d->cellEditor()->text(), QStringLiteral("C4"));
            clickOk(d);
        });
        runEdit(cmd::Msk);
        cps::RadioImage expected = before;
        expected.set(0xC80, 'F');
        expected.set(0xC81, '1');
        const char* entry3 = "12AB";
        for (int i = 0; i < 4; ++i) expected.set(0xC8C + i, uint8_t(entry3[i]));
        expected.set(0xCA4, 'C');
        expected.set(0xCA5, '4');
        QCOMPARE(differences(img, expected), QString());

        // The same dialog object again: it shows the stored codes; Cancel keeps the image.
        CMskDlg* first = qobject_cast<CMskDlg*>(frame()->editorDialog(cmd::Msk));
        onModal<CMskDlg>([first](CMskDlg* d) {
            QCOMPARE(d, first);
            QCOMPARE(d->callList()->textMatrix(3, 1), QStringLiteral("12AB"));
            QVERIFY(!d->cellEditor()->isVisible());
            typeInto(d->idCode(), QStringLiteral("0"));
            clickCancel(d);
        });
        runEdit(cmd::Msk);
        QCOMPARE(differences(img, expected), QString());
    }

    // Keyboard only: the option in use has the focus, Down picks the next, Enter stores it.
    void keyAssignmentByArrowKeyAndEnter() {
        launch();
        cps::RadioImage& img = image();
        img.set(0xC72, 0xA5);
        int checked = -1;
        onModal<CKeyAssignmentDlg>([&checked](CKeyAssignmentDlg* d) {
            QWidget* focused = d->focusWidget();
            QTest::keyClick(focused ? focused : d, Qt::Key_Down);
            checked = d->options()->checkedId();
            focused = d->focusWidget();
            QTest::keyClick(focused ? focused : d, checked == 3 ? Qt::Key_Return : Qt::Key_Escape);
        });
        openKeyAssignment();
        QCOMPARE(checked, 3);
        QCOMPARE(img.at(0xC72), 0xA4);
    }

    void keyAssignmentOptionButtons() {
        launch();
        cps::RadioImage& img = image();
        img.set(0xC72, 0xA5);
        int help = 0;
        cps::setHelpFunction([&help](int context) { help = context; });
        onModal<CKeyAssignmentDlg>([](CKeyAssignmentDlg* d) {
            QCOMPARE(d->options()->checkedId(), 2);  // Send 1750Hz Singal
            QAbstractButton* squelch = d->options()->button(3);
            QCOMPARE(squelch->text(), QStringLiteral("Squelch Off Momentary"));
            QCOMPARE(squelch->objectName(), QStringLiteral("1079"));
            QTest::mouseClick(squelch, Qt::LeftButton);
            // F1 asks the focus widget, which a window gets only once it is active; on a
            // loaded machine the dialog may not be yet.
            d->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(d));
            squelch->setFocus();
            QTRY_COMPARE(QApplication::focusWidget(), squelch);
            QTest::keyClick(squelch, Qt::Key_F1);
            clickOk(d);
        });
        openKeyAssignment();
        cps::setHelpFunction({});
        QCOMPARE(img.at(0xC72), 0xA4);
        QCOMPARE(help, CKeyAssignmentDlg::kOptionsHelpContext);

        onModal<CKeyAssignmentDlg>([](CKeyAssignmentDlg* d) {
            QTest::mouseClick(d->options()->button(0), Qt::LeftButton);
            clickCancel(d);
        });
        openKeyAssignment();
        QCOMPARE(img.at(0xC72), 0xA4);
    }

    void stunNeedsTheAccessCode() {
        launch();
        cps::RadioImage& img = image();
        const cps::RadioImage before = img;
        bool opened = false;
        // A wrong code (the code and more) opens nothing.
        giveAccessCode(QStringLiteral("527KTM1"));
        QPointer<QTimer> waiting = onModal<CStunDlg>([&opened](CStunDlg* d) {
            opened = true;
            d->reject();
        });
        runEdit(cmd::Stun);
        // The code was answered and everything it set going has run: no DTMF window.
        QVERIFY(!cps::test::anyVisible<cps::CPasswordDlg>());
        QVERIFY(cps::test::processPending());
        QVERIFY(!opened);
        QVERIFY(!cps::test::anyVisible<CStunDlg>());
        delete waiting;
        QCOMPARE(differences(img, before), QString());

        giveAccessCode(QStringLiteral("527ktm"));
        onModal<CStunDlg>([&opened](CStunDlg* d) {
            opened = true;
            QCOMPARE(d->windowTitle(), QStringLiteral("DTMF"));
            QCOMPARE(d->stunType()->currentText(), QStringLiteral("Stun"));
            chooseByKeys(d->stunType(), 0);
            QTest::keyClicks(d->stunCode(), QStringLiteral("b1e 2"));
            QCOMPARE(d->stunCode()->text(), QStringLiteral("B12"));
            QTest::keyClicks(d->removeCode(), QStringLiteral("12345678"));
            QTest::keyClick(d->removeCode(), Qt::Key_Escape);
            QTest::keyClick(d->removeCode(), Qt::Key_Enter);
            QVERIFY(d->isVisible());
            clickOk(d);
        });
        runEdit(cmd::Stun);
        QVERIFY(opened);
        cps::RadioImage expected = before;
        expected.set(0xC73, before.at(0xC73) & ~0x40);
        const char* code = "B12";
        for (int i = 0; i < 3; ++i) expected.set(0xCD0 + i, uint8_t(code[i]));
        for (int i = 0; i < 7; ++i) expected.set(0xCE0 + i, uint8_t('1' + i));
        QCOMPARE(differences(img, expected), QString());
        // The prompt alone unlocks nothing.
        QVERIFY(!frame()->session().serviceUnlocked());
    }

    void serviceUnlockAddsTheMenusOnceAndShowsTheSwitch() {
        launch();
        CProgramView* view = frame()->activeView();
        QVERIFY(view->sqlSwitch()->isHidden());
        QCOMPARE(view->sqlLabel()->text(), QStringLiteral("Sql write protect"));
        QCOMPARE(view->sqlLabel()->backgroundColor(), QColor(255, 0, 0));

        giveAccessCode(QStringLiteral("wrong"));
        QTest::keyClick(view->grid(), Qt::Key_F11, Qt::ControlModifier);
        QVERIFY(!frame()->session().serviceUnlocked());
        QVERIFY(view->sqlSwitch()->isHidden());
        QVERIFY(!menuHolds(frame()->menu(cmd::Menu::Edit), cmd::SqlTuning));

        for (int i = 0; i < 2; ++i) {
            giveAccessCode(QStringLiteral("527KTM"));
            QTest::keyClick(view->grid(), Qt::Key_F11, Qt::ControlModifier);
        }
        QVERIFY(frame()->session().serviceUnlocked());
        QVERIFY(!view->sqlSwitch()->isHidden());
        QVERIFY(!view->sqlLabel()->isHidden());
        QMenu* edit = frame()->menu(cmd::Menu::Edit);
        int sql = 0, param = 0;
        menuHolds(edit, cmd::SqlTuning, &sql);
        menuHolds(edit, cmd::ParamAdjust, &param);
        QCOMPARE(sql, 1);
        QCOMPARE(param, 1);
        QList<QAction*> items = edit->actions();
        QCOMPARE(items.at(items.size() - 2)->data().toInt(), int(cmd::SqlTuning));
        QCOMPARE(items.last()->data().toInt(), int(cmd::ParamAdjust));
        QVERIFY(frame()->action(cmd::SqlTuning)->isEnabled());
        QVERIFY(frame()->action(cmd::ParamAdjust)->isEnabled());

        QTest::mouseClick(view->sqlSwitch(), Qt::LeftButton);
        QCOMPARE(view->sqlLabel()->text(), QStringLiteral("Sql allow writing"));
        QCOMPARE(view->sqlLabel()->backgroundColor(), QColor(0, 255, 0));
        QCOMPARE(view->sqlWritingAllowed(), 1);
        startup_->exit();
        QFile f(path(QStringLiteral("Program.ini")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("EnableSql=1"));
    }

    void persistedSwitchStartsCheckedButHidden() {
        launch(QByteArray(kIni).replace("[Setup]\n", "[Setup]\nEnableSql=1\n"));
        CProgramView* view = frame()->activeView();
        QVERIFY(view->sqlSwitch()->isChecked());
        QVERIFY(view->sqlSwitch()->isHidden());
        QCOMPARE(view->sqlLabel()->text(), QStringLiteral("Sql allow writing"));
        QVERIFY(!frame()->session().serviceUnlocked());
    }

    void chineseTexts() {
        launch(QByteArray(kIni).replace("Language=English", "Language=Chinese"));
        QCOMPARE(frame()->action(cmd::Msk)->text(), QStringLiteral("MSK呼叫列表"));
        onModal<COptionalFeaturesDlg>([](COptionalFeaturesDlg* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("可选功能"));
            QCOMPARE(d->list("Display Mode")->currentText(), QStringLiteral("频率信道"));
            QCOMPARE(d->list("Short Press Orange Key")->itemText(0),
                     QStringLiteral("发射1750信号"));
            clickOk(d);
        });
        const cps::RadioImage before = image();
        runEdit(cmd::OptionalFeatures);
        QCOMPARE(bytesOf(image()), bytesOf(before));
        onModal<CDtmfCodesDlg>([](CDtmfCodesDlg* d) {
            QCOMPARE(d->workStatus()->currentText(), QStringLiteral("正常"));
            clickCancel(d);
        });
        runEdit(cmd::Dtmf);
        // Key Assignment has one name: the tree, the dialog and the undo step.
        QCOMPARE(frame()->navigationBar()->tree()->topLevelItem(0)->child(3)->text(0),
                 QStringLiteral("按键定义"));
        onModal<CKeyAssignmentDlg>([](CKeyAssignmentDlg* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("按键定义"));
            QTest::mouseClick(d->options()->button(2), Qt::LeftButton);
            clickOk(d);
        });
        openKeyAssignment();
        QCOMPARE(frame()->action(cmd::EditUndo)->text(),
                 QStringLiteral("撤销(&U) 按键定义\tCtrl+Z"));

        // The service Password dialog speaks Chinese too.
        QString title, ok, cancel;
        onModal<cps::CPasswordDlg>([&](cps::CPasswordDlg* d) {
            title = d->windowTitle();
            ok = button(d, QDialogButtonBox::AcceptRole)->text();
            cancel = button(d, QDialogButtonBox::RejectRole)->text();
            QTest::keyClicks(d->edit(), QStringLiteral("527KTM"));
            clickOk(d);
        });
        QTest::keyClick(frame()->activeView()->grid(), Qt::Key_F11, Qt::ControlModifier);
        QCOMPARE(title, QStringLiteral("密码"));
        QCOMPARE(ok, QStringLiteral("确定"));
        QCOMPARE(cancel, QStringLiteral("取消"));
        QVERIFY(frame()->session().serviceUnlocked());
    }

    // Every field of every section, once through `cps set` and once through its dialog,
    // from the same image: the two results are the same bytes.
    void cpsSetAndTheDialogsAgree() {
        launch();
        const cps::RadioImage start = sampleImage();
        QVERIFY(cps::saveDataFile(path(QStringLiteral("start.dat")), start));
        image() = start;
        QStringList optional, dtmf, msk, key, stun;
        auto arg = [](QStringList& list, const char* k, const QString& v) {
            list << QStringLiteral("%1=%2").arg(QLatin1String(k), v);
        };

        onModal<COptionalFeaturesDlg>([&](COptionalFeaturesDlg* d) {
            for (const cps::field::Field& f : cps::optionalFields().fields) {
                if (QComboBox* box = d->list(f.key)) {
                    if (!box->isEnabled() || !box->isVisibleTo(d) ||
                        box->mapTo(d, QPoint()).y() > d->height())
                        continue;  // below the window: kept as loaded
                    chooseByKeys(box, otherItem(box));
                    arg(optional, f.key, box->currentText());
                }
            }
            typeInto(d->passwordEdit(), QStringLiteral("8642"));
            arg(optional, "Password", QStringLiteral("8642"));
            clickOk(d);
        });
        runEdit(cmd::OptionalFeatures);

        onModal<CDtmfCodesDlg>([&](CDtmfCodesDlg* d) {
            const std::pair<const char*, QComboBox*> lists[] = {{"Dtmf Code Time", d->codeTime()},
                                                                {"Turnking", d->trunking()},
                                                                {"Work Status", d->workStatus()},
                                                                {"Group Code", d->groupCode()}};
            for (const auto& [k, box] : lists) {
                chooseByKeys(box, otherItem(box));
                arg(dtmf, k, box->currentText());
            }
            const std::pair<const char*, QLineEdit*> edits[] = {
                {"BOT", d->bot()}, {"EOT", d->eot()}, {"Local ID", d->localId()}};
            const QString texts[] = {"#1B", "7", "C*D0"};
            for (int i = 0; i < 3; ++i) {
                typeInto(edits[i].second, texts[i]);
                arg(dtmf, edits[i].first, texts[i]);
            }
            clickOk(d);
        });
        runEdit(cmd::Dtmf);

        onModal<CMskDlg>([&](CMskDlg* d) {
            typeInto(d->idCode(), QStringLiteral("A1B2"));
            arg(msk, "ID Code", QStringLiteral("A1B2"));
            CMSFlexGrid* grid = d->callList();
            for (int n = 1; n <= cps::feature::kCallListCount; ++n) {
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                                  grid->visualItemRect(grid->item(n - 1, 0)).center());
                const QString code = QStringLiteral("%1E").arg(n * 7);
                QTest::keyClick(d->cellEditor(), Qt::Key_Backspace);
                QTest::keyClicks(d->cellEditor(), code);
                arg(msk, cps::callListKey(n), code);
            }
            clickOk(d);
        });
        runEdit(cmd::Msk);

        onModal<CKeyAssignmentDlg>([&](CKeyAssignmentDlg* d) {
            QAbstractButton* b = d->options()->button(0);
            QTest::mouseClick(b, Qt::LeftButton);
            arg(key, "Side Key", b->text());
            clickOk(d);
        });
        openKeyAssignment();

        giveAccessCode(QStringLiteral("527KTM"));
        onModal<CStunDlg>([&](CStunDlg* d) {
            chooseByKeys(d->stunType(), otherItem(d->stunType()));
            arg(stun, "Stun Type", d->stunType()->currentText());
            typeInto(d->stunCode(), QStringLiteral("D1*"));
            arg(stun, "Stun/Kill Code", QStringLiteral("D1*"));
            typeInto(d->removeCode(), QStringLiteral("#0"));
            arg(stun, "Remove Stun/Kill code", QStringLiteral("#0"));
            clickOk(d);
        });
        runEdit(cmd::Stun);

        // The same, section by section, through the command line.
        QString in = QStringLiteral("start.dat");
        const std::pair<const char*, QStringList*> sections[] = {{"optional", &optional},
                                                                 {"dtmf", &dtmf},
                                                                 {"msk", &msk},
                                                                 {"key", &key},
                                                                 {"stun", &stun}};
        int step = 0;
        for (const auto& [section, args] : sections) {
            QVERIFY(!args->isEmpty());
            const QString out = QStringLiteral("step%1.dat").arg(++step);
            QStringList call{QStringLiteral("set"), path(in), QStringLiteral("-o"), path(out),
                             QLatin1String(section)};
            call << *args;
            if (QLatin1String(section) == QLatin1String("stun"))
                call << QStringLiteral("--access-code") << QStringLiteral("527KTM");
            QString err;
            QCOMPARE(cps(call, &err), 0);
            in = out;
        }
        const QByteArray viaCli = fileBytes(in);
        QCOMPARE(viaCli.size(), cps::kImageSize);
        QVERIFY(viaCli != bytesOf(start));
        QCOMPARE(bytesOf(image()), viaCli);
        for (int at = 0xC40; at < 0xCF0; ++at)
            if (viaCli[at] != bytesOf(start)[at]) return;  // something in the block changed
        QFAIL("nothing changed");
    }

    void cpsSetRefusesUnknownNamesAndValues() {
        launch();
        QVERIFY(cps::saveDataFile(path(QStringLiteral("a.dat")), sampleImage()));
        const QString in = path(QStringLiteral("a.dat"));
        const QString out = path(QStringLiteral("b.dat"));
        QString err;
        QCOMPARE(cps({"set", in, "-o", out, "optional", "Colour=Red"}, &err), 2);
        QVERIFY(err.contains("Colour"));
        QVERIFY(err.contains("Back Light Color"));
        QCOMPARE(cps({"set", in, "-o", out, "dtmf", "Work Status=Dizzy"}, &err), 2);
        QVERIFY(err.contains("Stun, Normal"));
        QCOMPARE(cps({"set", in, "-o", out, "key", "Side Key=Fly"}, &err), 2);
        QCOMPARE(cps({"set", in, "-o", out, "msk", "Call List 10=1"}, &err), 2);
        QCOMPARE(cps({"set", in, "-o", out, "stun", "Stun Type=Kill"}, &err), 1);
        QVERIFY(err.contains("Password"));
        QCOMPARE(
            cps({"set", in, "-o", out, "stun", "Stun Type=Kill", "--access-code", "527KTMX"}, &err),
            1);
        QVERIFY(!QFile::exists(out));
        QCOMPARE(cps({"set", in, "-o", out, "stun", "Stun Type=Kill", "--access-code", "527ktm"}),
                 0);
        QVERIFY(QFile::exists(out));
    }
};

QTEST_MAIN(FeatureDialogsTest)
#include "FeatureDialogsTest.moc"
