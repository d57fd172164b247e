// Title frames: the menu, story and author screens over the title picture,
// one flip per frame, and a back buffer that is never cleared.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "draw_support.h"
#include "game/game.h"

using namespace drawtest;

namespace {

constexpr uint16_t kTitle = 0x0202;

const char* const kStoryLines[23] = {
    "During the 22.Century the human race has",
    "seddeld the inner parts of our solar    ",
    "system.                                 ",
    "Unfortunally it was discovered that we  ",
    "are not the only intelligent lifeform   ",
    "in the universe. Nasty,ugly and horrible",
    "terrible greenish Aliens have mounted   ",
    "thair flying saucers and are forming    ",
    "attack formations between the rocks of  ",
    "the asteroid belt.                      ",
    "                                        ",
    "This is our only chance to catch them !!",
    "                                        ",
    "Put your ashole into the seat of our    ",
    "newest evaluation - the mighty fast and ",
    "well-armoured spaceship X 0815 - the    ",
    "latest experience of war.               ",
    "Move this great fighting machine among  ",
    "the asteroids and kill every fucking    ",
    "dirty alienbastard you can reach.       ",
    "                                        ",
    "    The whole world counts on you !     ",
    "                                        ",
};

// Lines 2 to 5 are empty: nothing is drawn there.
const char* const kAuthorLines[18] = {
    "    Informations from the Author       ",
    "                                       ",
    "",
    "",
    "",
    "",
    "But I think the programmer of this game",
    "must be rewarded for his efforts.      ",
    "Everybody who plays this game has to   ",
    "pay the unbelieveble amount of one US- ",
    "dollar to the account that can be seen ",
    "at the end of this text.               ",
    "So it is sure that poeple who develop  ",
    "programs for the internet can continue ",
    "thair job and many more games will be  ",
    "released in this cheap and fast way.   ",
    "Be honorable and transfer one dollar to",
    "  Bank: 20406080  Account : 135791113  ",
};
const char kPressAnyKey[] = "           (Press any key)             ";

class Title : public DrawFixture {
 protected:
  void SetUp() override {
    DrawFixture::SetUp();
    titelbild = Solid(640, 480, kTitle);
    zeichensatz = FontSheet();
  }
  static const uint16_t* Frame() { return headless::LastPresented(); }
  static std::string Text(int px, int py, size_t n) {
    return ReadText(Frame(), px, py, static_cast<int>(n), kTitle);
  }
  static int Glyphs(int code) { return CountValue(Frame(), GlyphColour(code)); }
  // Pixels that are neither title picture nor glyph key corners showing it.
  static int Drawn() { return kScreenW * kScreenH - CountValue(Frame(), kTitle); }
  static int MenuPixels() { return Glyphs('H') + Glyphs('>') + Glyphs('R'); }
};

TEST_F(Title, MenuShowsTheHighscoreIncludingTheGameJustEnded) {
  punkte = 12345;
  highscore = 999;
  RunTitleFrame();
  ASSERT_NE(Frame(), nullptr);
  EXPECT_EQ(punkte, 0u);
  EXPECT_EQ(highscore, 12345u);
  EXPECT_EQ(Text(160, 232, 13), "Highscore  :*");
  EXPECT_EQ(Text(448, 232, 6), "12345*");
  EXPECT_EQ(Text(160, 362, 22), "Start ->        Space*");
  EXPECT_EQ(Text(160, 394, 22), "Information -> Return*");
  const int cells = 12 + 5 + 21 + 21;
  EXPECT_EQ(Drawn(), cells * 255);
}

TEST_F(Title, HighscoreShowsItsLastFiveDigitsWithoutLeadingZeros) {
  highscore = 1234567;
  RunTitleFrame();
  EXPECT_EQ(Text(432, 232, 6), "*34567");
  highscore = 100000;
  RunTitleFrame();
  EXPECT_EQ(Text(432, 232, 6), "*****0");
}

TEST_F(Title, StoryScreen) {
  story = 1;
  RunTitleFrame();
  int cells = 0;
  for (int i = 0; i < 23; ++i) {
    const int py = i < 22 ? 100 + 16 * i : 458;
    EXPECT_EQ(Text(0, py, 40), kStoryLines[i]) << "line " << i;
    cells += 40;
  }
  EXPECT_EQ(Drawn(), cells * 255);
  EXPECT_EQ(MenuPixels(), 0);
}

TEST_F(Title, AuthorScreen) {
  info = 1;
  RunTitleFrame();
  int cells = 0;
  for (int i = 0; i < 18; ++i) {
    const size_t n = std::strlen(kAuthorLines[i]);
    EXPECT_EQ(Text(8, 144 + 16 * i, n), kAuthorLines[i]) << "line " << i;
    cells += static_cast<int>(n);
  }
  EXPECT_EQ(Text(16, 448, 39), kPressAnyKey);
  cells += 39;
  EXPECT_EQ(Drawn(), cells * 255);
  EXPECT_EQ(MenuPixels(), 0);
}

TEST_F(Title, BothFlagsDrawTheAuthorTextOverTheStory) {
  story = 1;
  info = 1;
  RunTitleFrame();
  // The story lines the author text leaves alone.
  EXPECT_EQ(Text(0, 100, 40), kStoryLines[0]);
  EXPECT_EQ(Text(0, 116, 40), kStoryLines[1]);
  // The last story line shows only below the closing author line.
  EXPECT_EQ(Frame()[470 * kScreenW + 20], GlyphColour(' '));
  for (int i = 0; i < 18; ++i) {
    if (!*kAuthorLines[i]) continue;
    // Glyph corners show the story glyph below, not the title picture.
    const uint16_t* frame = Frame();
    for (size_t j = 0; j < std::strlen(kAuthorLines[i]); ++j) {
      const int px = 8 + 16 * static_cast<int>(j), py = 144 + 16 * i;
      EXPECT_EQ(frame[py * kScreenW + px], GlyphColour(kAuthorLines[i][j])) << i << "," << j;
      EXPECT_EQ(frame[(py + 14) * kScreenW + px + 14], GlyphColour(kAuthorLines[i][j])) << i << "," << j;
    }
  }
  for (size_t j = 0; j < 39; ++j)
    EXPECT_EQ(Frame()[449 * kScreenW + 16 + 16 * static_cast<int>(j)], GlyphColour(kPressAnyKey[j]));
  // Story glyphs show through between the author lines that are empty.
  EXPECT_EQ(Frame()[180 * kScreenW + 2], GlyphColour(kStoryLines[5][0]));
  EXPECT_EQ(Frame()[180 * kScreenW + 20], GlyphColour(kStoryLines[5][1]));
  EXPECT_EQ(MenuPixels(), 0);
}

TEST_F(Title, EveryFrameFlipsExactlyOnce) {
  RunGameFrame();
  EXPECT_EQ(headless::PresentCount(), 1);
  story = 1;
  RunGameFrame();
  EXPECT_EQ(headless::PresentCount(), 2);
  // A play frame, with nothing loaded but the title images.
  ResetNewGame();
  game = 1;
  RunGameFrame();
  EXPECT_EQ(headless::PresentCount(), 3);
  // Past the last level a play request still gives a title frame.
  level = kLevelCount;
  RunGameFrame();
  EXPECT_EQ(headless::PresentCount(), 4);
  EXPECT_EQ(level, 0);
}

TEST_F(Title, KeyedPartsOfThePictureShowTheFrameBeforeThePreviousOne) {
  // The title picture is transparent along the left edge, where the author
  // text never draws and the story's first letters do.
  for (int py = 0; py < 480; ++py)
    for (int px = 0; px < 8; ++px) Put(titelbild, px, py, kColorKey);

  story = 1;
  RunTitleFrame();  // frame A
  story = 0;
  RunTitleFrame();  // frame B: menu
  EXPECT_EQ(Frame()[102 * kScreenW + 2], 0);
  info = 1;
  RunTitleFrame();  // frame C: drawn over what A left
  EXPECT_EQ(Frame()[102 * kScreenW + 2], GlyphColour('D'));
  EXPECT_EQ(Frame()[118 * kScreenW + 2], GlyphColour('s'));
  EXPECT_EQ(Frame()[102 * kScreenW + 8], kTitle);
}

}  // namespace
