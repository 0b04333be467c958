// Header comments before or after procedure headings.
#include "formatter/LineHelpers.h"
#include "formatter/LineSplits.h"
#include "formatter/RoutineHeading.h"
#include "formatter/StatementCuts.h"
#include "formatter/TVBSrcFormatter.h"
#include "settings/SettingsCatalogue.h"

#include <initializer_list>

namespace kemptor {

namespace {

constexpr int kFormLevel = 0;
constexpr int kModuleLevel = 1;

std::string RoutineName(std::string_view line, std::initializer_list<std::string_view> prefixes) {
    const std::string_view t = Trim(line);
    for (std::string_view prefix : prefixes) {
        if (!StartsWithUpper(t, prefix))
            continue;
        std::string_view name = StripComment(t.substr(prefix.size()));
        name = name.substr(0, name.find('('));
        return std::string(Trim(name));
    }
    return "Unknown";
}

// The text inside the outermost parentheses of the code; without a closing one, the rest of the code.
std::string Parameters(std::string_view line) {
    const std::string_view code = Trim(StripComment(line));
    const int open = PosOutsideQuotes(code, '(');
    if (open == 0)
        return {};
    const std::size_t from = static_cast<std::size_t>(open);
    const std::size_t close = cuts::ClosingParen(code, from - 1);
    return std::string(Trim(code.substr(from, close == cuts::npos ? cuts::npos : close - from)));
}

// Whether the settings ask for a header at this place and in this kind of file.
bool HeaderWanted(bool perform, bool beforeSelected, bool afterSelected, int files, bool before, TSourceKind kind) {
    if (!perform || !(before ? beforeSelected : afterSelected))
        return false;
    if (files == kFormLevel)
        return kind == TSourceKind::skForm;
    if (files == kModuleLevel)
        return kind == TSourceKind::skModule;
    return true;
}

} // namespace

std::string SubName(std::string_view line) { return RoutineName(line, {"PUBLIC SUB ", "PRIVATE SUB ", "SUB "}); }

std::string FunctionName(std::string_view line) {
    return RoutineName(line, {"PUBLIC FUNCTION ", "PRIVATE FUNCTION ", "FUNCTION "});
}

std::string SubParams(std::string_view line) { return Parameters(line); }
std::string FunctionParams(std::string_view line) { return Parameters(line); }

std::string FunctionReturnType(std::string_view line) {
    const std::string_view code = StripComment(line);
    const std::size_t close = code.rfind(')');
    return close == std::string_view::npos ? std::string() : std::string(Trim(code.substr(close + 1)));
}

const std::string& TVBSrcFormatter::HeaderDate() {
    if (date_.empty() && dateSource_)
        date_ = dateSource_();
    return date_;
}

bool TVBSrcFormatter::HeaderCommentsWanted() const {
    return Config().SubLevelCommentsPerform || Config().FunctionLevelCommentsPerform;
}

void TVBSrcFormatter::InsertHeaderComment(const std::string& line, TStatementClass cls, bool before) {
    const Settings& cfg = Config();
    if (!HeaderCommentsWanted() || !IsProcedureHeading(cls))
        return;
    // A heading continued from the line before, or going on in the next line, has no room for lines
    // between its parts.
    if (before ? Continued : (IsContinuedLine(line) || HasContinuedComment(line)))
        return;
    if (IsSubHeading(cls) &&
        HeaderWanted(cfg.SubLevelCommentsPerform, cfg.SubLevelCommentsBeforeProcedure,
                     cfg.SubLevelCommentsAfterProcedure, cfg.GrpSubLevelComments, before, FileKind))
        InsertSubHeader(line, before);
    else if (IsFunctionHeading(cls) &&
             HeaderWanted(cfg.FunctionLevelCommentsPerform, cfg.FunctionLevelCommentsBeforeProcedure,
                          cfg.FunctionLevelCommentsAfterProcedure, cfg.GrpFunctionLevelComments, before, FileKind))
        InsertFunctionHeader(line, before);
}

namespace {

// True when the heading already has this header: the neighbouring line is the template's edge line
// (as expanded for any routine on any day, wherever a later pass has indented it) or a border that
// comment blocking drew around the header.
bool HeaderPresent(const TVBSrcFormatter& engine, const TextLines& templ, bool before) {
    const std::string_view neighbour = before ? std::string_view(engine.PrevLine) : engine.NextLine;
    const std::string& edge = before ? templ.back() : templ.front();
    if (neighbour == edge || (!Trim(edge).empty() && MatchesTemplateLine(neighbour, edge)))
        return true;
    return engine.Config().SingleLineCommentBlocks && Trim(neighbour) == engine.CommentBorder();
}

} // namespace

void TVBSrcFormatter::InsertSubHeader(const std::string& line, bool before) {
    const TextLines& templ = templates_.Sub;
    if (templ.empty() || HeaderPresent(*this, templ, before))
        return;
    AppendHeader(templ, {SubName(line), Config().UserName, HeaderDate(), SubParams(line), {}}, before);
}

void TVBSrcFormatter::InsertFunctionHeader(const std::string& line, bool before) {
    const TextLines& templ = templates_.Function;
    if (templ.empty() || HeaderPresent(*this, templ, before))
        return;
    AppendHeader(templ,
                 {FunctionName(line), Config().UserName, HeaderDate(), FunctionParams(line), FunctionReturnType(line)},
                 before);
}

void TVBSrcFormatter::AppendHeader(const TextLines& templ, const TemplateValues& values, bool before) {
    const std::size_t first = OutputLines.size();
    for (const std::string& templateLine : templ)
        AppendCreated(ExpandTemplate(templateLine, values));
    // The header is a group of whole-line comments: it gets its borders in this run, as it would in
    // the next one. Before a heading it ends the group that the heading closes.
    if (CommentGroupCount == 0)
        CommentGroupStart = first;
    CommentGroupCount += static_cast<int>(templ.size());
    if (before)
        LineOutputStart = OutputLines.size();
}

} // namespace kemptor
