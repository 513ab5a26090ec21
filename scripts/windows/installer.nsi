; The Windows installer, made by scripts/windows/build with makensis -INPUTCHARSET UTF8:
;   VERSION, OUTFILE, FILES and UNFILES (the lists of the program folder), SIZE_KB, ICON.
; Installs for the current user without administrator rights; /ALLUSERS installs for
; everybody into Program Files (needs them). /S is silent, /D=FOLDER chooses the folder.
; 64-bit like the programs, so it runs wherever they do.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include LogicLib.nsh
!include FileFunc.nsh

!define NAME_EN "Radio Programming Software"
!define NAME_ZH "对讲机写频软件"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\cps"

OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$LOCALAPPDATA\Programs\${NAME_EN}"
ShowInstDetails show
ShowUninstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

LoadLanguageFile "${NSISDIR}\Contrib\Language files\English.nlf"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\SimpChinese.nlf"
; The installer speaks the system's language and names the program in it.
LangString ProgramName ${LANG_ENGLISH} "${NAME_EN}"
LangString ProgramName ${LANG_SIMPCHINESE} "${NAME_ZH}"
Name "$(ProgramName)"

Var AllUsers

Function .onInit
    StrCpy $AllUsers 0
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/ALLUSERS" $1
    ${IfNot} ${Errors}
        StrCpy $AllUsers 1
        SetShellVarContext all
        ; Only the default moves; a folder given with /D stays.
        ${If} $INSTDIR == "$LOCALAPPDATA\Programs\${NAME_EN}"
            StrCpy $INSTDIR "$PROGRAMFILES64\${NAME_EN}"
        ${EndIf}
    ${EndIf}
FunctionEnd

Section "Program"
    SetOutPath "$INSTDIR"
    !include "${FILES}"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    ; One Start menu entry under each language's name of the program.
    CreateShortcut "$SMPROGRAMS\${NAME_EN}.lnk" "$INSTDIR\Program.exe" "" "$INSTDIR\Program.exe" 0
    CreateShortcut "$SMPROGRAMS\${NAME_ZH}.lnk" "$INSTDIR\Program.exe" "" "$INSTDIR\Program.exe" 0
    ; The uninstaller removes only what the installer put in: it notes where the entries are.
    WriteINIStr "$INSTDIR\Uninstall.ini" "Install" "AllUsers" "$AllUsers"
    ${If} $AllUsers == 1
        WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME_EN} ${VERSION}"
        WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
        WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Program.exe"
        WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
        WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
        WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
        WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
        WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
        WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${Else}
        WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME_EN} ${VERSION}"
        WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
        WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Program.exe"
        WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
        WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
        WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
        WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
        WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
        WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${EndIf}
SectionEnd

; The user's own files (images saved into the folder, the per-user settings) stay; the
; folder goes when nothing else is left in it.
Section "Uninstall"
    ReadINIStr $0 "$INSTDIR\Uninstall.ini" "Install" "AllUsers"
    ${If} $0 == 1
        SetShellVarContext all
        DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ${Else}
        DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ${EndIf}
    Delete "$SMPROGRAMS\${NAME_EN}.lnk"
    Delete "$SMPROGRAMS\${NAME_ZH}.lnk"
    !include "${UNFILES}"
    Delete "$INSTDIR\Uninstall.ini"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd
