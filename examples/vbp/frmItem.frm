VERSION 5.00
Begin VB.Form frmItem 
   BorderStyle     =   3  'Fixed Dialog
   Caption         =   "Stock Item"
   ClientHeight    =   4095
   ClientLeft      =   45
   ClientTop       =   330
   ClientWidth     =   5550
   ControlBox      =   0   'False
   LinkTopic       =   "Form1"
   MaxButton       =   0   'False
   MinButton       =   0   'False
   ScaleHeight     =   4095
   ScaleWidth      =   5550
   ShowInTaskbar   =   0   'False
   StartUpPosition =   1  'CenterOwner
   Begin VB.CommandButton cmdCancel 
      Cancel          =   -1  'True
      Caption         =   "Cancel"
      Height          =   375
      Left            =   4200
      TabIndex        =   13
      Top             =   3600
      Width           =   1215
   End
   Begin VB.CommandButton cmdOK 
      Caption         =   "OK"
      Default         =   -1  'True
      Height          =   375
      Left            =   2880
      TabIndex        =   12
      Top             =   3600
      Width           =   1215
   End
   Begin VB.Frame fraStock 
      Caption         =   "Stock"
      BeginProperty Font 
         Name            =   "MS Sans Serif"
         Size            =   8.25
         Charset         =   0
         Weight          =   700
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
      Height          =   1335
      Left            =   120
      TabIndex        =   6
      Top             =   2040
      Width           =   5295
      Begin Inventory.ctlQtyBox qtyOnHand 
         Height          =   345
         Left            =   1560
         TabIndex        =   8
         Top             =   300
         Width           =   1575
         _ExtentX        =   2778
         _ExtentY        =   609
         Value           =   0
      End
      Begin VB.TextBox txtReorder 
         Height          =   315
         Left            =   1560
         TabIndex        =   10
         Text            =   "5"
         Top             =   720
         Width           =   975
      End
      Begin VB.TextBox txtPrice 
         Alignment       =   1  'Right Justify
         Height          =   315
         Left            =   3840
         TabIndex        =   11
         Text            =   "0.00"
         Top             =   720
         Width           =   1215
      End
      Begin VB.Label lblOnHand 
         Caption         =   "On hand:"
         Height          =   255
         Left            =   240
         TabIndex        =   7
         Top             =   360
         Width           =   1215
      End
      Begin VB.Label lblReorder 
         Caption         =   "Reorder at:"
         Height          =   255
         Left            =   240
         TabIndex        =   9
         Top             =   780
         Width           =   1215
      End
      Begin VB.Label lblPrice 
         Alignment       =   1  'Right Justify
         Caption         =   "Unit price:"
         Height          =   255
         Left            =   2640
         TabIndex        =   14
         Top             =   780
         Width           =   1095
      End
   End
   Begin VB.ComboBox cboType 
      Height          =   315
      Left            =   1680
      Style           =   2  'Dropdown List
      TabIndex        =   5
      Top             =   1320
      Width           =   2055
   End
   Begin VB.TextBox txtDescription 
      Height          =   315
      Left            =   1680
      MaxLength       =   30
      TabIndex        =   3
      Top             =   840
      Width           =   3735
   End
   Begin VB.TextBox txtCode 
      BeginProperty Font 
         Name            =   "Courier New"
         Size            =   9.75
         Charset         =   0
         Weight          =   400
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
      Height          =   330
      Left            =   1680
      MaxLength       =   12
      TabIndex        =   1
      Top             =   360
      Width           =   1815
   End
   Begin VB.Label lblType 
      Caption         =   "&Type:"
      Height          =   255
      Left            =   240
      TabIndex        =   4
      Top             =   1380
      Width           =   1335
   End
   Begin VB.Label lblDescription 
      Caption         =   "&Description:"
      Height          =   255
      Left            =   240
      TabIndex        =   2
      Top             =   900
      Width           =   1335
   End
   Begin VB.Label lblCode 
      Caption         =   "&Code:"
      Height          =   255
      Left            =   240
      TabIndex        =   0
      Top             =   420
      Width           =   1335
   End
End
Attribute VB_Name = "frmItem"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private mItem As clsStockItem
Private mIsNew As Boolean, mConfirmed As Boolean

Public Function EditItem(Item As clsStockItem, Optional ByVal IsNew As Boolean = False) As Boolean
    Set mItem = Item
    mIsNew = IsNew
    mConfirmed = False
    ShowItem
    Me.Show vbModal
    EditItem = mConfirmed
    Unload Me
End Function

Private Sub Form_Load()
    cboType.Clear
    cboType.AddItem ItemTypeName(ITEM_STOCK)
    cboType.AddItem ItemTypeName(ITEM_SERVICE)
    cboType.AddItem ItemTypeName(ITEM_KIT)
    cboType.ListIndex = 0
End Sub

Private Sub ShowItem()
    With mItem
        txtCode.Text = .Code
        txtCode.Locked = Not mIsNew
        txtDescription.Text = .Description
        cboType.ListIndex = .ItemType - 1
        qtyOnHand.Value = .Quantity
        txtReorder.Text = CStr(.ReorderLevel)
        txtPrice.Text = Format$(.UnitPrice, "0.00")
    End With
    If mIsNew Then Caption = "New Stock Item" Else Caption = "Stock Item " & mItem.Code
    fraStock.Enabled = (mItem.ItemType <> ITEM_SERVICE)
End Sub

Private Function ValidateInput() As Boolean
Dim sCode As String
    ValidateInput = False
    sCode = UCase$(Trim$(txtCode.Text))
    If mIsNew Then
        If Not IsValidCode(sCode) Then
            MsgBox LastError(), vbExclamation, APP_TITLE
            txtCode.SetFocus
            Exit Function
        ElseIf Not FindItem(sCode) Is Nothing Then
            MsgBox "The code " & sCode & " is already in use.", vbExclamation, APP_TITLE
            txtCode.SetFocus: Exit Function
        End If
    End If
    If Len(Trim$(txtDescription.Text)) = 0 Then
        MsgBox "Please enter a description.", vbExclamation, APP_TITLE
        txtDescription.SetFocus
        Exit Function
    End If
    If Not IsNumeric(txtReorder.Text) Or Not IsNumeric(txtPrice.Text) Then
    MsgBox "The reorder level and the price must be numbers.", vbExclamation, APP_TITLE
    Exit Function
    End If
    ValidateInput = True
End Function

Private Sub cboType_Click()
    fraStock.Enabled = (cboType.ListIndex + 1 <> ITEM_SERVICE)
End Sub

Private Sub cmdOK_Click()
    On Error GoTo BadValue
    If Not ValidateInput() Then Exit Sub
    With mItem
        If mIsNew Then .Code = txtCode.Text
        .Description = Trim$(txtDescription.Text)
        .ItemType = cboType.ListIndex + 1
        If .Quantity <> qtyOnHand.Value Then LogMovement .Code, qtyOnHand.Value - .Quantity, "Manual correction"
        .Quantity = qtyOnHand.Value
        .ReorderLevel = CLng(txtReorder.Text)
        .UnitPrice = CCur(txtPrice.Text)
    End With
    mConfirmed = True: Me.Hide
    Exit Sub

BadValue:
    MsgBox "Please check the values: " & Err.Description, vbExclamation, APP_TITLE
End Sub

Private Sub cmdCancel_Click()
    mConfirmed = False
    Me.Hide
End Sub
