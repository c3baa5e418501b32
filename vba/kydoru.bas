Attribute VB_Name = "kydoru"
' kydoru.bas: the fifty exports of the kydoru library for VBA (Office 2010 and later, 32-
' and 64-bit) and Visual Basic 6. Generated from the library's export table by
' tools/gen_bas.py; the guide (docs/guide.md) explains each export's use from VBA.
'
' Keep kydoru.dll and, for 32-bit Office and VB6, kydoru_std.dll in one folder: 64-bit
' Office calls kydoru.dll directly; 32-bit Office and VB6 call kydoru_std.dll, which
' passes each call on to kydoru.dll in its own folder (a Declare can only call stdcall
' functions there). Call kyLoad with that folder once before the first call, so the
' Declares below find the library without a path (or put the folder on the PATH).
'
' Types: handles are LongPtr (Long in VB6); unsigned values arrive in a Long; ky_ReadByte
' and ky_WriteByte take a Byte variable. A String passed to kyGetWSPath or kyHDid is a
' buffer the caller sizes first (String$(260, 0), String$(41, 0)) and cuts at the first
' vbNullChar afterwards; kyGetWSPathText and kyHDidText do both. When kydoru.dll can't be
' found, kydoru_std.dll's functions return 0 and Err.LastDllError is 126.
Option Explicit

#If VBA7 Then
Private Declare PtrSafe Function LoadLibraryW Lib "kernel32" (ByVal fileName As LongPtr) As LongPtr
#Else
Private Declare Function LoadLibraryW Lib "kernel32" (ByVal fileName As Long) As Long
#End If


#If VBA7 Then
#If Win64 Then
' 64-bit Office: kydoru.dll itself.
Public Declare PtrSafe Function kyCanChangeVideoMode Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyCancelFullScreen Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyChangeVideoModePermanently Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyChangeVideoModeTemporarily Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyCommIBClear Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyCommOBClear Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyCommRTerminate Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyCommWTerminate Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyDesktopBmpEffect Lib "kydoru.dll" (ByVal effect As Long, _
    ByVal blankMode As Long) As Long
Public Declare PtrSafe Function kyFlashWindow Lib "kydoru.dll" (ByVal window As LongPtr, _
    ByVal count As Long) As Long
Public Declare PtrSafe Function kyFullScreen Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyGetCurrentVideoMode Lib "kydoru.dll" ( _
    ByRef bitsPerPixel As Long, ByRef pixelWidth As Long, ByRef pixelHeight As Long, _
    ByRef refreshRate As Long) As Long
Public Declare PtrSafe Sub kyGetWSPath Lib "kydoru.dll" (ByVal buffer As String)
Public Declare PtrSafe Function kyHDid Lib "kydoru.dll" (ByVal driveIndex As Long, _
    ByVal kind As Long, ByVal buffer As String) As Long
Public Declare PtrSafe Function kyHideDesktop Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyHideDesktopIcons Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyHideStartButton Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyHideSystemClock Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyHideTaskBar Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyLogo Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyMonitorOff Lib "kydoru.dll" () As LongPtr
Public Declare PtrSafe Function kyNewDesktopOff Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyNewDesktopOn Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyPerformReboot Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyProcSpeed Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyRemoveWindowTrans Lib "kydoru.dll" ( _
    ByVal window As LongPtr) As Long
Public Declare PtrSafe Sub kySetCapsLock Lib "kydoru.dll" (ByVal wanted As Long)
Public Declare PtrSafe Sub kySetNumLock Lib "kydoru.dll" (ByVal wanted As Long)
Public Declare PtrSafe Function kySetWTransparent Lib "kydoru.dll" (ByVal window As LongPtr, _
    ByVal alpha As Long) As Long
Public Declare PtrSafe Function kySetupComm Lib "kydoru.dll" (ByVal ignored As Long, _
    ByVal inputQueueSize As Long, ByVal outputQueueSize As Long) As Long
Public Declare PtrSafe Function kyShowDesktop Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyShowDesktopIcons Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyShowStartButton Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyShowSystemClock Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyShowTaskBar Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kySoftClock Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kySystemDialogMP Lib "kydoru.dll" () As LongPtr
Public Declare PtrSafe Function kySystemDialogTD Lib "kydoru.dll" () As LongPtr
Public Declare PtrSafe Function kySystemPowerHibernate Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kySystemPowerSuspend Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function kyWindowBmpEffect Lib "kydoru.dll" (ByVal window As LongPtr, _
    ByVal effect As Long, ByVal blankMode As Long) As Long
Public Declare PtrSafe Function kyWindowBmpEffect2 Lib "kydoru.dll" (ByVal target As LongPtr, _
    ByVal source As LongPtr, ByVal effect As Long) As Long
Public Declare PtrSafe Function kyWindowD1 Lib "kydoru.dll" (ByVal window As LongPtr) As Long
Public Declare PtrSafe Function kyWindowErase Lib "kydoru.dll" (ByVal window As LongPtr) As Long
Public Declare PtrSafe Function ky_ClosePort Lib "kydoru.dll" () As Long
Public Declare PtrSafe Function ky_ComConf Lib "kydoru.dll" (ByVal baud As Long, _
    ByVal byteSize As Long, ByVal parityCheck As Long, ByVal parity As Long, _
    ByVal stopBits As Long) As Long
Public Declare PtrSafe Function ky_ComOpen Lib "kydoru.dll" (ByVal portName As String) As LongPtr
Public Declare PtrSafe Function ky_ReadByte Lib "kydoru.dll" (ByRef target As Byte) As Long
Public Declare PtrSafe Function ky_SetComTimeouts Lib "kydoru.dll" (ByVal readInterval As Long, _
    ByVal readTotalMultiplier As Long, ByVal readTotalConstant As Long, _
    ByVal writeTotalMultiplier As Long, ByVal writeTotalConstant As Long) As Long
Public Declare PtrSafe Function ky_WriteByte Lib "kydoru.dll" (ByRef source As Byte) As Long
#Else
' 32-bit Office: the stdcall companion.
Public Declare PtrSafe Function kyCanChangeVideoMode Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyCancelFullScreen Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyChangeVideoModePermanently Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyChangeVideoModeTemporarily Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyCommIBClear Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyCommOBClear Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyCommRTerminate Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyCommWTerminate Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyDesktopBmpEffect Lib "kydoru_std.dll" (ByVal effect As Long, _
    ByVal blankMode As Long) As Long
Public Declare PtrSafe Function kyFlashWindow Lib "kydoru_std.dll" (ByVal window As LongPtr, _
    ByVal count As Long) As Long
Public Declare PtrSafe Function kyFullScreen Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyGetCurrentVideoMode Lib "kydoru_std.dll" ( _
    ByRef bitsPerPixel As Long, ByRef pixelWidth As Long, ByRef pixelHeight As Long, _
    ByRef refreshRate As Long) As Long
Public Declare PtrSafe Sub kyGetWSPath Lib "kydoru_std.dll" (ByVal buffer As String)
Public Declare PtrSafe Function kyHDid Lib "kydoru_std.dll" (ByVal driveIndex As Long, _
    ByVal kind As Long, ByVal buffer As String) As Long
Public Declare PtrSafe Function kyHideDesktop Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyHideDesktopIcons Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyHideStartButton Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyHideSystemClock Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyHideTaskBar Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyLogo Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyMonitorOff Lib "kydoru_std.dll" () As LongPtr
Public Declare PtrSafe Function kyNewDesktopOff Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyNewDesktopOn Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyPerformReboot Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyProcSpeed Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyRemoveWindowTrans Lib "kydoru_std.dll" ( _
    ByVal window As LongPtr) As Long
Public Declare PtrSafe Sub kySetCapsLock Lib "kydoru_std.dll" (ByVal wanted As Long)
Public Declare PtrSafe Sub kySetNumLock Lib "kydoru_std.dll" (ByVal wanted As Long)
Public Declare PtrSafe Function kySetWTransparent Lib "kydoru_std.dll" (ByVal window As LongPtr, _
    ByVal alpha As Long) As Long
Public Declare PtrSafe Function kySetupComm Lib "kydoru_std.dll" (ByVal ignored As Long, _
    ByVal inputQueueSize As Long, ByVal outputQueueSize As Long) As Long
Public Declare PtrSafe Function kyShowDesktop Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyShowDesktopIcons Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyShowStartButton Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyShowSystemClock Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyShowTaskBar Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kySoftClock Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kySystemDialogMP Lib "kydoru_std.dll" () As LongPtr
Public Declare PtrSafe Function kySystemDialogTD Lib "kydoru_std.dll" () As LongPtr
Public Declare PtrSafe Function kySystemPowerHibernate Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kySystemPowerSuspend Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function kyWindowBmpEffect Lib "kydoru_std.dll" (ByVal window As LongPtr, _
    ByVal effect As Long, ByVal blankMode As Long) As Long
Public Declare PtrSafe Function kyWindowBmpEffect2 Lib "kydoru_std.dll" (ByVal target As LongPtr, _
    ByVal source As LongPtr, ByVal effect As Long) As Long
Public Declare PtrSafe Function kyWindowD1 Lib "kydoru_std.dll" (ByVal window As LongPtr) As Long
Public Declare PtrSafe Function kyWindowErase Lib "kydoru_std.dll" (ByVal window As LongPtr) As Long
Public Declare PtrSafe Function ky_ClosePort Lib "kydoru_std.dll" () As Long
Public Declare PtrSafe Function ky_ComConf Lib "kydoru_std.dll" (ByVal baud As Long, _
    ByVal byteSize As Long, ByVal parityCheck As Long, ByVal parity As Long, _
    ByVal stopBits As Long) As Long
Public Declare PtrSafe Function ky_ComOpen Lib "kydoru_std.dll" ( _
    ByVal portName As String) As LongPtr
Public Declare PtrSafe Function ky_ReadByte Lib "kydoru_std.dll" (ByRef target As Byte) As Long
Public Declare PtrSafe Function ky_SetComTimeouts Lib "kydoru_std.dll" ( _
    ByVal readInterval As Long, ByVal readTotalMultiplier As Long, _
    ByVal readTotalConstant As Long, ByVal writeTotalMultiplier As Long, _
    ByVal writeTotalConstant As Long) As Long
Public Declare PtrSafe Function ky_WriteByte Lib "kydoru_std.dll" (ByRef source As Byte) As Long
#End If
#Else
' Visual Basic 6 and Office before 2010: the stdcall companion.
Public Declare Function kyCanChangeVideoMode Lib "kydoru_std.dll" () As Long
Public Declare Function kyCancelFullScreen Lib "kydoru_std.dll" () As Long
Public Declare Function kyChangeVideoModePermanently Lib "kydoru_std.dll" () As Long
Public Declare Function kyChangeVideoModeTemporarily Lib "kydoru_std.dll" () As Long
Public Declare Function kyCommIBClear Lib "kydoru_std.dll" () As Long
Public Declare Function kyCommOBClear Lib "kydoru_std.dll" () As Long
Public Declare Function kyCommRTerminate Lib "kydoru_std.dll" () As Long
Public Declare Function kyCommWTerminate Lib "kydoru_std.dll" () As Long
Public Declare Function kyDesktopBmpEffect Lib "kydoru_std.dll" (ByVal effect As Long, _
    ByVal blankMode As Long) As Long
Public Declare Function kyFlashWindow Lib "kydoru_std.dll" (ByVal window As Long, _
    ByVal count As Long) As Long
Public Declare Function kyFullScreen Lib "kydoru_std.dll" () As Long
Public Declare Function kyGetCurrentVideoMode Lib "kydoru_std.dll" (ByRef bitsPerPixel As Long, _
    ByRef pixelWidth As Long, ByRef pixelHeight As Long, ByRef refreshRate As Long) As Long
Public Declare Sub kyGetWSPath Lib "kydoru_std.dll" (ByVal buffer As String)
Public Declare Function kyHDid Lib "kydoru_std.dll" (ByVal driveIndex As Long, ByVal kind As Long, _
    ByVal buffer As String) As Long
Public Declare Function kyHideDesktop Lib "kydoru_std.dll" () As Long
Public Declare Function kyHideDesktopIcons Lib "kydoru_std.dll" () As Long
Public Declare Function kyHideStartButton Lib "kydoru_std.dll" () As Long
Public Declare Function kyHideSystemClock Lib "kydoru_std.dll" () As Long
Public Declare Function kyHideTaskBar Lib "kydoru_std.dll" () As Long
Public Declare Function kyLogo Lib "kydoru_std.dll" () As Long
Public Declare Function kyMonitorOff Lib "kydoru_std.dll" () As Long
Public Declare Function kyNewDesktopOff Lib "kydoru_std.dll" () As Long
Public Declare Function kyNewDesktopOn Lib "kydoru_std.dll" () As Long
Public Declare Function kyPerformReboot Lib "kydoru_std.dll" () As Long
Public Declare Function kyProcSpeed Lib "kydoru_std.dll" () As Long
Public Declare Function kyRemoveWindowTrans Lib "kydoru_std.dll" (ByVal window As Long) As Long
Public Declare Sub kySetCapsLock Lib "kydoru_std.dll" (ByVal wanted As Long)
Public Declare Sub kySetNumLock Lib "kydoru_std.dll" (ByVal wanted As Long)
Public Declare Function kySetWTransparent Lib "kydoru_std.dll" (ByVal window As Long, _
    ByVal alpha As Long) As Long
Public Declare Function kySetupComm Lib "kydoru_std.dll" (ByVal ignored As Long, _
    ByVal inputQueueSize As Long, ByVal outputQueueSize As Long) As Long
Public Declare Function kyShowDesktop Lib "kydoru_std.dll" () As Long
Public Declare Function kyShowDesktopIcons Lib "kydoru_std.dll" () As Long
Public Declare Function kyShowStartButton Lib "kydoru_std.dll" () As Long
Public Declare Function kyShowSystemClock Lib "kydoru_std.dll" () As Long
Public Declare Function kyShowTaskBar Lib "kydoru_std.dll" () As Long
Public Declare Function kySoftClock Lib "kydoru_std.dll" () As Long
Public Declare Function kySystemDialogMP Lib "kydoru_std.dll" () As Long
Public Declare Function kySystemDialogTD Lib "kydoru_std.dll" () As Long
Public Declare Function kySystemPowerHibernate Lib "kydoru_std.dll" () As Long
Public Declare Function kySystemPowerSuspend Lib "kydoru_std.dll" () As Long
Public Declare Function kyWindowBmpEffect Lib "kydoru_std.dll" (ByVal window As Long, _
    ByVal effect As Long, ByVal blankMode As Long) As Long
Public Declare Function kyWindowBmpEffect2 Lib "kydoru_std.dll" (ByVal target As Long, _
    ByVal source As Long, ByVal effect As Long) As Long
Public Declare Function kyWindowD1 Lib "kydoru_std.dll" (ByVal window As Long) As Long
Public Declare Function kyWindowErase Lib "kydoru_std.dll" (ByVal window As Long) As Long
Public Declare Function ky_ClosePort Lib "kydoru_std.dll" () As Long
Public Declare Function ky_ComConf Lib "kydoru_std.dll" (ByVal baud As Long, _
    ByVal byteSize As Long, ByVal parityCheck As Long, ByVal parity As Long, _
    ByVal stopBits As Long) As Long
Public Declare Function ky_ComOpen Lib "kydoru_std.dll" (ByVal portName As String) As Long
Public Declare Function ky_ReadByte Lib "kydoru_std.dll" (ByRef target As Byte) As Long
Public Declare Function ky_SetComTimeouts Lib "kydoru_std.dll" (ByVal readInterval As Long, _
    ByVal readTotalMultiplier As Long, ByVal readTotalConstant As Long, _
    ByVal writeTotalMultiplier As Long, ByVal writeTotalConstant As Long) As Long
Public Declare Function ky_WriteByte Lib "kydoru_std.dll" (ByRef source As Byte) As Long
#End If

' Why the last kyLoad call failed, for a message ("" after one that succeeded).
Public kyLoadError As String

' Loads the library from folder (for example ThisWorkbook.Path) for the Declares above:
' kydoru.dll, and for 32-bit Office and VB6 also the companion kydoru_std.dll beside it.
' False, with the reason in kyLoadError, when folder is empty (an unsaved workbook has no
' path) or a DLL is missing or built for the other width (32-bit Office needs the win32
' folder, 64-bit Office the win64 one).
Public Function kyLoad(ByVal folder As String) As Boolean
    kyLoadError = ""
    If Len(folder) = 0 Then
        kyLoadError = "kyLoad needs the folder of kydoru.dll (an unsaved workbook has no path)"
        Exit Function
    End If
    If Right$(folder, 1) <> "\" Then folder = folder & "\"
    If Not kyLoadFile(folder & "kydoru.dll") Then Exit Function
#If Not Win64 Then
    If Not kyLoadFile(folder & "kydoru_std.dll") Then Exit Function
#End If
    kyLoad = True
End Function

' Loads one DLL by its full path; False, with the reason in kyLoadError, when it can't.
Private Function kyLoadFile(ByVal path As String) As Boolean
    kyLoadFile = LoadLibraryW(StrPtr(path)) <> 0
    If kyLoadFile Then Exit Function
    Select Case Err.LastDllError
    Case 2, 3, 126
        kyLoadError = path & " is missing"
    Case 193
        kyLoadError = path & " is built for the other width: 32-bit Office needs win32, 64-bit Office win64"
    Case Else
        kyLoadError = path & " can't be loaded (system error " & Err.LastDllError & ")"
    End Select
End Function

' The text before the first vbNullChar of a buffer an export filled.
Private Function kyTextOf(ByVal buffer As String) As String
    Dim at As Long
    at = InStr(buffer, vbNullChar)
    If at = 0 Then kyTextOf = buffer Else kyTextOf = Left$(buffer, at - 1)
End Function

' kyGetWSPath, its buffer sized here (260 bytes, as the header asks): the text, "" for none.
Public Function kyGetWSPathText() As String
    Dim buffer As String
    buffer = String$(260, vbNullChar)
    kyGetWSPath buffer
    kyGetWSPathText = kyTextOf(buffer)
End Function

' kyHDid, its buffer sized here (41 bytes, as the header asks): the text, "" for none.
Public Function kyHDidText(ByVal driveIndex As Long, ByVal kind As Long) As String
    Dim buffer As String
    buffer = String$(41, vbNullChar)
    If kyHDid(driveIndex, kind, buffer) = 0 Then Exit Function
    kyHDidText = kyTextOf(buffer)
End Function
