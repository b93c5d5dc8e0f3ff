#include "audio/gst_pads.h"

#include "platform/ascii_case.h"

namespace audio {

namespace {

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// Caps of a pad: what it carries now, else what it could carry. Caller unrefs; may be null.
GstCaps* PadCaps(GstPad* pad) {
  GstCaps* caps = gst_pad_get_current_caps(pad);
  if (caps == nullptr) caps = gst_pad_query_caps(pad, nullptr);
  return caps;
}

}  // namespace

int32_t IsAudioPinId(const std::string& id) {
  std::string folded;
  for (char c : id) {
    if (c == ' ' || c == '\t') continue;
    folded += platform::FoldAscii(c);
  }
  if (folded.find("audio") != std::string::npos) return 1;
  return folded.find("stream") != std::string::npos && folded.find('1') != std::string::npos;
}

bool PadGivesRawAudio(GstPad* pad) {
  GstCaps* caps = PadCaps(pad);
  if (caps == nullptr) return false;
  bool raw = !gst_caps_is_any(caps) && !gst_caps_is_empty(caps);
  for (guint i = 0; raw && i < gst_caps_get_size(caps); ++i) {
    raw = gst_structure_has_name(gst_caps_get_structure(caps, i), "audio/x-raw");
  }
  gst_caps_unref(caps);
  return raw;
}

bool IsAudioPad(GstPad* pad) {
  gchar* name = gst_pad_get_name(pad);
  bool audio = name != nullptr && IsAudioPinId(name) == 1;
  g_free(name);
  if (audio) return true;
  GstCaps* caps = PadCaps(pad);
  if (caps != nullptr) {
    if (!gst_caps_is_any(caps) && gst_caps_get_size(caps) > 0) {
      audio = StartsWith(gst_structure_get_name(gst_caps_get_structure(caps, 0)), "audio/");
    }
    gst_caps_unref(caps);
  }
  return audio;
}

bool HasSometimesSourceTemplate(GstElement* element) {
  for (const GList* t = gst_element_class_get_pad_template_list(GST_ELEMENT_GET_CLASS(element));
       t != nullptr; t = t->next) {
    auto* templ = static_cast<GstPadTemplate*>(t->data);
    if (GST_PAD_TEMPLATE_DIRECTION(templ) == GST_PAD_SRC &&
        GST_PAD_TEMPLATE_PRESENCE(templ) == GST_PAD_SOMETIMES) {
      return true;
    }
  }
  return false;
}

std::vector<GstPad*> ElementPads(GstElement* element, bool sourcesOnly) {
  std::vector<GstPad*> pads;
  GstIterator* it =
      sourcesOnly ? gst_element_iterate_src_pads(element) : gst_element_iterate_pads(element);
  GValue item = G_VALUE_INIT;
  bool done = false;
  while (!done) {
    switch (gst_iterator_next(it, &item)) {
      case GST_ITERATOR_OK:
        pads.push_back(GST_PAD(g_value_dup_object(&item)));
        g_value_reset(&item);
        break;
      case GST_ITERATOR_RESYNC:
        for (GstPad* p : pads) gst_object_unref(p);
        pads.clear();
        gst_iterator_resync(it);
        break;
      default:
        done = true;
        break;
    }
  }
  g_value_unset(&item);
  gst_iterator_free(it);
  return pads;
}

void UnrefPads(std::vector<GstPad*>& pads) {
  for (GstPad* p : pads) gst_object_unref(p);
  pads.clear();
}

}  // namespace audio
