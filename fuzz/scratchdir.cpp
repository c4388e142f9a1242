#include "fuzz/scratchdir.h"

#include "fuzz/catalogoracle.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {
std::string base;

void removeBase() {
    std::error_code ignored;
    if (!base.empty())
        fs::remove_all(base, ignored);
}
} // namespace

const std::string& scratchDirectory() {
    static const std::string directory = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vxfuzz-XXXXXX";
        require(mkdtemp(pattern.data()) != nullptr, "scratch directory created");
        base = pattern;
        std::atexit(removeBase);
        const std::string inner = base + "/Katalog M\xC3\xBCller \xE2\x82\xAC";
        require(fs::create_directory(inner), "scratch subdirectory created");
        return inner + "/";
    }();
    return directory;
}

void writeScratchFile(const std::string& name, const std::string& bytes) {
    std::ofstream out(scratchDirectory() + name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    require(bool(out), "scratch file written");
}

void removeScratchFile(const std::string& name) {
    std::error_code ignored;
    fs::remove(scratchDirectory() + name, ignored);
}

std::vector<std::string> listTree(const std::string& root) {
    std::vector<std::string> out;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(root, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error))
        out.push_back(fs::relative(it->path(), root).string());
    return out;
}
