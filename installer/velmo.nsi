; Velmo's installer for Windows, built by NSIS's makensis (Debian's nsis):
;   makensis -WX -DVERSION=1.0.0 -DFILE_VERSION=1.0.0.0 -DFILES=<folder>
;            -DOUTFILE=<setup.exe> [-DICON=<velmo.ico>] velmo.nsi
; FILES holds velmo.exe, velmo-signature.exe and docs/mail-clients.html. The
; build target velmo_packages gives all of these from the project
; (CMakeLists.txt).
;
; A per-user install without elevation, in %LOCALAPPDATA%\Programs\Velmo: both
; programs, and the mail-client guide in docs\, where Help looks for it. The
; uninstaller removes only what the installer put there; the user's options
; (HKCU\SOFTWARE\Velmo) and files (the quote list and fixed text, which Velmo
; keeps beside the program when its folder is writable, as this one is, or in
; %APPDATA%\Velmo) stay.

; A 64-bit Unicode stub: Velmo is a 64-bit program, and the 32-bit default stub
; does nothing at all under a 64-bit-only Wine while still exiting with 0.
Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true

!ifndef VERSION
  !error "-DVERSION is missing: see the top of velmo.nsi"
!endif
!ifndef FILE_VERSION
  !error "-DFILE_VERSION is missing: see the top of velmo.nsi"
!endif
!ifndef FILES
  !error "-DFILES is missing: see the top of velmo.nsi"
!endif
!ifndef OUTFILE
  !error "-DOUTFILE is missing: see the top of velmo.nsi"
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmo"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

!include "FileFunc.nsh"

Name "Velmo"
Caption "Velmo ${VERSION} Setup"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Velmo"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Velmo ${VERSION}"
!ifdef ICON
  Icon "${ICON}"
  UninstallIcon "${ICON}"
!endif

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "Velmo"
VIAddVersionKey /LANG=1033 "CompanyName" "Velmo Software"
VIAddVersionKey /LANG=1033 "FileDescription" "Velmo ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "The Velmo developers"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Velmo"
  SetOutPath "$INSTDIR\docs"
  File "${FILES}/docs/mail-clients.html"
  ; Last, so that the shortcut starts in the program's folder.
  SetOutPath "$INSTDIR"
  File "${FILES}/velmo.exe"
  File "${FILES}/velmo-signature.exe"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The program draws its icon when it runs; the shortcut and the installed
  ; programs list show the same drawing from a file beside it.
!ifdef ICON
  File "/oname=velmo.ico" "${ICON}"
  !define SHOWN_ICON "$INSTDIR\velmo.ico"
!else
  !define SHOWN_ICON "$INSTDIR\velmo.exe"
!endif
  CreateShortCut "$SMPROGRAMS\Velmo.lnk" "$INSTDIR\velmo.exe" "" "${SHOWN_ICON}" 0 \
    SW_SHOWNORMAL "" "Keeps your e-mail signature fresh with a random quotation"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Velmo"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Velmo Software"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "${SHOWN_ICON},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  ; "Start with the desktop" would start a program that is no longer there:
  ; its value goes when it names this copy of Velmo, and stays when it names
  ; another one (a copy unpacked from the zip elsewhere, say).
  ReadRegStr $0 HKCU "${RUN_KEY}" "Velmo"
  StrCpy $1 '"$INSTDIR\velmo.exe"'
  StrLen $2 $1
  StrCpy $0 $0 $2
  StrCmp $0 $1 0 +2
    DeleteRegValue HKCU "${RUN_KEY}" "Velmo"
  ; So does each named profile's, "Velmo (NAME)", when it starts this copy
  ; with --profile. A value taken off moves the next one to its index.
  StrCpy $1 '"$INSTDIR\velmo.exe" --profile '
  StrLen $2 $1
  StrCpy $3 0
  profile_values:
    EnumRegValue $4 HKCU "${RUN_KEY}" $3
    StrCmp $4 "" profile_values_done
    IntOp $3 $3 + 1
    StrCpy $5 $4 7
    StrCmp $5 "Velmo (" 0 profile_values
    ReadRegStr $5 HKCU "${RUN_KEY}" $4
    StrCpy $5 $5 $2
    StrCmp $5 $1 0 profile_values
    DeleteRegValue HKCU "${RUN_KEY}" $4
    IntOp $3 $3 - 1
    Goto profile_values
  profile_values_done:
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$SMPROGRAMS\Velmo.lnk"

  ; The program's own files by name, never the folder as a whole: the user's
  ; quote list and fixed text may lie beside them. The uninstaller itself
  ; goes last, so that its going means the rest is done.
  Delete "$INSTDIR\velmo.exe"
  Delete "$INSTDIR\velmo-signature.exe"
  Delete "$INSTDIR\velmo.ico"
  Delete "$INSTDIR\docs\mail-clients.html"
  RMDir "$INSTDIR\docs"
  Delete "$INSTDIR\uninstall.exe"
  ; Gone only when nothing of the user's is left in it.
  RMDir "$INSTDIR"
SectionEnd
