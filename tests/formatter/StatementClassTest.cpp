#include "formatter/StatementClass.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kemptor {
namespace {

using C = TStatementClass;

void ExpectClasses(const std::vector<std::pair<std::string, C>>& cases) {
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(StatementClassName(expected), StatementClassName(ClassifyLine(line))) << "line: " << line;
}

TEST(ClassifyLine, HeadingsAndTheirEnds) {
    ExpectClasses({
        {"Sub Main()", C::scSub},
        {"Private Sub Form_Load()", C::scPrivateSub},
        {"Static Sub Tick()", C::scStaticSub},
        {"Public Sub Go()", C::scPublicSub},
        {"End Sub", C::scEndSub},
        {"Function F() As Long", C::scFunction},
        {"Private Function F()", C::scPrivateFunction},
        {"Static Function F()", C::scStaticFunction},
        {"Public Function F()", C::scPublicFunction},
        {"End Function", C::scEndFunction},
        {"Property Get X() As Long", C::scFunction},
        {"Private Property Let X(v)", C::scPrivateFunction},
        {"Static Property Get X()", C::scStaticFunction},
        {"Public Property Set X(v)", C::scPublicFunction},
        {"End Property", C::scEndFunction},
        {"   End Sub   ", C::scEndSub},
        {"Friend Sub X()", C::scPublicSub},
        {"Private Static Sub Quit()", C::scPrivateSub},
        {"Public Static Function F() As Long", C::scPublicFunction},
        {"Friend Static Property Get P() As Long", C::scPublicFunction},
        {"Private Static Property Let P(v)", C::scPrivateFunction},
        {"Friend Function F()", C::scPublicFunction},
        {"Private Declare Function F Lib \"k\" () As Long", C::scOther},
        {"Sub", C::scOther},
    });
}

TEST(ClassifyLine, BlockKeywordsAreWholeWordsInAnyLetterCase) {
    ExpectClasses({
        {"End If", C::scEndIf},
        {"End Ifx", C::scOther},
        {"end if", C::scEndIf},
        {"SELECT CASE n", C::scSelectCase},
        {"private static sub Quit()", C::scPrivateSub},
        {"End\x01If", C::scOther},
        {"100 If a Then", C::scIf},
        {"  120 End If", C::scEndIf},
        {"10: x = 1", C::scOther},
        {"100", C::scOther},
        {"  Else", C::scElse},
        {"Else ' otherwise", C::scElse},
        {"ElseIf x Then", C::scElseIf},
        {"If x Then", C::scIf},
        {"If x Then y = 1", C::scIf},
        {"Select Case n", C::scSelectCase},
        {"Case 1", C::scCase},
        {"Case Else", C::scCase},
        {"End Select", C::scEndSelect},
        {"Do", C::scDo},
        {"Do While x", C::scDo},
        {"Loop", C::scLoop},
        {"Loop Until x", C::scLoop},
        {"While x", C::scWhile},
        {"Wend", C::scWend},
        {"For i = 1 To 10", C::scFor},
        {"For Each c In col", C::scFor},
        {"Next", C::scNext},
        {"Next i", C::scNext},
        {"With Me", C::scWith},
        {"End With", C::scEndWith},
        {"Done = True", C::scOther},
        {"Nexted = 1", C::scOther},
    });
}

TEST(ClassifyLine, AKeywordJoinedToTheNextStatementByAColonKeepsItsClass) {
    ExpectClasses({
        {"Do: n = n + 1", C::scDo},
        {"Else: x = 1", C::scElse},
        {"Loop: x = 1", C::scLoop},
        {"Next: x = 1", C::scNext},
        {"Wend:", C::scWend},
        {"End If: y = 2", C::scEndIf},
        {"End With: y = 2", C::scEndWith},
        {"With obj: .A = 1: End With", C::scWith},
        {"Doit: x = 1", C::scOther},
        {"Elsewhere: x = 1", C::scOther},
    });
}

TEST(ClassifyLine, TypeBlocksAndConditionalCompilation) {
    ExpectClasses({
        {"Type Point", C::scType},
        {"Public Type Point", C::scType},
        {"Private Type Point", C::scType},
        {"Type As Integer", C::scOther},
        {"    TYPE as String", C::scOther},
        {"End Type", C::scEndType},
        {"#If Win32 Then", C::scIf},
        {"#Else", C::scElse},
        {"#ElseIf Win16 Then", C::scElseIf},
        {"#End If", C::scEndIf},
    });
}

TEST(ClassifyLine, RawBytesClassifyAsOther) {
    EXPECT_EQ(C::scOther, ClassifyLine(std::string("\0\xFF\r", 3)));
    EXPECT_EQ(C::scOther, ClassifyLine(""));
    EXPECT_EQ(C::scEndIf, ClassifyLine(std::string("\0End If", 7)));
}

} // namespace
} // namespace kemptor
