VERSION 2.00
Begin Form frmStock 
   Caption         =   "Stock Count"
   ClientHeight    =   3960
   ClientLeft      =   1140
   ClientTop       =   1710
   ClientWidth     =   6255
   FontBold        =   -1  'True
   FontItalic      =   0   'False
   FontName        =   "MS Sans Serif"
   FontSize        =   8.25
   FontStrikethru  =   0   'False
   FontUnderline   =   0   'False
   Height          =   4365
   Left            =   1080
   LinkTopic       =   "Form1"
   ScaleHeight     =   3960
   ScaleWidth      =   6255
   Top             =   1365
   Width           =   6375
   Begin Grid grdStock 
      Cols            =   3
      FixedCols       =   0
      Height          =   2895
      Left            =   120
      Rows            =   2
      TabIndex        =   0
      Top             =   120
      Width           =   6015
   End
   Begin CommandButton cmdClose 
      Caption         =   "&Close"
      Height          =   375
      Left            =   4920
      TabIndex        =   2
      Top             =   3360
      Width           =   1215
   End
   Begin CommandButton cmdLoad 
      Caption         =   "&Load"
      Height          =   375
      Left            =   3600
      TabIndex        =   1
      Top             =   3360
      Width           =   1215
   End
   Begin Label lblTotal 
      Caption         =   "No file loaded"
      Height          =   255
      Left            =   120
      TabIndex        =   3
      Top             =   3420
      Width           =   3255
   End
End
Option Explicit

Sub cmdClose_Click ()
    Unload frmStock
End Sub

Sub cmdLoad_Click ()
Dim n As Integer
    n = LoadStockFile(DataFileName())
    If n < 0 Then
        MsgBox "Unable to read " + DataFileName(), MB_ICONEXCLAMATION, TITLE
        Exit Sub
    End If
    FillGrid
    lblTotal.Caption = Str$(n) + " lines, " + Str$(TotalCounted()) + " units counted"
End Sub

Sub FillGrid ()
Dim i As Integer
    grdStock.Rows = gLineCount + 1
    grdStock.Row = 0
    grdStock.Col = 0: grdStock.Text = "Code"
    grdStock.Col = 1: grdStock.Text = "Description"
    grdStock.Col = 2: grdStock.Text = "Counted"
    For i = 1 To gLineCount
    grdStock.Row = i
    grdStock.Col = 0: grdStock.Text = Trim$(gLines(i).Code)
    grdStock.Col = 1: grdStock.Text = Trim$(gLines(i).Description)
    grdStock.Col = 2: grdStock.Text = Format$(gLines(i).Counted)
    Next i
End Sub

Sub Form_Load ()
    grdStock.ColWidth(0) = 1200
    grdStock.ColWidth(1) = 3600
    grdStock.ColWidth(2) = 900
    If Len(Command$) > 0 Then gFileName = Command$
End Sub
