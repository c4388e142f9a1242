// vxpack: packs the files of a catalog directory into an archive that "Entpacken" unpacks.
#include "tools/archivepacker.h"
#include "uncompress/archiveentry.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t RecordCount = 12;
const char* const CatalogFiles[] = {"WGHAUPT", "WGOBER", "WGGRUPPE", "ART"};

int usage() {
    std::cerr << "usage: vxpack [-0 FILE]... [-n NAME] OUT.arc DIR\n"
                 "Packs the regular files of DIR (at most 12; names of up to 9 characters plus an extension\n"
                 "of up to 4) into OUT.arc. The catalog files come first; every file is stored with\n"
                 "method 1 unless named with -0 (method 0). Empty records fill the archive up to 12.\n"
                 "  -0 FILE  store FILE with method 0\n"
                 "  -n NAME  name of the archive in its first record (default KATALOG)\n";
    return 2;
}

bool splitName(const std::string& file, PackEntry& entry) {
    const auto dot = file.rfind('.');
    entry.name = dot == std::string::npos ? file : file.substr(0, dot);
    entry.extension = dot == std::string::npos ? std::string() : file.substr(dot + 1);
    ArchiveEntry check{entry.name, entry.extension, entry.method, 0};
    return entry.name.size() <= 9 && entry.extension.size() <= 4 &&
           (dot == std::string::npos || dot + 1 < file.size()) && file.find('\0') == std::string::npos &&
           isSafeEntryName(check);
}

int rank(const std::string& file) {
    const auto it = std::find(std::begin(CatalogFiles), std::end(CatalogFiles), file);
    return static_cast<int>(it - std::begin(CatalogFiles));
}

} // namespace

int main(int argc, char* argv[]) {
    std::set<std::string> method0;
    std::string archiveName = "KATALOG";
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        if ((!std::strcmp(argv[i], "-0") || !std::strcmp(argv[i], "-n")) && i + 1 < argc) {
            if (argv[i][1] == '0')
                method0.insert(argv[++i]);
            else
                archiveName = argv[++i];
        } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
            return usage();
        } else {
            positional.push_back(argv[i]);
        }
    }
    if (positional.size() != 2)
        return usage();
    const fs::path out = positional[0], dir = positional[1];

    std::vector<std::string> files;
    std::error_code error;
    for (const auto& item : fs::directory_iterator(dir, error))
        if (item.is_regular_file())
            files.push_back(item.path().filename().string());
    if (error) {
        std::cerr << "vxpack: cannot read " << dir << ": " << error.message() << "\n";
        return 1;
    }
    std::sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
        return std::make_pair(rank(a), a) < std::make_pair(rank(b), b);
    });
    if (files.size() > RecordCount) {
        std::cerr << "vxpack: " << dir << " holds " << files.size() << " files, an archive takes "
                  << RecordCount << "\n";
        return 1;
    }

    std::vector<PackEntry> entries;
    for (const std::string& file : files) {
        PackEntry entry;
        entry.method = method0.count(file) ? 0 : 1;
        if (!splitName(file, entry)) {
            std::cerr << "vxpack: " << file << " does not fit a record's name (9 + 4 characters)\n";
            return 1;
        }
        std::ifstream in(dir / file, std::ios::binary);
        entry.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad()) {
            std::cerr << "vxpack: cannot read " << (dir / file) << "\n";
            return 1;
        }
        entries.push_back(std::move(entry));
    }
    for (int n = 1; entries.size() < RecordCount; ++n) {
        const std::string name = "LEER" + std::to_string(n);
        if (std::find(files.begin(), files.end(), name) == files.end())
            entries.push_back({name, "", 0, "", false});
    }

    const std::string archive = packArchive(entries, archiveName);
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    file.write(archive.data(), static_cast<std::streamsize>(archive.size()));
    file.close();
    if (!file) {
        std::cerr << "vxpack: cannot write " << out << "\n";
        return 1;
    }
    for (const PackEntry& e : entries)
        std::cout << entryFileName({e.name, e.extension, e.method, 0}) << "  method " << e.method << "  "
                  << e.bytes.size() << " bytes\n";
    std::cout << out.string() << ": " << archive.size() << " bytes\n";
    return 0;
}
