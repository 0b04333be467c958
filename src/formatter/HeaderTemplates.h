#pragma once
// Header comment templates: the sub and function templates in force, their placeholders, and their
// loading from the template files that the settings name.

#include "platform/TextFile.h"

#include <functional>
#include <string>
#include <string_view>

namespace kemptor {

class Prompter;
struct Settings;

// The two templates in force. They start as the default templates; a template file or an edit in
// the Options dialog replaces them.
struct HeaderTemplates {
    TextLines Sub;
    TextLines Function;

    bool operator==(const HeaderTemplates&) const = default;
};

// The eleven-line sub template; the function template adds a "Returns" line after "Params".
TextLines DefaultSubTemplate();
TextLines DefaultFunctionTemplate();
HeaderTemplates DefaultHeaderTemplates();

// The values that replace the placeholders of one header.
struct TemplateValues {
    std::string name;       // %n: routine name
    std::string author;     // %a: the user name of the settings
    std::string date;       // %d: today's date
    std::string params;     // %p: parameters
    std::string returnType; // %r: return type, empty for a sub
};

// Copies `line`, replacing "%n", "%a", "%d", "%p" and "%r" (either case) by their values; any other
// "%" and a "%" at the end of the line are copied as they are.
std::string ExpandTemplate(std::string_view line, const TemplateValues& values);
// The same, written into `out` (whose room is used again).
void ExpandTemplateInto(std::string& out, std::string_view line, const TemplateValues& values);

// True when `text` could have come from `line` by ExpandTemplate: the placeholders match any text,
// everything else must be equal. Leading and trailing blanks of both are ignored.
bool MatchesTemplateLine(std::string_view text, std::string_view line);

// Replaces `templ` (the function template when `function`, else the sub template) by the lines of
// `fileName`. A file that cannot be read leaves `templ` alone, is reported through `prompter` as a
// warning, and gives false.
bool LoadTemplateFile(TextLines& templ, const std::string& fileName, bool function, Prompter& prompter);

// Replaces the sub template by the lines of `settings.SubLevelCommentsFile` and the function template
// by those of `settings.FunctionLevelCommentsFile`. An empty name leaves its template alone; a file
// that cannot be read leaves it too and is reported through `prompter` as a warning.
void LoadCommentHeaders(HeaderTemplates& templates, const Settings& settings, Prompter& prompter);

// The templates in force for a front end without the Options dialog: the defaults, replaced by the
// template files the settings name.
HeaderTemplates TemplatesFromSettings(const Settings& settings, Prompter& prompter);

// Today's date in the system's short date format. Tests put a fixed date in its place.
using DateSource = std::function<std::string()>;
std::string SystemShortDate();

} // namespace kemptor
