; The program's installer: both programs into one folder under Program Files
; (or the folder an earlier install chose), the updater's registry key with
; this release's version and module level, the 64-bit uninstall entry, a
; Start-menu shortcut and an uninstaller. Silent runs (/S, /S /Boot=0) start
; nothing. While the program runs (its "Framlet" mutex exists) the installer
; and the uninstaller change nothing and end with exit code 2.
; Built by scripts/package.sh, which defines VERSION, MODULE, FRAMLET5, FRAMLETUP,
; ICON and OUTFILE, and SIGN (a command signing the file given) when signing.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "FileFunc.nsh"
!include "x64.nsh"

!define PRODUCT "Framlet"
!define APPKEY "SOFTWARE\Framlet"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Framlet"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
BrandingText "${PRODUCT}"
InstallDir "$PROGRAMFILES64\Framlet"
; An update (the updater runs it with /S only) goes where the program already is.
InstallDirRegKey HKLM "${UNINSTKEY}" "InstallLocation"

!ifdef SIGN
  !finalize '${SIGN} "%1"'
  !uninstfinalize '${SIGN} "%1"'
!endif
ShowInstDetails nevershow
ShowUninstDetails nevershow

LoadLanguageFile "${NSISDIR}\Contrib\Language files\Korean.nlf"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Windows keeps a running program's file locked: installing over a running
; copy would fail halfway. The old files stay whole and the caller (the
; updater) sees the failure in the exit code.
Function .onInit
  SetRegView 64
  SetShellVarContext all
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Framlet") p .r0'
  StrCmp $0 0 free
  System::Call 'kernel32::CloseHandle(p r0)'
  IfSilent +2
  MessageBox MB_OK|MB_ICONSTOP "Framlet이 실행 중입니다. 프로그램을 닫은 뒤 다시 설치해 주세요."
  SetErrorLevel 2
  Quit
free:
FunctionEnd

; The same for removal: deleting a running program's file fails, and the
; uninstall entry would go while the files stay.
Function un.onInit
  SetRegView 64
  SetShellVarContext all
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Framlet") p .r0'
  StrCmp $0 0 free
  System::Call 'kernel32::CloseHandle(p r0)'
  IfSilent +2
  MessageBox MB_OK|MB_ICONSTOP "Framlet이 실행 중입니다. 프로그램을 닫은 뒤 다시 제거해 주세요."
  SetErrorLevel 2
  Quit
free:
FunctionEnd

Section "Framlet"
  SetOutPath "$INSTDIR"
  File "/oname=framlet5.exe" "${FRAMLET5}"
  File "/oname=framletup.exe" "${FRAMLETUP}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr HKCU "${APPKEY}" "ver" "${VERSION}"
  WriteRegStr HKCU "${APPKEY}" "module" "${MODULE}"
  ; Every other account's updater reads the installed release from here.
  WriteRegStr HKLM "${APPKEY}" "ver" "${VERSION}"
  WriteRegStr HKLM "${APPKEY}" "module" "${MODULE}"

  WriteRegStr HKLM "${UNINSTKEY}" "DisplayName" "Framlet"
  WriteRegStr HKLM "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTKEY}" "Publisher" "Framlet"
  WriteRegStr HKLM "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\framlet5.exe"
  WriteRegStr HKLM "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTKEY}" "NoRepair" 1

  CreateDirectory "$SMPROGRAMS\Framlet"
  CreateShortCut "$SMPROGRAMS\Framlet\Framlet.lnk" "$INSTDIR\framlet5.exe" "" "$INSTDIR\framlet5.exe" 0
SectionEnd

; An interactive install starts the program when it is done, unless /Boot=0.
Function .onInstSuccess
  IfSilent done
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/Boot=" $1
  StrCmp $1 "0" done
  Exec '"$INSTDIR\framlet5.exe"'
done:
FunctionEnd

; Removes what the installer and the updater put in the folder; the folder
; itself goes only when nothing else (the user's captures, settings) is left.
Section "Uninstall"
  Delete "$INSTDIR\framlet5.exe"
  Delete "$INSTDIR\framletup.exe"
  Delete "$INSTDIR\updatelist.ini"
  Delete "$INSTDIR\mutex.ini"
  Delete "$INSTDIR\History.ini"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR\temp"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Framlet\Framlet.lnk"
  RMDir "$SMPROGRAMS\Framlet"

  DeleteRegKey HKCU "${APPKEY}"
  DeleteRegKey HKLM "${APPKEY}"
  DeleteRegKey HKLM "${UNINSTKEY}"
SectionEnd
