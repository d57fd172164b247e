// Presenting one frame without a graphics card: our scaler into memory at
// the usual sizes, the whole present on SDL's dummy video driver, and beside
// it SDL's own software renderer doing the same picture, as the game did
// before it had a scaler of its own.
#include <benchmark/benchmark.h>

#include <vector>

#include "base/rgb565.h"
#include "platform/platform.h"
#include "platform/preferences.h"
#include "platform/sdl/present.h"
#include "platform/sdl/window.h"

namespace {

std::vector<uint16_t> TestFrame() {
  std::vector<uint16_t> frame(plat::kScreenWidth * plat::kScreenHeight);
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint16_t>(i * 2654435761u >> 7);
  return frame;
}

void BM_ScaleFrame(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  const std::vector<uint16_t> frame = TestFrame();
  std::vector<uint32_t> out(static_cast<size_t>(w) * h);
  for (auto _ : state) {
    sdlplat::ScaleFrame(frame.data(), plat::kScreenWidth, out.data(), w, w, h, 16, 8, 0);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_ScaleFrame)
    ->Args({1280, 960})
    ->Args({1440, 1080})
    ->Args({1920, 1440})
    ->Unit(benchmark::kMillisecond);

intptr_t Proc(plat::HWND hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return plat::DefWindowProc(hwnd, message, wParam, lParam);
}

// The whole DisplayPresent in a 1920 x 1080 window.
void BM_PresentSurface1080(benchmark::State& state) {
  SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
  plat::Preferences p;
  p.fullScreen = false;
  plat::SetPreferences(p);
  if (!plat::RegisterWindowClass("Ruzov", Proc)) return state.SkipWithError("no video");
  plat::HWND hwnd = plat::CreateMainWindow("Ruzov");
  if (!hwnd || !plat::DisplayCreate() || !plat::DisplaySetCooperative() ||
      !plat::DisplaySetMode(plat::kScreenWidth, plat::kScreenHeight, 16) || !plat::DisplayCreateFrame())
    return state.SkipWithError("no display");
  SDL_SetWindowSize(sdlplat::MainWindow(), 1920, 1080);
  const std::vector<uint16_t> frame = TestFrame();
  for (auto _ : state) plat::DisplayPresent(frame.data(), plat::kScreenWidth);
  sdlplat::Shutdown();
}
BENCHMARK(BM_PresentSurface1080)->Unit(benchmark::kMillisecond);

// SDL's software renderer: the 5-6-5 frame expanded into a streaming
// texture, then stretched to 1440 x 1080 in a 1920 x 1080 window.
void BM_SdlSoftwareRenderer1080(benchmark::State& state) {
  SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return state.SkipWithError("no video");
  SDL_Window* window = SDL_CreateWindow("Ruzov", 0, 0, 1920, 1080, 0);
  SDL_Renderer* r = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE) : nullptr;
  SDL_Texture* t = r ? SDL_CreateTexture(r, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                         plat::kScreenWidth, plat::kScreenHeight)
                     : nullptr;
  if (!t) return state.SkipWithError("no software renderer");
  SDL_SetTextureBlendMode(t, SDL_BLENDMODE_NONE);
  const std::vector<uint16_t> frame = TestFrame();
  const SDL_Rect dst{240, 0, 1440, 1080};
  for (auto _ : state) {
    void* texels = nullptr;
    int pitch = 0;
    SDL_LockTexture(t, nullptr, &texels, &pitch);
    for (int y = 0; y < plat::kScreenHeight; ++y) {
      uint32_t* out = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(texels) + y * pitch);
      const uint16_t* in = &frame[static_cast<size_t>(y) * plat::kScreenWidth];
      for (int x = 0; x < plat::kScreenWidth; ++x) out[x] = Rgb888(in[x]);
    }
    SDL_UnlockTexture(t);
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    SDL_RenderCopy(r, t, nullptr, &dst);
    SDL_RenderPresent(r);
  }
  SDL_DestroyTexture(t);
  SDL_DestroyRenderer(r);
  SDL_DestroyWindow(window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
BENCHMARK(BM_SdlSoftwareRenderer1080)->Unit(benchmark::kMillisecond);

}  // namespace
