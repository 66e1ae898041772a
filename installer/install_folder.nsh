; The install folder, made as safe as Program Files. The installer registers Quessel.ocx for the
; whole machine and Pravik parses its skins as administrator, so no standard user may change
; anything in the folder. Under Program Files that holds already. A folder chosen elsewhere (a
; custom C:\Pravik inherits "Authenticated Users: Modify" from C:\) is made so before any file is
; placed: owned by Administrators, nothing inherited from its parent, full control for the system
; and administrators, read and execute for users; whatever it already holds is reset the same way.
; Refused: network and device paths, a path through a link or junction, a folder inside user
; profiles or inside any folder someone other than an administrator could rename or move (the
; install folder would go along, and another could take its name), a folder that holds
; something other than an earlier installation, and anything inside it that is a link or a second
; name of another file (resetting or writing it would change what it points at).
;
; Needs LogicLib.nsh and FileFunc.nsh.

!define FOLDER_SDDL "O:BAD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)(A;OICI;0x1200a9;;;AU)"
!define CHILD_FOLDER_SDDL "O:BAD:AI(A;OICIID;FA;;;SY)(A;OICIID;FA;;;BA)(A;OICIID;0x1200a9;;;BU)(A;OICIID;0x1200a9;;;AU)"
!define CHILD_FILE_SDDL "O:BAD:AI(A;ID;FA;;;SY)(A;ID;FA;;;BA)(A;ID;0x1200a9;;;BU)(A;ID;0x1200a9;;;AU)"
!define OWNER_AND_PROTECTED_DACL 0x80000005    ; OWNER | DACL | PROTECTED_DACL _SECURITY_INFORMATION
!define OWNER_AND_UNPROTECTED_DACL 0x20000005  ; OWNER | DACL | UNPROTECTED_DACL _SECURITY_INFORMATION
!define SE_FILE_OBJECT 1
!define OPEN_FOR_SECURITY 0x000E0080           ; READ_CONTROL | WRITE_DAC | WRITE_OWNER | FILE_READ_ATTRIBUTES
!define OPEN_ENTRY_ITSELF 0x02200000           ; FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT
!define FILE_ATTRIBUTE_DIRECTORY 0x10
!define FILE_ATTRIBUTE_REPARSE_POINT 0x400
!define DRIVE_REMOTE 4
!define TRUSTED_INSTALLER_SID "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"
!define ACCESS_ALLOWED_ACE_TYPE 0
!define INHERIT_ONLY_ACE 0x08
!define MAY_MOVE_OR_REPERMIT 0x500D0040         ; DELETE | WRITE_DAC | WRITE_OWNER | FILE_DELETE_CHILD | GENERIC_ALL | GENERIC_WRITE
!define FOLDERID_UserProfiles "{0762D272-C50A-4BB0-A382-697DCD729B80}"

Var CustomFolder  ; 1 when $INSTDIR is outside Program Files and is secured here
Var FolderError   ; why the folder was refused; empty when it was not

; $0: a path; answers it full, with long names and without a trailing backslash (a drive's root
; keeps its own), so two spellings of one folder compare equal (case-insensitively, as StrCmp does).
Function CanonicalPath
  Push $1
  Push $2
  System::Call 'kernel32::GetFullPathNameW(w r0, i ${NSIS_MAX_STRLEN}, w .r1, p 0) i .r2'
  ${If} $2 <> 0
  ${AndIf} $2 < ${NSIS_MAX_STRLEN}
    StrCpy $0 $1
  ${EndIf}
  System::Call 'kernel32::GetLongPathNameW(w r0, w .r1, i ${NSIS_MAX_STRLEN}) i .r2'
  ${If} $2 <> 0
  ${AndIf} $2 < ${NSIS_MAX_STRLEN}
    StrCpy $0 $1
  ${EndIf}
  ${Do}
    StrCpy $1 $0 1 -1
    StrLen $2 $0
    ${If} $1 != "\"
    ${OrIf} $2 <= 3
      ${Break}
    ${EndIf}
    StrCpy $0 $0 -1
  ${Loop}
  Pop $2
  Pop $1
FunctionEnd

; $0: a canonical path, $1: a folder; answers $2 = 1 when the path lies inside that folder.
Function IsInside
  Push $0
  Push $3
  StrCpy $3 $0
  StrCpy $0 $1
  Call CanonicalPath
  StrCpy $2 0
  ${If} $0 != ""
    StrLen $1 "$0\"
    StrCpy $1 $3 $1
    ${IfThen} $1 == "$0\" ${|} StrCpy $2 1 ${|}
  ${EndIf}
  Pop $3
  Pop $0
FunctionEnd

; $9: a SID; answers $8 = 1 when it is the system, Administrators or TrustedInstaller.
Function IsAdministrativeSid
  Push $6
  Push $7
  StrCpy $6 ""
  System::Call 'advapi32::ConvertSidToStringSidW(p r9, *p .r7) i .r8'
  ${If} $8 <> 0
    System::Call 'kernel32::lstrcpynW(w .r6, p r7, i ${NSIS_MAX_STRLEN})'
    System::Call 'kernel32::LocalFree(p r7)'
  ${EndIf}
  StrCpy $8 0
  ${If} $6 == "S-1-5-18"
  ${OrIf} $6 == "S-1-5-32-544"
  ${OrIf} $6 == "${TRUSTED_INSTALLER_SID}"
    StrCpy $8 1
  ${EndIf}
  Pop $7
  Pop $6
FunctionEnd

; $0: an existing folder; answers $1 = 1 when only administrators and the system can rename,
; move or re-permit it: one of them owns it and no allowed entry gives anyone else such rights.
Function OnlyAdministratorsMayMove
  Push $R0
  Push $R1
  Push $R2
  Push $R3
  Push $R4
  Push $R5
  StrCpy $1 0
  System::Call 'advapi32::GetNamedSecurityInfoW(w r0, i ${SE_FILE_OBJECT}, i 5, *p .R0, p 0, *p .R1, p 0, *p .R2) i .R3'
  ${If} $R3 = 0
    StrCpy $9 $R0
    Call IsAdministrativeSid
    ${If} $8 = 1
    ${AndIf} $R1 P<> 0  ; a missing DACL lets everyone do anything
      StrCpy $1 1
      System::Call '*$R1(&i1, &i1, &i2, &i2 .R4)'  ; the entries' count
      StrCpy $R5 0
      ${DoWhile} $R5 < $R4
        System::Call 'advapi32::GetAce(p R1, i R5, *p .R3) i .r8'
        ${If} $8 = 0
          StrCpy $1 0
          ${Break}
        ${EndIf}
        System::Call '*$R3(&i1 .r6, &i1 .r7, &i2, i .r8)'  ; type, flags, rights
        IntOp $7 $7 & ${INHERIT_ONLY_ACE}
        IntOp $8 $8 & ${MAY_MOVE_OR_REPERMIT}
        ${If} $6 = ${ACCESS_ALLOWED_ACE_TYPE}
        ${AndIf} $7 = 0
        ${AndIf} $8 <> 0
          IntPtrOp $9 $R3 + 8  ; the entry's SID
          Call IsAdministrativeSid
          ${If} $8 = 0
            StrCpy $1 0
            ${Break}
          ${EndIf}
        ${EndIf}
        IntOp $R5 $R5 + 1
      ${Loop}
    ${EndIf}
    System::Call 'kernel32::LocalFree(p R2)'
  ${EndIf}
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd

; $0: a path; answers $1 = 1 when it or a folder on its way is a link or junction, 2 when a folder
; on its way (below the drive's root) could be renamed or moved by someone other than an
; administrator, taking the install folder along and leaving its name free for another. $0 is
; then the folder at fault.
Function PathIsUnsafe
  Push $2
  Push $3
  StrCpy $3 0  ; 0 for the install folder itself, 1 for the folders above it
  StrCpy $2 0
  ${Do}
    StrLen $1 $0
    ${IfThen} $1 <= 3 ${|} ${Break} ${|}  ; the drive's root
    System::Call 'kernel32::GetFileAttributesW(w r0) i .r1'
    ${If} $1 <> -1
      IntOp $1 $1 & ${FILE_ATTRIBUTE_REPARSE_POINT}
      ${If} $1 <> 0
        StrCpy $2 1
        ${Break}
      ${EndIf}
      ${If} $3 = 1
        Call OnlyAdministratorsMayMove
        ${If} $1 <> 1
          StrCpy $2 2
          ${Break}
        ${EndIf}
      ${EndIf}
    ${EndIf}
    StrCpy $3 1
    ${GetParent} $0 $0
  ${Loop}
  ${IfThen} $2 = 0 ${|} StrCpy $0 "" ${|}
  StrCpy $1 $2
  Pop $3
  Pop $2
FunctionEnd

; Judges $INSTDIR (made canonical here): sets $CustomFolder, and $FolderError when it is refused.
Function CheckInstallFolder
  StrCpy $FolderError ""
  StrCpy $CustomFolder 0
  StrCpy $0 $INSTDIR
  Call CanonicalPath
  StrCpy $INSTDIR $0
  StrCpy $1 $PROGRAMFILES64
  Call IsInside
  ${IfThen} $2 = 1 ${|} Return ${|}
  StrCpy $1 $PROGRAMFILES32
  Call IsInside
  ${IfThen} $2 = 1 ${|} Return ${|}
  StrCpy $CustomFolder 1

  StrCpy $1 $INSTDIR 2
  StrCpy $2 $INSTDIR 1 1
  ${If} $1 == "\\"
  ${OrIf} $2 != ":"
    StrCpy $FolderError "$INSTDIR is not a folder on a local drive. Choose a folder such as $PROGRAMFILES64\Pravik."
    Return
  ${EndIf}
  StrCpy $1 $INSTDIR 3
  System::Call 'kernel32::GetDriveTypeW(w r1) i .r2'
  ${If} $2 = ${DRIVE_REMOTE}
    StrCpy $FolderError "$INSTDIR is on a network drive, whose files this computer's administrators cannot protect. Choose a folder on a local drive."
    Return
  ${EndIf}
  System::Call 'shell32::SHGetKnownFolderPath(g "${FOLDERID_UserProfiles}", i 0, p 0, *p .r3) i .r2'
  ${If} $2 = 0
    System::Call 'kernel32::lstrcpynW(w .r1, p r3, i ${NSIS_MAX_STRLEN})'
    System::Call 'ole32::CoTaskMemFree(p r3)'
    Call IsInside
    ${If} $2 = 1
      StrCpy $FolderError "$INSTDIR is inside a user's profile, where that user could move it aside and put other files in its place. Choose a folder such as $PROGRAMFILES64\Pravik."
      Return
    ${EndIf}
  ${EndIf}
  StrCpy $0 $INSTDIR
  Call PathIsUnsafe
  ${If} $1 = 1
    StrCpy $FolderError "$INSTDIR is reached through a link or junction, which could be pointed elsewhere. Choose a folder without one on its way."
    Return
  ${ElseIf} $1 = 2
    StrCpy $FolderError "$INSTDIR is inside $0, which users other than administrators could rename or move, putting another folder in its place. Choose a folder such as $PROGRAMFILES64\Pravik."
    Return
  ${EndIf}
  ; An existing folder is taken over only when it holds an earlier installation (or nothing):
  ; its other contents would lose the permissions their owners gave them.
  ${If} ${FileExists} "$INSTDIR\*.*"
  ${AndIfNot} ${FileExists} "$INSTDIR\Pravik.exe"
    FindFirst $1 $2 "$INSTDIR\*"
    ${DoWhile} $2 != ""
      ${If} $2 != "."
      ${AndIf} $2 != ".."
        StrCpy $FolderError "$INSTDIR already holds other files. Choose a new or empty folder."
        ${Break}
      ${EndIf}
      FindNext $1 $2
    ${Loop}
    FindClose $1
  ${EndIf}
FunctionEnd

; $0: path, $1: SDDL, $2: SECURITY_INFORMATION; sets the descriptor on the entry itself (never on
; what a link points at). Answers $3: 0 when set, 1 when the entry is a link or a second name of
; another file (left unchanged), 2 when it could not be set.
Function SetEntrySecurity
  Push $4
  Push $5
  Push $6
  Push $7
  Push $8
  StrCpy $3 2
  System::Call 'kernel32::CreateFileW(w r0, i ${OPEN_FOR_SECURITY}, i 7, p 0, i 3, i ${OPEN_ENTRY_ITSELF}, p 0) p .r4'
  ${If} $4 P<> -1
    System::Alloc 52  ; BY_HANDLE_FILE_INFORMATION
    Pop $5
    System::Call 'kernel32::GetFileInformationByHandle(p r4, p r5) i .r6'
    ${If} $6 <> 0
      System::Call '*$5(i .r6, i, i, i, i, i, i, i, i, i, i .r7)'  ; attributes, number of links
      IntOp $8 $6 & ${FILE_ATTRIBUTE_REPARSE_POINT}
      IntOp $6 $6 & ${FILE_ATTRIBUTE_DIRECTORY}
      ${If} $6 = 0
      ${AndIf} $7 > 1
        StrCpy $8 1  ; a file with a second name
      ${EndIf}
      ${If} $8 <> 0
        StrCpy $3 1
      ${Else}
        System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w r1, i 1, *p .r6, p 0) i .r8'
        ${If} $8 <> 0
          System::Call 'advapi32::GetSecurityDescriptorOwner(p r6, *p .r7, *i .r8)'
          System::Call 'advapi32::GetSecurityDescriptorDacl(p r6, *i .r8, *p .r5, *i .r8)'
          System::Call 'advapi32::SetSecurityInfo(p r4, i ${SE_FILE_OBJECT}, i r2, p r7, p 0, p r5, p 0) i .r8'
          ${IfThen} $8 = 0 ${|} StrCpy $3 0 ${|}
          System::Call 'kernel32::LocalFree(p r6)'
        ${EndIf}
      ${EndIf}
    ${EndIf}
    System::Free $5
    System::Call 'kernel32::CloseHandle(p r4)'
  ${EndIf}
  Pop $8
  Pop $7
  Pop $6
  Pop $5
  Pop $4
FunctionEnd

; On the stack: a secured folder; resets everything inside it (depth first, never through a link).
; Sets $FolderError when something could not be reset.
Function SecureFolderContents
  Exch $R0
  Push $R1
  Push $R2
  FindFirst $R1 $R2 "$R0\*"
  ${DoWhile} $R2 != ""
    ${If} $R2 != "."
    ${AndIf} $R2 != ".."
      StrCpy $0 "$R0\$R2"
      System::Call 'kernel32::GetFileAttributesW(w r0) i .r3'
      IntOp $3 $3 & ${FILE_ATTRIBUTE_DIRECTORY}
      ${If} $3 <> 0
        StrCpy $1 "${CHILD_FOLDER_SDDL}"
      ${Else}
        StrCpy $1 "${CHILD_FILE_SDDL}"
      ${EndIf}
      StrCpy $2 ${OWNER_AND_UNPROTECTED_DACL}
      Call SetEntrySecurity
      ${If} $3 = 1
        StrCpy $FolderError "$0 is a link or a second name of another file, which this installer will not write through. Remove it, or choose a new folder."
      ${ElseIf} $3 <> 0
        StrCpy $FolderError "The permissions of $0 could not be set."
      ${ElseIf} ${FileExists} "$0\*.*"
        Push $0
        Call SecureFolderContents
      ${EndIf}
    ${EndIf}
    FindNext $R1 $R2
  ${Loop}
  FindClose $R1
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd

; $0: a folder to have; makes each missing folder on its way, each admin-only from its first moment
; on (a folder made inside C:\ would otherwise let users move what it holds).
Function MakeSecuredFolder
  ${If} ${FileExists} "$0\*.*"
    Return
  ${EndIf}
  Push $0
  ${GetParent} $0 $0
  ${If} $0 != ""
    Call MakeSecuredFolder
  ${EndIf}
  Pop $0
  System::Call 'kernel32::CreateDirectoryW(w r0, p 0) i .r3'
  ${If} $3 <> 0
    StrCpy $1 "${FOLDER_SDDL}"
    StrCpy $2 ${OWNER_AND_PROTECTED_DACL}
    Call SetEntrySecurity
  ${EndIf}
FunctionEnd

; Before any file is placed: a custom $INSTDIR is made, or taken over, for administrators only.
; Sets $FolderError when it cannot be.
Function SecureInstallFolder
  ${If} $CustomFolder <> 1
  ${OrIf} $FolderError != ""
    Return
  ${EndIf}
  StrCpy $0 $INSTDIR
  Call MakeSecuredFolder
  StrCpy $0 $INSTDIR
  StrCpy $1 "${FOLDER_SDDL}"
  StrCpy $2 ${OWNER_AND_PROTECTED_DACL}
  Call SetEntrySecurity
  ${If} $3 <> 0
    StrCpy $FolderError "The permissions of $INSTDIR could not be set, so standard users could change what the installer places there."
    Return
  ${EndIf}
  Push $INSTDIR
  Call SecureFolderContents
FunctionEnd
