// An audio device that never plays: the effect buffers and the music still
// load and start, at the rate a real device would likely have.
#include "platform/web/web.h"

namespace plat::audio {

namespace {

constexpr int kRate = 48000;

bool Init() { return true; }
void Quit() {}
int Open(Mixer* mixer) {
  mixer->SetRate(kRate);
  return kRate;
}
void Close() {}
bool Lost() { return false; }
void Nothing() {}

constexpr DeviceOps kSilentOps = {Init, Quit, Open, Close, Lost, Nothing, Nothing, nullptr, nullptr};

}  // namespace

const DeviceOps& SilentDeviceOps() { return kSilentOps; }

}  // namespace plat::audio
