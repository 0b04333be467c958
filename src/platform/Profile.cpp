#include "platform/Profile.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/Host.h"
#include "platform/Text.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"

namespace kemptor {

namespace {

constexpr size_t kMaxProfileString = 1023;

// One line of a profile file as positions into its text, so that a write can replace or insert one
// line and leave every other byte of the file as it was.
struct ProfileLine {
    enum Type { Other, Section, Key } type = Other;
    size_t begin = 0; // first byte of the line
    size_t end = 0;   // first byte of its line end
    size_t next = 0;  // first byte of the following line
    std::string_view name;
    std::string_view value;
};

// Splits profile text into classified lines. Anything that is neither "[section]" nor "key=value"
// (garbage, comments beginning with ';', lines before the first section) is kept and never matched.
std::vector<ProfileLine> ParseProfile(std::string_view text) {
    std::vector<ProfileLine> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        ProfileLine line;
        line.begin = pos;
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        line.end = end;
        line.next = end;
        if (end < text.size())
            line.next += (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;

        std::string_view body = TrimBlanks(text.substr(pos, end - pos));
        if (!body.empty() && body.front() == '[') {
            size_t close = body.find(']');
            line.type = ProfileLine::Section;
            line.name = TrimBlanks(
                body.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        } else if (!body.empty() && body.front() != ';') {
            size_t eq = body.find('=');
            if (eq != std::string_view::npos && eq > 0) {
                line.type = ProfileLine::Key;
                line.name = TrimBlanks(body.substr(0, eq));
                line.value = TrimBlanks(body.substr(eq + 1));
            }
        }
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

// Where a key lives: its line, or (when absent) the last line of the first section of that name.
struct KeyLookup {
    const ProfileLine* key = nullptr;
    const ProfileLine* sectionEnd = nullptr; // last non-blank line of the first matching section
};

KeyLookup FindKey(const std::vector<ProfileLine>& lines, std::string_view text, std::string_view section,
                  std::string_view key) {
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    KeyLookup found;
    bool inSection = false;
    bool firstSection = false;
    bool seenSection = false;
    for (const auto& line : lines) {
        if (line.type == ProfileLine::Section) {
            inSection = EqualNoCase(line.name, section);
            firstSection = inSection && !seenSection;
            seenSection = seenSection || inSection;
            if (firstSection)
                found.sectionEnd = &line;
            continue;
        }
        if (!inSection)
            continue;
        if (firstSection && !TrimBlanks(text.substr(line.begin, line.end - line.begin)).empty())
            found.sectionEnd = &line;
        // Repeated sections are read as one: the first occurrence of the key wins.
        if (line.type == ProfileLine::Key && !found.key && EqualNoCase(line.name, key))
            found.key = &line;
    }
    return found;
}

std::string LowerText(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// The values of the profile file read last, by lower-case section and key. Loading the settings reads
// a hundred keys one by one; the file is parsed once for all of them, and again only when its bytes
// have changed. Its bytes are compared on each read unless the file (same inode, size and time) was last
// changed well before they were read: a change within the file system's time granularity would not show
// in the time.
class ProfileCache {
public:
    // The value of the first occurrence of the key in the section; std::nullopt when absent.
    std::optional<std::string> Find(const std::string& path, std::string_view section, std::string_view key) {
        const host::FileStatus st = host::StatusOf(path);
        const bool exists = st.kind != host::FileKind::Missing;
        std::lock_guard lock(mutex_);
        if (!exists || !Trusted(path, st)) {
            auto bytes = exists ? ReadFileBytes(path) : std::nullopt;
            if (!bytes) {
                Clear();
                return std::nullopt;
            }
            if (path != path_ || *bytes != bytes_) {
                Clear();
                Load(*bytes);
                bytes_ = std::move(*bytes);
                path_ = path;
            }
            stamp_ = st;
            readAt_ = std::time(nullptr);
        }
        auto it = values_.find(Key(section, key));
        return it == values_.end() ? std::nullopt : std::optional<std::string>(it->second);
    }

private:
    static constexpr std::time_t kSettledSeconds = 2;

    bool Trusted(const std::string& path, const host::FileStatus& st) const {
        return path == path_ && st.stamp == stamp_.stamp && st.size == stamp_.size &&
               st.modified + kSettledSeconds < readAt_;
    }

    void Clear() {
        values_.clear();
        bytes_.clear();
        path_.clear();
    }

    static std::string Key(std::string_view section, std::string_view key) {
        return LowerText(TrimBlanks(section)) + '\n' + LowerText(TrimBlanks(key));
    }

    void Load(std::string_view text) {
        std::string_view section;
        bool inSection = false;
        for (const auto& line : ParseProfile(text)) {
            if (line.type == ProfileLine::Section) {
                section = line.name;
                inSection = true;
            } else if (line.type == ProfileLine::Key && inSection) {
                values_.emplace(Key(section, line.name), line.value); // the first occurrence wins
            }
        }
    }

    std::mutex mutex_;
    std::string path_;
    std::string bytes_;
    host::FileStatus stamp_;
    std::time_t readAt_ = 0;
    std::unordered_map<std::string, std::string> values_;
};

ProfileCache& ProfileValues() {
    static ProfileCache cache;
    return cache;
}

std::string LineEndOf(std::string_view text) {
    size_t i = text.find_first_of("\r\n");
    if (i == std::string_view::npos)
        return "\r\n";
    if (text[i] == '\n')
        return "\n";
    return (i + 1 < text.size() && text[i + 1] == '\n') ? "\r\n" : "\r";
}

bool IsBareName(const std::string& fileName) {
    return fileName.find_first_of("\\/:") == std::string::npos;
}

} // namespace

std::string SettingsDirectory() {
    std::string dir = host::GetEnv("KEMPTOR_CONFIG_DIR").value_or(host::DefaultSettingsDirectory());
    if (!IsPathSeparator(dir.back())) {
        // The separator the text already uses ("C:\CFG" gives "C:\CFG\", "/tmp/cfg" "/tmp/cfg/").
        const size_t last = dir.find_last_of("\\/");
        dir += last != std::string::npos ? dir[last] : host::kSeparator;
    }
    return dir;
}

std::string ProfilePath(const std::string& fileName) {
    return MapToHostPath(IsBareName(fileName) ? SettingsDirectory() + fileName : fileName);
}

std::optional<int> ParseProfileInteger(std::string_view text) {
    text = TrimBlanks(text);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        unsigned long long value = 0;
        for (char c : text.substr(2)) {
            if (!std::isxdigit(static_cast<unsigned char>(c)))
                return std::nullopt;
            value = value * 16 +
                    static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c))
                                              ? c - '0'
                                              : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
            if (value > 0xFFFFFFFFull)
                return std::nullopt;
        }
        // Eight hex digits are a 32-bit pattern: 0xFFFFFFFF reads as -1.
        return static_cast<int>(static_cast<unsigned int>(value));
    }
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > INT_MAX || value < INT_MIN)
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<std::string> ReadProfileValue(const std::string& section, const std::string& key,
                                            const std::string& fileName) {
    auto found = ProfileValues().Find(ProfilePath(fileName), section, key);
    if (!found)
        return std::nullopt;
    std::string_view value = *found;
    // As on the platform, one pair of enclosing quotes is not part of the value.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, kMaxProfileString));
}

std::vector<ProfileKeyName> ListProfileKeys(const std::string& fileName) {
    std::vector<ProfileKeyName> keys;
    auto bytes = ReadFileBytes(ProfilePath(fileName));
    if (!bytes)
        return keys;
    std::string_view section;
    int number = 0;
    for (const auto& line : ParseProfile(*bytes)) {
        ++number;
        if (line.type == ProfileLine::Section)
            section = line.name;
        else if (line.type == ProfileLine::Key)
            keys.push_back({std::string(section), std::string(line.name), number, std::string(line.value)});
    }
    return keys;
}

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& fileName) {
    auto value = ReadProfileValue(section, key, fileName);
    return value ? *value : defaultValue.substr(0, kMaxProfileString);
}

int GetProfileInteger(const std::string& section, const std::string& key, int defaultValue,
                      const std::string& fileName) {
    auto value = ReadProfileValue(section, key, fileName);
    if (!value)
        return defaultValue;
    return ParseProfileInteger(*value).value_or(defaultValue);
}

bool GetProfileBool(const std::string& section, const std::string& key, bool defaultValue,
                    const std::string& fileName) {
    return GetProfileInteger(section, key, defaultValue ? 1 : 0, fileName) != 0;
}

bool WritePrivateProfileString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& fileName) {
    // Names that would break the file's syntax cannot be stored.
    if (TrimBlanks(section).empty() || TrimBlanks(key).empty() ||
        section.find_first_of("]\r\n") != std::string::npos ||
        key.find_first_of("=[\r\n") != std::string::npos || TrimBlanks(key).front() == ';')
        return false;
    // A line break inside a value would start a new line of the file; it is stored as a blank.
    std::string cleanValue = value;
    std::replace_if(
        cleanValue.begin(), cleanValue.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');

    std::string path = ProfilePath(fileName);
    const host::FileKind kind = host::StatusOf(path).kind;
    const bool exists = kind != host::FileKind::Missing;
    if (exists && (kind != host::FileKind::Regular || !host::IsWritable(path)))
        return false;
    if (std::string real = exists ? host::RealPath(path) : std::string(); !real.empty())
        path = real; // write through a symbolic link rather than replacing it
    std::string text;
    if (exists) {
        auto bytes = ReadFileBytes(path);
        if (!bytes)
            return false; // never replace a file whose contents could not be read
        text = std::move(*bytes);
    } else if (IsBareName(fileName) && !ForceDirectories(SettingsDirectory())) {
        return false;
    }

    const std::string eol = LineEndOf(text);
    auto lines = ParseProfile(text);
    auto found = FindKey(lines, text, section, key);
    std::string updated;
    if (found.key) {
        const auto& line = *found.key;
        size_t keyStart = text.find_first_not_of(" \t", line.begin);
        updated = text.substr(0, keyStart) + std::string(found.key->name) + "=" + cleanValue +
                  text.substr(line.end);
    } else if (found.sectionEnd) {
        const auto& last = *found.sectionEnd;
        std::string insert = std::string(TrimBlanks(key)) + "=" + cleanValue + eol;
        if (last.next == last.end) // the section's last line has no line end (end of file)
            updated = text + eol + insert;
        else
            updated = text.substr(0, last.next) + insert + text.substr(last.next);
    } else {
        updated = text;
        if (!updated.empty() && updated.back() != '\n' && updated.back() != '\r')
            updated += eol;
        if (!updated.empty())
            updated += eol;
        updated += "[" + std::string(TrimBlanks(section)) + "]" + eol + std::string(TrimBlanks(key)) + "=" +
                   cleanValue + eol;
    }
    return WriteFileAtomic(path, updated);
}

std::string UnableToWriteMessage(const std::string& fileName) {
    return "Unable to write to " + fileName;
}

} // namespace kemptor
