; Pravik at sign-in: a task of the platform's task scheduler with a logon trigger for the user
; signed in at this desktop, run at the highest level that user has (Pravik asks for administrator
; rights, and the platform does not start elevated programs listed under Run). The definition is
; kept as $INSTDIR\${SIGN_IN_XML} and registered from there.
;
; Needs LogicLib.nsh, WordFunc.nsh and the UserInfo plugin.

!define SIGN_IN_TASK "Pravik"
!define SIGN_IN_XML "SignInTask.xml"
!define WTS_USER_NAME 5
!define WTS_DOMAIN_NAME 7
!define NAME_SAM_COMPATIBLE 2

Var DesktopUser  ; DOMAIN\user signed in at this installer's desktop; empty without one
Var SameUser     ; 1 when the installer runs as that user (not elevated with another's credentials)
Var DesktopAdmin ; 1 when that user is an administrator, so Pravik can run for them

; One value of this session's sign-in ($0: WTS info class) into $1.
Function SessionText
  StrCpy $1 ""
  System::Call 'wtsapi32::WTSQuerySessionInformationW(p 0, i -1, i r0, *p .r2, *i .r3) i .r4'
  ${If} $4 <> 0
    System::Call 'kernel32::lstrcpynW(w .r1, p r2, i ${NSIS_MAX_STRLEN})'
    System::Call 'wtsapi32::WTSFreeMemory(p r2)'
  ${EndIf}
FunctionEnd

; $0: DOMAIN\user; answers $1 = 1 when that account is in the Administrators group (the group's
; name differs by language: take it from its well-known SID).
Function IsAdministratorAccount
  StrCpy $1 0
  System::Call 'advapi32::ConvertStringSidToSidW(w "S-1-5-32-544", *p .r2) i .r3'
  ${If} $3 = 0
    Return
  ${EndIf}
  System::Call 'advapi32::LookupAccountSidW(p 0, p r2, w .r4, *i ${NSIS_MAX_STRLEN}, w .r5, *i ${NSIS_MAX_STRLEN}, *i .r6) i .r3'
  System::Call 'kernel32::LocalFree(p r2)'
  ${If} $3 = 0
    Return
  ${EndIf}
  ; LG_INCLUDE_INDIRECT: membership through a domain group counts too.
  System::Call 'netapi32::NetUserGetLocalGroups(p 0, w r0, i 0, i 1, *p .r2, i -1, *i .r6, *i .r7) i .r3'
  ${If} $3 = 0
    ${For} $7 1 $6
      IntOp $8 $7 - 1
      IntOp $8 $8 * ${NSIS_PTR_SIZE}
      IntPtrOp $8 $2 + $8
      System::Call '*$8(p .r8)'
      System::Call 'kernel32::lstrcpynW(w .r9, p r8, i ${NSIS_MAX_STRLEN})'
      ${IfThen} $9 == $4 ${|} StrCpy $1 1 ${|}
    ${Next}
    System::Call 'netapi32::NetApiBufferFree(p r2)'
  ${EndIf}
FunctionEnd

Function FindDesktopUser
  StrCpy $DesktopUser ""
  StrCpy $SameUser 0
  StrCpy $DesktopAdmin 0
  StrCpy $0 ${WTS_USER_NAME}
  Call SessionText
  ${If} $1 == ""
    Return  ; a service's session: nobody signed in here
  ${EndIf}
  StrCpy $9 $1
  StrCpy $0 ${WTS_DOMAIN_NAME}
  Call SessionText
  StrCpy $DesktopUser "$1\$9"
  System::Call 'secur32::GetUserNameExW(i ${NAME_SAM_COMPATIBLE}, w .r0, *i ${NSIS_MAX_STRLEN}) i .r1'
  ${If} $1 <> 0
  ${AndIf} $0 == $DesktopUser
    StrCpy $SameUser 1
    UserInfo::GetAccountType
    Pop $0
    ${IfThen} $0 == "Admin" ${|} StrCpy $DesktopAdmin 1 ${|}
  ${Else}
    StrCpy $0 $DesktopUser
    Call IsAdministratorAccount
    StrCpy $DesktopAdmin $1
  ${EndIf}
FunctionEnd

; $0: text; answers it with the characters XML gives a meaning escaped.
Function XmlEscape
  ${WordReplace} $0 "&" "&amp;" "+" $0
  ${WordReplace} $0 "<" "&lt;" "+" $0
  ${WordReplace} $0 ">" "&gt;" "+" $0
FunctionEnd

; Appends $1 and a line break as UTF-8 to the file handle in $9; sets the error flag on failure.
Function WriteUtf8Line
  StrCpy $1 "$1$\r$\n"
  System::Call 'kernel32::WideCharToMultiByte(i 65001, i 0, w r1, i -1, p 0, i 0, p 0, p 0) i .r2'
  System::Alloc $2
  Pop $3
  System::Call 'kernel32::WideCharToMultiByte(i 65001, i 0, w r1, i -1, p r3, i r2, p 0, p 0)'
  IntOp $2 $2 - 1
  System::Call 'kernel32::WriteFile(p r9, p r3, i r2, *i .r4, p 0) i .r5'
  System::Free $3
  ${If} $5 = 0
  ${OrIf} $4 <> $2
    SetErrors
  ${EndIf}
FunctionEnd

!macro XmlLine TEXT
  StrCpy $1 `${TEXT}`
  Call WriteUtf8Line
!macroend

; Writes the definition for $DesktopUser into the install folder; error flag on failure.
Function WriteSignInTaskXml
  StrCpy $0 $DesktopUser
  Call XmlEscape
  StrCpy $7 $0
  StrCpy $0 "$INSTDIR\Pravik.exe"
  Call XmlEscape
  StrCpy $8 $0
  StrCpy $0 $INSTDIR
  Call XmlEscape
  StrCpy $6 $0
  ClearErrors
  FileOpen $9 "$INSTDIR\${SIGN_IN_XML}" w
  ${If} ${Errors}
    Return
  ${EndIf}
  !insertmacro XmlLine `<?xml version="1.0" encoding="UTF-8"?>`
  !insertmacro XmlLine `<Task version="1.2" xmlns="http://schemas.microsoft.com/windows/2004/02/mit/task">`
  !insertmacro XmlLine `  <RegistrationInfo>`
  !insertmacro XmlLine `    <Description>Starts the Pravik start button when $7 signs in.</Description>`
  !insertmacro XmlLine `  </RegistrationInfo>`
  !insertmacro XmlLine `  <Triggers>`
  !insertmacro XmlLine `    <LogonTrigger>`
  !insertmacro XmlLine `      <Enabled>true</Enabled>`
  !insertmacro XmlLine `      <UserId>$7</UserId>`
  !insertmacro XmlLine `    </LogonTrigger>`
  !insertmacro XmlLine `  </Triggers>`
  !insertmacro XmlLine `  <Principals>`
  !insertmacro XmlLine `    <Principal id="Author">`
  !insertmacro XmlLine `      <UserId>$7</UserId>`
  !insertmacro XmlLine `      <LogonType>InteractiveToken</LogonType>`
  !insertmacro XmlLine `      <RunLevel>HighestAvailable</RunLevel>`
  !insertmacro XmlLine `    </Principal>`
  !insertmacro XmlLine `  </Principals>`
  ; The scheduler's defaults would keep a laptop on battery from starting Pravik, end it after
  ; three days and run it at below-normal priority.
  !insertmacro XmlLine `  <Settings>`
  !insertmacro XmlLine `    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>`
  !insertmacro XmlLine `    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>`
  !insertmacro XmlLine `    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>`
  !insertmacro XmlLine `    <ExecutionTimeLimit>PT0S</ExecutionTimeLimit>`
  !insertmacro XmlLine `    <Priority>4</Priority>`
  !insertmacro XmlLine `  </Settings>`
  !insertmacro XmlLine `  <Actions Context="Author">`
  !insertmacro XmlLine `    <Exec>`
  !insertmacro XmlLine `      <Command>$8</Command>`
  !insertmacro XmlLine `      <WorkingDirectory>$6</WorkingDirectory>`
  !insertmacro XmlLine `    </Exec>`
  !insertmacro XmlLine `  </Actions>`
  !insertmacro XmlLine `</Task>`
  FileClose $9
FunctionEnd

Function RegisterSignInTask
  ${If} $DesktopUser == ""
    DetailPrint "Nobody is signed in at this desktop: Pravik is not set to start at sign-in"
    Return
  ${EndIf}
  ${If} $DesktopAdmin <> 1
    DetailPrint "$DesktopUser is not an administrator: Pravik is not set to start at sign-in"
    MessageBox MB_OK|MB_ICONINFORMATION "Pravik needs administrator rights, and $DesktopUser is a standard user's account.$\r$\n$\r$\nPravik will not start for $DesktopUser, so it was not set to start at sign-in. It starts for accounts that are members of Administrators." /SD IDOK
    Return
  ${EndIf}
  ClearErrors
  Call WriteSignInTaskXml
  ${If} ${Errors}
    DetailPrint "Could not write $INSTDIR\${SIGN_IN_XML}: Pravik is not set to start at sign-in"
    Return
  ${EndIf}
  nsExec::ExecToLog '"$SYSDIR\schtasks.exe" /create /tn "${SIGN_IN_TASK}" /xml "$INSTDIR\${SIGN_IN_XML}" /f'
  Pop $0
  ${If} $0 != 0
    DetailPrint "The task scheduler refused the sign-in task ($0): Pravik is not set to start at sign-in"
  ${Else}
    DetailPrint "Pravik starts when $DesktopUser signs in (task ${SIGN_IN_TASK})"
  ${EndIf}
FunctionEnd

Function un.RemoveSignInTask
  nsExec::ExecToLog '"$SYSDIR\schtasks.exe" /delete /tn "${SIGN_IN_TASK}" /f'
  Pop $0
  Delete "$INSTDIR\${SIGN_IN_XML}"
FunctionEnd
