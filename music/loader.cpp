// Loads the three music files by class and name, with an optional cache.
#include "base/read_file.h"
#include "music/formats.h"
#include "music/objects.h"

namespace dm {

namespace {

// The request's wide name as UTF-8; false when it is empty or not ended.
bool FileName(const DMUS_OBJECTDESC& desc, std::string* out) {
  out->clear();
  for (int i = 0; i < DMUS_MAX_FILENAME; ++i) {
    char32_t c = desc.wszFileName[i];
    if (c == 0) return !out->empty();
    if (c >= 0xD800 && c <= 0xDFFF) return false;  // no surrogate pairs in our names
    if (c < 0x80) {
      out->push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out->push_back(static_cast<char>(0xC0 | (c >> 6)));
      out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out->push_back(static_cast<char>(0xE0 | (c >> 12)));
      out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return false;
}

}  // namespace

Loader::~Loader() { ClearCache(ClassId::AllTypes); }

Result Loader::EnableCache(ClassId which, bool enable) {
  if (which != ClassId::AllTypes) return E_INVALIDARG;
  cacheOn_ = enable;
  if (!enable) ClearCache(ClassId::AllTypes);
  return S_OK;
}

Result Loader::ClearCache(ClassId which) {
  std::vector<Entry> keep;
  for (Entry& e : cache_)
    if (which == ClassId::AllTypes || e.cls == which)
      e.object->Release();
    else
      keep.push_back(std::move(e));
  cache_.swap(keep);
  return S_OK;
}

Result Loader::Load(const DMUS_OBJECTDESC* desc, ClassId want, Object** out) {
  *out = nullptr;
  lastError_.clear();
  std::string name;
  if (!desc || desc->dwSize != sizeof(DMUS_OBJECTDESC) || !(desc->dwValidData & DMUS_OBJ_CLASS) ||
      !(desc->dwValidData & DMUS_OBJ_FILENAME) || !FileName(*desc, &name)) {
    lastError_ = "bad request";
    return E_INVALIDARG;
  }
  if (desc->guidClass != want) {
    lastError_ = name + ": the request's class differs from the object asked for";
    return E_NOINTERFACE;
  }
  for (const Entry& e : cache_)
    if (e.cls == want && e.file == name) {
      e.object->AddRef();
      *out = e.object;
      return S_OK;
    }

  std::string text, error;
  if (const char* why = files::ReadWhole(name.c_str(), static_cast<size_t>(kMaxFileBytes), &text)) {
    lastError_ = name + ": " + why;
    return E_NOT_FOUND;
  }
  Object* object = nullptr;
  if (want == ClassId::Segment) {
    TemplateData t;
    if (ParseTemplate(text, &t, &error)) object = Segment::FromTemplate(std::move(t));
  } else if (want == ClassId::Style) {
    StyleData s;
    if (ParseStyle(text, &s, &error)) object = new Style(std::move(s));
  } else if (want == ClassId::ChordMap) {
    ChordMapData m;
    if (ParseChordMap(text, &m, &error)) object = new ChordMap(std::move(m));
  }
  if (!object) {
    lastError_ = name + ": " + error;
    return E_NOT_FOUND;
  }
  if (cacheOn_) {
    object->AddRef();
    cache_.push_back({want, name, object});
  }
  *out = object;
  return S_OK;
}

Result Loader::GetObject(const DMUS_OBJECTDESC* desc, Segment** out) {
  if (!out) return E_INVALIDARG;
  Object* o;
  Result r = Load(desc, ClassId::Segment, &o);
  *out = static_cast<Segment*>(o);
  return r;
}

Result Loader::GetObject(const DMUS_OBJECTDESC* desc, Style** out) {
  if (!out) return E_INVALIDARG;
  Object* o;
  Result r = Load(desc, ClassId::Style, &o);
  *out = static_cast<Style*>(o);
  return r;
}

Result Loader::GetObject(const DMUS_OBJECTDESC* desc, ChordMap** out) {
  if (!out) return E_INVALIDARG;
  Object* o;
  Result r = Load(desc, ClassId::ChordMap, &o);
  *out = static_cast<ChordMap*>(o);
  return r;
}

}  // namespace dm
