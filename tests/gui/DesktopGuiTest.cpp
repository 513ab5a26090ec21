// How the program fits a desktop: readable on a dark palette, drops that never move the
// user's file, the Open dialog where the user works, and the usual keys.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QMimeData>
#include <QStyle>
#include <QUrl>
#include <QtTest>
#include <memory>

#include "CHelpWindow.h"
#include "CMSFlexGrid.h"
#include "CMainFrame.h"
#include "CProgramDoc.h"
#include "DataFile.h"
#include "ProgramFolder.h"
#include "ReadableColor.h"
#include "ScriptedPrompter.h"
#include "Startup.h"
#include "UserStore.h"

namespace {

QPalette darkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(53, 53, 53));
    p.setColor(QPalette::WindowText, Qt::white);
    p.setColor(QPalette::Base, QColor(35, 35, 35));
    p.setColor(QPalette::Text, Qt::white);
    p.setColor(QPalette::Button, QColor(53, 53, 53));
    p.setColor(QPalette::ButtonText, Qt::white);
    return p;
}

}  // namespace

class DesktopGuiTest : public QObject, cps::test::DesktopFixture {
    Q_OBJECT

    void launch() {
        dir_ = std::make_unique<cps::test::ProgramFolder>(
            cps::test::programIni(QStringLiteral("English"), {QStringLiteral("ShowLang=1")},
                                  QStringLiteral("DesktopTest")));
        QCOMPARE(dir_->error(), QString());
        prompter_ = cps::test::ScriptedPrompter();
        prompter_.otherwise = cps::test::ScriptedPrompter::always(QMessageBox::No);
        startup_ = std::make_unique<Startup>(cps::test::startOptions(*dir_, prompter_));
        QVERIFY(startup_->start());
        QVERIFY(cps::test::showActive(frame()));
    }

    void press(int key, Qt::KeyboardModifiers mods = {}) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : frame();
        QTest::keyClick(target, static_cast<Qt::Key>(key), mods);
    }

    QString writeImage(const QString& name) {
        cps::RadioImage image = cps::RadioImage::factory();
        cps::applyNewImageSettings(image, 0);
        const QString file = path(name);
        [&] { QVERIFY(cps::saveDataFile(file, image)); }();
        return file;
    }

  private slots:
    void cleanup() {
        startup_.reset();
        dir_.reset();
        QApplication::setPalette(QApplication::style()->standardPalette());
    }

    // The headings' blue stays as it is on a light palette and becomes a lighter blue with
    // enough contrast on a dark one (a desktop's palette is there before the grid is).
    void fixedCellsStayReadableOnADarkPalette() {
        QCOMPARE(cps::contrastRatio(Qt::black, Qt::white), 21.0);
        QPalette light;
        light.setColor(QPalette::Button, QColor(239, 239, 239));
        for (const QPalette& palette : {light, darkPalette()}) {
            QApplication::setPalette(palette);
            CMSFlexGrid grid;
            grid.setRows(3);
            grid.setCols(3);
            grid.setForeColorFixed(QColor(0, 50, 240));
            const QColor shown = grid.horizontalHeaderItem(0)->foreground().color();
            const QColor background = grid.horizontalHeader()->palette().color(QPalette::Button);
            QCOMPARE(grid.verticalHeaderItem(0)->foreground().color(), shown);
            QCOMPARE(grid.foreColorFixed(), QColor(0, 50, 240));
            if (palette.color(QPalette::Button).lightness() > 128) {
                QCOMPARE(shown, QColor(0, 50, 240));
                continue;
            }
            QVERIFY(cps::contrastRatio(QColor(0, 50, 240), background) < 2.0);
            QVERIFY2(cps::contrastRatio(shown, background) >= 4.5,
                     qPrintable(shown.name() + " on " + background.name()));
            QVERIFY(shown.blue() > shown.red() && shown.blue() > shown.green());  // still blue
        }
    }

    // A file manager offers move and copy; the program takes a copy, so the file stays.
    void dropIsACopy() {
        launch();
        const QString file = writeImage(QStringLiteral("dropped.dat"));
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(file)});
        const QPoint at = frame()->rect().center();
        QVERIFY(QApplication::widgetAt(frame()->mapToGlobal(at)));
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, {});
        enter.setDropAction(Qt::MoveAction);
        QApplication::sendEvent(frame(), &enter);
        QVERIFY(enter.isAccepted());
        QCOMPARE(enter.dropAction(), Qt::CopyAction);
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, {});
        drop.setDropAction(Qt::MoveAction);
        QApplication::sendEvent(frame(), &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(drop.dropAction(), Qt::CopyAction);
        QTRY_COMPARE(frame()->activeDocument()->pathName(), file);
        QVERIFY(QFile::exists(file));

        // A drag that can only move is refused.
        QDragEnterEvent moveOnly(at, Qt::MoveAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(frame(), &moveOnly);
        QVERIFY(!moveOnly.isAccepted());
    }

    // Ctrl+O starts beside the open document; a new document's starts in the data folder.
    void openDialogStartsWhereTheUserWorks() {
        launch();
        QVERIFY(QDir().mkpath(path(QStringLiteral("data"))));
        cps::UserStore(QStringLiteral("DesktopTest"))
            .setText(QStringLiteral("Settings/DataFolder"), path(QStringLiteral("data")));
        press(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(prompter_.folders, QStringList{path(QStringLiteral("data"))});

        QVERIFY(QDir().mkpath(path(QStringLiteral("elsewhere"))));
        const QString file = writeImage(QStringLiteral("elsewhere/a.dat"));
        prompter_.openPath = file;
        press(Qt::Key_O, Qt::ControlModifier);
        QTRY_COMPARE(frame()->activeDocument()->pathName(), file);
        prompter_.openPath.clear();
        press(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(prompter_.folders.value(2), path(QStringLiteral("elsewhere")));
    }

    void ctrlQExits() {
        launch();
        QVERIFY(frame()->isVisible());
        press(Qt::Key_Q, Qt::ControlModifier);
        QTRY_VERIFY(!frame()->isVisible());
    }

    void escapeClosesHelp() {
        CHelpWindow help(QStringLiteral(":/nohelp"), false);
        help.show();
        help.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&help));
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus && help.isAncestorOf(focus));
        QTest::keyClick(focus, Qt::Key_Escape);
        QTRY_VERIFY(!help.isVisible());
    }
};

QTEST_MAIN(DesktopGuiTest)
#include "DesktopGuiTest.moc"
