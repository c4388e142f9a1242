#include "catalog/catalogloader.h"

#include "catalog/articleindex.h"
#include "catalog/articletexts.h"
#include "catalog/grouprecord.h"
#include "catalog/vectorstate.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <memory>
#include <numeric>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

namespace {

// Large enough that a 250 MB article file takes a few hundred reads, small enough to stay in cache.
constexpr std::size_t blockSize = std::size_t(1) << 20;
constexpr std::size_t largestRecord = Article::fixedSize + 8 * 127;

std::uint32_t packKey3(const unsigned char* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16);
}

std::uint64_t packKey5(const unsigned char* p) {
    return packKey3(p) | (std::uint64_t(p[3]) << 24) | (std::uint64_t(p[4]) << 32);
}

struct UpperGroupPosition {
    std::uint32_t c, s;
};

const unsigned char* bytes(const std::string& s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

// Splits the stream into records and hands each complete one to use. recordSize tells the size of the
// record starting at a pointer once minimum bytes of it are in the buffer. A record cut short by the end
// of the data is dropped.
template <class RecordSize, class Use>
CatalogLoader::Status readRecords(std::istream& in, std::size_t minimum, RecordSize recordSize, Use use) {
    const std::unique_ptr<unsigned char[]> buffer(new unsigned char[blockSize + largestRecord]);
    std::size_t kept = 0;
    // A pass that does not fill its block ends the loop, whatever the reason.
    for (;;) {
        in.read(reinterpret_cast<char*>(buffer.get() + kept), static_cast<std::streamsize>(blockSize));
        const std::size_t end = kept + static_cast<std::size_t>(in.gcount());
        std::size_t pos = 0;
        while (end - pos >= minimum) {
            const std::size_t size = recordSize(buffer.get() + pos);
            if (end - pos < size)
                break;
            use(buffer.get() + pos);
            pos += size;
        }
        kept = end - pos;
        std::memmove(buffer.get(), buffer.get() + pos, kept);
        // Any failure ends the file, not just its end: a directory or an I/O error never reports eof.
        if (!in)
            break;
    }
    return in.eof() && !in.bad() ? CatalogLoader::Status::Complete : CatalogLoader::Status::ReadFailed;
}

template <class Use> CatalogLoader::Status readGroupRecords(std::istream& in, int keyLength, Use use) {
    const std::size_t size = grouprecord::size(keyLength);
    return readRecords(
        in, size, [size](const unsigned char*) { return size; }, use);
}

} // namespace

CatalogLoader::CatalogLoader(Catalog& catalog) : catalog(catalog) {}

bool CatalogLoader::openFile(const std::string& path) {
    file.close();
    file.clear();
    // Opening a FIFO blocks until someone writes to it, and a device such as /dev/zero never ends: neither
    // can be a catalog file. A directory opens and then fails to read, which the caller reports.
    std::error_code error;
    const auto type = std::filesystem::status(path, error).type();
    if (!error && type != std::filesystem::file_type::regular &&
        type != std::filesystem::file_type::directory)
        return false;
    file.open(path, std::ios::in | std::ios::binary);
    return file.good();
}

template <class Load> CatalogLoader::Status CatalogLoader::loadOpenFile(Load load) {
    if (!file.is_open())
        return Status::OpenFailed;
    const Status status = load(file);
    file.close();
    return status;
}

CatalogLoader::Status CatalogLoader::loadCategories() {
    return loadOpenFile([this](std::istream& in) { return loadCategories(in); });
}

CatalogLoader::Status CatalogLoader::loadSubCategories() {
    return loadOpenFile([this](std::istream& in) { return loadSubCategories(in); });
}

CatalogLoader::Status CatalogLoader::loadSubSubCategories() {
    return loadOpenFile([this](std::istream& in) { return loadSubSubCategories(in); });
}

CatalogLoader::Status CatalogLoader::loadArticles() {
    return loadOpenFile([this](std::istream& in) { return loadArticles(in); });
}

// Only the first Category of each key ever receives children.
std::array<std::int64_t, 256> CatalogLoader::firstCategories() const {
    std::array<std::int64_t, 256> first;
    first.fill(-1);
    for (std::size_t c = 0; c < catalog.size(); ++c) {
        const std::string& key = catalog[c].key;
        if (key.size() == std::size_t(Category::keyLength) && first[bytes(key)[0]] < 0)
            first[bytes(key)[0]] = std::int64_t(c);
    }
    return first;
}

CatalogLoader::Status CatalogLoader::loadCategories(std::istream& in) {
    return readGroupRecords(in, Category::keyLength, [this](const unsigned char* record) {
        catalog.emplace_back();
        catalog.back().parse(record);
    });
}

CatalogLoader::Status CatalogLoader::loadSubCategories(std::istream& in) {
    const auto first = firstCategories();
    return readGroupRecords(in, SubCategory::keyLength, [this, &first](const unsigned char* record) {
        const std::int64_t c = first[record[0]];
        if (c < 0)
            return;
        std::vector<SubCategory>& list = catalog[std::size_t(c)].subCategories;
        list.emplace_back();
        list.back().parse(record);
    });
}

CatalogLoader::Status CatalogLoader::loadSubSubCategories(std::istream& in) {
    // The first Category of a key holds every SubCategory a group can reach, and of those with equal keys
    // only the first counts; so a three-byte key leads to at most one SubCategory.
    const auto first = firstCategories();
    std::unordered_map<std::uint32_t, UpperGroupPosition> upperGroups;
    for (std::size_t c = 0; c < catalog.size(); ++c) {
        const Category& main = catalog[c];
        if (main.key.size() != std::size_t(Category::keyLength) ||
            first[bytes(main.key)[0]] != std::int64_t(c))
            continue;
        for (std::size_t s = 0; s < main.subCategories.size(); ++s) {
            const std::string& key = main.subCategories[s].key;
            if (key.size() == std::size_t(SubCategory::keyLength) && key[0] == main.key[0])
                upperGroups.emplace(packKey3(bytes(key)),
                                    UpperGroupPosition{std::uint32_t(c), std::uint32_t(s)});
        }
    }
    return readGroupRecords(in, SubSubCategory::keyLength, [this, &upperGroups](const unsigned char* record) {
        const auto it = upperGroups.find(packKey3(record));
        if (it == upperGroups.end())
            return;
        std::vector<SubSubCategory>& list =
            catalog[it->second.c].subCategories[it->second.s].subSubCategories;
        list.emplace_back();
        list.back().parse(record);
    });
}

namespace {
// The bytes from the stream's position to its end, or 0 when it cannot tell.
std::uint64_t bytesLeft(std::istream& in) {
    const std::istream::pos_type here = in.tellg();
    if (here == std::istream::pos_type(-1) || !in.seekg(0, std::ios::end))
        return in.clear(), 0;
    const std::istream::pos_type end = in.tellg();
    in.seekg(here);
    return end == std::istream::pos_type(-1) || end < here ? 0 : std::uint64_t(end - here);
}
} // namespace

CatalogLoader::Status CatalogLoader::loadArticles(std::istream& in) {
    clearUpperVectorState();
    const auto first = firstCategories();
    // Every group an article can reach, numbered in catalog order.
    std::unordered_map<std::uint64_t, std::uint32_t> groupNumbers;
    std::vector<std::vector<Article>*> groups;
    std::unordered_set<std::uint32_t> upperSeen;
    for (std::size_t c = 0; c < catalog.size(); ++c) {
        Category& main = catalog[c];
        if (main.key.size() != std::size_t(Category::keyLength) ||
            first[bytes(main.key)[0]] != std::int64_t(c))
            continue;
        for (SubCategory& upper : main.subCategories) {
            if (upper.key.size() != std::size_t(SubCategory::keyLength) || upper.key[0] != main.key[0] ||
                !upperSeen.insert(packKey3(bytes(upper.key))).second)
                continue;
            for (SubSubCategory& group : upper.subSubCategories) {
                const std::string& key = group.key;
                if (key.size() == std::size_t(SubSubCategory::keyLength) &&
                    key.compare(0, 3, upper.key) == 0 &&
                    groupNumbers.emplace(packKey5(bytes(key)), std::uint32_t(groups.size())).second)
                    groups.push_back(&group.articles);
            }
        }
    }
    // The articles go to their groups in the file's order, their texts into one store in the same order,
    // which becomes the catalog's once the articles view it in catalog order. Room for as many records as
    // the file can hold is address space, of which only what the texts fill becomes memory.
    std::vector<std::size_t> before(groups.size());
    bool hadArticles = false;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        before[g] = groups[g]->size();
        hadArticles = hadArticles || before[g] > 0;
    }
    std::vector<std::uint32_t> groupOf;
    auto texts = std::make_shared<ArticleTexts>();
    // Address space for at most two million articles: a file that claims more (a sparse one, say) grows
    // the buffers as it is read, instead of taking gigabytes of address space up front.
    const std::size_t room =
        std::size_t(std::min<std::uint64_t>(bytesLeft(in) / Article::fixedSize, 1u << 21));
    groupOf.reserve(room);
    texts->reserve(room, {room * (Article::longestName + 1), room * (Article::longestDescription + 1),
                          room * (Article::longestOtherNames + 1)});
    // Articles come grouped in practice, so the last group found is usually the next one's too.
    std::uint64_t lastKey = ~std::uint64_t(0);
    std::uint32_t lastGroup = ArticleIndex::none;
    const auto groupOfRecord = [&](const unsigned char* record) {
        const std::uint64_t key = packKey5(record);
        if (key != lastKey) {
            const auto it = groupNumbers.find(key);
            lastKey = key;
            lastGroup = it == groupNumbers.end() ? ArticleIndex::none : it->second;
        }
        return lastGroup;
    };
    const auto recordSize = [](const unsigned char* record) {
        return Article::fixedSize + 8 * std::size_t(Article::tierCount(record));
    };
    // Files list a group's articles together in practice. Such a run is gathered here, in memory that
    // stays in cache from one run to the next, and then moved into its group in one piece: a group read in
    // one run takes exactly its room and each article moves once. A group met again, or one longer than a
    // run may grow, grows by doubling, so that no order of records costs more than linear time.
    constexpr std::size_t longestRun = 4096;
    std::vector<Article> run;
    std::uint32_t runGroup = ArticleIndex::none;
    const auto endRun = [&] {
        if (run.empty())
            return;
        std::vector<Article>& list = *groups[runGroup];
        if (list.capacity() - list.size() < run.size())
            list.reserve(std::max(list.size() + run.size(), 2 * list.capacity()));
        list.insert(list.end(), std::make_move_iterator(run.begin()), std::make_move_iterator(run.end()));
        run.clear();
    };
    bool full = false;
    Status status = readRecords(in, Article::fixedSize, recordSize, [&](const unsigned char* record) {
        if (groupOfRecord(record) == ArticleIndex::none || full)
            return;
        if (lastGroup != runGroup || run.size() == longestRun) {
            endRun();
            runGroup = lastGroup;
        }
        run.emplace_back();
        try {
            run.back().parse(record, *texts);
        } catch (const std::length_error&) {
            // Texts beyond 4 GiB: the catalog ends here, and the user learns it is incomplete.
            run.pop_back();
            full = true;
            return;
        }
        groupOf.push_back(lastGroup);
    });
    endRun();
    if (full)
        status = Status::ReadFailed;

    // A counting sort by group gives each article, in catalog order, its number in the file and the store.
    std::vector<std::uint32_t> start(groups.size() + 1, 0);
    for (std::uint32_t g : groupOf)
        ++start[g + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<std::uint32_t> order(groupOf.size());
    for (std::uint32_t r = 0; r < groupOf.size(); ++r)
        order[start[groupOf[r]]++] = r;
    // Files list their articles in catalog order in practice, and then the store read is the catalog's;
    // else it is gathered into that order once.
    const bool inCatalogOrder = std::is_sorted(groupOf.begin(), groupOf.end());
    if (!hadArticles && !inCatalogOrder) {
        texts = std::make_shared<ArticleTexts>(texts->permuted(order));
        std::iota(order.begin(), order.end(), 0);
    }
    auto next = order.begin();
    for (std::size_t g = 0; g < groups.size(); ++g) {
        std::vector<Article>& list = *groups[g];
        // Growing by doubling leaves a third of the article slots unused on average.
        list.shrink_to_fit();
        for (std::size_t a = before[g]; a < list.size(); ++a, ++next) {
            list[a].name = texts->field(ArticleTexts::Name, *next);
            list[a].description = texts->field(ArticleTexts::Description, *next);
            list[a].otherNames = texts->field(ArticleTexts::OtherNames, *next);
        }
    }
    if (!hadArticles) {
        catalog.texts = std::move(texts);
        return status;
    }
    try {
        keepTextsOnce(catalog);
    } catch (const std::length_error&) {
        // With the articles of an earlier load beyond 4 GiB: those of this file go again.
        for (std::size_t g = 0; g < groups.size(); ++g)
            groups[g]->resize(before[g]);
        return Status::ReadFailed;
    }
    return status;
}

CatalogLoader::Status CatalogLoader::loadDirectory(std::string directory) {
    catalog.clear();
    if (directory.empty() || directory.back() != '/')
        directory += '/';
    struct Step {
        const char* name;
        Status (CatalogLoader::*load)();
    };
    const Step steps[] = {{categoryFile, &CatalogLoader::loadCategories},
                          {subCategoryFile, &CatalogLoader::loadSubCategories},
                          {subSubCategoryFile, &CatalogLoader::loadSubSubCategories},
                          {articleFile, &CatalogLoader::loadArticles}};
    Status result = Status::Complete;
    for (const Step& step : steps) {
        if (!openFile(directory + step.name)) {
            catalog.clear();
            return Status::OpenFailed;
        }
        if ((this->*step.load)() == Status::ReadFailed)
            result = Status::ReadFailed;
    }
    return result;
}
