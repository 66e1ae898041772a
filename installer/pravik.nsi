; The Pravik installer: Pravik.exe, Molvane.exe, Quessel.ocx (registered) and Graphics\ into one
; program folder, the installed version into HKCU\Software\Pravik "version" and HKLM\Software\Pravik
; ("version", "InstallDir"), a sign-in task for the user at the desktop, and an uninstaller that
; takes away what it added. Started by Molvane as "PravikUpdate.exe" beside an installed Pravik,
; it updates that folder without questions and its progress page closes by itself.
;
; A running Pravik or Molvane from the folder is ended first; a file still held by another program
; is replaced or removed at the next restart, the user is told so, and a silent run exits with
; 3010 (done, restart needed).
;
; A folder outside Program Files is made as safe as Program Files before any file is placed, or
; refused (install_folder.nsh). An update goes only into the folder recorded at installation under
; HKLM; anything else is refused. A refusal is explained and a silent run exits with 2; an update
; that is refused brings the installed Pravik back.
;
; Defines from the build: VERSION, SOURCE (the built program tree), OUTFILE, TARGET
; (x86-unicode or amd64-unicode), HAVE_QUESSEL when the control library was built, and for the
; x86-unicode target SOURCE64, the built x86_64 tree whose Quessel.ocx 64-bit hosts get.

Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma
Name "Pravik"
Caption "Pravik ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
!if ${TARGET} == "amd64-unicode"
  InstallDir "$PROGRAMFILES64\Pravik"
  !define /ifndef SOURCE64 "${SOURCE}"
  !define QUESSEL64_DIR "$INSTDIR"
!else
  InstallDir "$PROGRAMFILES\Pravik"
  !define QUESSEL64_DIR "$INSTDIR\x64"
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
!define MACHINE_KEY "Software\Pravik"
!define USER_KEY "Software\Pravik"
!define ERROR_SUCCESS_REBOOT_REQUIRED 3010
!define ERROR_REFUSED 2  ; what NSIS itself answers for an installation the script ended

!include LogicLib.nsh
!include WinMessages.nsh
!include WordFunc.nsh
!include FileFunc.nsh
!include x64.nsh
!include MUI2.nsh

!ifdef HAVE_QUESSEL
  !if /FileExists "${SOURCE64}\Quessel.ocx"
    !define HAVE_QUESSEL64
  !else
    !warning "no ${SOURCE64}\Quessel.ocx: this installer gives 64-bit hosts no control library"
  !endif
!endif

Var Updating
Var Started  ; 1 once this installer has started Pravik

!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipWhenUpdating
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckChosenFolder
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipWhenUpdating
!define MUI_PAGE_CUSTOMFUNCTION_SHOW OfferToStart
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Pravik now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartPravik
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_UNPAGE_FINISH
!insertmacro MUI_LANGUAGE "English"

!include "${__FILEDIR__}\running_copies.nsh"
!include "${__FILEDIR__}\sign_in_task.nsh"
!include "${__FILEDIR__}\install_folder.nsh"
!insertmacro RUNNING_COPIES_FUNCTIONS ""
!insertmacro RUNNING_COPIES_FUNCTIONS "un."

; Plug-ins (System.dll, loaded into this elevated process) are unpacked into a folder under $TEMP,
; which comes from the user's environment: any of the user's programs can point it at a folder
; where others may swap the files. The system's own temp folder lets no one else touch what an
; administrator made there. Before the first plug-in call.
!macro TempOfTheSystem
  UnsafeStrCpy $TEMP "$WINDIR\Temp"
!macroend

Function .onInit
  !insertmacro TempOfTheSystem
  !if ${TARGET} == "amd64-unicode"
    SetRegView 64
  !endif
  StrCpy $Started 0
  ; Molvane saves the installer beside the installed programs under this name.
  StrCpy $Updating 0
  StrCmp $EXEFILE "PravikUpdate.exe" 0 done
  IfFileExists "$EXEDIR\Molvane.exe" 0 done
  StrCpy $Updating 1
  ; Only into the folder recorded at installation: a copy beside a Molvane.exe anywhere else
  ; would otherwise install there (and register its control library) without a question.
  ReadRegStr $0 HKLM "${MACHINE_KEY}" "InstallDir"
  Call CanonicalPath
  StrCpy $INSTDIR $0
  StrCpy $0 $EXEDIR
  Call CanonicalPath
  ${If} $INSTDIR == ""
  ${OrIf} $0 != $INSTDIR
    StrCpy $FolderError "This update of Pravik belongs in the folder Pravik was installed in ($INSTDIR); it was started from $0. Nothing was changed."
    Call RefuseInstallation
  ${EndIf}
done:
FunctionEnd

; Explains why, ends with an error and, for an update (Pravik ended itself to hand over), brings
; back the installed Pravik ($INSTDIR: the recorded folder).
Function RefuseInstallation
  DetailPrint $FolderError
  MessageBox MB_OK|MB_ICONSTOP $FolderError /SD IDOK
  ${If} $Updating = 1
  ${AndIf} $INSTDIR != ""
  ${AndIf} ${FileExists} "$INSTDIR\Pravik.exe"
    Call StartPravik
  ${EndIf}
  SetErrorLevel ${ERROR_REFUSED}
  Quit
FunctionEnd

; An update that fails half-way (a file that could not be written, and the user gave up) must not
; leave the user without the start button Pravik ended itself for.
Function .onInstFailed
  ${If} $Updating = 1
  ${AndIf} ${FileExists} "$INSTDIR\Pravik.exe"
    Call StartPravik
  ${EndIf}
FunctionEnd

Function CheckChosenFolder
  Call CheckInstallFolder
  ${If} $FolderError != ""
    MessageBox MB_OK|MB_ICONEXCLAMATION $FolderError
    Abort
  ${EndIf}
FunctionEnd

Function SkipWhenUpdating
  StrCmp $Updating 1 0 +2
  Abort
FunctionEnd

Function StartPravik
  ${If} $Started = 0
    Exec '"$INSTDIR\Pravik.exe"'
    StrCpy $Started 1
  ${EndIf}
FunctionEnd

Function OfferToStart
  ${If} $SameUser <> 1
  ${OrIf} $DesktopAdmin <> 1
  ${OrIf} $Started = 1
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

; A file still held by another program (a script host using the control library) after a bounded
; wait is put in place at the next restart.
!macro PlaceFile FROM NAME
  StrCpy $0 0
  ${Do}
    ClearErrors
    SetOverwrite try
    File "${FROM}\${NAME}"
    ${IfNot} ${Errors}
      ${Break}
    ${EndIf}
    IntOp $0 $0 + 1
    ${If} $0 >= 20
      SetOverwrite on
      File "/oname=${NAME}.new" "${FROM}\${NAME}"
      Rename /REBOOTOK "$OUTDIR\${NAME}.new" "$OUTDIR\${NAME}"
      DetailPrint "${NAME} is in use: it is replaced at the next restart"
      ${Break}
    ${EndIf}
    Sleep 250
  ${Loop}
  SetOverwrite on
!macroend

!include "${__FILEDIR__}\quessel64.nsh"

; Tells the user that a restart finishes the job; a silent run says it with its exit code.
!macro ReportRestartNeeded
  ${If} ${RebootFlag}
    SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
    DetailPrint "Some files are in use by another program: restart Windows to finish"
  ${EndIf}
!macroend

; The skins drawn for one display scale, in their own folder.
!macro ScaleSkins PERCENT
  SetOutPath "$INSTDIR\Graphics\${PERCENT}"
  File "${SOURCE}\Graphics\${PERCENT}\*.png"
!macroend

Section "Pravik"
  Call CheckInstallFolder
  Call SecureInstallFolder
  ${If} $FolderError != ""
    Call RefuseInstallation
  ${EndIf}
  Call FindDesktopUser
  Call EndRunningCopies
  SetOutPath "$INSTDIR"
  !insertmacro PlaceFile "${SOURCE}" "Pravik.exe"
  !insertmacro PlaceFile "${SOURCE}" "Molvane.exe"
  !ifdef HAVE_QUESSEL
    !if ${TARGET} != "amd64-unicode"
      !insertmacro PlaceFile "${SOURCE}" "Quessel.ocx"
      ClearErrors
      RegDLL "$INSTDIR\Quessel.ocx"
      IfErrors 0 +2
        DetailPrint "Quessel.ocx could not be registered"
    !endif
    !ifdef HAVE_QUESSEL64
      !insertmacro InstallQuessel64 "${QUESSEL64_DIR}"
    !endif
  !endif
  SetOutPath "$INSTDIR\Graphics"
  File "${SOURCE}\Graphics\*.png"
  !insertmacro ScaleSkins 125
  !insertmacro ScaleSkins 150
  !insertmacro ScaleSkins 200
  SetOutPath "$INSTDIR"

  WriteRegStr HKCU "${USER_KEY}" "version" "${VERSION}"
  WriteRegStr HKLM "${MACHINE_KEY}" "version" "${VERSION}"
  WriteRegStr HKLM "${MACHINE_KEY}" "InstallDir" "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Pravik"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Pravik"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ; An update keeps the sign-in task as it is (the user may have turned it off).
  ${If} $Updating <> 1
    Call RegisterSignInTask
  ${EndIf}

  ; Pravik ended itself to hand over to the update, or was ended here: bring the start button
  ; back. It runs as the installer's account, so only when that is the user at this desktop (the
  ; update was started by that user's Pravik).
  ${If} $Updating = 1
    Call StartPravik
  ${ElseIf} $EndedCopies = 1
  ${AndIf} $SameUser = 1
  ${AndIf} $DesktopAdmin = 1
    Call StartPravik
  ${EndIf}
  !insertmacro ReportRestartNeeded
  ${If} ${RebootFlag}
  ${AndIf} $Updating = 1
    MessageBox MB_OK|MB_ICONINFORMATION "Pravik was updated. Some of its files are in use by another program; restart Windows to finish." /SD IDOK
  ${EndIf}
SectionEnd

Function un.onInit
  !insertmacro TempOfTheSystem
  !if ${TARGET} == "amd64-unicode"
    SetRegView 64
  !endif
FunctionEnd

Section "Uninstall"
  Call un.EndRunningCopies
  Call un.RemoveSignInTask
  !ifdef HAVE_QUESSEL
    !if ${TARGET} != "amd64-unicode"
      UnRegDLL "$INSTDIR\Quessel.ocx"
      Delete /REBOOTOK "$INSTDIR\Quessel.ocx"
    !endif
    !insertmacro RemoveQuessel64 "${QUESSEL64_DIR}"
    !if ${TARGET} != "amd64-unicode"
      RMDir /REBOOTOK "${QUESSEL64_DIR}"
    !endif
  !endif
  Delete /REBOOTOK "$INSTDIR\Pravik.exe"
  Delete /REBOOTOK "$INSTDIR\Molvane.exe"
  Delete /REBOOTOK "$INSTDIR\PravikUpdate.exe"
  !include "${GRAPHICS_LIST}"
  RMDir /REBOOTOK "$INSTDIR\Graphics"
  DeleteRegKey HKCU "${USER_KEY}"
  DeleteRegKey HKLM "${MACHINE_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; Run in place (_?=) the uninstaller cannot remove itself or its folder; that is no restart.
  ${If} "$EXEDIR" != "$INSTDIR"
    Delete /REBOOTOK "$INSTDIR\Uninstall.exe"
    RMDir /REBOOTOK "$INSTDIR"
  ${EndIf}
  !insertmacro ReportRestartNeeded
SectionEnd
