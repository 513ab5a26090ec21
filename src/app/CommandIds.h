#pragma once

// Command ids of the menus, toolbar and accelerators, in one list. The numbers are the
// help topics' ids as well (F1 on a menu item), so they never change.
namespace cmd {
enum : int {
    ControlBar = 0x8004,
    Read = 0x8005,
    Write = 0x8006,
    ComSetup = 0x8009,
    ChannelInfo = 0x8013,
    OptionalFeatures = 0x8014,
    Dtmf = 0x8015,
    Msk = 0x8016,
    TwoTone = 0x8017,
    HelpTopics = 0x8019,
    Language = 0x801F,
    KeyAssignment = 0x8020,
    ParamAdjust = 0x8021,
    SoftwareInfo = 0x8022,
    SqlTuning = 0x8023,
    Stun = 0x8024,
    ExportPdf = 0x8030,
    VerifyAfterWrite = 0x8031,
    ImportChannels = 0x8040,
    ExportChannels = 0x8041,
    CompareWithRadio = 0x8042,
    ProgramFleet = 0x8043,
    FileNew = 0xE100,
    FileOpen = 0xE101,
    FileClose = 0xE102,
    FileSave = 0xE103,
    FileSaveAs = 0xE104,
    PrintSetup = 0xE106,
    Print = 0xE107,
    PrintDirect = 0xE108,
    PrintPreview = 0xE109,
    RecentFile1 = 0xE110,  // to 0xE113
    EditCopy = 0xE122,
    EditCut = 0xE123,
    EditPaste = 0xE125,
    EditUndo = 0xE12B,
    EditRedo = 0xE12C,
    About = 0xE140,
    Exit = 0xE141,
    Help = 0xE146,
    ViewToolbar = 0xE800,
    ViewStatusBar = 0xE801,
};
constexpr int kRecentFiles = 4;

// The menu bar's menus, in their order.
enum class Menu { None = -1, File, Edit, Program, Setup, View, Help };
}  // namespace cmd
