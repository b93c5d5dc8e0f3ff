#include "audio/gst/gst_pads.h"

#include "platform/ascii_case.h"

namespace audio {

namespace {

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// Caps of a pad: what it carries now, else what it could carry; may be null.
GstPtr<GstCaps> PadCaps(GstPad* pad) {
  GstPtr<GstCaps> caps(gst_pad_get_current_caps(pad));
  if (caps == nullptr) caps.reset(gst_pad_query_caps(pad, nullptr));
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
  GstPtr<GstCaps> caps = PadCaps(pad);
  if (caps == nullptr) return false;
  bool raw = !gst_caps_is_any(caps.get()) && !gst_caps_is_empty(caps.get());
  for (guint i = 0; raw && i < gst_caps_get_size(caps.get()); ++i) {
    raw = gst_structure_has_name(gst_caps_get_structure(caps.get(), i), "audio/x-raw");
  }
  return raw;
}

bool IsAudioPad(GstPad* pad) {
  GstPtr<gchar> name(gst_pad_get_name(pad));
  if (name != nullptr && IsAudioPinId(name.get()) == 1) return true;
  GstPtr<GstCaps> caps = PadCaps(pad);
  return caps != nullptr && !gst_caps_is_any(caps.get()) && gst_caps_get_size(caps.get()) > 0 &&
         StartsWith(gst_structure_get_name(gst_caps_get_structure(caps.get(), 0)), "audio/");
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

std::vector<GstPtr<GstPad>> ElementPads(GstElement* element, bool sourcesOnly) {
  std::vector<GstPtr<GstPad>> pads;
  GstPtr<GstIterator> it(sourcesOnly ? gst_element_iterate_src_pads(element)
                                     : gst_element_iterate_pads(element));
  GValue item = G_VALUE_INIT;
  bool done = false;
  while (!done) {
    switch (gst_iterator_next(it.get(), &item)) {
      case GST_ITERATOR_OK:
        pads.emplace_back(GST_PAD(g_value_dup_object(&item)));
        g_value_reset(&item);
        break;
      case GST_ITERATOR_RESYNC:
        pads.clear();
        gst_iterator_resync(it.get());
        break;
      default:
        done = true;
        break;
    }
  }
  g_value_unset(&item);
  return pads;
}

}  // namespace audio
