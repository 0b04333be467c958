#include "formatter/HeaderTemplates.h"

#include "platform/Host.h"
#include "platform/Prompter.h"
#include "settings/SettingsCatalogue.h"

#include <algorithm>
#include <ctime>

namespace kemptor {

namespace {

const std::string kBorder = "'! " + std::string(59, '-');

TextLines BuildTemplate(bool withReturns) {
    TextLines lines = {kBorder, "'!  Name   :  %n", "'!  Author :  %a", "'!  Date   :  %d",
                       "'!  Params :  %p"};
    if (withReturns)
        lines.push_back("'!  Returns:  %r");
    TextLines tail = {"'!  Purpose:  ",
                      "'!",
                      "'! DATE      WHO         WHAT",
                      "'! " + std::string(8, '-') + "  " + std::string(10, '-') + " " + std::string(38, '-'),
                      "'!",
                      kBorder};
    lines.insert(lines.end(), tail.begin(), tail.end());
    return lines;
}

} // namespace

TextLines DefaultSubTemplate() {
    return BuildTemplate(false);
}
TextLines DefaultFunctionTemplate() {
    return BuildTemplate(true);
}
HeaderTemplates DefaultHeaderTemplates() {
    return {DefaultSubTemplate(), DefaultFunctionTemplate()};
}

namespace {

// The value that "%" and `letter` stand for (in either letter case); null for any other letter.
const std::string* PlaceholderValue(char letter, const TemplateValues& values) {
    switch (letter | 0x20) {
    case 'n':
        return &values.name;
    case 'a':
        return &values.author;
    case 'd':
        return &values.date;
    case 'p':
        return &values.params;
    case 'r':
        return &values.returnType;
    default:
        return nullptr;
    }
}

} // namespace

std::string ExpandTemplate(std::string_view line, const TemplateValues& values) {
    std::string out;
    ExpandTemplateInto(out, line, values);
    return out;
}

void ExpandTemplateInto(std::string& out, std::string_view line, const TemplateValues& values) {
    out.clear();
    std::size_t i = 0;
    while (i < line.size()) {
        // The text up to the next "%" goes over whole; a "%" that names no value stays as it is.
        const std::size_t percent = std::min(line.find('%', i), line.size());
        out.append(line.substr(i, percent - i));
        if (percent == line.size())
            break;
        const std::string* value = percent + 1 < line.size() ? PlaceholderValue(line[percent + 1], values) : nullptr;
        out += value ? std::string_view(*value) : std::string_view("%");
        i = percent + (value ? 2 : 1);
    }
}

namespace {

bool IsPlaceholderLetter(char c) {
    switch (c) {
    case 'n':
    case 'N':
    case 'a':
    case 'A':
    case 'd':
    case 'D':
    case 'p':
    case 'P':
    case 'r':
    case 'R':
        return true;
    default:
        return false;
    }
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32)
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32)
        s.remove_suffix(1);
    return s;
}

} // namespace

bool MatchesTemplateLine(std::string_view text, std::string_view line) {
    text = TrimBlanks(text);
    line = TrimBlanks(line);
    // Wildcard matching in which each placeholder stands for any run of characters; on a mismatch the
    // last placeholder takes one character more.
    size_t t = 0, l = 0;
    size_t starLine = std::string_view::npos, starText = 0;
    while (t < text.size()) {
        if (l + 1 < line.size() && line[l] == '%' && IsPlaceholderLetter(line[l + 1])) {
            l += 2;
            starLine = l;
            starText = t;
        } else if (l < line.size() && line[l] == text[t]) {
            ++l;
            ++t;
        } else if (starLine != std::string_view::npos) {
            l = starLine;
            t = ++starText;
        } else {
            return false;
        }
    }
    // What is left may only be placeholders that expanded to nothing, and the blanks before them
    // that the trimming took away.
    while (l < line.size()) {
        if (line[l] == ' ')
            ++l;
        else if (l + 1 < line.size() && line[l] == '%' && IsPlaceholderLetter(line[l + 1]))
            l += 2;
        else
            return false;
    }
    return true;
}

bool LoadTemplateFile(TextLines& templ, const std::string& fileName, bool function, Prompter& prompter) {
    std::optional<TextLines> lines = ReadTextLines(fileName);
    if (!lines) {
        prompter.Show(PromptKind::Warning,
                      std::string(function ? "Unable to load function comment header file: "
                                           : "Unable to load sub comment header file: ") +
                          fileName,
                      PromptButtons::Ok);
        return false;
    }
    templ = std::move(*lines);
    return true;
}

void LoadCommentHeaders(HeaderTemplates& templates, const Settings& settings, Prompter& prompter) {
    if (!settings.SubLevelCommentsFile.empty())
        LoadTemplateFile(templates.Sub, settings.SubLevelCommentsFile, false, prompter);
    if (!settings.FunctionLevelCommentsFile.empty())
        LoadTemplateFile(templates.Function, settings.FunctionLevelCommentsFile, true, prompter);
}

HeaderTemplates TemplatesFromSettings(const Settings& settings, Prompter& prompter) {
    HeaderTemplates templates = DefaultHeaderTemplates();
    LoadCommentHeaders(templates, settings, prompter);
    return templates;
}

std::string SystemShortDate() {
    return host::UserShortDate(std::time(nullptr));
}

} // namespace kemptor
