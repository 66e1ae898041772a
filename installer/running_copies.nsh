; Running copies of Pravik.exe and Molvane.exe from the install folder, ended before their files
; are replaced or removed: first the programs' own clean ending (WM_CLOSE to their main window),
; then, after a bounded wait, the process is ended. Copies in other users' sessions have no window
; here and are ended after the wait too. Only processes whose image is in $INSTDIR count: a Pravik
; started from elsewhere is not ours to end.
;
; Needs LogicLib.nsh and WinMessages.nsh. Sets $EndedCopies to 1 when a copy was running.

Var EndedCopies

!define CLOSE_WAIT_STEPS 25  ; of 200 ms: the programs get 5 s to end by themselves
!define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
!define PROCESS_TERMINATE_AND_SYNCHRONIZE 0x100001

!macro RUNNING_COPIES_FUNCTIONS UN
; $R9: a process id; answers $R8 = 1 when its image is Pravik.exe or Molvane.exe in $INSTDIR.
Function ${UN}IsOurProcess
  Push $R7
  Push $R6
  StrCpy $R8 0
  System::Call 'kernel32::OpenProcess(i ${PROCESS_QUERY_LIMITED_INFORMATION}, i 0, i R9) p .R7'
  ${If} $R7 P<> 0
    System::Call 'kernel32::QueryFullProcessImageNameW(p R7, i 0, w .R6, *i ${NSIS_MAX_STRLEN}) i .R8'
    System::Call 'kernel32::CloseHandle(p R7)'
    ${IfThen} $R8 = 0 ${|} StrCpy $R6 "" ${|}
    ${If} $R6 == "$INSTDIR\Pravik.exe"
    ${OrIf} $R6 == "$INSTDIR\Molvane.exe"
      StrCpy $R8 1
    ${Else}
      StrCpy $R8 0
    ${EndIf}
  ${EndIf}
  Pop $R6
  Pop $R7
FunctionEnd

; Posts WM_CLOSE to every top-level window of class $R0 that belongs to one of our processes.
Function ${UN}CloseOurWindows
  Push $R1
  StrCpy $R1 0
  ${Do}
    FindWindow $R1 $R0 "" 0 $R1
    ${If} $R1 = 0
      ${Break}
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p R1, *i .R9)'
    Call ${UN}IsOurProcess
    ${If} $R8 = 1
      System::Call 'user32::PostMessageW(p R1, i ${WM_CLOSE}, p 0, p 0)'
    ${EndIf}
  ${Loop}
  Pop $R1
FunctionEnd

; Counts our running processes into $R3; with $R4 = 1 also ends each and waits for it (bounded).
Function ${UN}ForOurProcesses
  Push $R0
  Push $R1
  Push $R2
  Push $R5
  Push $R6
  StrCpy $R3 0
  System::Alloc 16384
  Pop $R0
  System::Call 'kernel32::K32EnumProcesses(p R0, i 16384, *i .R1) i .R2'
  ${If} $R2 <> 0
    IntOp $R1 $R1 / 4
    IntOp $R1 $R1 - 1
    ${For} $R2 0 $R1
      IntOp $R5 $R2 * 4
      IntPtrOp $R5 $R0 + $R5
      System::Call '*$R5(i .R9)'
      Call ${UN}IsOurProcess
      ${If} $R8 = 1
        IntOp $R3 $R3 + 1
        ${If} $R4 = 1
          System::Call 'kernel32::OpenProcess(i ${PROCESS_TERMINATE_AND_SYNCHRONIZE}, i 0, i R9) p .R6'
          ${If} $R6 P<> 0
            DetailPrint "Ending process $R9, which did not close by itself"
            System::Call 'kernel32::TerminateProcess(p R6, i 1)'
            System::Call 'kernel32::WaitForSingleObject(p R6, i 10000)'
            System::Call 'kernel32::CloseHandle(p R6)'
          ${EndIf}
        ${EndIf}
      ${EndIf}
    ${Next}
  ${EndIf}
  System::Free $R0
  Pop $R6
  Pop $R5
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd

Function ${UN}EndRunningCopies
  StrCpy $EndedCopies 0
  StrCpy $R4 0
  Call ${UN}ForOurProcesses
  ${If} $R3 = 0
    Return
  ${EndIf}
  StrCpy $EndedCopies 1
  DetailPrint "Closing the running Pravik"
  StrCpy $R0 "PravikStartButton"
  Call ${UN}CloseOurWindows
  StrCpy $R0 "MolvaneUpdater"
  Call ${UN}CloseOurWindows
  ${For} $R2 1 ${CLOSE_WAIT_STEPS}
    Sleep 200
    Call ${UN}ForOurProcesses
    ${IfThen} $R3 = 0 ${|} ${Break} ${|}
  ${Next}
  StrCpy $R4 1
  Call ${UN}ForOurProcesses
FunctionEnd
!macroend
