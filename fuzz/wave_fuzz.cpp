// Any bytes as a WAV image: the three queries must stay inside the image
// and never ask for more than it holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "audio/Wave.h"

namespace {

struct FuzzWave : CWave {
  void Adopt(const uint8_t* data, size_t size) { image.assign(data, data + size); }
  uint32_t Length() const { return static_cast<uint32_t>(image.size()); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > (1u << 20)) return 0;
  FuzzWave w;
  w.Adopt(data, size);
  WAVEFORMATEX wf{};
  w.GetFormat(wf);
  uint32_t len = w.GetDataLen();
  if (len > w.Length()) std::abort();
  uint8_t* whole = nullptr;
  if (w.GetData(whole, 0) != len) std::abort();
  if (len > 0 && whole == nullptr) std::abort();
  uint8_t small[16];
  uint8_t* p = small;
  if (w.GetData(p, sizeof small) > sizeof small) std::abort();
  delete[] whole;
  return 0;
}
