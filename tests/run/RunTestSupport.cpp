#include "RunTestSupport.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

namespace kemptor::test {

void WriteFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> FileNames(const fs::path& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec))
        if (entry.is_regular_file())
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TreeSnapshot Snapshot(const fs::path& dir, const std::vector<std::string>& skip) {
    TreeSnapshot snapshot;
    for (auto it = fs::recursive_directory_iterator(dir); it != fs::recursive_directory_iterator(); ++it) {
        const auto& entry = *it;
        // "/" between names on every system, so that `skip` and the keys read alike.
        const std::string key = entry.path().lexically_relative(dir).generic_string();
        if (entry.is_directory() && std::find(skip.begin(), skip.end(), key) != skip.end()) {
            it.disable_recursion_pending();
            continue;
        }
        if (entry.is_directory())
            snapshot[key + "/"] = {"", entry.status().permissions(), {}};
        else
            snapshot[key] = {ReadFile(entry.path()), entry.status().permissions(), entry.last_write_time()};
    }
    return snapshot;
}

void RecordingObserver::SetCaption(const std::string& caption) {
    captions.push_back(caption);
    linesSinceCaption_ = 0;
    armed_ = !cancelCaption_.empty() && caption == cancelCaption_;
}

void RecordingObserver::LineDone() {
    ++linesSinceCaption_;
    if (armed_ && linesSinceCaption_ >= cancelLine_) {
        armed_ = false;
        RequestCancel();
    }
}

PreviewAnswer RecordingObserver::Preview(const std::string& fileName, const TextLines& before,
                                         const TextLines& after, const std::vector<bool>& changed) {
    previews.push_back({fileName, before, after, changed});
    if (onPreview)
        onPreview(fileName);
    return fileName == cancelPreview_ ? PreviewAnswer::CancelProcessing : PreviewAnswer::Close;
}

} // namespace kemptor::test
