#pragma once
// The open Visual Basic project: the lines of its project file, where it lives, and one TSourceEntry per
// source file it names, in project order.
//
// The entries form a doubly linked list that always ends in one blank terminator entry (Next empty). A
// walk starts at First and visits an entry only while that entry's Next is set, so the terminator is
// never seen as a file; Files() does exactly that walk for range-for loops. File lines are loaded on
// demand and released after use so that a large project is never held in memory at once.

#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/TextFile.h"

namespace kemptor {

enum TSourceKind { skForm, skModule, skCustomControl, skClass, skUserControl };

// The kind of a file from its upper-case extension: .FRM form, .VBX custom control, .CLS class,
// .CTL user control, anything else (.BAS included) module.
TSourceKind SourceKindOf(const std::string& upperExtension);

// True for the extensions of Visual Basic source text: .FRM, .BAS, .CLS, .CTL (upper case, with the dot).
// Only such a file is read for formatting unless the user names its kind: a project may name anything
// (a settings file, a key file), and the engine's changes would damage it or show its lines.
bool IsSourceExtension(const std::string& upperExtension);

// "form", "module", "customcontrol", "class", "usercontrol".
const char* SourceKindName(TSourceKind kind);

// The style of a project file; the backup step copies and rewrites the project file by it.
enum class TProjectStyle { MAK = 3, VBP = 4 };

// The text a file's lines hold when it cannot be read.
inline constexpr const char* kNotAvailableLine = "NOT AVAILABLE";

struct TSourceEntry {
    std::string FileName;    // name without directory, as the project file writes it
    std::string DisplayName; // text of the tree node; equal to FileName
    std::string FullPath;    // ProjectDir + the written path, or the written path alone when it holds ":\"
    double FileSize = -1;    // bytes when the project was read; -1 when the file was not found
    std::string Extension;   // upper case with its dot (".FRM"); empty when none
    std::int32_t LineCount = 0;
    bool Loaded = false;    // Lines holds the file's text
    bool Selected = true;   // takes part in the next processing run
    bool Processed = false; // an output copy was written since the project was opened
    std::string OutputPath; // the output copy written last
    TSourceKind Kind = skForm;
    TextLines Lines; // the file's lines while Loaded
    TSourceEntry* Next = nullptr;
    TSourceEntry* Prev = nullptr;
    // The last LoadLines could not read the file: Lines holds only "NOT AVAILABLE". Whoever writes
    // Lines back (a processing run) must not save that text over a copy of the file.
    bool LoadFailed = false;
};

class TSourceMgt {
public:
    // Iterates the file entries from First, never showing the terminator.
    template <class Entry> class EntryIterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = TSourceEntry;
        using difference_type = std::ptrdiff_t;
        using pointer = Entry*;
        using reference = Entry&;

        explicit EntryIterator(Entry* e = nullptr) : e_(e && e->Next ? e : nullptr) {}
        Entry& operator*() const { return *e_; }
        Entry* operator->() const { return e_; }
        EntryIterator& operator++() {
            e_ = e_->Next && e_->Next->Next ? e_->Next : nullptr;
            return *this;
        }
        EntryIterator operator++(int) {
            auto old = *this;
            ++*this;
            return old;
        }
        bool operator==(const EntryIterator& o) const { return e_ == o.e_; }

    private:
        Entry* e_;
    };
    template <class Entry> struct EntryRange {
        Entry* first;
        EntryIterator<Entry> begin() const { return EntryIterator<Entry>(first); }
        EntryIterator<Entry> end() const { return EntryIterator<Entry>(); }
    };

    // An empty model: no project lines; the list holds only its blank terminator (First == Current).
    TSourceMgt();
    ~TSourceMgt(); // releases every entry's lines, then frees the entries
    TSourceMgt(const TSourceMgt&) = delete;
    TSourceMgt& operator=(const TSourceMgt&) = delete;

    TextLines ProjectLines;  // every line of the project file, as read
    std::string ProjectName; // project file name without directory
    std::string ProjectDir;  // directory of the project file with its trailing separator
    TProjectStyle ProjectStyle = TProjectStyle::MAK;
    TSourceEntry* First = nullptr;
    TSourceEntry* Current = nullptr; // cursor: the blank entry being filled, or the file in hand

    // The file entries in project order (the terminator left out).
    EntryRange<TSourceEntry> Files() { return {First}; }
    EntryRange<const TSourceEntry> Files() const { return {First}; }
    int FileCount() const;

    // Appends a fresh blank entry after the last one (which must be the blank in hand, Current) and makes
    // it Current; the entry that was Current becomes a file. Returns the new blank entry.
    TSourceEntry* AppendBlankEntry();

    // Reads the entry's file into Lines unless it is Loaded, and sets LineCount. A file that cannot be
    // read gives the single line "NOT AVAILABLE" (LineCount 1), LoadFailed set, and still counts as
    // loaded. Returns false in that case.
    bool LoadLines(TSourceEntry* entry);
    // Empties Lines and clears Loaded; nothing for an entry that is not loaded or a null reference.
    void ReleaseLines(TSourceEntry* entry);
    // LoadLines(Current), then LineCount from Current's lines.
    bool LoadCurrentLines();
    void ReleaseCurrentLines();
    // Releases the lines of every loaded entry, the terminator included.
    void ReleaseAllLines();

private:
    std::vector<std::unique_ptr<TSourceEntry>> storage_; // owns the entries; the links give the order
};

} // namespace kemptor
