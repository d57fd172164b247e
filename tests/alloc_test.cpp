// Nothing is allocated while frames run: the real start-up on the headless
// backend with the generated data set, then the real main loop through 400
// title and play frames, recorded as the game records them, with every heap
// allocation of this thread counted while a frame (or the loop around it)
// runs. Message handling and start-up are not counted.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "app/app.h"
#include "app/startup.h"
#include "game/state.h"
#include "platform/headless.h"
#include "record/record.h"

#if defined(__SANITIZE_ADDRESS__)
#define RUZOV_ALLOC_COUNTING 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RUZOV_ALLOC_COUNTING 0
#endif
#endif
#ifndef RUZOV_ALLOC_COUNTING
#define RUZOV_ALLOC_COUNTING 1
#endif

namespace {

// Set on the main thread only: the sound threads allocate as they like.
thread_local bool counting = false;
int allocations = 0;
size_t firstSize = 0;

[[maybe_unused]] inline void Note(size_t size) {
  if (!counting) return;
  if (allocations++ == 0) firstSize = size;
}

}  // namespace

#if RUZOV_ALLOC_COUNTING
void* operator new(size_t n) {
  Note(n);
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t n) { return operator new(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept {
  Note(n);
  return std::malloc(n ? n : 1);
}
void* operator new[](size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void* operator new(size_t n, std::align_val_t a) {
  Note(n);
  void* p = nullptr;
  if (posix_memalign(&p, static_cast<size_t>(a), n ? n : 1) != 0) throw std::bad_alloc();
  return p;
}
void* operator new[](size_t n, std::align_val_t a) { return operator new(n, a); }
void* operator new(size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
  Note(n);
  void* p = nullptr;
  return posix_memalign(&p, static_cast<size_t>(a), n ? n : 1) == 0 ? p : nullptr;
}
void* operator new[](size_t n, std::align_val_t a, const std::nothrow_t& t) noexcept {
  return operator new(n, a, t);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"  // free is right here
#endif
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, size_t) noexcept { operator delete(p); }
void operator delete[](void* p, size_t) noexcept { operator delete(p); }
void operator delete(void* p, std::align_val_t) noexcept { operator delete(p); }
void operator delete[](void* p, std::align_val_t) noexcept { operator delete(p); }
void operator delete(void* p, size_t, std::align_val_t) noexcept { operator delete(p); }
void operator delete[](void* p, size_t, std::align_val_t) noexcept { operator delete(p); }

#if defined(__GLIBC__)
// C allocations too (SDL, FluidSynth, the C library), through glibc's own.
extern "C" {
// glibc's own entry points, under their reserved names.
void* __libc_malloc(size_t);          // NOLINT(bugprone-reserved-identifier)
void* __libc_calloc(size_t, size_t);  // NOLINT(bugprone-reserved-identifier)
void* __libc_realloc(void*, size_t);  // NOLINT(bugprone-reserved-identifier)
void* malloc(size_t n) {
  Note(n);
  return __libc_malloc(n);
}
void* calloc(size_t count, size_t n) {
  Note(count * n);
  return __libc_calloc(count, n);
}
void* realloc(void* p, size_t n) {
  Note(n);
  return __libc_realloc(p, n);
}
}
#endif
#endif

namespace {

// The player: the story and author screens, a game started by Space, the
// ship steered and firing, a new game after each game over, and Escape
// after 400 frames. One message before each frame at most.
int lastFrame = -1;

bool NextMessage(void*, uint32_t* message, uintptr_t* key) {
  const int frame = headless::PresentCount();
  if (frame == lastFrame) {
    counting = true;  // the frame (or the wait for it) comes next
    return false;
  }
  lastFrame = frame;
  counting = false;
  *message = plat::WM_KEYDOWN;
  if (frame >= 400)
    *key = plat::VK_ESCAPE;
  else if (frame == 10)
    *key = plat::VK_RETURN;  // story
  else if (frame == 20 || frame == 30 || (!game && frame > 40 && frame % 20 == 0))
    *key = plat::VK_SPACE;  // author, back to the title, later a new game
  else if (frame % 12 == 0)
    *key = plat::VK_SHIFT;
  else if (frame % 50 < 30)
    *key = plat::VK_UP;
  else
    *key = frame % 2 ? plat::VK_RIGHT : plat::VK_DOWN;
  return true;
}

TEST(Allocations, NoneWhileTitleAndPlayFramesRun) {
  if (!RUZOV_ALLOC_COUNTING) GTEST_SKIP() << "the sanitizers own the allocator";
  ASSERT_EQ(chdir(RUZOV_DATA), 0);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  headless::Reset();
  ResetGameStateForTests();
  ASSERT_TRUE(InitApplication()) << ErrStr;
  // The counter itself works.
  counting = true;
  int* volatile probe = new int(1);
  delete probe;
  void* volatile block = std::malloc(16);
  std::free(block);
  counting = false;
  ASSERT_GE(allocations, 2);
  allocations = 0;
  headless::SetMessageSource(&NextMessage, nullptr);
  rec::StartRecorder();
  LoopHooks hooks;
  hooks.message = [](const plat::Msg& m) { rec::RecordMessage(m.message, m.wParam); };
  hooks.frame = [] {
    static char line[rec::kTraceLineSize];
    uint32_t score = 0;
    rec::RecordFrame(line, rec::TakeTraceLine(line, rec::RecordedFrames()), &score);
  };
  SetLoopHooks(hooks);
  // Frames presented while counting, and how many of them were play frames.
  static int counted, played;
  counted = played = 0;
  headless::SetPresentHook(
      [](void*, const uint16_t*, int) {
        counted += counting;
        played += counting && game;
      },
      nullptr);
  RunMainLoop();
  counting = false;
  SetLoopHooks(LoopHooks{});
  EXPECT_GE(rec::RecordedFrames(), 400);
  EXPECT_GE(counted, 400);
  EXPECT_GT(played, 100);
  EXPECT_EQ(allocations, 0) << "the first of them asked for " << firstSize << " bytes";
}

}  // namespace
