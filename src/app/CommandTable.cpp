// The main window's commands, one line each: texts, keys, place, rule and action.
#include <QAction>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "CChildFrame.h"
#include "CMainFrame.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "CommandRegistry.h"
#include "EditorLaunchers.h"
#include "ExchangeCommands.h"
#include "FleetCommand.h"
#include "HelpSystem.h"
#include "PrintCommands.h"
#include "RecentFiles.h"
#include "Settings.h"

std::vector<Command> CMainFrame::commandTable() {
    using M = cmd::Menu;
    using S = QStyle;
    std::vector<Command> t;
    auto add = [&t](Command c) { t.push_back(std::move(c)); };
    auto editor = [this](int id) { return [this, id] { editors_->launch(id); }; };

    // File
    add(Command(cmd::FileNew, QT_TRANSLATE_NOOP("CMainFrame", "&New\tCtrl+N"),
                QT_TRANSLATE_NOOP("CMainFrame", "Create a new document\nNew"))
            .keys("Ctrl+N")
            .icon(S::SP_FileIcon)
            .menu(M::File)
            .toolbar(11)
            .run([this] { fileNew(); }));
    add(Command(cmd::FileOpen, QT_TRANSLATE_NOOP("CMainFrame", "&Open...\tCtrl+O"),
                QT_TRANSLATE_NOOP("CMainFrame", "Open an existing document\nOpen"))
            .keys("Ctrl+O")
            .icon(S::SP_DialogOpenButton)
            .menu(M::File)
            .toolbar(12)
            .run([this] { fileOpen(); }));
    add(Command(cmd::FileClose, QT_TRANSLATE_NOOP("CMainFrame", "&Close"),
                QT_TRANSLATE_NOOP("CMainFrame", "Close the active document\nClose"))
            .menu(M::File)
            .run([this] { fileClose(); }));
    add(Command(cmd::FileSave, QT_TRANSLATE_NOOP("CMainFrame", "&Save\tCtrl+S"),
                QT_TRANSLATE_NOOP("CMainFrame", "Save the active document\nSave"))
            .keys("Ctrl+S")
            .icon(S::SP_DialogSaveButton)
            .menu(M::File)
            .toolbar(13)
            .run([this] { saveDocument(false); }));
    add(Command(
            cmd::FileSaveAs, QT_TRANSLATE_NOOP("CMainFrame", "Save &As..."),
            QT_TRANSLATE_NOOP("CMainFrame", "Save the active document with a new name\nSave As"))
            .menu(M::File)
            .run([this] { saveDocument(true); }));
    add(Command(cmd::ImportChannels, QT_TRANSLATE_NOOP("CMainFrame", "Import Channels..."),
                QT_TRANSLATE_NOOP("CMainFrame",
                                  "Replace the channels with a CSV channel list\nImport Channels"))
            .menu(M::File, true)
            .run([this] { exchange_->importChannels(); }));
    add(Command(cmd::ExportChannels, QT_TRANSLATE_NOOP("CMainFrame", "Export Channels..."),
                QT_TRANSLATE_NOOP("CMainFrame",
                                  "Save the channels as a CSV channel list\nExport Channels"))
            .menu(M::File)
            .run([this] { exchange_->exportChannels(); }));
    add(Command(cmd::Print, QT_TRANSLATE_NOOP("CMainFrame", "&Print...\tCtrl+P"),
                QT_TRANSLATE_NOOP("CMainFrame", "Print the active document\nPrint"))
            .keys("Ctrl+P")
            .icon(S::SP_FileDialogDetailedView)
            .menu(M::File, true)
            .toolbar(41)
            .run([this] { print_->print(cps::ReportPrinting::Mode::Dialog); }));
    add(Command(cmd::PrintPreview, QT_TRANSLATE_NOOP("CMainFrame", "Print Preview"),
                QT_TRANSLATE_NOOP("CMainFrame", "Display full pages\nPrint Preview"))
            .menu(M::File)
            .run([this] { print_->print(cps::ReportPrinting::Mode::Preview); }));
    add(Command(
            cmd::PrintSetup, QT_TRANSLATE_NOOP("CMainFrame", "Print Setup..."),
            QT_TRANSLATE_NOOP("CMainFrame", "Change the printer and printing options\nPrint Setup"))
            .menu(M::File)
            .run([this] { print_->pageSetup(); }));
    add(Command(cmd::PrintDirect, QT_TRANSLATE_NOOP("CMainFrame", "Print Direct"),
                QT_TRANSLATE_NOOP("CMainFrame",
                                  "Print the active document without asking\nPrint Direct"))
            .run([this] { print_->print(cps::ReportPrinting::Mode::Direct); }));
    add(Command(cmd::ExportPdf, QT_TRANSLATE_NOOP("CMainFrame", "Export PDF..."),
                QT_TRANSLATE_NOOP("CMainFrame",
                                  "Save the report of the active document as a PDF "
                                  "file\nExport PDF"))
            .menu(M::File)
            .run([this] { print_->exportPdf(); }));
    static const char* const kRecentNames[cmd::kRecentFiles] = {"recentFile1", "recentFile2",
                                                                "recentFile3", "recentFile4"};
    for (int i = 0; i < cmd::kRecentFiles; ++i) {
        // Texts and visibility follow the list (RecentFiles).
        add(Command(cmd::RecentFile1 + i, "", "Open this document")
                .chinese("", "打开该文件")
                .name(kRecentNames[i])
                .menu(M::File, i == 0)
                .run([this, i] { openRecentOrDropped(recent_->path(i)); }));
    }
    add(Command(cmd::Exit, QT_TRANSLATE_NOOP("CMainFrame", "&Exit\tCtrl+Q"),
                QT_TRANSLATE_NOOP("CMainFrame", "Quit the application\nExit"))
            .keys("Ctrl+Q")
            .menu(M::File, true)
            .run([this] { close(); }));

    // Edit
    add(Command(cmd::EditUndo, "&Undo\tCtrl+Z", "Undo the last action")
            .chinese("撤销(&U)\tCtrl+Z", "撤销上一步操作")
            .keys("Ctrl+Z|Alt+Backspace")
            .menu(M::Edit)
            .when([this] { return activeDocument() && activeDocument()->canUndo(); })
            .run([this] { editUndo(); }));
    add(Command(cmd::EditRedo, "&Redo\tCtrl+Y", "Redo the previously undone action")
            .chinese("恢复(&R)\tCtrl+Y", "恢复上一步撤销的操作")
            .keys("Ctrl+Y")
            .menu(M::Edit)
            .when([this] { return activeDocument() && activeDocument()->canRedo(); })
            .run([this] { editRedo(); }));
    add(Command(cmd::EditCut, "Cu&t", "Cut the selected channel rows to the clipboard")
            .chinese("剪切(&T)", "将选中的信道行剪切到剪贴板")
            .keys("Ctrl+X|Shift+Del")
            .menu(M::Edit, true)
            .run([this] { onView(&CProgramView::cutRows); }));
    add(Command(cmd::EditCopy, "&Copy", "Copy the selected channel rows to the clipboard")
            .chinese("复制(&C)", "将选中的信道行复制到剪贴板")
            .keys("Ctrl+C|Ctrl+Ins")
            .menu(M::Edit)
            .safeWhileBusy()
            .run([this] { onView(&CProgramView::copyRows); }));
    add(Command(cmd::EditPaste, "&Paste", "Paste channel rows from the current row on")
            .chinese("粘贴(&P)", "从当前行起粘贴信道行")
            .keys("Ctrl+V|Shift+Ins")
            .menu(M::Edit)
            .run([this] { onView(&CProgramView::pasteRows); }));
    add(Command(cmd::ChannelInfo, QT_TRANSLATE_NOOP("CMainFrame", "Channel Information"),
                QT_TRANSLATE_NOOP("CMainFrame", "Show the channel table\nChannel Information"))
            .menu(M::Edit, true)
            .safeWhileBusy()
            .run([this] { showChannelWindow(); }));
    add(Command(cmd::OptionalFeatures, QT_TRANSLATE_NOOP("CMainFrame", "Optional Features"),
                QT_TRANSLATE_NOOP("CMainFrame", "Edit the optional features\nOptional Features"))
            .menu(M::Edit, true)
            .run(editor(cmd::OptionalFeatures)));
    add(Command(cmd::Dtmf, QT_TRANSLATE_NOOP("CMainFrame", "DTMF"),
                QT_TRANSLATE_NOOP("CMainFrame", "Edit the DTMF codes\nDTMF"))
            .menu(M::Edit, true)
            .run(editor(cmd::Dtmf)));
    add(Command(cmd::Msk, QT_TRANSLATE_NOOP("CMainFrame", "MSK"),
                QT_TRANSLATE_NOOP("CMainFrame", "Edit the MSK ID and call list\nMSK"))
            .menu(M::Edit)
            .run(editor(cmd::Msk)));
    add(Command(cmd::TwoTone, QT_TRANSLATE_NOOP("CMainFrame", "2-Tone"),
                QT_TRANSLATE_NOOP("CMainFrame", "Edit the 2-Tone encode and decode\n2-Tone"))
            .name("actionTwoTone")
            .menu(M::Edit)
            .run(editor(cmd::TwoTone)));
    add(Command(cmd::KeyAssignment, QT_TRANSLATE_NOOP("CMainFrame", "Key Assignment"),
                QT_TRANSLATE_NOOP("CMainFrame", "Assign the side key\nKey Assignment"))
            .menu(M::Edit)
            .run(editor(cmd::KeyAssignment)));
    add(Command(cmd::ParamAdjust, QT_TRANSLATE_NOOP("CMainFrame", "Param Adjust"),
                QT_TRANSLATE_NOOP("CMainFrame", "Adjust the radio parameters\nParam Adjust"))
            .menu(M::Edit)
            .run(editor(cmd::ParamAdjust)));
    add(Command(
            cmd::SoftwareInfo, QT_TRANSLATE_NOOP("CMainFrame", "Software Info"),
            QT_TRANSLATE_NOOP("CMainFrame", "Edit the model and frequency ranges\nSoftware Info"))
            .menu(M::Edit)
            .run(editor(cmd::SoftwareInfo)));
    add(Command(cmd::SqlTuning, QT_TRANSLATE_NOOP("CMainFrame", "Sql Tuning"),
                QT_TRANSLATE_NOOP("CMainFrame", "Tune the squelch levels\nSql Tuning"))
            .menu(M::Edit)
            .run(editor(cmd::SqlTuning)));
    add(Command(cmd::Stun, QT_TRANSLATE_NOOP("CMainFrame", "Stun"),
                QT_TRANSLATE_NOOP("CMainFrame", "Stun and kill codes\nStun"))
            .menu(M::Edit)
            .run(editor(cmd::Stun)));

    // Program
    add(Command(cmd::Read, QT_TRANSLATE_NOOP("CMainFrame", "&Read    Ctrl+R"),
                QT_TRANSLATE_NOOP("CMainFrame", "Read Data From Radio\nRead"))
            .keys("Ctrl+R", true)
            .icon(S::SP_ArrowDown)
            .menu(M::Program)
            .toolbar(21)
            .run([this] { programRead(); }));
    add(Command(cmd::Write, QT_TRANSLATE_NOOP("CMainFrame", "&Write   Ctrl+W"),
                QT_TRANSLATE_NOOP("CMainFrame", "Write Data To Radio\nWrite"))
            .keys("Ctrl+W", true)
            .icon(S::SP_ArrowUp)
            .menu(M::Program)
            .toolbar(31)
            .run([this] {
                if (current_) current_->write();
            }));
    add(Command(cmd::ProgramFleet, QT_TRANSLATE_NOOP("CMainFrame", "Program Fleet..."),
                QT_TRANSLATE_NOOP("CMainFrame",
                                  "Write the document to many radios, each with its own "
                                  "values\nProgram Fleet"))
            .menu(M::Program)
            .run([this] { fleet_->programFleet(); }));
    add(Command(cmd::CompareWithRadio, QT_TRANSLATE_NOOP("CMainFrame", "Compare with Radio"),
                QT_TRANSLATE_NOOP("CMainFrame",
                                  "Read the radio and list how it differs from the "
                                  "document\nCompare"))
            .menu(M::Program, true)
            .run([this] { exchange_->compareWithRadio(); }));

    // Setup
    add(Command(cmd::ComSetup, QT_TRANSLATE_NOOP("CMainFrame", "Com Setup"),
                QT_TRANSLATE_NOOP("CMainFrame", "Choose the serial port\nCom Setup"))
            .menu(M::Setup)
            .run([this] {
                if (current_) current_->comSetup();
            }));
    // A per-user choice, off unless the user turned it on.
    add(Command(cmd::VerifyAfterWrite, QT_TRANSLATE_NOOP("CMainFrame", "Verify after writing"),
                QT_TRANSLATE_NOOP("CMainFrame",
                                  "Read back every block written to the radio and compare"))
            .name("actionVerifyAfterWrite")
            .helpTopic(0)
            .checkable(cps::verifyAfterWriting(settings_.userStore()))
            .menu(M::Setup)
            .run([this] {
                cps::UserStore store = settings_.userStore();
                cps::setVerifyAfterWriting(store, action(cmd::VerifyAfterWrite)->isChecked());
            }));
    add(Command(cmd::Language, QT_TRANSLATE_NOOP("CMainFrame", "Language"),
                QT_TRANSLATE_NOOP("CMainFrame", "Choose the language\nLanguage"))
            .menu(M::Setup)
            .run([this] { chooseLanguage(); }));

    // View
    add(Command(cmd::ViewToolbar, QT_TRANSLATE_NOOP("CMainFrame", "&Toolbar"),
                QT_TRANSLATE_NOOP("CMainFrame", "Show or hide the toolbar\nToggle ToolBar"))
            .checkable(true)
            .safeWhileBusy()
            .menu(M::View)
            .run([this] {
                commands_->toolBar()->setVisible(action(cmd::ViewToolbar)->isChecked());
            }));
    add(Command(cmd::ViewStatusBar, QT_TRANSLATE_NOOP("CMainFrame", "&Status Bar"),
                QT_TRANSLATE_NOOP("CMainFrame", "Show or hide the status bar\nToggle StatusBar"))
            .checkable(true)
            .safeWhileBusy()
            .menu(M::View)
            .run([this] { statusBar()->setVisible(action(cmd::ViewStatusBar)->isChecked()); }));
    add(Command(cmd::ControlBar, QT_TRANSLATE_NOOP("CMainFrame", "Control &Bar   Ctrl+B"),
                QT_TRANSLATE_NOOP("CMainFrame", "Show or hide the navigation bar\nControl Bar"))
            .keys("Ctrl+B", true)
            .checkable(true)
            .safeWhileBusy()
            .menu(M::View, true)
            .run([this] { toggleControlBar(); }));

    // Help
    add(Command(cmd::HelpTopics, QT_TRANSLATE_NOOP("CMainFrame", "&Help Topics"),
                QT_TRANSLATE_NOOP("CMainFrame", "List Help topics\nHelp Topics"))
            .safeWhileBusy()
            .menu(M::Help)
            .run([this] { help_->showContents(); }));
    add(Command(cmd::About, QT_TRANSLATE_NOOP("CMainFrame", "&About ..."),
                QT_TRANSLATE_NOOP("CMainFrame",
                                  "Display program information, version number and "
                                  "copyright\nAbout"))
            .icon(S::SP_MessageBoxInformation)
            .menu(M::Help, true)
            .toolbar(42)
            .run([this] { showAbout(); }));
    // F1 in the main window: the page of the pane in focus.
    add(Command(cmd::Help, nullptr, nullptr).keys("F1").safeWhileBusy().run([this] {
        helpOnFocus();
    }));
    return t;
}
