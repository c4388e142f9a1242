#include "catalog/catalogloader.h"

#include "catalog/articletexts.h"

#include <array>
#include <stdexcept>

#include "catalog/grouprecord.h"

#include <cstring>
#include <filesystem>
#include <memory>
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
// Keeps the texts of the articles being read straight in the buffers the search scans, in the order they
// are read; should the reserved room run out (a file that grows while it is read), in an arena instead.
class ReadTexts final : public TextStore {
public:
    std::string_view keep(Field field, std::string_view bytes) override {
        std::string_view kept;
        if (!spilled && texts->appendWithinRoom(ArticleTexts::Field(field), bytes, kept))
            return kept;
        spilled = true;
        return spill->store(bytes);
    }

    std::shared_ptr<ArticleTexts> texts = std::make_shared<ArticleTexts>();
    std::shared_ptr<TextArena> spill = std::make_shared<TextArena>();
    bool spilled = false;
};

// Visits every article of catalog in catalog order.
template <class Catalog, class Visit> void forEachArticle(Catalog& catalog, Visit visit) {
    for (auto& main : catalog)
        for (auto& upper : main.subCategories)
            for (auto& group : upper.subSubCategories)
                for (auto& article : group.articles)
                    visit(article);
}

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
    const auto first = firstCategories();
    std::unordered_map<std::uint64_t, std::vector<Article>*> groups;
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
                if (key.size() == std::size_t(SubSubCategory::keyLength) && key.compare(0, 3, upper.key) == 0)
                    groups.emplace(packKey5(bytes(key)), &group.articles);
            }
        }
    }
    // The articles' texts go into one store that the catalog keeps, instead of a heap block each. Its room
    // is reserved for as many records as the file can hold: address space, of which only what the texts
    // fill becomes memory, and a buffer that never moves under the views.
    ReadTexts texts;
    const std::uint64_t room = bytesLeft(in) / Article::fixedSize;
    const std::array<std::size_t, ArticleTexts::FieldCount> longest{
        Article::longestName + 1, Article::longestDescription + 1, Article::longestOtherNames + 1};
    if (room > 0 && room * longest[ArticleTexts::OtherNames] < UINT32_MAX)
        texts.texts->reserve(room, {room * longest[0], room * longest[1], room * longest[2]});
    // Articles come grouped in practice, so the last group found is usually the next one's too.
    std::uint64_t lastKey = ~std::uint64_t(0);
    std::vector<Article>* lastList = nullptr;
    const Status status = readRecords(
        in, Article::fixedSize,
        [](const unsigned char* record) {
            return Article::fixedSize + 8 * std::size_t(Article::tierCount(record));
        },
        [&](const unsigned char* record) {
            const std::uint64_t key = packKey5(record);
            if (key != lastKey) {
                const auto it = groups.find(key);
                lastKey = key;
                lastList = it == groups.end() ? nullptr : it->second;
            }
            if (!lastList)
                return;
            lastList->emplace_back();
            lastList->back().parse(record, &texts);
        });
    // Growing by doubling leaves a third of the article slots unused on average, some 80 MB for a
    // million articles; moving them into exact lists costs a few percent of the loading time.
    for (const auto& group : groups)
        group.second->shrink_to_fit();
    catalog.textStores.push_back(texts.texts);
    catalog.textStores.push_back(texts.spill);
    keepTextsInCatalogOrder(texts.spilled ? nullptr : texts.texts);
    return status;
}

void CatalogLoader::keepTextsInCatalogOrder(const std::shared_ptr<const ArticleTexts>& read) {
    if (read && inCatalogOrder(*read)) {
        catalog.textStores.assign(1, read);
        catalog.texts = read;
        return;
    }
    std::size_t articles = 0;
    std::array<std::size_t, ArticleTexts::FieldCount> bytes{};
    forEachArticle(catalog, [&](const Article& article) {
        ++articles;
        bytes[ArticleTexts::Name] += article.name.size() + 1;
        bytes[ArticleTexts::Description] += article.description.size() + 1;
        bytes[ArticleTexts::OtherNames] += article.otherNames.size() + 1;
    });
    auto texts = std::make_shared<ArticleTexts>();
    texts->reserve(articles, bytes);
    try {
        forEachArticle(catalog, [&texts](const Article& article) { texts->append(article); });
    } catch (const std::length_error&) {
        // Beyond 4 GiB of texts the articles keep the store they were read into; the search then makes
        // its own, and refuses as well.
        return;
    }
    std::uint32_t n = 0;
    forEachArticle(catalog, [&](Article& article) {
        article.name = Latin1Text::viewOf(texts->field(ArticleTexts::Name, n));
        article.description = Latin1Text::viewOf(texts->field(ArticleTexts::Description, n));
        article.otherNames = Latin1Text::viewOf(texts->field(ArticleTexts::OtherNames, n));
        ++n;
    });
    // Every article views the new store now; the stores they were read into go.
    catalog.textStores.assign(1, texts);
    catalog.texts = std::move(texts);
}

bool CatalogLoader::inCatalogOrder(const ArticleTexts& read) const {
    std::uint32_t n = 0;
    bool same = true;
    forEachArticle(catalog, [&](const Article& article) {
        if (!same || n >= read.size()) {
            same = false;
            return;
        }
        for (const auto& [field, text] : {std::pair{ArticleTexts::Name, &article.name},
                                          {ArticleTexts::Description, &article.description},
                                          {ArticleTexts::OtherNames, &article.otherNames}}) {
            const std::string_view kept = read.field(field, n);
            same = same && kept.size() == text->size() && (kept.empty() || kept.data() == text->data());
        }
        ++n;
    });
    return same && n == read.size();
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
