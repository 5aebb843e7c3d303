; Pendrel's setup: a per-user installer that needs no administrator. It puts
; the 64-bit program in %LOCALAPPDATA%\Programs\Pendrel, a shortcut in the
; user's Start menu and an entry in Add or Remove Programs, and can start the
; program at sign-in and at once. tools/release.sh builds it:
;   makensis -DINFO=<release.nsh> -DSOURCE=<repository> -DEXE=<pendrel.exe> -DREADME=<README.txt>
;            -DLICENSE=<LICENSE.txt> -DOUTFILE=<setup.exe> [-DSTUB=amd64-unicode] pendrel.nsi
; release.nsh defines VERSION, PUBLISHER, COPYRIGHT, HOMEPAGE and SUPPORT_URL.
; The setup is a 32-bit program, so that every Windows runs it and one that
; cannot run the 64-bit program is told to take the x86 zip; STUB=amd64-unicode
; makes a 64-bit twin for a system that runs no 32-bit program (Wine here).
; It starts again the copy it closed. Otherwise, silent (/S), it neither starts
; the program nor sets the start at sign-in unless told to: /START, /SIGNIN.
; Its exit codes, each refusal its own, are listed under EXIT_ below.
Unicode true
!ifndef STUB
    !define STUB x86-unicode
!endif
Target ${STUB}
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include x64.nsh
!include "${INFO}"

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
!define ICON_NAME "pendrel.ico"
!define UNINSTALLER "uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; Where the copy of an uninstaller that deletes its file once it has ended
; runs from; the next uninstall deletes what it finds there.
!define UNINSTALLER_LEFTOVERS "$TEMP\${PRODUCT} uninstaller"
; How long that copy waits for the uninstaller to end, and how often it tries
; to delete the file (a virus scanner may hold it a moment).
!define AFTER_BOUND_MS 30000
!define AFTER_TRIES 50
; One setup or uninstaller at a time in a session.
!define SETUP_MUTEX "PendrelSetup"
!define ERROR_ALREADY_EXISTS 183
!define SYNCHRONIZE 0x00100000
!define PROCESS_QUERY_INFORMATION 0x0400
!define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
!define WAIT_OBJECT_0 0
!define DELETE 0x00010000
!define FILE_SHARE_ALL 7
!define OPEN_EXISTING 3
!define TOKEN_DUPLICATE 0x0002
!define TOKEN_QUERY 0x0008
; TOKEN_QUERY, TOKEN_ASSIGN_PRIMARY, TOKEN_DUPLICATE, TOKEN_ADJUST_DEFAULT and TOKEN_ADJUST_SESSIONID.
!define PRIMARY_TOKEN_ACCESS 0x018B
!define TOKEN_ELEVATION_CLASS 20
!define SECURITY_IMPERSONATION 2
!define TOKEN_PRIMARY 1
!define IMAGE_FILE_MACHINE_AMD64 0x8664
!define MACHINE_USER_ENABLED 1
!if ${NSIS_PTR_SIZE} > 4
    !define STARTUPINFO_SIZE 104
    !define PROCESS_INFORMATION_SIZE 24
!else
    !define STARTUPINFO_SIZE 68
    !define PROCESS_INFORMATION_SIZE 16
!endif
; How long a running copy asked to end is given, and the step of the wait
; when its process cannot be watched.
!define END_BOUND_MS 10000
!define END_STEP_MS 100
; The exit codes of a setup or uninstaller that stopped having changed nothing
; (1 and 2 are the installer system's own: cancelled, stopped by an error).
!define EXIT_SECOND_SETUP 3
!define EXIT_COPY_RUNNING 4
!define EXIT_FOLDER_NOT_WRITABLE 5
!define EXIT_FILE_NOT_REPLACED 6
!define EXIT_FOREIGN_FOLDER 7
!define EXIT_NO_X64 8

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

; The setup's own icon, with the images a high-DPI Start menu and Settings ask
; for; pendrel.exe keeps a small one.
!define ICON "${SOURCE}/packaging/${ICON_NAME}"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
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

; What the setup writes into the folder, and all that the uninstaller removes.
!macro FOR_EACH_FILE action
    !insertmacro ${action} "${EXE_NAME}"
    !insertmacro ${action} "${ICON_NAME}"
    !insertmacro ${action} "README.txt"
    !insertmacro ${action} "LICENSE.txt"
    !insertmacro ${action} "${UNINSTALLER}"
!macroend

; Ends the setup with the message and the code: the refusals.
!macro REFUSE code text
    MessageBox MB_OK|MB_ICONSTOP "${text}" /SD IDOK
    SetErrorLevel ${code}
    Quit
!macroend

Var closedCopy    ; the program file of the copy the setup closed, to start again
Var restarted     ; 1 once that copy was started again
Var createdFolder ; 1 when the setup made the folder
Var upgrade
Var fault         ; 1 once a check or a swap of the files failed

; Both the setup and the uninstaller need these; the uninstaller's functions
; carry the prefix "un.".
!macro SHARED_FUNCTIONS un
    ; Refuses to go on while another setup or uninstaller runs.
    Function ${un}RefuseSecondSetup
        SetShellVarContext current
        System::Call 'kernel32::CreateMutex(p 0, i 0, t "${SETUP_MUTEX}") p .r0 ?e'
        Pop $1
        ${If} $1 = ${ERROR_ALREADY_EXISTS}
            !insertmacro REFUSE ${EXIT_SECOND_SETUP} "Another ${PRODUCT} setup is running. Let it finish, then try again."
        ${EndIf}
    FunctionEnd

    ; Asks every running copy to end (WM_CLOSE to its window, as its Exit
    ; command does) and waits for its process, a bounded time; keeps the file
    ; of the copy in $closedCopy. $0 = 0 when one did not end.
    Function ${un}EndRunningCopies
        StrCpy $R9 0
        ${Do}
            FindWindow $0 "${WINDOW_CLASS}"
            ${If} $0 = 0
                StrCpy $0 1
                Return
            ${EndIf}
            ${If} $R9 >= ${END_BOUND_MS}
                StrCpy $0 0
                Return
            ${EndIf}
            System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
            System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}|${PROCESS_QUERY_LIMITED_INFORMATION}, i 0, i r1) p .r2'
            ${If} $2 P<> 0
                System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN}) i .r4'
                ${If} $4 <> 0
                    StrCpy $closedCopy $3
                ${EndIf}
            ${EndIf}
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

; The 64-bit program runs where x64 code runs: natively, or on an ARM64
; Windows 11 through its emulation. Windows before 11 cannot say so of
; emulation, and there only an x64 machine does.
Function RefuseWithoutX64
    System::Call 'kernel32::GetMachineTypeAttributes(i ${IMAGE_FILE_MACHINE_AMD64}, *i 0 r1) i .r0'
    ${If} $0 == "error"
        StrCpy $1 0
        ${If} ${IsNativeAMD64}
            StrCpy $1 ${MACHINE_USER_ENABLED}
        ${EndIf}
    ${ElseIf} $0 <> 0
        StrCpy $1 0
    ${EndIf}
    IntOp $1 $1 & ${MACHINE_USER_ENABLED}
    ${If} $1 = 0
        !insertmacro REFUSE ${EXIT_NO_X64} "This copy of Windows cannot run the 64-bit ${PRODUCT}, which this setup installs.$\r$\n$\r$\nTake pendrel-${VERSION}-x86.zip from the same release page instead: unpack pendrel.exe anywhere and start it."
    ${EndIf}
FunctionEnd

Function .onInit
    Call RefuseWithoutX64
    Call RefuseSecondSetup
FunctionEnd

Function un.onInit
    ${un.GetParameters} $0
    ClearErrors
    ${un.GetOptions} $0 "/AFTER=" $1
    ${IfNot} ${Errors}
        Call un.DeleteAfter
        Quit
    ${EndIf}
    Call un.RefuseSecondSetup
FunctionEnd

; The copy's only work: once the uninstaller (process $1) has ended, its file
; and, when nothing else is left in it, the folder.
Function un.DeleteAfter
    IntOp $1 $1 + 0
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2'
    ${If} $2 P<> 0
        System::Call 'kernel32::WaitForSingleObject(p r2, i ${AFTER_BOUND_MS}) i .r3'
        System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
    SetOutPath "$TEMP"
    StrCpy $3 0
    ${DoWhile} ${FileExists} "$INSTDIR\${UNINSTALLER}"
        Delete "$INSTDIR\${UNINSTALLER}"
        IntOp $3 $3 + 1
        ${If} $3 >= ${AFTER_TRIES}
            ${ExitDo}
        ${EndIf}
        Sleep ${END_STEP_MS}
    ${Loop}
    RMDir "$INSTDIR"
FunctionEnd

; Starts the program file on the stack with the rights of the user whose
; desktop this is. A setup that is not elevated (a per-user one normally is
; not) has them. An elevated one (started as administrator, perhaps by another
; account) starts it with a copy of the token of the desktop's shell, as the
; shell starts programs; with no shell to take it from, it starts nothing
; rather than a program with its own rights.
Function StartAsUser
    Exch $0
    Push $1
    Push $2
    Push $3
    Push $4
    Push $5
    StrCpy $1 0
    System::Call 'advapi32::OpenProcessToken(p -1, i ${TOKEN_QUERY}, *p .r2) i .r3'
    ${If} $3 <> 0
        System::Call 'advapi32::GetTokenInformation(p r2, i ${TOKEN_ELEVATION_CLASS}, *i .r1, i 4, *i .r3)'
        System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
    ${GetParent} "$0" $5
    ${If} $1 = 0
        SetOutPath "$5"
        Exec '"$0"'
    ${Else}
        Push $5
        Push $0
        Call StartWithShellToken
    ${EndIf}
    Pop $5
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Pop $0
FunctionEnd

; Stack: program file, then its folder.
Function StartWithShellToken
    Exch $0
    Exch
    Exch $1
    Push $2
    Push $3
    Push $4
    Push $5
    Push $6
    Push $7
    StrCpy $7 0
    System::Call 'user32::GetShellWindow() p .r2'
    System::Call 'user32::GetWindowThreadProcessId(p r2, *i .r3) i .r4'
    ${If} $4 <> 0
        System::Call 'kernel32::OpenProcess(i ${PROCESS_QUERY_INFORMATION}, i 0, i r3) p .r2'
        System::Call 'advapi32::OpenProcessToken(p r2, i ${TOKEN_DUPLICATE}, *p .r3) i .r4'
        System::Call 'kernel32::CloseHandle(p r2)'
        ${If} $4 <> 0
            System::Call 'advapi32::DuplicateTokenEx(p r3, i ${PRIMARY_TOKEN_ACCESS}, p 0, i ${SECURITY_IMPERSONATION}, i ${TOKEN_PRIMARY}, *p .r4) i .r5'
            System::Call 'kernel32::CloseHandle(p r3)'
            ${If} $5 <> 0
                System::Alloc ${STARTUPINFO_SIZE}
                Pop $5
                System::Call '*$5(i ${STARTUPINFO_SIZE})'
                System::Alloc ${PROCESS_INFORMATION_SIZE}
                Pop $6
                System::Call 'advapi32::CreateProcessWithTokenW(p r4, i 0, w r0, p 0, i 0, p 0, w r1, p r5, p r6) i .r7'
                ${If} $7 <> 0
                    System::Call '*$6(p .r2, p .r3)'
                    System::Call 'kernel32::CloseHandle(p r2)'
                    System::Call 'kernel32::CloseHandle(p r3)'
                ${EndIf}
                System::Free $5
                System::Free $6
                System::Call 'kernel32::CloseHandle(p r4)'
            ${EndIf}
        ${EndIf}
    ${EndIf}
    ${If} $7 = 0
        MessageBox MB_OK|MB_ICONINFORMATION "Setup runs as administrator and could not start ${PRODUCT} as you. Start it from the Start menu." /SD IDOK
    ${EndIf}
    Pop $7
    Pop $6
    Pop $5
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Pop $0
FunctionEnd

Function StartNow
    Push "$INSTDIR\${EXE_NAME}"
    Call StartAsUser
FunctionEnd

; The copy the setup closed runs again: the new one when it was the installed copy.
Function StartClosedCopy
    ${If} $closedCopy != ""
    ${AndIf} $restarted != 1
        StrCpy $restarted 1
        Push $closedCopy
        Call StartAsUser
    ${EndIf}
FunctionEnd

; The same value the program's own box writes: the full path in quotes.
Function StartAtSignIn
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${EXE_NAME}"'
FunctionEnd

; The sign-in box shows what is set; a fresh install offers it checked. The
; start box goes once the closed copy runs again.
Function ShowFinish
    Call RunValueNamesThisCopy
    ${If} $1 = 1
    ${OrIf} $upgrade != 1
        ${NSD_Check} $mui.FinishPage.ShowReadme
    ${Else}
        ${NSD_Uncheck} $mui.FinishPage.ShowReadme
    ${EndIf}
    ${If} $restarted = 1
        ${NSD_Uncheck} $mui.FinishPage.Run
        ShowWindow $mui.FinishPage.Run ${SW_HIDE}
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
    ${AndIf} $restarted != 1
        Call StartNow
    ${EndIf}
FunctionEnd

; $0 = 1 when the folder is empty or holds an uninstaller of this program.
Function FolderIsOurs
    StrCpy $0 1
    FindFirst $1 $2 "$INSTDIR\*.*"
    ${DoWhile} $2 != ""
        ${If} $2 != "."
        ${AndIf} $2 != ".."
            StrCpy $0 0
            ${ExitDo}
        ${EndIf}
        FindNext $1 $2
    ${Loop}
    FindClose $1
    ${If} $0 = 1
        Return
    ${EndIf}
    StrCpy $3 "$INSTDIR\${UNINSTALLER}"
    System::Call 'version::GetFileVersionInfoSizeW(w r3, p 0) i .r1'
    ${If} $1 > 0
        System::Alloc $1
        Pop $2
        System::Call 'version::GetFileVersionInfoW(w r3, i 0, i r1, p r2) i .r4'
        System::Call 'version::VerQueryValueW(p r2, w "\StringFileInfo\040904b0\ProductName", *p .r5, *i .r6) i .r1'
        ${If} $4 <> 0
        ${AndIf} $1 <> 0
            System::Call 'kernel32::lstrcmpW(p r5, w "${PRODUCT}") i .r1'
            ${If} $1 = 0
                StrCpy $0 1
            ${EndIf}
        ${EndIf}
        System::Free $2
    ${EndIf}
FunctionEnd

!macro DELETE_NEW name
    Delete "$INSTDIR\${name}.new"
!macroend

; After a refusal: what the setup wrote goes, and the folder if it made it.
Function Undo
    !insertmacro FOR_EACH_FILE DELETE_NEW
    SetOutPath "$TEMP"
    ${If} $createdFolder = 1
        RMDir "$INSTDIR"
    ${EndIf}
FunctionEnd

Function .onInstFailed
    Call Undo
FunctionEnd

; Into a folder that is empty or already ours, which the setup can write.
Function CheckFolder
    ${If} ${FileExists} "$INSTDIR\*.*"
        Call FolderIsOurs
        ${If} $0 = 0
            !insertmacro REFUSE ${EXIT_FOREIGN_FOLDER} "$INSTDIR$\r$\nholds files of another program. Nothing was changed.$\r$\n$\r$\nInstall ${PRODUCT} into an empty folder, or into the one where it is installed (/D=folder)."
        ${EndIf}
    ${ElseIfNot} ${FileExists} "$INSTDIR"
        StrCpy $createdFolder 1
    ${EndIf}
    ClearErrors
    CreateDirectory "$INSTDIR"
    FileOpen $0 "$INSTDIR\setup-check.tmp" w
    ${If} ${Errors}
        Call Undo
        !insertmacro REFUSE ${EXIT_FOLDER_NOT_WRITABLE} "Setup cannot write to$\r$\n$INSTDIR$\r$\n$\r$\nNothing was changed. Run Setup as the user who will use ${PRODUCT}, or give it a folder you can write to (/D=folder)."
    ${EndIf}
    FileClose $0
    Delete "$INSTDIR\setup-check.tmp"
FunctionEnd

; Every new file is written beside the one it replaces before a running copy
; is closed.
Function WriteNewFiles
    SetOutPath "$INSTDIR"
    ClearErrors
    File "/oname=${EXE_NAME}.new" "${EXE}"
    File "/oname=${ICON_NAME}.new" "${ICON}"
    File "/oname=README.txt.new" "${README}"
    File "/oname=LICENSE.txt.new" "${LICENSE}"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}.new"
    ${If} ${Errors}
        Call Undo
        !insertmacro REFUSE ${EXIT_FOLDER_NOT_WRITABLE} "Setup could not write the files of ${PRODUCT} to$\r$\n$INSTDIR$\r$\n$\r$\nNothing was changed."
    ${EndIf}
FunctionEnd

; A file that is in use without leave to be moved (or an old one left by an
; earlier setup that cannot go) stops the setup before anything was closed.
!macro CHECK_REPLACEABLE name
    Delete "$INSTDIR\${name}.old"
    ${If} ${FileExists} "$INSTDIR\${name}.old"
        StrCpy $fault 1
    ${EndIf}
    ${If} ${FileExists} "$INSTDIR\${name}"
        System::Call 'kernel32::CreateFileW(w "$INSTDIR\${name}", i ${DELETE}, i ${FILE_SHARE_ALL}, p 0, i ${OPEN_EXISTING}, i 0, p 0) p .r1'
        ${If} $1 P= -1
            StrCpy $fault 1
        ${Else}
            System::Call 'kernel32::CloseHandle(p r1)'
        ${EndIf}
    ${EndIf}
!macroend

!define FILE_NOT_REPLACED_TEXT "Setup could not replace the files of ${PRODUCT} in$\r$\n$INSTDIR$\r$\n(one is in use by another program).$\r$\n$\r$\nNothing was changed. Close that program, then try again."

Function CheckReplaceable
    StrCpy $fault 0
    !insertmacro FOR_EACH_FILE CHECK_REPLACEABLE
    ${If} $fault = 1
        Call Undo
        !insertmacro REFUSE ${EXIT_FILE_NOT_REPLACED} "${FILE_NOT_REPLACED_TEXT}"
    ${EndIf}
FunctionEnd

; The swap keeps each old file until its new one is in place: the old ones
; are renamed aside, the new ones moved in, and only then are the old ones
; deleted; on a failure the old ones are put back.
!macro SET_ASIDE name
    ${If} $fault = 0
    ${AndIf} ${FileExists} "$INSTDIR\${name}"
        ClearErrors
        Rename "$INSTDIR\${name}" "$INSTDIR\${name}.old"
        ${IfThen} ${Errors} ${|} StrCpy $fault 1 ${|}
    ${EndIf}
!macroend

!macro MOVE_IN name
    ${If} $fault = 0
        ClearErrors
        Rename "$INSTDIR\${name}.new" "$INSTDIR\${name}"
        ${IfThen} ${Errors} ${|} StrCpy $fault 1 ${|}
    ${EndIf}
!macroend

; A new file that was moved in has no .new left.
!macro PUT_BACK name
    ${IfNot} ${FileExists} "$INSTDIR\${name}.new"
        Delete "$INSTDIR\${name}"
    ${EndIf}
    Delete "$INSTDIR\${name}.new"
    Rename "$INSTDIR\${name}.old" "$INSTDIR\${name}"
!macroend

!macro DELETE_OLD name
    Delete "$INSTDIR\${name}.old"
!macroend

Function SwapFiles
    StrCpy $fault 0
    !insertmacro FOR_EACH_FILE SET_ASIDE
    !insertmacro FOR_EACH_FILE MOVE_IN
    ${If} $fault = 1
        !insertmacro FOR_EACH_FILE PUT_BACK
        Call Undo
        Call StartClosedCopy
        !insertmacro REFUSE ${EXIT_FILE_NOT_REPLACED} "${FILE_NOT_REPLACED_TEXT}"
    ${EndIf}
    !insertmacro FOR_EACH_FILE DELETE_OLD
FunctionEnd

Section "${PRODUCT}"
    SetShellVarContext current
    ; Everything that can be checked is, before a running copy is closed.
    Call CheckFolder
    ${If} ${FileExists} "$INSTDIR\${UNINSTALLER}"
        StrCpy $upgrade 1
    ${EndIf}
    Call WriteNewFiles
    Call CheckReplaceable
    Call EndRunningCopies
    ${If} $0 = 0
        Call Undo
        !insertmacro REFUSE ${EXIT_COPY_RUNNING} "${PRODUCT} is running and did not end when asked to.$\r$\n$\r$\nNothing was changed. End it with Exit in the menu of its icon, then run this again."
    ${EndIf}
    Call SwapFiles
    CreateShortCut "${SHORTCUT}" "$INSTDIR\${EXE_NAME}" "" "$INSTDIR\${ICON_NAME}" 0

    ; The uninstaller runs in place (_?=), so that whoever started it waits
    ; for it and reads its exit code.
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${ICON_NAME}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}" _?=$INSTDIR'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S _?=$INSTDIR'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${HOMEPAGE}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "HelpLink" "${SUPPORT_URL}"
    ${GetTime} "" "L" $0 $1 $2 $3 $4 $5 $6
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallDate" "$2$1$0"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
    RMDir /r "${UNINSTALLER_LEFTOVERS}"
    Call StartClosedCopy
SectionEnd

!macro REMOVE name
    Delete "$INSTDIR\${name}"
    Delete "$INSTDIR\${name}.new"
    Delete "$INSTDIR\${name}.old"
!macroend

Section "Uninstall"
    SetShellVarContext current
    Call un.EndRunningCopies
    ${If} $0 = 0
        !insertmacro REFUSE ${EXIT_COPY_RUNNING} "${PRODUCT} is running and did not end when asked to.$\r$\n$\r$\nNothing was changed. End it with Exit in the menu of its icon, then run this again."
    ${EndIf}
    Call un.RunValueNamesThisCopy
    ${If} $1 = 1
        DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${EndIf}
    ; Only what the setup wrote: a file of the user's in the folder stays, and so does the folder.
    !insertmacro FOR_EACH_FILE REMOVE
    ; Run from the folder (the entry passes _?=, so that its caller waits for
    ; this process and reads its exit code), this uninstaller cannot delete its
    ; own file, which it keeps open: a copy of it deletes the file and the
    ; folder once this process has ended.
    SetOutPath "$TEMP"
    Delete "$INSTDIR\${UNINSTALLER}"
    ${If} ${FileExists} "$INSTDIR\${UNINSTALLER}"
        Delete "${UNINSTALLER_LEFTOVERS}\*.exe"
        CreateDirectory "${UNINSTALLER_LEFTOVERS}"
        System::Call 'kernel32::GetCurrentProcessId() i .r0'
        CopyFiles /SILENT "$EXEPATH" "${UNINSTALLER_LEFTOVERS}\after-$0.exe"
        Exec '"${UNINSTALLER_LEFTOVERS}\after-$0.exe" /AFTER=$0 _?=$INSTDIR'
    ${EndIf}
    RMDir "$INSTDIR"
    Delete "${SHORTCUT}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ; Silent: the settings stay, for a later install to find.
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Remove the settings of ${PRODUCT} as well?" /SD IDNO IDNO done
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "${SETTINGS_PARENT}"
done:
SectionEnd
