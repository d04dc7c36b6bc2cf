// A help file's topic as blocks of text to show: headings, paragraphs and
// list items, taken from the HTML between the topic's anchor and the next
// anchor. Tags the viewer does not know are dropped, their text kept.
#pragma once

#include <string>
#include <vector>

namespace peghelp {

enum class BlockKind { Title, Heading, Paragraph, ListItem, Message };

struct HelpBlock {
    BlockKind kind;
    std::wstring text;
};

class HelpDocument {
public:
    // The largest help file read; anything beyond is not a help file.
    static constexpr size_t kMaxFileBytes = 4 * 1024 * 1024;

    // Reads path and takes the topic at anchor (all of it when anchor is
    // empty). On failure the document holds a message that says why.
    bool Load(const std::wstring& path, const std::wstring& name, const std::wstring& anchor);
    // The same from text already read.
    bool LoadText(const std::wstring& html, const std::wstring& name, const std::wstring& anchor);

    const std::vector<HelpBlock>& Blocks() const { return blocks_; }
    bool Found() const { return found_; }

    // Bytes of a file to text: UTF-16 with its byte-order mark, UTF-8 (with
    // or without one), else the Western code page.
    static std::wstring Decode(const std::string& bytes);
    // Where the topic of anchor starts and ends in html; false when absent.
    static bool FindTopic(const std::wstring& html, const std::wstring& anchor, size_t& begin,
                          size_t& end);
    // The blocks of an HTML piece.
    static std::vector<HelpBlock> Parse(const std::wstring& html);

private:
    void ShowMessage(const std::wstring& title, const std::wstring& text);

    std::vector<HelpBlock> blocks_;
    bool found_ = false;
};

}  // namespace peghelp
