// The form structure tree, compared as text dumps.
#include <gtest/gtest.h>

#include "formatter/LineHelpers.h"
#include "formtree/TFormTree.h"
#include "platform/TextFile.h"

namespace kemptor {
namespace {

std::string DumpOf(std::string_view text, std::vector<std::string>* echoed = nullptr) {
    FormTreeEcho echo;
    if (echoed)
        echo = [echoed](const std::string& line) { echoed->push_back(line); };
    return TFormTree::Build("Inventory", "frmTest.frm", SplitTextLines(text), echo).Dump();
}

TEST(FormTree, ControlsKeepTheirFileOrder) {
    const std::string dump = DumpOf("VERSION 5.00\r\n"
                                    "Begin VB.Form frmTest \r\n"
                                    "   Caption         =   \"Test\"\r\n"
                                    "   Begin VB.CommandButton cmdOK \r\n"
                                    "      Caption         =   \"OK\"\r\n"
                                    "   End\r\n"
                                    "   Begin VB.CommandButton cmdCancel \r\n"
                                    "      Caption         =   \"Cancel\"\r\n"
                                    "   End\r\n"
                                    "   Begin VB.TextBox txtName \r\n"
                                    "      Text            =   \"\"\r\n"
                                    "   End\r\n"
                                    "End\r\n"
                                    "Attribute VB_Name = \"frmTest\"\r\n"
                                    "Option Explicit\r\n");
    EXPECT_EQ(dump, "File: frmTest.frm\n"
                    "  VB.Form: frmTest\n"
                    "    Properties\n"
                    "      Caption = \"Test\"\n"
                    "    VB.CommandButton: cmdOK\n"
                    "      Properties\n"
                    "        Caption = \"OK\"\n"
                    "    VB.CommandButton: cmdCancel\n"
                    "      Properties\n"
                    "        Caption = \"Cancel\"\n"
                    "    VB.TextBox: txtName\n"
                    "      Properties\n"
                    "        Text = \"\"\n");
}

TEST(FormTree, NestingPropertyGroupsAndValues) {
    // A control inside a frame sits one level deeper; a property group is an object of kind Property;
    // values keep their quotes and comments, both sides are trimmed around the first "="; an object
    // without property lines has no Properties node; the closing "End" as last line loses nothing.
    const std::string dump = DumpOf("VERSION 5.00\n"
                                    "Begin VB.Form frmTest\n"
                                    "   Caption         =   \"A = B\"  \n"
                                    "   BorderStyle     =   3  'Fixed Dialog\n"
                                    "   Begin VB.Frame fraBox\n"
                                    "      BeginProperty Font \n"
                                    "         Name            =   \"MS Sans Serif\"\n"
                                    "      EndProperty\n"
                                    "      Begin VB.Label lblInside\n"
                                    "      End\n"
                                    "   End\n"
                                    "   Begin VB.Timer tmrTick\n"
                                    "      Interval        =   500\n"
                                    "   End\n"
                                    "End");
    EXPECT_EQ(dump, "File: frmTest.frm\n"
                    "  VB.Form: frmTest\n"
                    "    Properties\n"
                    "      Caption = \"A = B\"\n"
                    "      BorderStyle = 3  'Fixed Dialog\n"
                    "    VB.Frame: fraBox\n"
                    "      Property: Font\n"
                    "        Properties\n"
                    "          Name = \"MS Sans Serif\"\n"
                    "      VB.Label: lblInside\n"
                    "    VB.Timer: tmrTick\n"
                    "      Properties\n"
                    "        Interval = 500\n");
}

TEST(FormTree, OlderFormVersions) {
    // VERSION 2.00 forms name their kinds without a library; VERSION 4.00 property groups write their
    // members in lower case.
    EXPECT_EQ(DumpOf("VERSION 2.00\n"
                     "Begin Form frmOld\n"
                     "   FontName        =   \"MS Sans Serif\"\n"
                     "   Begin CommandButton cmdGo\n"
                     "      Caption         =   \"&Go\"\n"
                     "   End\n"
                     "End\n"
                     "Sub cmdGo_Click ()\n"
                     "End Sub\n"),
              "File: frmTest.frm\n"
              "  Form: frmOld\n"
              "    Properties\n"
              "      FontName = \"MS Sans Serif\"\n"
              "    CommandButton: cmdGo\n"
              "      Properties\n"
              "        Caption = \"&Go\"\n");
    EXPECT_EQ(DumpOf("VERSION 4.00\n"
                     "Begin VB.Form frmFour\n"
                     "   BeginProperty Font\n"
                     "      name            =   \"Arial\"\n"
                     "      size            =   9.75\n"
                     "   EndProperty\n"
                     "End\n"
                     "Attribute VB_Name = \"frmFour\"\n"),
              "File: frmTest.frm\n"
              "  VB.Form: frmFour\n"
              "    Property: Font\n"
              "      Properties\n"
              "        name = \"Arial\"\n"
              "        size = 9.75\n");
}

TEST(FormTree, LinesThatOnlyLookLikeBlocks) {
    // A property named like a block keyword stays a property of its object; the code after the form's
    // block is never read as objects, even where a line begins with "Begin"; a lower-case "begin" line
    // is a block and, not being written as the designer writes it, also a property row.
    EXPECT_EQ(DumpOf("Begin VB.Form frmTest\n"
                     "   Begin Vendor.Calendar calDue\n"
                     "      EndDate         =   36500\n"
                     "      BeginTime       =   0\n"
                     "      Height          =   300\n"
                     "   End\n"
                     "End\n"
                     "Sub Save()\n"
                     "    BeginTrans\n"
                     "    CommitTrans\n"
                     "End Sub\n"),
              "File: frmTest.frm\n"
              "  VB.Form: frmTest\n"
              "    Vendor.Calendar: calDue\n"
              "      Properties\n"
              "        EndDate = 36500\n"
              "        BeginTime = 0\n"
              "        Height = 300\n");
    EXPECT_EQ(DumpOf("Begin VB.Form frmTest\n"
                     "   begin VB.Label lblLower\n"
                     "      Caption = \"x\"\n"
                     "   end\n"
                     "End\n"),
              "File: frmTest.frm\n"
              "  VB.Form: frmTest\n"
              "    Properties\n"
              "       = begin VB.Label lblLower\n"
              "    VB.Label: lblLower\n"
              "      Properties\n"
              "        Caption = \"x\"\n"
              "         = end\n");
}

TEST(FormTree, TruncatedAndEmptyFiles) {
    // Unbalanced blocks end at the last-but-one line; stray "End" lines close their level early.
    EXPECT_EQ(DumpOf(""), "File: frmTest.frm\n");
    EXPECT_EQ(DumpOf("Begin VB.Form frmTest\n"), "File: frmTest.frm\n");
    EXPECT_EQ(DumpOf("Begin VB.Form frmTest\n"
                     "   Begin VB.Label lblA\n"
                     "      Caption = \"a\"\n"
                     "      Height = 1\n"),
              "File: frmTest.frm\n"
              "  VB.Form: frmTest\n"
              "    VB.Label: lblA\n"
              "      Properties\n"
              "        Caption = \"a\"\n");
    EXPECT_EQ(DumpOf("Begin VB.Form frmTest\n"
                     "   Begin\n"
                     "   End\n"
                     "   NoEquals\n"
                     "End\n"),
              "File: frmTest.frm\n"
              "  VB.Form: frmTest\n"
              "    Properties\n"
              "       = NoEquals\n"
              "    : \n");
}

TEST(FormTree, RootFileNodeAndDiagnosticLines) {
    std::vector<std::string> echoed;
    const TFormTree tree = TFormTree::Build("Inventory", "frmTest.frm",
                                            SplitTextLines("Begin VB.Form frmTest\n"
                                                           "   Caption = \"T\"\n"
                                                           "   Begin VB.Label lblA\n"
                                                           "   End\n"
                                                           "End\n"),
                                            [&](const std::string& line) { echoed.push_back(line); });
    ASSERT_EQ(tree.Nodes().size(), 4u);
    EXPECT_EQ(tree.Node(TFormTree::kRoot).Text(), "Form: Inventory");
    EXPECT_EQ(tree.Node(TFormTree::kFile).Text(), "File: frmTest.frm");
    EXPECT_EQ(tree.Node(3).parent, 2);
    EXPECT_EQ(tree.Node(3).depth, 3);
    EXPECT_EQ(echoed, (std::vector<std::string>{"VB.Form: frmTest", "Level: 1 --> Caption = \"T\"",
                                                "VB.Label: lblA"}));
}

TEST(FormTree, DeepNestingDoesNotExhaustTheStack) {
    std::string text = "Begin VB.Form frmDeep\n";
    constexpr int kDepth = 200000;
    for (int i = 0; i < kDepth; ++i)
        text += "Begin VB.Frame f\n";
    for (int i = 0; i <= kDepth; ++i)
        text += "End\n";
    const TFormTree tree = TFormTree::Build("P", "frmDeep.frm", SplitTextLines(text));
    EXPECT_TRUE(tree.DepthLimited());
    EXPECT_EQ(tree.Nodes().size(), static_cast<size_t>(TFormTree::kMaxDepth) + 2);
    EXPECT_EQ(tree.Nodes().back().depth, TFormTree::kMaxDepth + 1);
}

TEST(FormTree, SampleFormsParseCompletely) {
    // Every object block of the sample forms appears once, in file order.
    for (const char* path : {KEMPTOR_EXAMPLES "/vbp/frmItem.frm", KEMPTOR_EXAMPLES "/vbp/frmMain.frm",
                             KEMPTOR_EXAMPLES "/mak/Main.frm"}) {
        const auto lines = ReadTextLines(path);
        ASSERT_TRUE(lines) << path;
        std::vector<std::string> begun;
        for (const std::string& line : *lines) {
            const std::string_view t = Trim(line);
            if (t.starts_with("Begin"))
                begun.push_back(std::string(t.substr(5)));
        }
        const TFormTree tree = TFormTree::Build("P", "F", *lines);
        ASSERT_EQ(tree.Nodes().size(), begun.size() + 2) << path;
        for (size_t i = 0; i < begun.size(); ++i) {
            const TFormNode& node = tree.Node(static_cast<int>(i) + 2);
            EXPECT_NE(begun[i].find(node.name), std::string::npos) << path << ": " << node.Text();
        }
    }
}

} // namespace
} // namespace kemptor

namespace kemptor {
namespace {

// Deep nesting stops at the depth limit instead of growing text with the square of the depth.
TEST(FormTree, NestingDeeperThanTheLimitIsCutAndTold) {
    TextLines lines = {"VERSION 5.00"};
    for (int i = 0; i < 40000; ++i)
        lines.push_back("Begin VB.Frame f" + std::to_string(i));
    for (int i = 0; i < 40000; ++i)
        lines.push_back("End");
    lines.push_back("Attribute VB_Name = \"f\"");
    const TFormTree deep = TFormTree::Build("P", "deep.frm", lines);
    EXPECT_TRUE(deep.DepthLimited());
    EXPECT_EQ(deep.Nodes().size(), 2u + TFormTree::kMaxDepth);

    lines.erase(lines.begin() + 1 + TFormTree::kMaxDepth, lines.begin() + 40001);
    lines.erase(lines.begin() + 1 + 2 * TFormTree::kMaxDepth, lines.end() - 1);
    const TFormTree deepest = TFormTree::Build("P", "deep.frm", lines);
    EXPECT_FALSE(deepest.DepthLimited());
    EXPECT_EQ(deepest.Nodes().size(), 2u + TFormTree::kMaxDepth);
}

} // namespace
} // namespace kemptor
