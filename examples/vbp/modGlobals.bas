Attribute VB_Name = "modGlobals"
'==========================================================
' modGlobals
'
' Shared declarations of the Inventory program: the record
' layouts, the limits of the data file, the collection of
' stock items and the small helpers that every form uses.
'==========================================================
Option Explicit

Public Const APP_TITLE As String = "Inventory"
Public Const ABOUT_TEXT As String = "Inventory keeps the stock of a small workshop: items with their codes, descriptions, quantities on hand, reorder levels and unit prices, with a log of every movement, reports of low stock and of the stock value, and an export to CSV for the office."
Public Const ITEM_STOCK As Long = 1
Public Const ITEM_SERVICE As Long = 2
Public Const ITEM_KIT As Long = 3
Const MAX_ITEMS = 5000, MAX_CODE_LEN = 12       'limits of the data file
Const FIRST_MOVEMENTS = 100

Public Type StockRecord
    Code                As String * 12
    Description         As String
    ItemType            As Long
    Quantity            As Long
    ReorderLevel        As Long
    UnitPrice           As Currency
End Type

Public Type MovementRec
  ItemCode As String
    Delta As Long
  Stamp As Date
        Reason As String
End Type

Public gItems As Collection             'every clsStockItem, keyed by its code
Public gDataFile As String, gDirty As Boolean
Public gMovements() As MovementRec
Public gMovementCount As Long
Dim mLastError As String

Public Sub InitGlobals()
    Set gItems = New Collection
    gDataFile = "": gDirty = False
    ReDim gMovements(0 To FIRST_MOVEMENTS - 1)
gMovementCount = 0: mLastError = ""
End Sub

Public Function ItemTypeName(ByVal nType As Long) As String
    Select Case nType
        Case ITEM_STOCK
            ItemTypeName = "Stock"
        Case ITEM_SERVICE
            ItemTypeName = "Service"
        Case ITEM_KIT
            ItemTypeName = "Kit"
        Case Else
            ItemTypeName = "Unknown"
    End Select
End Function

Public Function FormatMoney(ByVal Amount As Currency) As String
    FormatMoney = Format$(Amount, "#,##0.00")
End Function

Public Function PadRight(ByVal Text As String, ByVal Width As Integer) As String
    If Len(Text) >= Width Then PadRight = Left$(Text, Width) Else PadRight = Text & Space$(Width - Len(Text))
End Function

Public Function IsValidCode(ByVal Code As String) As Boolean
Dim i As Integer, ch As String
    IsValidCode = False
    If Len(Code) = 0 Or Len(Code) > MAX_CODE_LEN Then Exit Function
    For i = 1 To Len(Code)
        ch = Mid$(Code, i, 1)
        Select Case ch
        Case "A" To "Z", "0" To "9", "-", "/"
            ' allowed in a stock code
        Case Else
            mLastError = "Character '" & ch & "' is not allowed in a code"
            Exit Function
        End Select
    Next i
    IsValidCode = True
End Function

Public Function LastError() As String
    LastError = mLastError
End Function

Public Function CanAddItem() As Boolean
    CanAddItem = (gItems.Count < MAX_ITEMS)
End Function

Public Sub LogMovement(ByVal ItemCode As String, ByVal Delta As Long, ByVal Reason As String)
    If gMovementCount > UBound(gMovements) Then
        ReDim Preserve gMovements(0 To UBound(gMovements) * 2 + 1)
    End If
    With gMovements(gMovementCount)
        .ItemCode = ItemCode
        .Delta = Delta
        .Stamp = Now
        .Reason = Reason
    End With
    gMovementCount = gMovementCount + 1
#If DEBUGLOG Then
    Debug.Print "Movement: "; ItemCode; Delta; Reason
#Else
    ' nothing is traced in the release build
#End If
    gDirty = True
End Sub

Public Function FindItem(ByVal Code As String) As clsStockItem
    On Error Resume Next
    Set FindItem = gItems(UCase$(Trim$(Code)))
    On Error GoTo 0
End Function

Public Function CountBelowReorder() As Long
Dim itm As clsStockItem
Dim n As Long
    n = 0
    For Each itm In gItems
        If itm.NeedsReorder Then n = n + 1
    Next itm
    CountBelowReorder = n
End Function

Public Function StockValue() As Currency
    Dim itm As clsStockItem, total As Currency
    For Each itm In gItems
        total = total + itm.Quantity * itm.UnitPrice
    Next
    StockValue = total
End Function

Public Function MovementsOf(ByVal ItemCode As String) As Long
    Dim i As Long, n As Long
    i = 0
    Do While i < gMovementCount
        If gMovements(i).ItemCode = ItemCode Then n = n + gMovements(i).Delta
        i = i + 1
    Loop
    MovementsOf = n
End Function
