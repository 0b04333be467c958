// Fuzz target: any bytes as a project file (.VBP when the first byte is even, else .MAK) in a scratch
// directory that holds a few files a project may name, read as the program opens a project; then the
// files it names are listed with their sizes and lines, as `list` does.
#include "platform/Prompter.h"
#include "project/ProjectReader.h"
#include "project/TSourceMgt.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace kemptor;

// The scratch directory of this process, made once with a few files to be named, under $TMPDIR (the
// script that runs the target removes its own temporary directory afterwards).
const std::string& ScratchDirectory() {
    static const std::string dir = [] {
        const fs::path path = fs::temp_directory_path() / ("kemptor-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(path / "Sub");
        std::ofstream(path / "A.bas", std::ios::binary)
            << "Attribute VB_Name = \"A\"\r\nSub A()\r\nEnd Sub\r\n";
        std::ofstream(path / "F.frm", std::ios::binary) << "VERSION 5.00\r\nBegin VB.Form F\r\nEnd\r\n";
        std::ofstream(path / "Sub" / "C.cls", std::ios::binary) << "VERSION 1.0 CLASS\r\n";
        std::ofstream(path / "bin.frx", std::ios::binary) << std::string("\0\1\2", 3);
        return path.string() + "/";
    }();
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::string project = ScratchDirectory() + (data[0] % 2 == 0 ? "P.VBP" : "P.MAK");
    std::ofstream(project, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data) + 1, static_cast<std::streamsize>(size - 1));
    ScriptedPrompter prompter;
    ProjectReaderObserver observer;
    std::unique_ptr<TSourceMgt> model;
    if (OpenProject(project, model, observer, prompter) && model) {
        for (auto& entry : model->Files()) {
            model->LoadLines(&entry);
            model->ReleaseLines(&entry);
        }
    }
    return 0;
}
