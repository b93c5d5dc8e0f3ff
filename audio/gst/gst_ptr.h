#pragma once

#include <gst/gst.h>

#include <memory>
#include <type_traits>

namespace audio {

template <typename T, typename... Types>
inline constexpr bool kGstIsOneOf = (std::is_same_v<T, Types> || ...);

// The GstObject kinds held here: counted and floating references of their own.
template <typename T>
inline constexpr bool kGstIsObject =
    kGstIsOneOf<T, GstObject, GstElement, GstPad, GstBus, GstPluginFeature, GstElementFactory>;

// Gives back one owned reference to a GStreamer or GLib object the way its type requires. A type
// not listed here has no holder, so a wrong unref cannot compile.
template <typename T>
struct GstUnref {
  void operator()(T* object) const {
    if constexpr (kGstIsObject<T>) {
      gst_object_unref(object);
    } else if constexpr (kGstIsOneOf<T, GstCaps, GstMessage, GstSample>) {
      // Their own unref calls are inline wrappers of this one.
      gst_mini_object_unref(GST_MINI_OBJECT_CAST(object));
    } else if constexpr (std::is_same_v<T, GstIterator>) {
      gst_iterator_free(object);
    } else if constexpr (std::is_same_v<T, GError>) {
      g_error_free(object);
    } else {
      static_assert(std::is_same_v<T, gchar>, "no holder for this type");
      g_free(object);
    }
  }
};

// Owns one reference; the holder going gives it back.
template <typename T>
using GstPtr = std::unique_ptr<T, GstUnref<T>>;

// Holds a new reference to an object someone else keeps too. Null stays null.
template <typename T>
GstPtr<T> GstRef(T* object) {
  static_assert(kGstIsObject<T>);
  return GstPtr<T>(object != nullptr ? static_cast<T*>(gst_object_ref(object)) : nullptr);
}

// Takes over a floating reference (a new element, bin or pad nobody owns yet); on an object
// that is not floating it adds a reference instead. Null stays null.
template <typename T>
GstPtr<T> GstSink(T* object) {
  static_assert(kGstIsObject<T>);
  return GstPtr<T>(object != nullptr ? static_cast<T*>(gst_object_ref_sink(object)) : nullptr);
}

}  // namespace audio
