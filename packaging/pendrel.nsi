; Pendrel's setup: a per-user installer that needs no administrator. It puts
; the 64-bit program in %LOCALAPPDATA%\Programs\Pendrel, a shortcut in the
; user's Start menu and an entry in Add or Remove Programs, and can start the
; program at sign-in and at once. tools/release.sh builds it:
;   makensis -DVERSION=2.1.0 -DPUBLISHER=... -DCOPYRIGHT=... -DSOURCE=<repository> -DEXE=<pendrel.exe>
;            -DREADME=<README.txt> -DLICENSE=<LICENSE.txt> -DOUTFILE=<setup.exe> pendrel.nsi
; Silent (/S) it neither starts the program nor sets the start at sign-in
; unless told to: /START, /SIGNIN.
Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

; The names the program itself goes by, read from its own headers so that they
; are written once.
!define NAMES "${SOURCE}/src/resources/names.h"
!searchparse /file "${NAMES}" `#define PENDREL_CAPTION "` PRODUCT `"`
!searchparse /file "${NAMES}" `#define PENDREL_TRIGGER_CLASS "` WINDOW_CLASS `"`
!searchparse /file "${NAMES}" `#define PENDREL_RUN_VALUE "` RUN_VALUE `"`
!searchparse /file "${NAMES}" `#define PENDREL_REGISTRY_KEY "` SETTINGS_KEY_ESCAPED `"`
!searchreplace SETTINGS_KEY "${SETTINGS_KEY_ESCAPED}" "\\" "\"
!searchparse /file "${SOURCE}/src/resources/constants.h" `#define RUN_KEY_PATH L"` RUN_KEY_ESCAPED `"`
!searchreplace RUN_KEY "${RUN_KEY_ESCAPED}" "\\" "\"
!searchparse "${SETTINGS_KEY}" `Software\` VENDOR `\`
!define SETTINGS_PARENT "Software\${VENDOR}"

!define EXE_NAME "pendrel.exe"
!define UNINSTALLER "uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; One setup or uninstaller at a time in a session.
!define SETUP_MUTEX "PendrelSetup"
!define ERROR_ALREADY_EXISTS 183
!define SYNCHRONIZE 0x00100000
!define WAIT_OBJECT_0 0
; How long a running copy asked to end is given, and the step of the wait
; when its process cannot be watched.
!define END_BOUND_MS 10000
!define END_STEP_MS 100
; The exit code of a setup that stopped before changing anything.
!define EXIT_REFUSED 2

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An upgrade goes where the installed copy is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COPYRIGHT}"

!define MUI_ICON "${SOURCE}/src/resources/app.ico"
!define MUI_UNICON "${SOURCE}/src/resources/app.ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartNow
; The second box of the page is the start at sign-in.
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Start ${PRODUCT} when I sign in"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION StartAtSignIn
!define MUI_PAGE_CUSTOMFUNCTION_SHOW ShowFinish
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE LeaveFinish
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Both the setup and the uninstaller need these; the uninstaller's functions
; carry the prefix "un.".
!macro SHARED_FUNCTIONS un
    ; Refuses to go on while another setup or uninstaller runs.
    Function ${un}RefuseSecondSetup
        SetShellVarContext current
        System::Call 'kernel32::CreateMutex(p 0, i 0, t "${SETUP_MUTEX}") p .r0 ?e'
        Pop $1
        ${If} $1 = ${ERROR_ALREADY_EXISTS}
            MessageBox MB_OK|MB_ICONEXCLAMATION "Another ${PRODUCT} setup is running. Let it finish, then try again." /SD IDOK
            SetErrorLevel ${EXIT_REFUSED}
            Quit
        ${EndIf}
    FunctionEnd

    ; Asks every running copy to end (WM_CLOSE to its window, as its Exit
    ; command does) and waits for its process, a bounded time. Stops the
    ; setup, having changed nothing, when one does not end.
    Function ${un}EndRunningCopies
        StrCpy $R9 0
        ${Do}
            FindWindow $0 "${WINDOW_CLASS}"
            ${If} $0 = 0
                Return
            ${EndIf}
            ${If} $R9 >= ${END_BOUND_MS}
                MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} is running and did not end when asked to.$\r$\n$\r$\nEnd it with Exit in the menu of its icon, then run this again." /SD IDOK
                SetErrorLevel ${EXIT_REFUSED}
                Quit
            ${EndIf}
            System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
            System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2'
            System::Call 'user32::PostMessage(p r0, i ${WM_CLOSE}, p 0, p 0)'
            ${If} $2 P<> 0
                System::Call 'kernel32::WaitForSingleObject(p r2, i ${END_BOUND_MS}) i .r3'
                System::Call 'kernel32::CloseHandle(p r2)'
                ${If} $3 <> ${WAIT_OBJECT_0}
                    StrCpy $R9 ${END_BOUND_MS}
                ${EndIf}
            ${Else}
                Sleep ${END_STEP_MS}
                IntOp $R9 $R9 + ${END_STEP_MS}
            ${EndIf}
        ${Loop}
    FunctionEnd

    ; $1 = 1 when the Run value starts this copy, as the program itself
    ; decides: blanks skipped, the path in quotes or followed by a blank or
    ; the end, compared without regard to case, arguments ignored.
    Function ${un}RunValueNamesThisCopy
        StrCpy $1 0
        ClearErrors
        ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
        ${If} ${Errors}
            Return
        ${EndIf}
        StrCpy $2 "$INSTDIR\${EXE_NAME}"
        StrLen $3 $2
        ${Do}
            StrCpy $4 $0 1
            ${If} $4 != " "
            ${AndIf} $4 != "$\t"
                ${ExitDo}
            ${EndIf}
            StrCpy $0 $0 "" 1
        ${Loop}
        StrCpy $5 0
        ${If} $4 == '"'
            StrCpy $5 1
            StrCpy $0 $0 "" 1
        ${EndIf}
        StrCpy $4 $0 $3
        ${If} $4 != $2
            Return
        ${EndIf}
        StrCpy $4 $0 1 $3
        ${If} $5 = 1
            ${If} $4 == '"'
            ${OrIf} $4 == ""
                StrCpy $1 1
            ${EndIf}
        ${ElseIf} $4 == " "
        ${OrIf} $4 == "$\t"
        ${OrIf} $4 == ""
            StrCpy $1 1
        ${EndIf}
    FunctionEnd
!macroend
!insertmacro SHARED_FUNCTIONS ""
!insertmacro SHARED_FUNCTIONS "un."

Var upgrade

Function .onInit
    Call RefuseSecondSetup
FunctionEnd

Function un.onInit
    Call un.RefuseSecondSetup
FunctionEnd

Function StartNow
    Exec '"$INSTDIR\${EXE_NAME}"'
FunctionEnd

; The same value the program's own box writes: the full path in quotes.
Function StartAtSignIn
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${EXE_NAME}"'
FunctionEnd

; The sign-in box shows what is set; a fresh install offers it checked.
Function ShowFinish
    Call RunValueNamesThisCopy
    ${If} $1 = 1
    ${OrIf} $upgrade != 1
        ${NSD_Check} $mui.FinishPage.ShowReadme
    ${Else}
        ${NSD_Uncheck} $mui.FinishPage.ShowReadme
    ${EndIf}
FunctionEnd

; An unchecked box stops this copy from starting at sign-in, and only this one.
Function LeaveFinish
    ${NSD_GetState} $mui.FinishPage.ShowReadme $0
    ${If} $0 <> ${BST_CHECKED}
        Call RunValueNamesThisCopy
        ${If} $1 = 1
            DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
        ${EndIf}
    ${EndIf}
FunctionEnd

Function .onInstSuccess
    ${IfNot} ${Silent}
        Return
    ${EndIf}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/SIGNIN" $1
    ${IfNot} ${Errors}
        Call StartAtSignIn
    ${EndIf}
    ClearErrors
    ${GetOptions} $0 "/START" $1
    ${IfNot} ${Errors}
        Call StartNow
    ${EndIf}
FunctionEnd

; Stops the setup, having changed nothing, when the folder cannot be written.
Function CheckWriteAccess
    ClearErrors
    CreateDirectory "$INSTDIR"
    FileOpen $0 "$INSTDIR\setup-check.tmp" w
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONSTOP "Setup cannot write to$\r$\n$INSTDIR$\r$\n$\r$\nNothing was changed. Run Setup as the user who will use ${PRODUCT}, or give it a folder you can write to (/D=folder)." /SD IDOK
        SetErrorLevel ${EXIT_REFUSED}
        Quit
    ${EndIf}
    FileClose $0
    Delete "$INSTDIR\setup-check.tmp"
FunctionEnd

; Each file is written beside the one it replaces first, and the old ones
; are swapped only once every new one is complete: a failure leaves the
; installed copy as it was.
!macro SWAP name
    Delete "$INSTDIR\${name}"
    Rename "$INSTDIR\${name}.new" "$INSTDIR\${name}"
!macroend

Function PlaceFiles
    SetOutPath "$INSTDIR"
    ClearErrors
    File "/oname=${EXE_NAME}.new" "${EXE}"
    File "/oname=README.txt.new" "${README}"
    File "/oname=LICENSE.txt.new" "${LICENSE}"
    ${IfNot} ${Errors}
        !insertmacro SWAP "${EXE_NAME}"
        !insertmacro SWAP "README.txt"
        !insertmacro SWAP "LICENSE.txt"
    ${EndIf}
    ${If} ${Errors}
        Delete "$INSTDIR\*.new"
        MessageBox MB_OK|MB_ICONSTOP "Setup could not write the files of ${PRODUCT} to$\r$\n$INSTDIR$\r$\n$\r$\nThe installed copy, if any, was left as it was." /SD IDOK
        SetErrorLevel ${EXIT_REFUSED}
        Quit
    ${EndIf}
FunctionEnd

Section "${PRODUCT}"
    SetShellVarContext current
    Call EndRunningCopies
    Call CheckWriteAccess
    ${If} ${FileExists} "$INSTDIR\${UNINSTALLER}"
        StrCpy $upgrade 1
    ${EndIf}
    Call PlaceFiles
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortCut "${SHORTCUT}" "$INSTDIR\${EXE_NAME}"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE_NAME},0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    Call un.EndRunningCopies
    Call un.RunValueNamesThisCopy
    ${If} $1 = 1
        DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${EndIf}
    Delete "$INSTDIR\${EXE_NAME}"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    Delete "${SHORTCUT}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ; Silent: the settings stay, for a later install to find.
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Remove the settings of ${PRODUCT} as well?" /SD IDNO IDNO done
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "${SETTINGS_PARENT}"
done:
SectionEnd
