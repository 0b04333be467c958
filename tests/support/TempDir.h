#pragma once
// A fresh directory for one test, removed with everything in it when the test ends.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace kemptor::test {

class TempDir {
public:
    TempDir() {
        // A new name of random letters, created exclusively (create_directory is false when it exists).
        static std::mt19937_64 random{std::random_device{}()};
        const auto base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = "kemptor-test-";
            for (int i = 0; i < 10; ++i)
                name += "abcdefghijklmnopqrstuvwxyz0123456789"[random() % 36];
            std::error_code ec;
            if (std::filesystem::create_directory(base / name, ec)) {
                path_ = (base / name).string() + "/";
                return;
            }
        }
        std::abort();
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory, ending with '/'.
    const std::string& Path() const { return path_; }
    // The directory without the final '/' (a copy into a path ending in a separator copies nothing on
    // some systems).
    std::filesystem::path Root() const { return std::filesystem::path(path_).parent_path(); }

    // Writes `bytes` to a file below the directory (creating sub-directories) and returns its path.
    std::string Write(const std::string& relative, std::string_view bytes) const {
        std::filesystem::path p = path_ + relative;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return p.string();
    }

    // The bytes of a file below the directory ("" when missing).
    std::string Read(const std::string& relative) const {
        std::ifstream in(path_ + relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::string path_;
};

} // namespace kemptor::test
