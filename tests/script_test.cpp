// The simulator's script parser: what the recorded games' scripts do not use
// (codes, other events, CRLF, overlapping ranges) and every malformed line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/sim/script.h"

// Comments, blank lines, CRLF, key names, codes in hex and decimal, other
// events; overlapping ranges deliver in file order within a frame.
TEST(Script, ParsesAndDeliversEachFrameInFileOrder) {
  sim::Script script;
  std::string error;
  ASSERT_TRUE(
      sim::ParseScript("# a comment\n\n1-3 down SPACE\n2 up left\r\n  # indented comment\n"
                       "2-2 other\n3 down 0x26\n5 down 16\n",
                       &script, &error))
      << error;
  EXPECT_EQ(script.lastFrame, 5);
  sim::EventCursor cursor(script);
  std::vector<std::string> got;  // frame:line kind key
  for (int f = 0; f < 7; ++f) {
    cursor.ForFrame(f, [&](const sim::ScriptLine& l) {
      got.push_back(std::to_string(f) + ":" + std::to_string(l.lineNumber) + " " +
                    std::to_string(static_cast<int>(l.kind)) + " " + std::to_string(l.key));
    });
  }
  EXPECT_EQ(got, (std::vector<std::string>{"1:3 0 32", "2:3 0 32", "2:4 1 37", "2:6 2 0", "3:3 0 32",
                                           "3:7 0 38", "5:8 0 16"}));
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
