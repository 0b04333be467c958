Attribute VB_Name = "modFileIO"
'----------------------------------------------------------
' modFileIO
' Reads and writes the inventory data file. One item per
' line, the fields separated by tab characters:
'   code, description, type, quantity, reorder level, price
' Lines that start with a semicolon are remarks.
'----------------------------------------------------------
Option Explicit

Private Const FIELD_SEP As String = vbTab
Const FIELD_COUNT = 6, REMARK_CHAR = ";"

Public Function LoadInventory(ByVal FileName As String) As Long
    Dim f As Integer, sLine As String
    Dim Fields() As String
    Dim itm As clsStockItem
    Dim nLoaded As Long, nLine As Long

    On Error GoTo LoadFailed
    f = FreeFile
    Open FileName For Input As #f
    Set gItems = New Collection
    Do While Not EOF(f)
        Line Input #f, sLine
        nLine = nLine + 1
        sLine = Trim$(sLine)
        If Len(sLine) = 0 Then GoTo NextLine
        If Left$(sLine, 1) = REMARK_CHAR Then GoTo NextLine       'a remark
        Fields = Split(sLine, FIELD_SEP)
        If UBound(Fields) + 1 < FIELD_COUNT Then
            MsgBox "Line " & nLine & " of " & FileName & " has too few fields.", _
                vbExclamation, APP_TITLE
        Else
            Set itm = New clsStockItem
            itm.Code = Fields(0): itm.Description = Fields(1)
            itm.ItemType = Val(Fields(2))
            itm.Quantity = Val(Fields(3))
            itm.ReorderLevel = Val(Fields(4))
            itm.UnitPrice = CCur(Val(Fields(5)))
            gItems.Add itm, itm.Code
            nLoaded = nLoaded + 1
        End If
NextLine:
    Loop
    Close #f
    gDataFile = FileName
    gDirty = False
    LoadInventory = nLoaded
    Exit Function

LoadFailed:
    MsgBox "Unable to read " & FileName & ":" & vbCrLf & Err.Description, vbCritical, APP_TITLE
    On Error Resume Next
    Close #f
    LoadInventory = -1
End Function

Public Function SaveInventory(ByVal FileName As String) As Boolean
Dim f As Integer
Dim itm As clsStockItem
	On Error GoTo SaveFailed
	f = FreeFile
    Open FileName For Output As #f
  Print #f, "; Inventory data file written " & Format$(Now, "yyyy-mm-dd hh:nn")
  Print #f, "; code	description	type	qty	reorder	price"
	For Each itm In gItems
	    Print #f, itm.Code & FIELD_SEP & itm.Description & FIELD_SEP & _
	          itm.ItemType & FIELD_SEP & itm.Quantity & FIELD_SEP & _
	          itm.ReorderLevel & FIELD_SEP & Str$(itm.UnitPrice)
	Next itm
      Close #f
	gDataFile = FileName: gDirty = False
	SaveInventory = True
	Exit Function
SaveFailed:
	MsgBox "Unable to write " & FileName & ":" & vbCrLf & Err.Description, vbCritical, APP_TITLE
        SaveInventory = False
End Function

Public Function NextBackupName(ByVal FileName As String) As String
    Dim n As Integer, sTry As String
    n = 1
    sTry = FileName & ".bak"
    While Len(Dir$(sTry)) > 0
        n = n + 1
        sTry = FileName & "." & Format$(n, "000")
    Wend
    NextBackupName = sTry
End Function

Public Function Checksum(ByVal Text As String) As Long
    Dim i As Long, h As Long
    For i = 1 To Len(Text)
        h = (h * 31 + Asc(Mid$(Text, i, 1))) And &HFFFFF
    Next i
    Checksum = h
End Function

Public Function ExportCsv(ByVal FileName As String) As Long
Dim f As Integer, n As Long
Dim itm As clsStockItem
Dim sQuote, sRow
    '
    ' The CSV copy is meant for the spreadsheet of the office:
    ' every text field is quoted, a quote inside a field is
    ' doubled, and the price is written with a point as the
    ' decimal separator whatever the regional settings say.
    '
    On Error GoTo ExportFailed
    sQuote = Chr$(34)
    f = FreeFile
    Open FileName For Output As #f
    Print #f, """Code"",""Description"",""Type"",""Quantity"",""Price"""
    For Each itm In gItems
        sRow = sQuote & Replace(itm.Code, sQuote, sQuote & sQuote) & sQuote & "," _
             & sQuote & Replace(itm.Description, sQuote, sQuote & sQuote) & sQuote & "," _
             & sQuote & ItemTypeName(itm.ItemType) & sQuote & "," _
             & itm.Quantity & "," & Trim$(Str$(itm.UnitPrice))
        Print #f, sRow
        n = n + 1
    Next
    Close #f
    ExportCsv = n
    Exit Function

ExportFailed:
    ExportCsv = -1
End Function

Public Function CountDataLines(ByVal FileName As String) As Long
    Dim f As Integer, sLine As String, n As Long
    If Len(Dir$(FileName)) = 0 Then CountDataLines = 0: Exit Function
    f = FreeFile
    Open FileName For Input As #f
    Do
        If EOF(f) Then Exit Do
        Line Input #f, sLine
        If Left$(sLine, 1) <> REMARK_CHAR Then n = n + 1
    Loop Until EOF(f)
    Close #f
    CountDataLines = n
End Function
