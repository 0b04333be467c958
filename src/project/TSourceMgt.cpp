#include "project/TSourceMgt.h"

#include <cassert>

namespace kemptor {

TSourceKind SourceKindOf(const std::string& upperExtension) {
    // Later tests override earlier ones, as the kinds were added to the product one by one.
    TSourceKind kind = upperExtension == ".FRM" ? skForm : skModule;
    if (upperExtension == ".VBX")
        kind = skCustomControl;
    if (upperExtension == ".CLS")
        kind = skClass;
    if (upperExtension == ".CTL")
        kind = skUserControl;
    return kind;
}

bool IsSourceExtension(const std::string& upperExtension) {
    return upperExtension == ".FRM" || upperExtension == ".BAS" || upperExtension == ".CLS" ||
           upperExtension == ".CTL";
}

const char* SourceKindName(TSourceKind kind) {
    switch (kind) {
    case skForm:
        return "form";
    case skModule:
        return "module";
    case skCustomControl:
        return "customcontrol";
    case skClass:
        return "class";
    case skUserControl:
        return "usercontrol";
    }
    return "module";
}

TSourceMgt::TSourceMgt() {
    storage_.push_back(std::make_unique<TSourceEntry>());
    First = Current = storage_.back().get();
}

TSourceMgt::~TSourceMgt() {
    ReleaseAllLines();
}

int TSourceMgt::FileCount() const {
    int count = 0;
    for (const auto& entry : Files()) {
        (void)entry;
        ++count;
    }
    return count;
}

TSourceEntry* TSourceMgt::AppendBlankEntry() {
    TSourceEntry* last = Current;
    assert(last && !last->Next && "the blank entry in hand is the last one");
    storage_.push_back(std::make_unique<TSourceEntry>());
    TSourceEntry* blank = storage_.back().get();
    blank->Prev = last;
    last->Next = blank;
    Current = blank;
    return blank;
}

bool TSourceMgt::LoadLines(TSourceEntry* entry) {
    if (!entry)
        return false;
    if (entry->Loaded)
        return !entry->LoadFailed;
    auto lines = ReadTextLines(entry->FullPath);
    entry->LoadFailed = !lines;
    entry->Lines = lines ? std::move(*lines) : TextLines{kNotAvailableLine};
    entry->LineCount = static_cast<std::int32_t>(entry->Lines.size());
    entry->Loaded = true;
    return !entry->LoadFailed;
}

void TSourceMgt::ReleaseLines(TSourceEntry* entry) {
    if (!entry || !entry->Loaded)
        return;
    TextLines().swap(entry->Lines);
    entry->Loaded = false;
}

bool TSourceMgt::LoadCurrentLines() {
    bool ok = LoadLines(Current);
    if (Current)
        Current->LineCount = static_cast<std::int32_t>(Current->Lines.size());
    return ok;
}

void TSourceMgt::ReleaseCurrentLines() {
    ReleaseLines(Current);
}

void TSourceMgt::ReleaseAllLines() {
    for (TSourceEntry* e = First; e; e = e->Next)
        ReleaseLines(e);
}

} // namespace kemptor
