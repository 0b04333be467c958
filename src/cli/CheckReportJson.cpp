// The machine-readable reports of `check`: its own JSON document and GitLab's code-quality report.
// Both are written whole at the end, from the outcomes (no file texts are kept for them).
//
// JSON (version 1):
//   {"version": 1,
//    "files": [{"file": PATH, "status": "unchanged"|"changed"|"unreadable"|"refused"|"internal",
//               "changedLines": N, "blocks": [{"startLine", "endLine", "deleted", "inserted"}]}],
//    "errors": [{"file": PATH, "kind": "unreadable"|"refused"|"internal", "line", "column", "reason"}],
//    "summary": {"files": N, "changed": N, "errors": N}}
// The document is always valid UTF-8: a byte of a name that is not UTF-8 is written as the text
// "\xHH" (and a backslash as "\\"), and the entry then also holds "fileHex", the name's exact bytes.
#include "cli/CheckReport.h"
#include "cli/CliMessages.h"

#include <cstdint>
#include <iostream>
#include <sstream>

namespace kemptor {

namespace {

// A JSON string of UTF-8 text: quotes, backslashes and control characters escaped.
std::string JsonString(std::string_view text) {
    static const char hex[] = "0123456789abcdef";
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// A file name as a JSON member (or two): the name itself when it is UTF-8, else escaped with its bytes.
std::string JsonFileMembers(const char* key, const std::string& path) {
    if (IsValidUtf8(path))
        return "\"" + std::string(key) + "\": " + JsonString(path);
    static const char hex[] = "0123456789abcdef";
    std::string bytes;
    for (unsigned char c : path) {
        bytes += hex[c >> 4];
        bytes += hex[c & 15];
    }
    return "\"" + std::string(key) + "\": " + JsonString(EscapedName(path)) + ", \"" + key + "Hex\": \"" +
           bytes + "\"";
}

// Reasons are UTF-8 except for the file names they quote: made valid the same way.
std::string JsonText(const std::string& text) {
    return JsonString(IsValidUtf8(text) ? text : EscapedName(text));
}

// Error messages go to stderr too: the JSON on stdout is for the tool, stderr for the person.
void PrintErrorsAsTheyCome(const FileOutcome& outcome) {
    if (outcome.IsError())
        PrintErrorMessage(outcome);
}

class JsonReporter : public CheckReporter {
public:
    void File(const FileOutcome& outcome, const FileTexts*) override { PrintErrorsAsTheyCome(outcome); }

    void Finish(const std::vector<FileOutcome>& outcomes) override {
        std::ostringstream files, errors;
        std::size_t changed = 0, errorCount = 0;
        for (const auto& o : outcomes) {
            files << (&o == &outcomes.front() ? "\n    " : ",\n    ") << "{"
                  << JsonFileMembers("file", o.path) << ", \"status\": \"" << StatusName(o.status)
                  << "\", \"changedLines\": " << ChangedLineCount(o.blocks) << ", \"blocks\": [";
            for (std::size_t k = 0; k < o.blocks.size(); ++k)
                files << (k ? ", " : "") << "{\"startLine\": " << BlockStartLine(o.blocks[k], o.lineCount)
                      << ", \"endLine\": " << BlockEndLine(o.blocks[k], o.lineCount)
                      << ", \"deleted\": " << o.blocks[k].leftCount
                      << ", \"inserted\": " << o.blocks[k].rightCount << "}";
            files << "]}";
            changed += o.status == FileOutcome::Status::Changed;
            if (o.IsError()) {
                errors << (errorCount++ ? ",\n    " : "\n    ") << "{" << JsonFileMembers("file", o.path)
                       << ", \"kind\": \"" << StatusName(o.status) << "\", \"line\": " << o.line
                       << ", \"column\": " << o.column << ", \"reason\": " << JsonText(o.reason) << "}";
            }
        }
        std::cout << "{\n  \"version\": 1,\n  \"files\": [" << files.str()
                  << (outcomes.empty() ? "]" : "\n  ]") << ",\n  \"errors\": [" << errors.str()
                  << (errorCount ? "\n  ]" : "]") << ",\n  \"summary\": {\"files\": " << outcomes.size()
                  << ", \"changed\": " << changed << ", \"errors\": " << errorCount << "}\n}\n";
    }
};

// A stable fingerprint for a GitLab finding: 64-bit FNV-1a of its identifying text, twice over.
std::string Fingerprint(const std::string& identity) {
    std::string hex;
    std::uint64_t seed = 1469598103934665603ull;
    for (int round = 0; round < 2; ++round) {
        std::uint64_t h = seed;
        for (unsigned char c : identity) {
            h ^= c;
            h *= 1099511628211ull;
        }
        static const char digits[] = "0123456789abcdef";
        for (int shift = 60; shift >= 0; shift -= 4)
            hex += digits[(h >> shift) & 15];
        seed = h ^ 0x9e3779b97f4a7c15ull;
    }
    return hex;
}

// GitLab's code-quality report: a JSON array of findings, each with a description, a check name, a
// fingerprint, a severity and a location (path and lines).
class GitlabReporter : public CheckReporter {
public:
    void File(const FileOutcome& outcome, const FileTexts*) override { PrintErrorsAsTheyCome(outcome); }

    void Finish(const std::vector<FileOutcome>& outcomes) override {
        std::ostringstream out;
        std::size_t count = 0;
        const auto finding = [&](const FileOutcome& o, const std::string& check, const char* severity,
                                 const std::string& description, std::size_t begin, std::size_t end,
                                 std::size_t index) {
            const std::string path = IsValidUtf8(o.path) ? o.path : EscapedName(o.path);
            out << (count++ ? ",\n  " : "\n  ") << "{\"description\": " << JsonText(description)
                << ", \"check_name\": \"" << check << "\", \"fingerprint\": \""
                << Fingerprint(check + '\n' + o.path + '\n' + std::to_string(index) + '\n' + description)
                << "\", \"severity\": \"" << severity << "\", \"location\": {\"path\": " << JsonString(path)
                << ", \"lines\": {\"begin\": " << begin << ", \"end\": " << end << "}}}";
        };
        for (const auto& o : outcomes) {
            if (o.IsError()) {
                const std::size_t line = o.line > 0 ? o.line : 1;
                finding(o, std::string("kemptor-") + StatusName(o.status), "major", o.reason, line, line, 0);
                continue;
            }
            for (std::size_t k = 0; k < o.blocks.size(); ++k) {
                const ChangeBlock& b = o.blocks[k];
                const std::size_t n = b.ChangedLines();
                finding(o, "kemptor-house-style", "minor",
                        "Not in the house style: " + std::to_string(n) + (n == 1 ? " line" : " lines") +
                            " would change (kemptor-cli format -i)",
                        BlockStartLine(b, o.lineCount), BlockEndLine(b, o.lineCount), k);
            }
        }
        std::cout << "[" << out.str() << (count ? "\n]\n" : "]\n");
    }
};

} // namespace

std::unique_ptr<CheckReporter> MakeJsonReporter(const ReportOptions&) {
    return std::make_unique<JsonReporter>();
}

std::unique_ptr<CheckReporter> MakeGitlabReporter(const ReportOptions&) {
    return std::make_unique<GitlabReporter>();
}

} // namespace kemptor
