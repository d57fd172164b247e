// Title frames: fresh levels, a new-game reset, then the menu, the story or
// the author text over the title picture.
#include "game/game.h"
#include "game/state.h"
#include "gfx/display.h"
#include "gfx/font.h"
#include "gfx/images.h"

namespace {

const char* const kStory[23] = {
    "During the 22.Century the human race has~", "seddeld the inner parts of our solar    ~",
    "system.                                 ~", "Unfortunally it was discovered that we  ~",
    "are not the only intelligent lifeform   ~", "in the universe. Nasty,ugly and horrible~",
    "terrible greenish Aliens have mounted   ~", "thair flying saucers and are forming    ~",
    "attack formations between the rocks of  ~", "the asteroid belt.                      ~",
    "                                        ~", "This is our only chance to catch them !!~",
    "                                        ~", "Put your ashole into the seat of our    ~",
    "newest evaluation - the mighty fast and ~", "well-armoured spaceship X 0815 - the    ~",
    "latest experience of war.               ~", "Move this great fighting machine among  ~",
    "the asteroids and kill every fucking    ~", "dirty alienbastard you can reach.       ~",
    "                                        ~", "    The whole world counts on you !     ~",
    "                                        ~",
};

// The four empty lines end at once: a bare "" would let the text run on into
// whatever bytes follow it.
const char* const kAuthor[18] = {
    "    Informations from the Author       ~",
    "                                       ~",
    "~",
    "~",
    "~",
    "~",
    "But I think the programmer of this game~",
    "must be rewarded for his efforts.      ~",
    "Everybody who plays this game has to   ~",
    "pay the unbelieveble amount of one US- ~",
    "dollar to the account that can be seen ~",
    "at the end of this text.               ~",
    "So it is sure that poeple who develop  ~",
    "programs for the internet can continue ~",
    "thair job and many more games will be  ~",
    "released in this cheap and fast way.   ~",
    "Be honorable and transfer one dollar to~",
    "  Bank: 20406080  Account : 135791113  ~",
};

void DrawMenu() {
  DrawText(160, 232, "Highscore  :~");
  DrawNumber(512, 232, static_cast<int>(highscore));
  DrawText(160, 362, "Start ->        Space~");
  DrawText(160, 394, "Information -> Return~");
}

void DrawStory() {
  for (int i = 0; i < 22; ++i) DrawText(0, 100 + 16 * i, kStory[i]);
  DrawText(0, 458, kStory[22]);
}

void DrawAuthor() {
  for (int i = 0; i < 18; ++i) DrawText(8, 144 + 16 * i, kAuthor[i]);
  DrawText(16, 448, "           (Press any key)             ~");
}

}  // namespace

void RunTitleFrame() {
  GenerateLevels();
  ResetNewGame();
  DrawSprite(0, 0, titelbild);
  if (!story && !info) DrawMenu();
  if (story) DrawStory();
  if (info) DrawAuthor();
  FlipScreen();
}
