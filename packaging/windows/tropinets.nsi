; The setup program: installs Тропинец for every user of the computer, with
; «Рассказы» and «Картинки» beside it, a Start-menu entry and a desktop
; shortcut. /S installs and uninstalls silently.
;
; makensis -INPUTCHARSET UTF8 -DVERSION=… -DSTAGE=… -DOUTFILE=… tropinets.nsi
; STAGE is the installed folder as CMake lays it out; files.nsh, beside it,
; lists what the uninstaller removes (build.sh writes it from STAGE).

Unicode true
; The program is 64-bit, and so is its setup program: Wine without its
; 32-bit half runs it too.
Target amd64-unicode
!include "MUI2.nsh"

!define PRODUCT "Тропинец"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\tropinets"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${STAGE}/../tropinets.ico"
!define MUI_UNICON "${STAGE}/../tropinets.ico"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\tropinets.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

Function .onInit
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetShellVarContext all
FunctionEnd

Section "Тропинец"
    SetOutPath "$INSTDIR"
    File /r "${STAGE}/*.*"

    ; Every pupil may save stories and pictures here, as in the Linux
    ; package's folders with the sticky bit: Users may create files in the
    ; folder itself, and what one creates belongs to its creator alone
    ; (CREATOR OWNER), so nobody may change or delete another's story, nor
    ; the samples, which the installer owns.
    nsExec::ExecToLog 'icacls "$INSTDIR\Рассказы" /grant *S-1-5-32-545:(RX,WD,AD) *S-1-3-0:(OI)(CI)(IO)F'
    Pop $0
    nsExec::ExecToLog 'icacls "$INSTDIR\Картинки" /grant *S-1-5-32-545:(RX,WD,AD) *S-1-3-0:(OI)(CI)(IO)F'
    Pop $0

    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\tropinets.exe"
    CreateShortCut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\tropinets.exe"

    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tropinets.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the setup program put there, by name, and folders only when
; they are empty: a story a pupil saved stays, and so does its folder.
Section "Uninstall"
    !include "${STAGE}/../files.nsh"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$DESKTOP\${PRODUCT}.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
