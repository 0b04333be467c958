VERSION 5.00
Object = "{F9043C88-F6F2-101A-A3C9-08002B2F49FB}#1.2#0"; "COMDLG32.OCX"
Begin VB.Form frmMain 
   BorderStyle     =   1  'Fixed Single
   Caption         =   "Inventory"
   ClientHeight    =   5310
   ClientLeft      =   150
   ClientTop       =   840
   ClientWidth     =   7905
   BeginProperty Font 
      Name            =   "MS Sans Serif"
      Size            =   8.25
      Charset         =   0
      Weight          =   400
      Underline       =   0   'False
      Italic          =   0   'False
      Strikethrough   =   0   'False
   EndProperty
   Icon            =   "frmMain.frx":0000
   LinkTopic       =   "Form1"
   MaxButton       =   0   'False
   ScaleHeight     =   5310
   ScaleWidth      =   7905
   StartUpPosition =   2  'CenterScreen
   Begin MSComDlg.CommonDialog dlgFile 
      Left            =   7200
      Top             =   4440
      _ExtentX        =   847
      _ExtentY        =   847
      _Version        =   393216
      CancelError     =   -1  'True
      DefaultExt      =   "inv"
      Filter          =   "Inventory files (*.inv)|*.inv|All files (*.*)|*.*"
   End
   Begin VB.CommandButton cmdDelete 
      Caption         =   "&Delete"
      Height          =   375
      Left            =   6480
      TabIndex        =   3
      Top             =   1440
      Width           =   1215
   End
   Begin VB.CommandButton cmdEdit 
      Caption         =   "&Edit..."
      Height          =   375
      Left            =   6480
      TabIndex        =   2
      Top             =   960
      Width           =   1215
   End
   Begin VB.CommandButton cmdAdd 
      Caption         =   "&Add..."
      Height          =   375
      Left            =   6480
      TabIndex        =   1
      Top             =   480
      Width           =   1215
   End
   Begin VB.ListBox lstItems 
      BeginProperty Font 
         Name            =   "Courier New"
         Size            =   9
         Charset         =   0
         Weight          =   400
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
      Height          =   4110
      IntegralHeight  =   0   'False
      Left            =   120
      TabIndex        =   0
      Top             =   480
      Width           =   6255
   End
   Begin VB.Label lblStatus 
      BorderStyle     =   1  'Fixed Single
      Caption         =   "Ready"
      Height          =   255
      Left            =   120
      TabIndex        =   5
      Top             =   4920
      Width           =   7695
   End
   Begin VB.Label lblHeading 
      BeginProperty Font 
         Name            =   "Courier New"
         Size            =   9
         Charset         =   0
         Weight          =   700
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
      Height          =   255
      Left            =   120
      TabIndex        =   4
      Top             =   180
      Width           =   6255
   End
   Begin VB.Menu mnuFile 
      Caption         =   "&File"
      Begin VB.Menu mnuFileOpen 
         Caption         =   "&Open..."
         Shortcut        =   ^O
      End
      Begin VB.Menu mnuFileSave 
         Caption         =   "&Save"
         Shortcut        =   ^S
      End
      Begin VB.Menu mnuFileSaveAs 
         Caption         =   "Save &As..."
      End
      Begin VB.Menu mnuFileExport 
         Caption         =   "&Export CSV..."
      End
      Begin VB.Menu mnuFileSep1 
         Caption         =   "-"
      End
      Begin VB.Menu mnuFileExit 
         Caption         =   "E&xit"
      End
   End
   Begin VB.Menu mnuReports 
      Caption         =   "&Reports"
      Begin VB.Menu mnuReportLow 
         Caption         =   "&Low Stock..."
      End
      Begin VB.Menu mnuReportValue 
         Caption         =   "Stock &Value..."
      End
   End
End
Attribute VB_Name = "frmMain"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private Const LIST_HEADER = "Code        Description                   Quantity       Price"
Private Const CODE_WIDTH As Integer = 12

Private WithEvents mWatched As clsStockItem
Attribute mWatched.VB_VarHelpID = -1

Private Sub Form_Load()
    InitGlobals
    Me.Caption = APP_TITLE
    lblHeading.Caption = LIST_HEADER
    #If DEBUGLOG Then
    lblStatus.Caption = "Ready (trace on)"
    #Else
    lblStatus.Caption = "Ready"
    #End If
    If Len(Command$) > 0 Then OpenDataFile Trim$(Command$)
    EnableCommands
End Sub

Private Sub Form_QueryUnload(Cancel As Integer, UnloadMode As Integer)
    If gDirty Then
        Select Case MsgBox("Save the changes to the inventory?", vbYesNoCancel + vbQuestion, APP_TITLE)
            Case vbYes
                If Not SaveDataFile(False) Then Cancel = True
            Case vbCancel
                Cancel = True
            Case Else
                ' the changes are dropped
        End Select
    End If
End Sub

Private Sub RefreshList()
Dim itm As clsStockItem
Dim nKeep As Integer
    nKeep = lstItems.ListIndex
    lstItems.Clear
    For Each itm In gItems
        lstItems.AddItem itm.Describe
    Next itm
    If nKeep >= lstItems.ListCount Then nKeep = lstItems.ListCount - 1
    lstItems.ListIndex = nKeep
    ShowStatus
End Sub

Private Sub ShowStatus()
    Dim nLow As Long
    nLow = CountBelowReorder()
    lblStatus.Caption = gItems.Count & " items, " & nLow & " to reorder, stock value " & _
                        FormatMoney(StockValue())
    If gDirty Then lblStatus.Caption = lblStatus.Caption & " (changed)"
End Sub

Private Sub EnableCommands()
    cmdEdit.Enabled = (lstItems.ListIndex >= 0)
    cmdDelete.Enabled = cmdEdit.Enabled
    mnuFileSave.Enabled = gDirty: mnuFileExport.Enabled = (gItems.Count > 0)
End Sub

Private Function SelectedItem() As clsStockItem
    If lstItems.ListIndex < 0 Then Exit Function
    Set SelectedItem = FindItem(Trim$(Left$(lstItems.Text, CODE_WIDTH)))
End Function

Private Sub OpenDataFile(ByVal FileName As String)
Dim n As Long
    Screen.MousePointer = vbHourglass
    n = LoadInventory(FileName)
    Screen.MousePointer = vbDefault
    If n < 0 Then Exit Sub
    RefreshList
    Me.Caption = APP_TITLE & " - " & FileName
End Sub

Private Function SaveDataFile(ByVal AskName As Boolean) As Boolean
    Dim sName As String
    On Error GoTo Cancelled
    sName = gDataFile
    If AskName Or Len(sName) = 0 Then
        dlgFile.Flags = cdlOFNOverwritePrompt Or cdlOFNPathMustExist
        dlgFile.ShowSave
        sName = dlgFile.FileName
    End If
    SaveDataFile = SaveInventory(sName)
    ShowStatus
    EnableCommands
    Exit Function
Cancelled:
    SaveDataFile = False
End Function

Private Sub cmdAdd_Click()
    Dim itm As clsStockItem
    If Not CanAddItem() Then MsgBox "The inventory is full.", vbExclamation, APP_TITLE: Exit Sub
    Set itm = New clsStockItem
    If frmItem.EditItem(itm, True) Then
        gItems.Add itm, itm.Code
        LogMovement itm.Code, itm.Quantity, "New item"
        RefreshList
    End If
    EnableCommands
End Sub

Private Sub cmdEdit_Click()
    Set mWatched = SelectedItem()
    If mWatched Is Nothing Then Exit Sub
    If frmItem.EditItem(mWatched) Then gDirty = True: RefreshList
    Set mWatched = Nothing
    EnableCommands
End Sub

Private Sub cmdDelete_Click()
Dim itm As clsStockItem
Dim sAsk As String
  Set itm = SelectedItem()
  If itm Is Nothing Then Exit Sub
    sAsk = "Delete " & itm.Code & " (" & itm.Description & ")?"
        If MsgBox(sAsk, vbYesNo + vbQuestion, APP_TITLE) = vbYes Then
    LogMovement itm.Code, -itm.Quantity, "Deleted"
    gItems.Remove itm.Code
            RefreshList
        End If
  EnableCommands
End Sub

Private Sub lstItems_Click()
    EnableCommands
End Sub

Private Sub lstItems_DblClick()
    If lstItems.ListIndex >= 0 Then cmdEdit_Click
End Sub

Private Sub mWatched_QuantityChanged(ByVal OldQty As Long, ByVal NewQty As Long)
    If NewQty < OldQty Then lblStatus.Caption = "Stock taken: " & (OldQty - NewQty)
End Sub

Private Sub mnuFileOpen_Click()
    On Error GoTo Cancelled
    dlgFile.Flags = cdlOFNFileMustExist Or cdlOFNHideReadOnly
    dlgFile.ShowOpen
    OpenDataFile dlgFile.FileName
    EnableCommands
Cancelled:
End Sub

Private Sub mnuFileSave_Click()
    SaveDataFile False
End Sub

Private Sub mnuFileSaveAs_Click()
    SaveDataFile True
End Sub

Private Sub mnuFileExport_Click()
    Dim n As Long, sName As String
    On Error GoTo Cancelled
    dlgFile.Filter = "CSV files (*.csv)|*.csv"
    dlgFile.ShowSave
    sName = dlgFile.FileName
    n = ExportCsv(sName)
    If n >= 0 Then MsgBox n & " items written to " & sName, vbInformation, APP_TITLE
Cancelled:
    dlgFile.Filter = "Inventory files (*.inv)|*.inv|All files (*.*)|*.*"
End Sub

Private Sub mnuFileExit_Click()
    Unload Me
End Sub

Private Sub mnuReportLow_Click()
Dim itm As clsStockItem
Dim sReport As String, nLines As Integer
	sReport = "Items to reorder:" & vbCrLf & vbCrLf
	For Each itm In gItems
	  If itm.NeedsReorder Then
		sReport = sReport & itm.Code & "	" & itm.Quantity & " (reorder at " & itm.ReorderLevel & ")" & vbCrLf
	      nLines = nLines + 1
	  End If
	Next
	If nLines = 0 Then sReport = "No item is below its reorder level."
	MsgBox sReport, vbInformation, APP_TITLE
End Sub

Private Sub mnuReportValue_Click()
    Dim nType As Long, curSum(1 To 3) As Currency
    Dim itm As clsStockItem, sText As String
    For Each itm In gItems
        curSum(itm.ItemType) = curSum(itm.ItemType) + itm.Quantity * itm.UnitPrice
    Next itm
    For nType = ITEM_STOCK To ITEM_KIT
        sText = sText & PadRight(ItemTypeName(nType), 10) & FormatMoney(curSum(nType)) & vbCrLf
    Next
    MsgBox sText & vbCrLf & "Total: " & FormatMoney(StockValue()), vbInformation, APP_TITLE
End Sub
