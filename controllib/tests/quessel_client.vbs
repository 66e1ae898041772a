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

If failures = 0 Then
  WScript.Echo "ALL OK"
Else
  WScript.Echo failures & " FAILED"
End If
WScript.Quit failures
