#pragma once
// TVBSrcFormatter: the formatting engine. It rewrites one Visual Basic source file at a time, line by
// line, into OutputLines, marking each emitted line changed or unchanged.
//
// A processing run creates one engine and formats its files one after another with FormatFile; the
// command line and the tests do the same for single files. The engine is pure: it touches no file,
// reads the settings it is given, reports progress and polls for cancel through a ProgressObserver and
// asks the user through a Prompter.
//
// The steps of a pass are member functions so that each transformation lives in its own source file:
//   TVBSrcFormatter.cpp       the passes, the per-file driver, indentation
//   FormatterSplit.cpp        splitting of single-line If, ":"-joined statements, Dim and Const lists
//   FormatterComments.cpp     comment placement, comment borders, blank lines, spell checking
//   FormatterDeclarations.cpp alignment of declaration groups, For/Next variables
//   FormatterHeaders.cpp      header comments before or after procedure headings

#include "formatter/HeaderTemplates.h"
#include "formatter/LineSplits.h"
#include "formatter/StatementClass.h"
#include "formatter/PassState.h"
#include "formatter/PassTrace.h"
#include "formatter/TLineList.h"
#include "project/TSourceMgt.h"

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kemptor {

struct Settings;
class ProgressObserver;
class Prompter;
class SpellTextChecker;

// The choice of the blank-line setting (GrpBlankLines) that applies the rules per statement class.
inline constexpr int kBlankLinesByRules = 1;
// Choices of the comment settings that the engine tests by name.
inline constexpr int kInLineCommentsFixedColumn = 1; // GrpInLineComments: at a fixed column
inline constexpr int kInLineCommentsIndented = 2;    // GrpInLineComments: behind the code by an indent
inline constexpr int kCommentOnPreviousLine = 1;     // GrpInLineCommentsFixedColUnavail
inline constexpr int kCommentOnNextLine = 2;         // GrpInLineCommentsFixedColUnavail
inline constexpr int kRemoveWholeLineComments = 4;   // GrpSingleLineComments
// The blanks that a rewritten Next line ends with, before its comment.
inline constexpr std::string_view kNextLineTail = "    ";
// The deepest indentation the engine gives a line, in columns; deeper blocks stay at this column.
inline constexpr int kMaxIndentColumns = 255;

// What became of one file handed to FormatFile.
struct TFormatFileResult {
    bool Cancelled = false; // the user cancelled; OutputLines holds the lines produced so far
    int Passes = 0;         // passes run: up to the first that changed nothing
    bool Unsettled = false; // the last pass still changed the text (a warning has been shown)
    std::size_t LinesTakenOver = 0; // lines the confirming pass took over from the first unread
};

// A whole-line comment that keeps code out of the house style: "' kemptor: off" up to
// "' kemptor: on", or "' kemptor: off-next-line" (letter case and blanks around the colon free).
enum class IgnoreDirective { None, Off, On, OffNextLine };
IgnoreDirective IgnoreDirectiveOf(std::string_view line);
// A pass reads `text`, as a line of its input, as it stands: it holds no tab to expand, no ignore
// directive, and goes on in no line.
bool ReadsAsItStands(std::string_view text);

// The state a pass carries from line to line (TPassState) is the engine's own, read and set by name.
class TVBSrcFormatter : public TPassState {
public:
    // The engine reads `settings` each time it needs a value and asks the user through `prompter`;
    // both must outlive it.
    TVBSrcFormatter(const Settings& settings, Prompter& prompter);
    TVBSrcFormatter(const TVBSrcFormatter&) = delete;
    TVBSrcFormatter& operator=(const TVBSrcFormatter&) = delete;

    // Formats one file: drops the previous output, runs the first pass on `fileLines` and each further
    // pass on the previous one's output until a pass changes nothing (at most kMaxPasses; a file that
    // has not settled by then is reported through the prompter). The result is a fixed point:
    // formatting it again with the same settings gives it back unchanged. A later pass stores nothing
    // while it gives back its input (which is then the result), and once it differs gives back the
    // memory of the input's lines as it reads them. The result is OutputLines.
    // Cancel is tested before each line; after a cancel no further pass runs. Every pass starts at
    // indentation level 0, so the result never depends on the files formatted before. A UTF-8 byte
    // order mark that starts the file is no text of its first line and stays at byte 0.
    TFormatFileResult FormatFile(const TLineList& fileLines, std::string_view fileName, TSourceKind kind,
                                 ProgressObserver& progress);
    TFormatFileResult FormatFile(const std::vector<std::string>& fileLines, std::string_view fileName,
                                 TSourceKind kind, ProgressObserver& progress);

    // Passes run for one file before it is given up on as unsettled.
    static constexpr int kMaxPasses = 8;
    // How often the pieces of a split line may be split again (a nested single-line If).
    static constexpr int kMaxSplitDepth = 16;

    // One pass over `inputLines` (pass 0 first), appending to OutputLines; sets RepassNeeded when the
    // pass produced new lines (splits, moved comments, Option Explicit, an aligned group). Every pass
    // applies every rule; only the first checks spelling. False when the user cancelled.
    bool FormatPass(const TLineList& inputLines, int pass, ProgressObserver& progress);

    // Whether the confirming pass takes over the stretches the first pass left as they were instead
    // of reading them (on unless switched off; the result is the same either way).
    void SetStretchSkipping(bool on) { skipStretches_ = on; }

    // Frees the colour objects of OutputLines and clears it.
    void FreeLineObjects() { OutputLines.Clear(); }
    // Hands the formatted file over, leaving OutputLines empty.
    TLineList TakeOutput();

    const Settings& Config() const { return *settings_; }
    void SetSettings(const Settings& settings) { settings_ = &settings; }
    Prompter& Prompt() const { return *prompter_; }

    // The header comment templates in force; the default templates until replaced.
    void SetHeaderTemplates(const HeaderTemplates& templates) { templates_ = templates; }
    const HeaderTemplates& Templates() const { return templates_; }
    // The checker that spell checking goes through; without one nothing is checked.
    void SetSpellChecker(SpellTextChecker* checker) { speller_ = checker; }
    // Where the date of header comments comes from (the system's short date unless replaced).
    void SetDateSource(DateSource source) {
        dateSource_ = std::move(source);
        date_.clear();
    }

    // Indentation: gives a statement line of class `cls` its leading blanks from IndentLevel and moves
    // the level when the line opens or closes a block. A blank line stays empty. `singleLineIf`:
    // IsSingleLineIf(line), which the caller has found already.
    // The line's leading blanks follow its first statement; the level after it follows every
    // statement of a line joined by ":", so that "For i = 1 To 3: x = x + i: Next" leaves it as it
    // was and a block opened after a ":" is closed by its partner line.
    // `hasColon`: the line holds a colon (else it holds one statement at most).
    void IndentLine(std::string& line, TStatementClass cls, bool singleLineIf, bool hasColon);
    void AdjustIndentLevel(TStatementClass cls);
    // The column a line of class `cls` that holds no single-line If goes to, moving the level when it
    // opens or closes a block (before a closing line is indented, after an opening one).
    int StatementColumn(std::string_view line, TStatementClass cls);
    // Keeps where a statement's first line went (`column`), which its continuation lines go on from.
    void NoteStatementColumn(int column, TStatementClass cls);
    // Moves the level for the statements after the first of a line joined by ":" (for a label line:
    // the statements after the label). Nothing for a line without a colon.
    void FollowJoinedStatements(std::string_view line);
    // Indents a conditional-compilation line (#If, #Else, #ElseIf, #End If); false for any other line
    // and for an #Else or #End If without its #If, which are indented as their plain counterparts.
    bool IndentDirective(std::string& line, TStatementClass cls);


    // --- Per-file state (besides what a pass carries from line to line: TPassState) ---------------
    TLineList OutputLines;     // lines produced for the current file in the current pass
    TLineList PassInput;       // the previous pass's output while the second or third pass runs
                               // (its lines read so far are released)
    std::string_view NextLine; // the following input line, tab-expanded, unformatted; empty at the end
                               // (valid while the pass runs)
    std::string FileName;      // file name of the file being formatted
    std::string OutputDir;     // output directory of the run
    TSourceKind FileKind = skModule;
    bool SpellCheckCancelled = false; // the user ended spell checking (kept across the files of a run)
    bool SpellChanged = false;        // the last spell check changed its text
    // Emits an input line as it came while the level follows its blocks.
    void PassThroughLine(std::string_view raw, const std::string& line, bool wasChanged);
    int SourceLine = 0;                    // number (from 1) of the input line in hand, for the spell checker
    bool RepassNeeded = false;             // the current pass produced lines that need another pass
    bool LineForLine = true;               // each input line of the pass gave one output line, in place
    const TSourceMgt* SourceMgt = nullptr; // the project of the run, when there is one
    // Set as each statement line's turn begins, and read only during it:
    std::size_t LineOutputStart = 0; // size of OutputLines when the current line's turn began
    int LevelBeforeLine = 0;         // IndentLevel before the current line was indented
    int HeaderPrevIndent = 0;        // indentation of the line that a header being inserted follows
    bool HeaderAfter = false;        // a header went in after the current line
    std::string HeaderTail;          // the last line of the header inserted last, and its indentation
    int HeaderTailIndent = 0;

    // --- Steps of a pass ------------------------------------------------------------------------
    // Spell checking of the line's literals and comment (first pass only).
    void SpellCheckLine(std::string& line);
    // Every step of a pass for one statement line (or a piece of a split line, `depth` splits deep):
    // splitting, header comments and blank lines, indentation, alignment, For/Next, comments,
    // borders; then the line is emitted. `original` is the input line (empty for a piece).
    void FormatStatementLine(std::string& line, std::string_view original, bool wasChanged, int depth);
    // Before a line is emitted: a header comment before a procedure heading, blank lines before a
    // block keyword of class `cls`.
    void BeforeLine(const std::string& line, TStatementClass cls);
    // After a line has been emitted: a header comment after a procedure heading, blank lines after a
    // block keyword. `continuation`: the line goes on with the statement of the line before.
    void AfterLine(const std::string& line, TStatementClass cls, bool continuation);
    // Formats an inserted Option Explicit line (and a blank line after it) before the line in hand;
    // NextLine is the line that will follow it.
    void InsertOptionExplicit();
    // The settings split a line of code like `line` (a single-line If when `singleLineIf`, a colon in it
    // when `hasColon`) into pieces, unless it cannot be cut safely.
    bool MaySplit(std::string_view line, bool singleLineIf, bool hasColon) const;
    // Formats the pieces of a split line, or a code line and its moved comment, in its place.
    void FormatPieces(TextLines& pieces, int depth);
    // Formats the first `count` of `lines` (pieces or inserted lines, `depth` splits deep) one after
    // the other in place of the line in hand, each as a line of the next pass's input.
    // `readAsTheyStand`: each of them is known to (ReadsAsItStands).
    void FormatLinesInPlace(TextLines& lines, std::size_t count, int depth, bool readAsTheyStand);
    // Indentation of a statement line (not of an Attribute line; a label line keeps its position).
    void IndentStatement(std::string& line, TStatementClass cls, bool hasColon, bool singleLineIf);
    // The fallback setting (kCommentOnPreviousLine or kCommentOnNextLine) that will move the line's
    // comment onto a line of its own, because the code reaches the fixed column once indented (and a
    // Next rewritten); 0 when the comment stays or goes another way. Leaves the state as it was.
    int CommentLineFallback(const std::string& line, bool hasColon, bool singleLineIf);
    // The line will not be emitted: a blank line or a whole-line comment that the settings remove.
    bool IsDroppedLine(std::string_view line) const;
    // The statement that starts at input line `index` of the pass, its continuation lines joined.
    std::string LogicalLine(std::size_t index) const;

    // Appends a line of the pass's output; one equal to the input line in hand shares its bytes.
    void AppendLine(std::string_view line, bool changed);
    // Appends input line `index` of the pass as it stands, sharing its bytes.
    void AppendInputLine(std::size_t index, bool changed);
    // Appends a line the engine created, marked changed.
    void AppendCreated(std::string_view line) { OutputLines.Append(line, true); }
    // The same, for a line that recurs in the file (a header comment's): stored once.
    void AppendRecurring(std::string_view line) { OutputLines.AppendRecurring(line, true); }

    // Statement splitting (FormatterSplit.cpp). Each gives the pieces of the line; the pass formats
    // them in place of the unsplit line. A line that cannot be cut safely gives none and goes through
    // the pass as it is.
    LinePieces SplitIfThen(const std::string& line);
    LinePieces SplitStatements(const std::string& line);
    LinePieces SplitMultiVar(const std::string& line);
    LinePieces SplitMultiConst(const std::string& line);

    // Comments and blank lines (FormatterComments.cpp).
    void RemoveSpecialComment(std::string& line, bool& emit);
    // The line's comment starts with the special characters and their removal is switched on.
    bool IsSpecialComment(std::string_view line) const;
    void FormatSingleLineComment(std::string& line);
    void FormatInLineComment(std::string& line);
    // Writes into `built` the code with its comment at the fixed column or, when the code reaches
    // the column and `fallback` is 0, behind the code by the fallback indent. False for the other
    // fallbacks, which move or remove the comment.
    bool PlaceAtFixedColumn(std::string& built, std::string_view code, std::string_view text,
                            int fallback) const;
    // Places the comment of a line again after its code has changed width (an aligned declaration);
    // false when the placement would move it to a line of its own.
    bool ReplaceInLineComment(std::string& line);
    void AddCommentBorders();                 // for the comment group that ends at the current line
    const std::string& CommentBorder() const; // an apostrophe and the blocking characters, unindented
    bool KeepBlankLine(const std::string& line) const;
    void AddBlankLines(int n);
    void AddBlankLinesBefore(TStatementClass cls);                         // end of BeforeLine
    void AddBlankLinesAfter(const std::string& line, TStatementClass cls); // end of AfterLine
    void SpellCheckLiterals(std::string& line);
    void SpellCheckComment(std::string& line);
    // `column`: where `text` begins in `context` (from 1).
    void CheckSpelling(const std::string& context, std::string& text, int column);

    // Declarations and For/Next (FormatterDeclarations.cpp).
    static int DimAsColumn(std::string_view s);
    static bool IsForLine(std::string_view s);
    static std::string ForVariable(std::string_view s);
    static bool IsNextLine(std::string_view s);
    void CollectDimAs(const std::string& line);
    void AlignDimGroup(int n, int maxCol);
    // Puts the comment that widened declaration line `i` can no longer keep where the in-line comment
    // setting moves it (above or below the line, with the borders of its comment group), or drops it;
    // the number of lines that went in.
    std::size_t InsertMovedComment(std::size_t i, std::string comment);
    // Pushes a For's variable; rewrites a Next and pops. `hasColon`: the line holds a ":". True when
    // the line was rewritten.
    bool ForNextLine(std::string& line, bool hasColon);
    // Rewrites a Next that closes `loops` loops by the For/Next setting; false when it stays.
    bool RewriteLoneNext(std::string& line, int loops);
    void AddNextVariable(std::string& line, const std::string& variable);
    void RemoveNextVariable(std::string& line);

    // Header comments (FormatterHeaders.cpp).
    bool HeaderCommentsWanted() const; // sub or function header comments are switched on
    // Decides by the line's class `cls` and the settings.
    void InsertHeaderComment(const std::string& line, TStatementClass cls, bool before);
    void InsertSubHeader(const std::string& line, bool before);
    void InsertFunctionHeader(const std::string& line, bool before);
    // The settings want a header before (`before`) or after a heading of class `cls` in this file.
    bool HeaderGoes(TStatementClass cls, bool before) const;
    // A border of a comment group, placed as the group's lines are at `level`, `prevIndent` being the
    // indentation of the line before it; empty when the comment setting removes it.
    std::string PlacedBorder(int prevIndent, int level);

private:
    // FormatFile for a file that starts with a UTF-8 byte order mark, which the result keeps at byte 0.
    TFormatFileResult FormatWithoutByteOrderMark(const TLineList& fileLines, std::string_view fileName,
                                                 TSourceKind kind, ProgressObserver& progress);
    // The first pass's output (OutputLines) is the result: a second pass over it would give it back.
    bool FirstPassSettled(const TLineList& input) const;
    // A pass reads output line `out` as it read input line `in` (tab-expanded), in the same state.
    // `seenAsNext`: the line before looked at the line after it (NextLine), which a heading compares
    // whole with its header's edge line.
    bool ReadAlike(std::string_view in, std::string_view out, bool seenAsNext) const;
    // `in` and `out` (without their indentation) hold the same code and comment text, the comment
    // placed otherwise, and a pass places it alike from both.
    bool InLineCommentPlacedAlike(std::string_view in, std::string_view out) const;
    // Removes the trailing blanks of every output line (General.TrimTrailingBlanks).
    void TrimTrailingBlanks();
    void ResetPassState();
    // Places a whole-line comment the engine makes (a header line, a border) as the next pass will
    // place it: indented as a statement at IndentLevel, then placed by the comment setting,
    // `prevIndent` being the indentation of the line before it.
    void PlaceCommentLine(std::string& line, int prevIndent);
    void ReserveOutput(const TLineList& input);
    // First pass: a line of the next pass's input begins, which that pass will read as `read` (an
    // input line, a piece of a split line, an inserted line). `mayBeAlike`: that pass would take the
    // same way through it as this one (ReadAsALine), so that it may be taken over.
    void TraceBegin(std::string_view read, bool mayBeAlike);
    // The line in hand is done: notes whether the lines it gave are what the next pass gives back as it
    // reads them (one line read alike, with blank lines the rules put in around it).
    void TraceDone();
    // A piece or inserted line formatted now, `depth` splits deep, goes the way the next pass, reading
    // it as a line of its input, goes (when its text ReadsAsItStands).
    bool ReadAsALine(int depth) const;
    // A blank line read now is dropped and leaves the pass's state as it is.
    bool DropsBlankLinesUnchanged() const;
    // Blank lines that the line in hand put before and after it are dropped and put back alike by the
    // next pass.
    bool BlankLinesRead(bool before, bool after) const;
    // Confirming pass: at input line `index`, takes over the stretch that begins there when the pass
    // is in the state the first pass had at its start; the line the pass goes on with.
    std::size_t SkipStretch(std::size_t index, const TLineList& input, TLineList* release, std::size_t first);
    // One pass; with `release` (the input itself, owned by the engine) each input line is released
    // once the pass is past it.
    bool RunPass(const TLineList& input, TLineList* release, int pass, ProgressObserver& progress);

    const std::string& HeaderDate();
    // Puts in the header of template `templ` unless it stands there already; `valuesOf` gives the
    // values of its placeholders.
    void AppendHeader(const TextLines& templ, const std::function<TemplateValues()>& valuesOf, bool before);
    // Queues the `count` placed lines of headerQueue_ (a header after a heading; `tailIndent`: the
    // indentation of its last line, `edge`: its edge line), with their borders, to go through the pass
    // once the heading is done; false when the header must go in as it stands.
    bool QueueHeader(std::size_t count, int tailIndent, std::string_view edge);
    // `next` ends the comment group before it as soon as the pass reads it: a code line (no heading
    // that gets a header before it) whose comment, if any, stays with its code or goes below it.
    bool EndsCommentGroupAtOnce(std::string_view next);
    // Input line `first` starts a group of whole-line comments that will get borders: when the line
    // after the group ends it as soon as it is read and the group's lines go through the pass as they
    // stand, the index of the group's last line, else kNoFrame; `border` gets the placed border.
    std::size_t FramedGroupEnd(std::size_t first, std::string& border);
    static constexpr std::size_t kNoFrame = ~std::size_t{0};
    // Formats groupBorder_ as a line of its own (before the group's first line or after its last).
    void FormatGroupBorder();
    // The queued header goes through the pass (at the end of the heading's FormatStatementLine).
    void FormatQueuedHeader(int depth);

    const Settings* settings_;
    Prompter* prompter_;
    HeaderTemplates templates_ = DefaultHeaderTemplates();
    SpellTextChecker* speller_ = nullptr;
    DateSource dateSource_ = SystemShortDate;
    std::string date_;           // the date of header comments, taken once from dateSource_
    std::string line_;           // the current line of a pass; its capacity is reused from line to line
    std::string nextScratch_;    // NextLine's text when the input line holds a tab
    std::string built_;          // a new text for the current line, built beside it and swapped in
    std::string traceScratch_;   // a tab-expanded input line for the trace
    std::string headerLine_;     // a header line being expanded and placed
    TextLines headerQueue_;      // the placed lines of a header; the first headerQueued_ wait for the pass
    std::size_t headerQueued_ = 0;
    bool recurringLines_ = false; // the lines the pass appends are a header's (stored once)
    TextLines groupBorder_{1};    // a border that goes in with its comment group
    std::string groupBorderText_;
    std::size_t groupEnd_ = kNoFrame; // the input line after which the group's bottom border goes
    mutable std::string border_; // CommentBorder(), built from the two settings below
    mutable std::string borderPattern_;    // the blocking characters it was built from
    mutable int borderTotal_ = 0;          // and their total
    const TLineList* passLines_ = nullptr; // the input of the running pass
    TLineList* passOwned_ = nullptr;       // the same, when the engine owns it (a later pass)
    std::size_t lineIndex_ = 0;            // the input line being formatted
    TPassTrace trace_;                     // the first pass's stretches, for the confirming pass
    bool tracing_ = false;                 // the running pass notes them (the first pass)
    bool unitOpen_ = false;                // a line of the next pass's input is in hand
    std::string_view unitRead_;            // its text as that pass will read it
    bool unitMayBeAlike_ = false;          // and whether that pass would go its way (TraceBegin)
    // The text of the piece in hand at each depth (FormatLinesInPlace): a deque, whose strings stay
    // where they are while a deeper one is added.
    std::deque<std::string> readAt_;
    bool unitDropsBlanks_ = false;         // a blank line read before it would leave the state as it is
    bool nextLineRead_ = false;            // the line in hand looked at NextLine
    bool prevReadNext_ = false;            // the line before it did
    std::size_t takenOver_ = 0;            // lines of them the confirming pass took over
    bool skipStretches_ = true;
};

} // namespace kemptor
