'----------------------------------------------------
' SHARED.BAS - helpers shared by several small tools
'----------------------------------------------------
Option Explicit

Function DataFileName () As String
Dim sBuf As String, n As Integer
    If Len(gFileName) > 0 Then DataFileName = gFileName: Exit Function
    sBuf = String$(128, 0)
    n = GetPrivateProfileString("Stock", "DataFile", "STOCK.TXT", sBuf, 128, "STOCK.INI")
    DataFileName = Left$(sBuf, n)
End Function

Function AppPath () As String
    If Right$(App.Path, 1) = "\" Then AppPath = App.Path Else AppPath = App.Path + "\"
End Function
