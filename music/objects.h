// The music objects: a loader for the three music files and a composer that
// builds a segment from them. The performance that plays a segment belongs
// to the platform (platform/audio/audio.h).
//
// Shaped after the calls the game makes: objects are reference counted and
// released with Release(), calls return a result code (negative = failure).
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "music/music_data.h"

namespace dm {

using Result = int32_t;
constexpr Result S_OK = 0;
constexpr Result S_FALSE = 1;
constexpr Result E_FAIL = static_cast<Result>(0x80004005u);
constexpr Result E_INVALIDARG = static_cast<Result>(0x80070057u);
constexpr Result E_OUTOFMEMORY = static_cast<Result>(0x8007000Eu);
constexpr Result E_NOINTERFACE = static_cast<Result>(0x80004002u);
constexpr Result E_NOT_FOUND = static_cast<Result>(0x88781193u);  // no such file or no object in it
constexpr Result E_NOT_INIT = static_cast<Result>(0x88781195u);
inline bool Failed(Result r) { return r < 0; }

enum class ClassId : uint32_t { AllTypes = 0, Segment = 1, Style = 2, ChordMap = 3 };
enum class Param : uint32_t { PerfAutoDownload, DisableTempo, EnableTempo };

// The loader's request: which class, from which file.
constexpr uint32_t DMUS_OBJ_CLASS = 0x2;
constexpr uint32_t DMUS_OBJ_FILENAME = 0x10;
constexpr uint32_t DMUS_OBJ_FULLPATH = 0x20;
constexpr int DMUS_MAX_FILENAME = 260;
struct DMUS_OBJECTDESC {
  uint32_t dwSize;
  uint32_t dwValidData;
  ClassId guidClass;
  char16_t wszFileName[DMUS_MAX_FILENAME];
  uint8_t reserved[316];
};
static_assert(sizeof(DMUS_OBJECTDESC) == 848);

class Object {
 public:
  virtual ~Object() = default;
  uint32_t AddRef() { return ++refs_; }
  uint32_t Release();

 private:
  uint32_t refs_ = 1;
};

// A segment: either a template read from a file, or a composed piece.
class Segment : public Object {
 public:
  Result SetRepeats(uint32_t repeats);
  uint32_t Repeats() const { return repeats_; }
  // DisableTempo / EnableTempo: whether its own tempo track governs.
  Result SetParam(Param param, uint32_t groupBits, uint32_t index, int32_t time, void* data);
  bool TempoTrackOn() const { return tempoTrackOn_.load(std::memory_order_relaxed); }

  bool IsTemplate() const { return isTemplate_; }
  const TemplateData& Template() const { return template_; }
  const SegmentData& Data() const { return data_; }

  static Segment* FromTemplate(TemplateData t);
  static Segment* FromComposition(SegmentData d);

 private:
  bool isTemplate_ = false;
  TemplateData template_;
  SegmentData data_;
  uint32_t repeats_ = 0;
  std::atomic<bool> tempoTrackOn_{true};
};

class Style : public Object {
 public:
  explicit Style(StyleData d) : data_(std::move(d)) {}
  const StyleData& Data() const { return data_; }

 private:
  StyleData data_;
};

class ChordMap : public Object {
 public:
  explicit ChordMap(ChordMapData d) : data_(std::move(d)) {}
  const ChordMapData& Data() const { return data_; }

 private:
  ChordMapData data_;
};

class Loader : public Object {
 public:
  ~Loader() override;
  Result EnableCache(ClassId which, bool enable);
  Result ClearCache(ClassId which);
  // Opens the request's file name unchanged (relative to the working
  // directory). The class in the request must match the object asked for.
  Result GetObject(const DMUS_OBJECTDESC* desc, Segment** out);
  Result GetObject(const DMUS_OBJECTDESC* desc, Style** out);
  Result GetObject(const DMUS_OBJECTDESC* desc, ChordMap** out);
  // Why the last GetObject gave no object: "File: line N: ...".
  const std::string& LastError() const { return lastError_; }

 private:
  struct Entry {
    ClassId cls;
    std::string file;
    Object* object;
  };
  Result Load(const DMUS_OBJECTDESC* desc, ClassId want, Object** out);
  bool cacheOn_ = false;
  std::vector<Entry> cache_;
  std::string lastError_;
};

class Composer : public Object {
 public:
  Result ComposeSegmentFromTemplate(Style* style, Segment* tmpl, uint16_t activity, ChordMap* map,
                                    Segment** out);
  const std::string& LastError() const { return lastError_; }

 private:
  std::string lastError_;
};

Result CreateLoader(Loader** out);
Result CreateComposer(Composer** out);

}  // namespace dm
