VERSION 5.00
Begin VB.UserControl ctlQtyBox 
   ClientHeight    =   345
   ClientLeft      =   0
   ClientTop       =   0
   ClientWidth     =   1575
   ScaleHeight     =   345
   ScaleWidth      =   1575
   ToolboxBitmap   =   "ctlQtyBox.ctx":0000
   Begin VB.VScrollBar vsbSpin 
      Height          =   315
      Left            =   1320
      Max             =   0
      Min             =   9999
      TabIndex        =   1
      TabStop         =   0   'False
      Top             =   15
      Width           =   240
   End
   Begin VB.TextBox txtQty 
      Alignment       =   1  'Right Justify
      BeginProperty Font 
         Name            =   "MS Sans Serif"
         Size            =   9.75
         Charset         =   0
         Weight          =   700
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
      Height          =   315
      Left            =   0
      MaxLength       =   4
      TabIndex        =   0
      Text            =   "0"
      Top             =   15
      Width           =   1305
   End
End
Attribute VB_Name = "ctlQtyBox"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = True
Attribute VB_PredeclaredId = False
Attribute VB_Exposed = False
Option Explicit

'--------------------------------------------------------------
' ctlQtyBox: a text box for a whole quantity from 0 to 9999
' with a small spin bar beside it. Only digits can be typed;
' the Change event is raised once for every new value, never
' while the control itself is updating its parts.
'--------------------------------------------------------------

Public Event Change()

Private Const MIN_QTY As Long = 0, MAX_QTY As Long = 9999
Private mValue As Long
Private mBusy As Boolean            'true while the parts are being synchronised

Public Property Get Value() As Long
Attribute Value.VB_UserMemId = 0
    Value = mValue
End Property

Public Property Let Value(ByVal NewValue As Long)
    If NewValue < MIN_QTY Then NewValue = MIN_QTY
    If NewValue > MAX_QTY Then NewValue = MAX_QTY
    If NewValue = mValue Then Exit Property
    mValue = NewValue
    mBusy = True
    txtQty.Text = CStr(mValue)
    vsbSpin.Value = mValue
    mBusy = False
    PropertyChanged "Value"
    RaiseEvent Change
End Property

Public Property Get Enabled() As Boolean
    Enabled = UserControl.Enabled
End Property

Public Property Let Enabled(ByVal NewValue As Boolean)
    UserControl.Enabled = NewValue
    txtQty.Enabled = NewValue: vsbSpin.Enabled = NewValue
    PropertyChanged "Enabled"
End Property

Private Sub txtQty_KeyPress(KeyAscii As Integer)
    Select Case KeyAscii
    Case vbKey0 To vbKey9, vbKeyBack
        ' digits and the backspace pass
    Case vbKeyReturn: KeyAscii = 0
    Case Else
        KeyAscii = 0
        Beep
    End Select
End Sub

Private Sub txtQty_Change()
    If mBusy Then Exit Sub
    Value = Val(txtQty.Text)
End Sub

Private Sub txtQty_GotFocus()
    txtQty.SelStart = 0
    txtQty.SelLength = Len(txtQty.Text)
End Sub

Private Sub vsbSpin_Change()
    If Not mBusy Then Value = vsbSpin.Value
End Sub

Private Sub UserControl_InitProperties()
    mValue = 0
End Sub

Private Sub UserControl_ReadProperties(PropBag As PropertyBag)
    Value = PropBag.ReadProperty("Value", 0)
    Enabled = PropBag.ReadProperty("Enabled", True)
End Sub

Private Sub UserControl_WriteProperties(PropBag As PropertyBag)
    PropBag.WriteProperty "Value", mValue, 0
    PropBag.WriteProperty "Enabled", UserControl.Enabled, True
End Sub

Private Sub UserControl_Resize()
Dim w As Single
    On Error Resume Next
    w = UserControl.ScaleWidth - vsbSpin.Width
    If w < 0 Then w = 0
    txtQty.Move 0, 0, w, UserControl.ScaleHeight
    vsbSpin.Move w, 0, vsbSpin.Width, UserControl.ScaleHeight
End Sub
