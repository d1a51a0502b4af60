; The GRANVEL installer for 64-bit Windows, built by scripts/package-windows.sh:
;   makensis -DVERSION=0.1.0 -DFILES=files.nsh -DICON=granvel.ico -DOUTFILE=setup.exe granvel.nsi
; VERSION   the version shown and registered (three numbers)
; FILES     an include the script writes from the packed folder: the macro InstallFiles puts each file
;           under $INSTDIR, UninstallFiles deletes those same files and then the folders left empty
; ICON      the program's icon, for the installer and the uninstaller
; OUTFILE   where the installer is written
; Per machine, into "Program Files\GRANVEL": the programs, README.txt and the examples, a Start-menu
; entry, ".zkp" files opening in granvel.exe, and an uninstaller listed in "Add or remove programs" that
; removes only what this installer made. Unsigned.

!ifndef VERSION | FILES | ICON | OUTFILE
  !error "granvel.nsi needs -DVERSION=, -DFILES=, -DICON= and -DOUTFILE= (see scripts/package-windows.sh)"
!endif

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\GRANVEL"
!define PROGID "GRANVEL.zkp"
!define SHCNE_ASSOCCHANGED 0x08000000

Name "GRANVEL ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\GRANVEL"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "GRANVEL ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "GRANVEL"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "GRANVEL ${VERSION} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "GRANVEL"
VIAddVersionKey /LANG=1033 "LegalCopyright" "GRANVEL"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "${FILES}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "GRANVEL" SecMain
  SectionIn RO
  SetShellVarContext all
  !insertmacro InstallFiles
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; the Start-menu entry, for all users; it starts granvel.exe in $INSTDIR
  CreateShortCut "$SMPROGRAMS\GRANVEL.lnk" "$INSTDIR\granvel.exe" "" "$INSTDIR\granvel.exe" 0 \
    SW_SHOWNORMAL "" "Convert between PC files and .zkp resource files"

  ; ".zkp" files open in granvel.exe
  WriteRegStr HKLM "Software\Classes\.zkp" "" "${PROGID}"
  WriteRegStr HKLM "Software\Classes\.zkp\OpenWithProgids" "${PROGID}" ""
  WriteRegStr HKLM "Software\Classes\${PROGID}" "" "ZKP resource file"
  WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\granvel.exe,0"
  WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\granvel.exe" "%1"'

  ; "Add or remove programs"
  SectionGetSize ${SecMain} $0
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "GRANVEL"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "GRANVEL"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\granvel.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  !insertmacro UninstallFiles
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"  ; only if empty: files the user put there stay
  Delete "$SMPROGRAMS\GRANVEL.lnk"

  ; ".zkp" is given back only while it still opens in GRANVEL; another program's claim stays
  DeleteRegValue HKLM "Software\Classes\.zkp\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty HKLM "Software\Classes\.zkp\OpenWithProgids"
  ReadRegStr $0 HKLM "Software\Classes\.zkp" ""
  ${If} $0 == "${PROGID}"
    DeleteRegValue HKLM "Software\Classes\.zkp" ""
  ${EndIf}
  DeleteRegKey /ifempty HKLM "Software\Classes\.zkp"
  DeleteRegKey HKLM "Software\Classes\${PROGID}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
SectionEnd
