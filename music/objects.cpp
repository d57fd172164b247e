// Reference counting, segments, the composer object and the factories.
#include "music/objects.h"
#include "music/compose.h"

namespace dm {

uint32_t Object::Release() {
  uint32_t left = --refs_;
  if (left == 0) delete this;
  return left;
}

Result Segment::SetRepeats(uint32_t repeats) {
  repeats_ = repeats;
  return S_OK;
}

Result Segment::SetParam(Param param, uint32_t, uint32_t, int32_t, void*) {
  if (param == Param::DisableTempo)
    tempoTrackOn_.store(false, std::memory_order_relaxed);
  else if (param == Param::EnableTempo)
    tempoTrackOn_.store(true, std::memory_order_relaxed);
  else
    return E_INVALIDARG;
  return S_OK;
}

Segment* Segment::FromTemplate(TemplateData t) {
  Segment* s = new Segment;
  s->isTemplate_ = true;
  s->template_ = std::move(t);
  return s;
}

Segment* Segment::FromComposition(SegmentData d) {
  Segment* s = new Segment;
  s->data_ = std::move(d);
  return s;
}

Result Composer::ComposeSegmentFromTemplate(Style* style, Segment* tmpl, uint16_t activity, ChordMap* map,
                                            Segment** out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (!style || !tmpl || !map || !tmpl->IsTemplate()) {
    lastError_ = "a style, a template and a chord map are needed";
    return E_INVALIDARG;
  }
  SegmentData data;
  if (!ComposeSegment(style->Data(), tmpl->Template(), map->Data(), activity, &data, &lastError_))
    return E_FAIL;
  *out = Segment::FromComposition(std::move(data));
  return S_OK;
}

Result CreateLoader(Loader** out) {
  if (!out) return E_INVALIDARG;
  *out = new Loader;
  return S_OK;
}

Result CreateComposer(Composer** out) {
  if (!out) return E_INVALIDARG;
  *out = new Composer;
  return S_OK;
}

}  // namespace dm
