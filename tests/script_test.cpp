// The simulator's script parser: what the recorded games' scripts do not use
// (codes, other events, CRLF, overlapping ranges) and every malformed line.
#include <gtest/gtest.h>

#include "tools/sim/script.h"

using sim::EventKind;

TEST(Script, ParsesEventsRangesKeysAndComments) {
  sim::Script script;
  std::string error;
  ASSERT_TRUE(
      sim::ParseScript("# a comment\n\n0 down SPACE\n3 up left\r\n"
                       "4-9 down 0x26\n  # indented comment\n9 other\n12 down 16\n",
                       &script, &error))
      << error;
  ASSERT_EQ(script.lines.size(), 5u);
  EXPECT_EQ(script.lines[0].key, 0x20u);
  EXPECT_EQ(script.lines[1].kind, EventKind::Up);
  EXPECT_EQ(script.lines[1].key, 0x25u);
  EXPECT_EQ(script.lines[2].first, 4);
  EXPECT_EQ(script.lines[2].last, 9);
  EXPECT_EQ(script.lines[2].key, 0x26u);
  EXPECT_EQ(script.lines[3].kind, EventKind::Other);
  EXPECT_EQ(script.lines[4].key, 16u);
  EXPECT_EQ(script.lastFrame, 12);
}

TEST(Script, MalformedLinesNameTheirLineNumber) {
  const char* bad[] = {
      "0 down SPACE\nx down SPACE\n",    // bad frame
      "0 down SPACE\n1 press SPACE\n",   // unknown event
      "0 down SPACE\n1 down\n",          // missing key
      "0 down SPACE\n1 down BANANA\n",   // unknown key
      "0 down SPACE\n1 other SPACE\n",   // other takes no key
      "5 down SPACE\n4 down SPACE\n",    // frames decrease
      "0 down SPACE\n9-3 down UP\n",     // range backwards
      "0 down SPACE\n-1 down UP\n",      // negative
      "0 down SPACE\n2 down 0x10000\n",  // code out of range
  };
  for (const char* text : bad) {
    sim::Script script;
    std::string error;
    EXPECT_FALSE(sim::ParseScript(text, &script, &error)) << text;
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
  }
}

TEST(Script, RangesDeliverInFileOrderPerFrame) {
  sim::Script script;
  std::string error;
  ASSERT_TRUE(sim::ParseScript("1-3 down UP\n2 down SHIFT\n2-2 other\n", &script, &error));
  sim::EventCursor cursor(script);
  std::vector<std::vector<int>> perFrame;
  for (int f = 0; f < 5; ++f) {
    perFrame.emplace_back();
    cursor.ForFrame(f, [&](const sim::ScriptLine& line) { perFrame.back().push_back(line.lineNumber); });
  }
  EXPECT_TRUE(perFrame[0].empty());
  EXPECT_EQ(perFrame[1], (std::vector<int>{1}));
  EXPECT_EQ(perFrame[2], (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(perFrame[3], (std::vector<int>{1}));
  EXPECT_TRUE(perFrame[4].empty());
}
