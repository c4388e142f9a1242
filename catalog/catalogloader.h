#pragma once

#include "catalog/category.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <istream>
#include <string>

// Reads the four files of a catalog directory into a Catalog, one file at a time so that a caller can
// report progress and offer a cancel between files.
//
// Files are read in large blocks and split into records there; every complete record goes to the first
// parent whose key matches its key prefix, exactly as Category::addSubCategory, addSubSubCategory and
// addArticle would place it, but found through an index instead of a walk over the parents. A trailing
// partial record is dropped. Reading stops at the end of the file or at the first failure of the stream
// (an unreadable file, a directory in place of a file); the records of the blocks read before remain.
class CatalogLoader {
public:
    enum class Status {
        Complete,   // read up to the end of the file
        OpenFailed, // the file could not be opened; nothing was read
        ReadFailed  // the stream failed before the end; the blocks read up to there were placed
    };

    // File names inside a catalog directory, in the order in which they have to be read.
    static constexpr const char* categoryFile = "WGHAUPT";
    static constexpr const char* subCategoryFile = "WGOBER";
    static constexpr const char* subSubCategoryFile = "WGGRUPPE";
    static constexpr const char* articleFile = "ART";

    // The loader fills catalog, which must outlive it.
    explicit CatalogLoader(Catalog& catalog);

    // Opens path (bytes as the file system takes them) for the next load. False when it cannot be opened
    // or is neither a regular file nor a directory (a FIFO, a device).
    bool openFile(const std::string& path);

    // Read the file opened last up to its end and close it. OpenFailed when no file is open.
    Status loadCategories();
    Status loadSubCategories();
    Status loadSubSubCategories();
    Status loadArticles();

    // The same from any binary stream, read from its current position.
    Status loadCategories(std::istream& in);
    Status loadSubCategories(std::istream& in);
    Status loadSubSubCategories(std::istream& in);
    Status loadArticles(std::istream& in);

    // Empties the catalog and reads the four files of directory ("/" is added when missing). Stops with
    // an empty catalog at the first file that cannot be opened; ReadFailed when any file failed midway.
    Status loadDirectory(std::string directory);

private:
    template <class Load> Status loadOpenFile(Load load);
    std::array<std::int64_t, 256> firstCategories() const;

    Catalog& catalog;
    std::ifstream file;
};
