; The x86_64 Quessel.ocx on 64-bit Windows, so 64-bit script hosts can create the control too.
; Both installers run this: the i686 one places it in a folder of its own beside its i686 control,
; the x64 one in the program folder (its only control library). It is registered by the native
; 64-bit regsvr32, which a 32-bit installer reaches only with the file-system redirection off.
;
; Needs LogicLib.nsh, x64.nsh and the PlaceFile macro. SOURCE64: the built x86_64 tree.

!macro Regsvr32x64 ARGS
  ${DisableX64FSRedirection}
  ExecWait '"$WINDIR\System32\regsvr32.exe" ${ARGS}' $0
  ${EnableX64FSRedirection}
!macroend

!macro InstallQuessel64 DEST
  ${If} ${RunningX64}
    SetOutPath "${DEST}"
    !insertmacro PlaceFile "${SOURCE64}" "Quessel.ocx"
    !insertmacro Regsvr32x64 '/s "${DEST}\Quessel.ocx"'
    ${If} $0 != 0
      DetailPrint "Quessel.ocx (64-bit) could not be registered ($0)"
    ${EndIf}
    SetOutPath "$INSTDIR"
  ${EndIf}
!macroend

!macro RemoveQuessel64 DEST
  ${If} ${RunningX64}
    !insertmacro Regsvr32x64 '/u /s "${DEST}\Quessel.ocx"'
    Delete /REBOOTOK "${DEST}\Quessel.ocx"
  ${EndIf}
!macroend
