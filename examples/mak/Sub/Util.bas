'----------------------------------------------------
' UTIL.BAS - reading the stock count file
' Each line holds the code, a comma, the description,
' a comma and the number counted.
'----------------------------------------------------
Option Explicit

Function LoadStockFile (ByVal FileName As String) As Integer
Dim f As Integer, sLine As String, p As Integer, q As Integer
    On Error GoTo LoadError
    f = FreeFile
    Open FileName For Input As #f
    gLineCount = 0
    Do While Not EOF(f) And gLineCount < MAX_ROWS
        Line Input #f, sLine
        p = InStr(sLine, ",")
        q = InStr(p + 1, sLine, ",")
        If p > 0 And q > p Then
            gLineCount = gLineCount + 1
            gLines(gLineCount).Code = Left$(sLine, p - 1)
            gLines(gLineCount).Description = Mid$(sLine, p + 1, q - p - 1)
            gLines(gLineCount).Counted = Val(Mid$(sLine, q + 1))
        End If
    Loop
    Close #f
    LoadStockFile = gLineCount
    Exit Function
LoadError:
    LoadStockFile = -1
    Resume LoadDone
LoadDone:
End Function

Function TotalCounted () As Long
Dim i As Integer, t As Long
    For i = 1 To gLineCount
        t = t + gLines(i).Counted
    Next
    TotalCounted = t
End Function
