// PegHelp: the command line, the topic taken from a help file and how its
// HTML becomes headings, paragraphs and list items; bad files and anchors.
#include "platform/peghelp/src/HelpDocument.h"
#include "platform/peghelp/src/HelpRequest.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

using peghelp::BlockKind;
using peghelp::HelpBlock;
using peghelp::HelpDocument;
using peghelp::HelpRequest;

namespace {

std::wstring SamplePath()
{
    return BesideTestProgram(L"testdata\\HelpSample.htm");
}

TEST(HelpRequest, TakesNameAndAnchorAndFindsBareNamesInTheWindowsFolder)
{
    HelpRequest request = HelpRequest::Parse(L"file:Jotlings.htm#Titles", L"C:\\windows");
    EXPECT_EQ(L"C:\\windows\\Jotlings.htm", request.path);
    EXPECT_EQ(L"Jotlings.htm", request.name);
    EXPECT_EQ(L"Titles", request.anchor);

    request = HelpRequest::Parse(L"file:\\Windows\\Jotlings.htm#SToday", L"C:\\windows");
    EXPECT_EQ(L"C:\\Windows\\Jotlings.htm", request.path);
    EXPECT_EQ(L"SToday", request.anchor);

    request = HelpRequest::Parse(L"file:Jotlings.htm", L"C:\\windows");
    EXPECT_EQ(L"C:\\windows\\Jotlings.htm", request.path);
    EXPECT_EQ(L"", request.anchor);

    request = HelpRequest::Parse(L"\"Z:\\tmp\\x.htm\"", L"C:\\windows");
    EXPECT_EQ(L"Z:\\tmp\\x.htm", request.path);

    EXPECT_EQ(L"", HelpRequest::Parse(L"", L"C:\\windows").path);
    EXPECT_EQ(L"", HelpRequest::Parse(nullptr, L"C:\\windows").path);
    EXPECT_EQ(L"", HelpRequest::Parse(L"file:#x", L"C:\\windows").path);
}

TEST(HelpDocument, ShowsOnlyTheTopicAtTheAnchorAsHeadingsParagraphsAndListItems)
{
    HelpDocument document;
    ASSERT_TRUE(document.Load(SamplePath(), L"HelpSample.htm", L"Edit"));
    const std::vector<HelpBlock>& blocks = document.Blocks();
    ASSERT_GE(blocks.size(), 6u);
    EXPECT_EQ(BlockKind::Heading, blocks[0].kind);
    EXPECT_EQ(L"Writing a note", blocks[0].text);
    EXPECT_EQ(BlockKind::Paragraph, blocks[1].kind);
    // Whitespace collapsed, inline tags dropped with their text kept,
    // entities decoded.
    EXPECT_EQ(L"Write on the yellow page with the stylus, or switch to typing mode and type "
              L"with the input panel. Tap \"Done\" to save & close.",
              blocks[1].text);
    EXPECT_EQ(BlockKind::ListItem, blocks[2].kind);
    EXPECT_EQ(L"Tap Edit > Undo to take back the last stroke.", blocks[2].text);
    EXPECT_EQ(BlockKind::ListItem, blocks[3].kind);
    EXPECT_EQ(BlockKind::Heading, blocks[4].kind);
    EXPECT_EQ(L"Recording", blocks[4].text);
    EXPECT_NE(std::wstring::npos, blocks[5].text.find(L"Caf\x00E9 \x263A"));
    for (const HelpBlock& block : blocks) {
        EXPECT_EQ(std::wstring::npos, block.text.find(L"Ready-made")) << "next topic leaked in";
        EXPECT_EQ(std::wstring::npos, block.text.find(L"Sample help")) << "the title leaked in";
    }
}

TEST(HelpDocument, AnAnchorInsideItsHeadingKeepsTheHeading)
{
    HelpDocument document;
    ASSERT_TRUE(document.Load(SamplePath(), L"HelpSample.htm", L"Titles"));
    ASSERT_EQ(2u, document.Blocks().size());
    EXPECT_EQ(BlockKind::Heading, document.Blocks()[0].kind);
    EXPECT_EQ(L"Ready-made titles", document.Blocks()[0].text);
}

TEST(HelpDocument, NoAnchorShowsTheWholeFileWithoutItsHead)
{
    HelpDocument document;
    ASSERT_TRUE(document.Load(SamplePath(), L"HelpSample.htm", L""));
    EXPECT_EQ(BlockKind::Title, document.Blocks()[0].kind);
    EXPECT_EQ(L"Sample program Help", document.Blocks()[0].text);
    EXPECT_EQ(L"Keep a list of titles to pick from.", document.Blocks().back().text);
}

TEST(HelpDocument, AMissingFileOrAnchorGivesAMessageThatNamesIt)
{
    HelpDocument missingFile;
    EXPECT_FALSE(missingFile.Load(L"C:\\windows\\NoSuchHelp.htm", L"NoSuchHelp.htm", L"Edit"));
    EXPECT_FALSE(missingFile.Found());
    ASSERT_EQ(2u, missingFile.Blocks().size());
    EXPECT_NE(std::wstring::npos, missingFile.Blocks()[1].text.find(L"NoSuchHelp.htm"));

    HelpDocument missingAnchor;
    EXPECT_FALSE(missingAnchor.Load(SamplePath(), L"HelpSample.htm", L"edit"));  // case counts
    ASSERT_EQ(2u, missingAnchor.Blocks().size());
    EXPECT_EQ(BlockKind::Message, missingAnchor.Blocks()[1].kind);
    EXPECT_NE(std::wstring::npos, missingAnchor.Blocks()[1].text.find(L"\"edit\""));

    HelpDocument noName;
    EXPECT_FALSE(noName.Load(L"", L"", L""));
    EXPECT_FALSE(noName.Blocks().empty());
}

TEST(HelpDocument, BrokenHtmlNeverReadsPastItsEnd)
{
    const wchar_t* broken[] = {
        L"<a name=\"X\"><h2>Cut off", L"<a name=X>text <b", L"<a name=\"X", L"&", L"&#;",
        L"&#99999999999; &#xD800; &#x110000; &bogus; &amp", L"<!-- never closed",
        L"<a name=X><script>while(1)", L"<a name=X></h9><li><li></li>", L"<<<>>>",
    };
    for (const wchar_t* html : broken) {
        HelpDocument document;
        document.LoadText(html, L"broken.htm", L"X");
        EXPECT_FALSE(document.Blocks().empty()) << "no text and no message for one input";
    }
    HelpDocument document;
    ASSERT_TRUE(document.LoadText(L"<p>&#9999999; &#xD800; &bogus; &amp</p>", L"b", L""));
    EXPECT_EQ(L"\xFFFD \xFFFD &bogus; &amp", document.Blocks()[0].text);
}

TEST(HelpDocument, StrayAngleBracketsAndAmpersandsAreTextAndTheTopicGoesOn)
{
    // Hand-written files: a '<' that opens no tag before the next '<', runs
    // of them, and '&' that starts no entity. Each run is 64 KB.
    std::wstring prose;
    while (prose.size() < 65536) {
        prose += L"if a <b then c; ";
    }
    prose.pop_back();
    std::wstring brackets(65536, L'<');
    std::wstring ampersands(65536, L'&');
    std::wstring html = L"<html><head><title>Stray</title></head><body>"
                        L"<p>Before</p><h2><a name=\"Stray\"></a>Stray markup</h2><p>" +
                        prose + L"</p><p>" + brackets + L"<p>" + ampersands +
                        L"</p><p title=\"a > b\">End &amp; more</p><!-- <a name=\"X\"> -->"
                        L"<p>Still here</p><h2><a name=\"Next\"></a>Next</h2><p>x</p></body></html>";
    HelpDocument document;
    ASSERT_TRUE(document.LoadText(html, L"stray.htm", L"Stray"));
    const std::vector<HelpBlock>& blocks = document.Blocks();
    ASSERT_EQ(6u, blocks.size());
    EXPECT_EQ(BlockKind::Heading, blocks[0].kind);
    EXPECT_EQ(L"Stray markup", blocks[0].text);
    EXPECT_EQ(prose, blocks[1].text);
    EXPECT_EQ(brackets, blocks[2].text);
    EXPECT_EQ(ampersands, blocks[3].text);
    EXPECT_EQ(L"End & more", blocks[4].text);
    EXPECT_EQ(L"Still here", blocks[5].text);

    // The whole file, with the same runs before any tag and none after.
    HelpDocument whole;
    ASSERT_TRUE(whole.LoadText(brackets + L"<p>" + prose, L"stray.htm", L""));
    ASSERT_EQ(2u, whole.Blocks().size());
    EXPECT_EQ(brackets, whole.Blocks()[0].text);
    EXPECT_EQ(prose, whole.Blocks()[1].text);
}

TEST(HelpDocument, DecodesUtf8Utf16AndWesternText)
{
    EXPECT_EQ(L"Caf\x00E9", HelpDocument::Decode("Caf\xC3\xA9"));
    EXPECT_EQ(L"Caf\x00E9", HelpDocument::Decode("\xEF\xBB\xBF" "Caf\xC3\xA9"));
    EXPECT_EQ(L"Caf\x00E9", HelpDocument::Decode("Caf\xE9"));  // not UTF-8
    EXPECT_EQ(L"Ab", HelpDocument::Decode(std::string("\xFF\xFE" "A\0b\0", 6)));
    EXPECT_EQ(L"", HelpDocument::Decode(""));
    EXPECT_EQ(L"", HelpDocument::Decode(std::string("\xFF\xFE" "A", 3)));
}

}  // namespace
