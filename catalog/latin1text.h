#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A text of an article: Latin-1 bytes, either its own or a view of bytes its catalog keeps for all its
// articles in one place. A loaded catalog's articles view the catalog's store (16 bytes each instead of a
// string object and a heap block per text); texts made anywhere else (a test, a copy edited in a dialog)
// own their bytes. Copies of a view view the same bytes, so a view must not outlive its catalog.
class Latin1Text {
public:
    Latin1Text() noexcept = default;
    // Copies; a text beyond 4 GiB keeps its first 4 GiB (article texts are at most a few hundred bytes).
    explicit Latin1Text(std::string_view text);
    Latin1Text(const std::string& text) : Latin1Text(std::string_view(text)) {}
    Latin1Text(const char* text) : Latin1Text(std::string_view(text)) {}
    // Shares bytes that someone else keeps alive and unchanged for as long as this text and its copies live.
    static Latin1Text viewOf(std::string_view bytes) noexcept;

    Latin1Text(const Latin1Text& other);
    Latin1Text(Latin1Text&& other) noexcept;
    Latin1Text& operator=(const Latin1Text& other);
    Latin1Text& operator=(Latin1Text&& other) noexcept;
    ~Latin1Text();

    const char* data() const noexcept { return bytes; }
    std::size_t size() const noexcept { return length; }
    bool empty() const noexcept { return length == 0; }
    std::string_view view() const noexcept { return {bytes, length}; }
    operator std::string_view() const noexcept { return view(); }

    friend bool operator==(const Latin1Text& a, const Latin1Text& b) noexcept { return a.view() == b.view(); }
    friend bool operator!=(const Latin1Text& a, const Latin1Text& b) noexcept { return !(a == b); }

private:
    void release() noexcept;

    const char* bytes = "";
    std::uint32_t length = 0;
    bool owned = false;
};

// Where the texts of articles being read are kept for their views (see Article::parse).
class TextStore {
public:
    enum Field { Name, Description, OtherNames };
    // A copy of bytes that stays where it is for as long as the store lives.
    virtual std::string_view keep(Field field, std::string_view bytes) = 0;

protected:
    ~TextStore() = default;
};

// Keeps texts that views point at: blocks that never move once written, so that a view stays valid
// while more texts are added.
class TextArena final : public TextStore {
public:
    // A copy of bytes kept in the arena.
    std::string_view store(std::string_view bytes);
    std::string_view keep(Field, std::string_view bytes) override { return store(bytes); }

private:
    static constexpr std::size_t blockSize = std::size_t(1) << 20;
    std::vector<std::unique_ptr<char[]>> blocks;
    char* next = nullptr;
    std::size_t room = 0;
};
