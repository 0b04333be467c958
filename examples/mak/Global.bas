'----------------------------------------------------
' GLOBAL.BAS - global declarations of the stock count
'----------------------------------------------------
Option Explicit

Global Const MB_OK = 0, MB_ICONEXCLAMATION = 48
Global Const TITLE = "Stock Count"
Global Const MAX_ROWS = 200

Type StockLine
    Code As String * 10
    Description As String * 30
    Counted As Integer
End Type

Global gLines(1 To MAX_ROWS) As StockLine
Global gLineCount As Integer, gFileName As String
Global gChanged As Integer

Declare Function GetPrivateProfileString Lib "Kernel" (ByVal lpApp As String, ByVal lpKey As Any, ByVal lpDefault As String, ByVal lpReturn As String, ByVal nSize As Integer, ByVal lpFile As String) As Integer
