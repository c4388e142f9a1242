// The whole unpacking of an archive made of the input, as "Entpacken" runs it, into a target directory
// beside which stand the archive and a file that must stay untouched. Afterwards the target may hold only
// the temporary files and files named by the directory's safe records; nothing else may have changed.
#include "fuzz/catalogoracle.h"
#include "fuzz/scratchdir.h"
#include "uncompress/archiveentry.h"
#include "uncompress/outputlimits.h"
#include "uncompress/uncompress.h"

#include <QApplication>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const std::string archiveName = "KATALOG.ARC";
const std::string bystanderName = "WGHAUPT";
const std::string bystanderBytes = "must stay as it is";
const std::string targetName = "Ziel \xC3\xA4\xC3\xB6\xC3\xBC";

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The references know nothing of the free space of the scratch file system; the limits are tested apart.
    OutputLimits unlimitedSpace;
    unlimitedSpace.freeBytes = [](const std::string&) { return UINT64_MAX; };
    setOutputLimits(unlimitedSpace);
    // The progress dialog of the unpacking needs a GUI application; it lives as long as the process.
    static std::unique_ptr<QApplication> app(new QApplication(*argc, *argv));
    writeScratchFile(bystanderName, bystanderBytes);
    fs::create_directory(scratchDirectory() + targetName);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string target = scratchDirectory() + targetName + "/";
    for (const fs::directory_entry& entry : fs::directory_iterator(target))
        fs::remove_all(entry.path());
    writeScratchFile(archiveName, input);

    const int status = uncompressArchive(QString::fromUtf8(scratchDirectory() + archiveName),
                                         QString::fromUtf8(target.data(), qsizetype(target.size())));
    require(status == 0 || status == 1, "the status is 0 or 1");

    std::set<std::string> allowed = {"huff.tmp", "lzss.tmp"};
    std::istringstream archive(input);
    for (int i = 0; i < 13; ++i) {
        ArchiveEntry entry;
        readEntry(archive, entry);
        if (i > 0 && isSafeEntryName(entry))
            allowed.insert(entryFileName(entry));
    }
    for (const std::string& path : listTree(scratchDirectory())) {
        if (path == archiveName || path == bystanderName || path == targetName)
            continue;
        const std::string prefix = targetName + "/";
        require(path.compare(0, prefix.size(), prefix) == 0,
                "nothing is written beside the target directory");
        const std::string name = path.substr(prefix.size());
        require(allowed.count(name) == 1, "the target holds only the records' files and the temporary files");
        require(fs::is_regular_file(target + name), "only plain files are created");
    }
    require(readFile(scratchDirectory() + bystanderName) == bystanderBytes,
            "the file beside the target stays");
    require(readFile(scratchDirectory() + archiveName) == input, "the archive stays");
    return 0;
}
