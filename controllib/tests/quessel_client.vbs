' A real late-bound client: the script engine creates the control by ProgID and calls its
' methods by name, with by-reference and optional arguments, as any script host would.
Option Explicit
Dim q, failures
failures = 0

Sub Check(name, actual, expected)
  If actual = expected Then
    WScript.Echo "ok   " & name
  Else
    WScript.Echo "FAIL " & name & ": got [" & actual & "] expected [" & expected & "]"
    failures = failures + 1
  End If
End Sub

Set q = CreateObject("QuesselControl.Quessel")

' Window, mouse, screen and taskbar
Dim x, y
x = 77 : y = 66
q.cMouse_LocationSet x, y
Check "cMouse_LocationGet_X", q.cMouse_LocationGet_X, 77
Check "cMouse_LocationGet_Y", q.cMouse_LocationGet_Y(), 66
Check "cForegroundWindow_FileName is text", TypeName(q.cForegroundWindow_FileName), "String"
Dim h
h = 0
Check "cWindow_FileName of no window", q.cWindow_FileName(h), ""
Check "cWindow_Title of no window", q.cWindow_Title(h), ""
Check "cScreen_Width positive", q.cScreen_Width > 0, True
Check "cTaskBar_Type in range", q.cTaskBar_Type >= 0 And q.cTaskBar_Type <= 3, True
Check "cTask_Width within screen", q.cTask_Width <= q.cScreen_Width, True

' Wrong calls are errors the script can catch, never a crash.
On Error Resume Next
Err.Clear
q.cWindow_Title
Check "missing argument raises", Err.Number <> 0, True
Err.Clear
q.cNoSuchMethod
Check "unknown method raises", Err.Number <> 0, True
On Error GoTo 0

'
' Conversions: literals and variables of any numeric type, optional arguments left out.
Dim d, secs, korean, n
d = 255
Check "cDec2Hex 255", q.cDec2Hex(d), "00FF"
d = 4294967296
Check "cDec2Hex 2^32", q.cDec2Hex(d), "100000000"
Check "cHex2Dec ff", q.cHex2Dec("ff"), 255
secs = 3725
Check "cTimeSec2HourMinSec defaults", q.cTimeSec2HourMinSec(secs), "01:02:05"
Check "cTimeSec2HourMinSec writes back", secs, 125
secs = 59
Check "cTimeSec2HourMinSec separators", q.cTimeSec2HourMinSec(secs, "h", "m", "s"), "00h00m59s"
Dim hourMark
hourMark = "h"
Check "cTimeSec2HourMinSec separator variable", q.cTimeSec2HourMinSec(secs, hourMark), "00h00:59"
Check "cTimeSec2HourMinSec separator left out", q.cTimeSec2HourMinSec(secs, , "m"), "00:00m59"
' Korean texts come from their code page 949 bytes (the session's code page), which keeps this
' file plain ASCII; the round trips below then check the conversion both ways.
Dim first
korean = q.cBase64Decode("x9Gx2w==")
first = q.cBase64Decode("x9E=")
Check "Korean text is two characters", Len(korean), 2
n = 1
Check "cString_Left of Korean", q.cString_Left(korean, n), first
Check "cString_Len of Korean", q.cString_Len(korean), 4
Dim encoded
encoded = q.cBase64Encode(korean)
Check "cBase64Decode round trip", q.cBase64Decode(encoded), korean
encoded = "A"
encoded = q.cBase64Encode(encoded)
Check "cBase64Encode one character", encoded, "QQ=="

' Registry and text files
Dim root, key, valueName, data, path, fso
root = &H80000001
key = "Software\QuesselScriptTest"
valueName = "v"
data = "abc"
q.cReg_Write root, key, valueName, data
Check "cReg_Read after cReg_Write", q.cReg_Read(root, key, valueName), "abc"
valueName = "missing"
Check "cReg_Read missing value", q.cReg_Read(root, key, valueName), ""
q.cReg_DeleteKeySetting root, key
Set fso = CreateObject("Scripting.FileSystemObject")
path = fso.GetSpecialFolder(2) & "\quessel_script.txt"
q.cText_Save path, "one" & vbCrLf & "two"
Check "cText_Open round trip", q.cText_Open(path), "one" & vbCrLf & "two"
Check "cText_Open missing file", q.cText_Open(path & ".missing"), ""

' Identity
Dim unique
unique = q.cUniqueNumber
Check "cUniqueNumber stable", q.cUniqueNumber, unique
Check "cUniqueNumber length", Len(unique) Mod 64, 0
Check "cOS_Name known", InStr("95 98/98SE ME 9X NT XP 2000 UNKNOWN", q.cOS_Name) > 0, True

' Failures that carry numbers and descriptions
On Error Resume Next
Err.Clear
q.cShutdownSystem 32
Check "cShutdownSystem(32) number", Hex(Err.Number), "8004062F"
Check "cShutdownSystem(32) description", Err.Description, "Invalid parameter to ShutdownSystem: 32"
Err.Clear
q.cShutdownSystem -1
Check "cShutdownSystem(-1) number", Hex(Err.Number), "8004062F"
Err.Clear
n = q.cHex2Dec("80000000")
Check "cHex2Dec overflow", Err.Number, 6
Err.Clear
On Error GoTo 0

' A timed Yes/No box left alone
Dim msg, title, waitSec
msg = "Quessel" : title = "Quessel test" : waitSec = 1
Check "cMsgbox_YesNo timed out", q.cMsgbox_YesNo(msg, title, waitSec), -1

If failures = 0 Then
  WScript.Echo "ALL OK"
Else
  WScript.Echo failures & " FAILED"
End If
WScript.Quit failures
