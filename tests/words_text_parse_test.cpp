// The line reader: line ends, the end of the text and rewinding, buffer growth, UTF-16 files.
#include <cstring>
#include <string>
#include <vector>

#include "tests/words_test_support.h"
#include "words/text_parse.h"

namespace spellcrypt {
namespace {

using testing::ScratchDir;

class TextParseTest : public testing::WordsTest {
 protected:
  // Every line until GetNextLine fails.
  std::vector<std::string> ReadAll(CTextParse& reader) {
    std::vector<std::string> lines;
    const char* line = nullptr;
    while (reader.GetNextLine(&line)) lines.emplace_back(line);
    EXPECT_EQ(line, nullptr);
    return lines;
  }
  bool OpenFile(CTextParse& reader, std::string_view bytes) {
    reader.SetPrefix(dir.Path() + "/");
    dir.Write("text.txt", bytes);
    return reader.Open("text.txt");
  }
  ScratchDir dir;
};

TEST_F(TextParseTest, LastLineWithAndWithoutLineEndThenRewinds) {
  CTextParse reader;
  ASSERT_TRUE(OpenFile(reader, "A|5\r\nB|2\r\nC|9"));
  EXPECT_EQ(reader.Size(), 15u);  // the file and the two zero bytes after it
  EXPECT_EQ(ReadAll(reader), (std::vector<std::string>{"A|5", "B|2", "C|9"}));
  const char* line = nullptr;
  ASSERT_TRUE(reader.GetNextLine(&line));
  EXPECT_STREQ(line, "A|5");

  // With a line end after the last line, the two zero bytes form one more, empty line.
  CTextParse ended;
  ASSERT_TRUE(OpenFile(ended, "A|5\r\nB|2\r\nC|9\r\n"));
  EXPECT_EQ(ReadAll(ended), (std::vector<std::string>{"A|5", "B|2", "C|9", ""}));

  // LF alone ends lines too; a CR elsewhere in the line stays, a TAB stays in 8-bit text.
  CTextParse mixed;
  ASSERT_TRUE(OpenFile(mixed, "a\tb\nc\rd\r\n"));
  EXPECT_EQ(ReadAll(mixed), (std::vector<std::string>{"a\tb", "c\rd", ""}));
}

TEST_F(TextParseTest, EmptyFileGivesOneEmptyLine) {
  CTextParse reader;
  ASSERT_TRUE(OpenFile(reader, ""));
  EXPECT_FALSE(reader.unicode);
  EXPECT_EQ(ReadAll(reader), (std::vector<std::string>{""}));
}

TEST_F(TextParseTest, LongLineDoublesTheBufferOnce) {
  CTextParse reader;
  const std::string longLine(5000, 'x');
  ASSERT_TRUE(OpenFile(reader, longLine + "\nshort"));
  // (Compared as a whole so that a failure does not print 5000 letters.)
  EXPECT_TRUE(ReadAll(reader) == (std::vector<std::string>{longLine, "short"}));
  EXPECT_EQ(reader.LineCapacity(), 8096);
  EXPECT_EQ(ErrorLinesWith("Line too big, let's realocate the buffer"), 1);

  // Far longer lines keep doubling and come back whole.
  CTextParse huge;
  const std::string hugeLine(100000, 'y');
  ASSERT_TRUE(OpenFile(huge, hugeLine));
  EXPECT_TRUE(ReadAll(huge) == std::vector<std::string>{hugeLine});
}

TEST_F(TextParseTest, Utf16FileReadsSixteenBitLines) {
  CTextParse reader;
  const char bytes[] = {'\xFF', '\xFE', 'a', 0, 'b', 0, '\r', 0, '\n', 0, 'c', 0, '\t', 0, 'd', 0};
  ASSERT_TRUE(OpenFile(reader, std::string_view(bytes, sizeof bytes)));
  EXPECT_TRUE(reader.unicode);
  EXPECT_EQ(reader.Position(), 1u);
  const char* line = nullptr;
  ASSERT_TRUE(reader.GetNextLine(&line));
  EXPECT_EQ(std::memcmp(line, "a\0b\0\0\0", 6), 0);
  EXPECT_EQ(reader.WideLine(), u"ab");
  ASSERT_TRUE(reader.GetNextLine(&line));
  EXPECT_EQ(reader.WideLine(), u"c d");
  EXPECT_FALSE(reader.GetNextLine(&line));
  ASSERT_TRUE(reader.GetNextLine(&line));  // rewound to just after the mark
  EXPECT_EQ(reader.WideLine(), u"ab");

  reader.tabsToSpaces = false;
  ASSERT_TRUE(reader.GetNextLine(&line));
  EXPECT_EQ(reader.WideLine(), u"c\td");
}

TEST_F(TextParseTest, LongUtf16LineIsReadWhole) {
  std::string bytes = "\xFF\xFE";
  for (int i = 0; i < 3000; ++i) bytes += std::string("z\0", 2);
  bytes += std::string("\n\0q\0", 4);
  CTextParse reader;
  ASSERT_TRUE(OpenFile(reader, bytes));
  const char* line = nullptr;
  ASSERT_TRUE(reader.GetNextLine(&line));
  EXPECT_TRUE(reader.WideLine() == std::u16string(3000, u'z'));
  ASSERT_TRUE(reader.GetNextLine(&line));
  EXPECT_EQ(reader.WideLine(), u"q");
}

TEST_F(TextParseTest, Fields) {
  CTextParse reader;
  reader.SetText("E|127\nname|3|x|\n");
  ASSERT_TRUE(reader.GetNextLine(nullptr));
  EXPECT_STREQ(reader.GetField(2, '|'), "127");
  EXPECT_STREQ(reader.GetField(1, '|'), "E");
  EXPECT_STREQ(reader.GetField(3, '|'), "");
  ASSERT_TRUE(reader.GetNextLine(nullptr));
  EXPECT_STREQ(reader.GetField(3, '|'), "x");
  EXPECT_STREQ(reader.GetField(4, '|'), "");
}

TEST_F(TextParseTest, HandedOverAndAppendedTextsHaveNoExtraLine) {
  CTextParse reader;
  reader.AppendData("first li", 8);
  reader.AppendData("ne\r\nsecond\n", 11);
  EXPECT_EQ(reader.Size(), 19u);
  EXPECT_EQ(ReadAll(reader), (std::vector<std::string>{"first line", "second"}));

  // A handed-over text replaces the file's, and is read as 8-bit even after a UTF-16 file.
  ASSERT_TRUE(OpenFile(reader, std::string("\xFF\xFEx\0", 4)));
  ASSERT_TRUE(reader.unicode);
  reader.SetText("one\ntwo");
  EXPECT_EQ(ReadAll(reader), (std::vector<std::string>{"one", "two"}));
}

TEST_F(TextParseTest, ReadingWithoutTextAndMissingFiles) {
  CTextParse reader;
  const char* line = "untouched";
  EXPECT_FALSE(reader.GetNextLine(&line));
  EXPECT_EQ(LogLinesWith("Can't get next line, no file was opened."), 1);

  reader.SetText("kept\n");
  reader.SetPrefix(dir.Path() + "/");
  EXPECT_FALSE(reader.Open("missing.txt"));
  EXPECT_EQ(LogLinesWith("Couldn't open " + dir.Path() + "/missing.txt.."), 1);
  EXPECT_FALSE(reader.Open("."));  // a folder is no text
  EXPECT_EQ(ReadAll(reader), (std::vector<std::string>{"kept"}));

  reader.Close();
  EXPECT_FALSE(reader.GetNextLine(&line));
  EXPECT_EQ(LogLinesWith("Can't get next line, no file was opened."), 2);
  EXPECT_STREQ(reader.GetField(1, '|'), "");
  // A closed reader can be loaded again.
  reader.SetText("again");
  EXPECT_EQ(ReadAll(reader), (std::vector<std::string>{"again"}));
}

}  // namespace
}  // namespace spellcrypt
