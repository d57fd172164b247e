// Drawing cost: a busy play frame, a title frame, and the keyed copies they
// are made of. The images are made in memory with the shapes of real ones:
// round sprites with keyed corners, glyphs that are half key.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

#include "game/game.h"
#include "game/state.h"
#include "gfx/display.h"
#include "gfx/font.h"
#include "gfx/images.h"
#include "platform/headless.h"

namespace {

Surface* Disc(uint16_t colour) {
  uint16_t* px = new uint16_t[32 * 32];
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) {
      const int dx = 2 * c - 31, dy = 2 * r - 31;
      px[r * 32 + c] = dx * dx + dy * dy < 32 * 32 ? static_cast<uint16_t>(colour + r + c) : kColorKey;
    }
  Surface* img = CreateSurface(32, 32, px);
  SetColorKey(img, kColorKey);
  return img;
}

Surface* Noise(int w, int h, unsigned seed, int keyInEight) {
  std::mt19937 rng(seed);
  uint16_t* px = new uint16_t[w * h];
  for (int i = 0; i < w * h; ++i) {
    const uint32_t v = rng();
    px[i] = static_cast<int>(v & 7) < keyInEight ? kColorKey : static_cast<uint16_t>((v >> 8) & 0x7FFF);
  }
  Surface* img = CreateSurface(w, h, px);
  SetColorKey(img, kColorKey);
  return img;
}

void LoadFakeImages() {
  ReleaseImages();
  Surface** sprites[] = {&explosion1, &explosion2, &explosion3, &explosion4, &kugel,    &alien1, &alien2,
                         &alien3,     &alien4,     &alien5,     &alien6,     &alien7,   &alien8, &asteroit1,
                         &asteroit2,  &asteroit3,  &meteorit,   &lava,       &munition, &schild};
  uint16_t colour = 0x0800;
  for (Surface** s : sprites) *s = Disc(colour += 0x0400);
  leer = Noise(32, 32, 1, 0);
  for (Surface*& ship : schiff) ship = Disc(0x1234);
  hintergrund = Noise(640, 480, 2, 0);
  titelbild = Noise(640, 480, 3, 0);
  zeichensatz = Noise(512, 48, 4, 4);
}

// Level 15 with the ship in the middle and 150 of its aliens moved into view.
// Made afresh each time a benchmark starts, from the generator's first state,
// so every benchmark sees the same level.
struct BusyLevel {
  double states[kObjectsPerLevel];
  int onScreen = 0;

  void Setup() {
    onScreen = 0;
    ResetGameStateForTests();
    headless::Reset();
    InitDisplay();
    LoadFakeImages();
    GenerateLevels();
    ResetNewGame();
    level = 15;
    x = y = 1600;
    xf = yf = 1600.0;
    s = 3;
    std::mt19937 rng(5);
    for (int i = 0; i < kObjectsPerLevel && onScreen < 150; ++i) {
      if (alien[level][i] != 8.0) continue;
      xalien[level][i] = x - 304 + 32 + static_cast<int>(rng() % 544);
      yalien[level][i] = y - 224 + 32 + static_cast<int>(rng() % 384);
      ++onScreen;
    }
    std::memcpy(states, alien[level], sizeof states);
  }
  // Undoes the ray's hits, so every frame shoots the same aliens.
  void Restore() { std::memcpy(alien[level], states, sizeof states); }
};

BusyLevel busy;

void PlayFrameDrawing() {
  DrawPlayScene();
  schuss = 0;
  feuer = 1;
  mun = 50;
  FireStep();  // a live ray: 65 points traced against every slot
  DrawBorderAndHud();
  newlevel = 100;
  LevelBannerStep();
}

void BM_PlayFrameDrawing(benchmark::State& st) {
  busy.Setup();
  for (auto _ : st) {
    PlayFrameDrawing();
    busy.Restore();
    benchmark::ClobberMemory();
  }
  st.counters["aliens_in_view"] = busy.onScreen;
  st.counters["alienanz"] = alienanz;
}
BENCHMARK(BM_PlayFrameDrawing)->Unit(benchmark::kMicrosecond);

void BM_PlayFrameDrawingAndFlip(benchmark::State& st) {
  busy.Setup();
  for (auto _ : st) {
    PlayFrameDrawing();
    FlipScreen();
    busy.Restore();
  }
}
BENCHMARK(BM_PlayFrameDrawingAndFlip)->Unit(benchmark::kMicrosecond);

// The drawing half of a title frame with both texts: the picture, 23 story
// lines of 40 cells, 18 author lines of up to 39 and the closing line.
void BM_TitleFrameDrawing(benchmark::State& st) {
  busy.Setup();
  const char* const line40 = "During the 22.Century the human race has~";
  const char* const line39 = "But I think the programmer of this game~";
  for (auto _ : st) {
    DrawSprite(0, 0, titelbild);
    for (int i = 0; i < 22; ++i) DrawText(0, 100 + 16 * i, line40);
    DrawText(0, 458, line40);
    for (int i = 0; i < 18; ++i) DrawText(8, 144 + 16 * i, i >= 2 && i < 6 ? "~" : line39);
    DrawText(16, 448, line39);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TitleFrameDrawing)->Unit(benchmark::kMicrosecond);

// A whole title frame: the 16 levels built anew, the reset, the menu, the flip.
void BM_TitleFrame(benchmark::State& st) {
  busy.Setup();
  game = 0;
  for (auto _ : st) RunTitleFrame();
}
BENCHMARK(BM_TitleFrame)->Unit(benchmark::kMillisecond);

void BM_KeyedSprite32(benchmark::State& st) {
  busy.Setup();
  for (auto _ : st) {
    for (int i = 0; i < 100; ++i) DrawSprite(32 + 5 * i, 32 + 3 * i, alien8);
    benchmark::ClobberMemory();
  }
  st.SetItemsProcessed(st.iterations() * 100);
}
BENCHMARK(BM_KeyedSprite32)->Unit(benchmark::kMicrosecond);

void BM_FullScreenPicture(benchmark::State& st) {
  busy.Setup();
  for (auto _ : st) {
    DrawSprite(0, 0, hintergrund);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FullScreenPicture)->Unit(benchmark::kMicrosecond);

}  // namespace
