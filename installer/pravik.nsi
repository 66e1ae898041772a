; The Pravik installer: Pravik.exe, Molvane.exe, Quessel.ocx (registered) and Graphics\ into one
; program folder, the installed version into HKCU\Software\Pravik "version", and an uninstaller
; that takes away what it added. Started by Molvane as "PravikUpdate.exe" beside an installed
; Pravik, it updates that folder without questions and its progress page closes by itself.
;
; Defines from the build: VERSION, SOURCE (the built program tree), OUTFILE, TARGET
; (x86-unicode or amd64-unicode), and HAVE_QUESSEL when the control library was built.

Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma
Name "Pravik"
Caption "Pravik ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
!if ${TARGET} == "amd64-unicode"
  InstallDir "$PROGRAMFILES64\Pravik"
!else
  InstallDir "$PROGRAMFILES\Pravik"
!endif
ShowInstDetails show
ShowUninstDetails show
AutoCloseWindow true
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Pravik"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Pravik setup"
VIAddVersionKey "LegalCopyright" "Pravik"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pravik"

Var Updating

Page directory SkipWhenUpdating
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  !if ${TARGET} == "amd64-unicode"
    SetRegView 64
  !endif
  ; Molvane saves the installer beside the installed programs under this name.
  StrCpy $Updating 0
  StrCmp $EXEFILE "PravikUpdate.exe" 0 done
  IfFileExists "$EXEDIR\Molvane.exe" 0 done
  StrCpy $Updating 1
  StrCpy $INSTDIR $EXEDIR
done:
FunctionEnd

Function SkipWhenUpdating
  StrCmp $Updating 1 0 +2
  Abort
FunctionEnd

; Molvane may still be ending when the update starts: wait for its file to be free (bounded).
!macro PlaceFile NAME
  StrCpy $0 0
  ${NAME}_retry:
  ClearErrors
  SetOverwrite try
  File "${SOURCE}\${NAME}"
  IfErrors 0 ${NAME}_placed
  IntOp $0 $0 + 1
  IntCmp $0 40 ${NAME}_failed
  Sleep 250
  Goto ${NAME}_retry
  ${NAME}_failed:
  SetOverwrite on
  File "${SOURCE}\${NAME}"
  ${NAME}_placed:
  SetOverwrite on
!macroend

; The skins drawn for one display scale, in their own folder.
!macro ScaleSkins PERCENT
  SetOutPath "$INSTDIR\Graphics\${PERCENT}"
  File "${SOURCE}\Graphics\${PERCENT}\*.png"
!macroend

Section "Pravik"
  SetOutPath "$INSTDIR"
  !insertmacro PlaceFile "Pravik.exe"
  !insertmacro PlaceFile "Molvane.exe"
  !ifdef HAVE_QUESSEL
    !insertmacro PlaceFile "Quessel.ocx"
    ClearErrors
    RegDLL "$INSTDIR\Quessel.ocx"
    IfErrors 0 +2
      DetailPrint "Quessel.ocx could not be registered"
  !endif
  SetOutPath "$INSTDIR\Graphics"
  File "${SOURCE}\Graphics\*.png"
  !insertmacro ScaleSkins 125
  !insertmacro ScaleSkins 150
  !insertmacro ScaleSkins 200
  SetOutPath "$INSTDIR"

  WriteRegStr HKCU "Software\Pravik" "version" "${VERSION}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Pravik"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Pravik"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ; Pravik ended itself to hand over to the update: bring the start button back.
  StrCmp $Updating 1 0 +2
  Exec '"$INSTDIR\Pravik.exe"'
SectionEnd

Function un.onInit
  !if ${TARGET} == "amd64-unicode"
    SetRegView 64
  !endif
FunctionEnd

Section "Uninstall"
  !ifdef HAVE_QUESSEL
    UnRegDLL "$INSTDIR\Quessel.ocx"
    Delete "$INSTDIR\Quessel.ocx"
  !endif
  Delete "$INSTDIR\Pravik.exe"
  Delete "$INSTDIR\Molvane.exe"
  Delete "$INSTDIR\PravikUpdate.exe"
  !include "${GRAPHICS_LIST}"
  RMDir "$INSTDIR\Graphics"
  DeleteRegValue HKCU "Software\Pravik" "version"
  DeleteRegKey /ifempty HKCU "Software\Pravik"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
