#include "audio/gst/gst_file_range_source.h"

#include <fcntl.h>
#include <gst/base/gstbasesrc.h>
#include <gst/gst.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>

namespace {

struct FileRangeSrc {
  GstBaseSrc parent;
  gchar* location;
  gint64 offset;
  gint64 length;
  // Set by start, for the streaming thread.
  int fd;
  guint64 begin;
  guint64 size;
};

struct FileRangeSrcClass {
  GstBaseSrcClass parent_class;
};

enum { kPropLocation = 1, kPropOffset, kPropLength };

GstStaticPadTemplate src_template =
    GST_STATIC_PAD_TEMPLATE("src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS_ANY);

G_DEFINE_TYPE(FileRangeSrc, file_range_src, GST_TYPE_BASE_SRC)

FileRangeSrc* Self(gpointer object) { return reinterpret_cast<FileRangeSrc*>(object); }

void file_range_src_init(FileRangeSrc* self) {
  self->location = nullptr;
  self->offset = 0;
  self->length = -1;
  self->fd = -1;
  self->begin = 0;
  self->size = 0;
  gst_base_src_set_format(GST_BASE_SRC(self), GST_FORMAT_BYTES);
}

void SetProperty(GObject* object, guint id, const GValue* value, GParamSpec* spec) {
  FileRangeSrc* self = Self(object);
  GST_OBJECT_LOCK(self);
  switch (id) {
    case kPropLocation:
      g_free(self->location);
      self->location = g_value_dup_string(value);
      break;
    case kPropOffset:
      self->offset = g_value_get_int64(value);
      break;
    case kPropLength:
      self->length = g_value_get_int64(value);
      break;
    default:
      G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, spec);
  }
  GST_OBJECT_UNLOCK(self);
}

void GetProperty(GObject* object, guint id, GValue* value, GParamSpec* spec) {
  FileRangeSrc* self = Self(object);
  GST_OBJECT_LOCK(self);
  switch (id) {
    case kPropLocation:
      g_value_set_string(value, self->location);
      break;
    case kPropOffset:
      g_value_set_int64(value, self->offset);
      break;
    case kPropLength:
      g_value_set_int64(value, self->length);
      break;
    default:
      G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, spec);
  }
  GST_OBJECT_UNLOCK(self);
}

void Finalize(GObject* object) {
  g_free(Self(object)->location);
  G_OBJECT_CLASS(file_range_src_parent_class)->finalize(object);
}

gboolean Start(GstBaseSrc* base) {
  FileRangeSrc* self = Self(base);
  GST_OBJECT_LOCK(self);
  gchar* location = g_strdup(self->location);
  const gint64 offset = self->offset;
  const gint64 length = self->length;
  GST_OBJECT_UNLOCK(self);
  self->fd = location != nullptr ? ::open(location, O_RDONLY | O_CLOEXEC) : -1;
  struct stat st {};
  if (self->fd < 0 || ::fstat(self->fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    GST_ELEMENT_ERROR(self, RESOURCE, OPEN_READ, ("Could not open file \"%s\".", location),
                      (nullptr));
    g_free(location);
    if (self->fd >= 0) ::close(self->fd);
    self->fd = -1;
    return FALSE;
  }
  g_free(location);
  const auto fileSize = static_cast<guint64>(st.st_size);
  self->begin = std::min<guint64>(static_cast<guint64>(std::max<gint64>(offset, 0)), fileSize);
  const guint64 available = fileSize - self->begin;
  self->size = length < 0 ? available : std::min<guint64>(static_cast<guint64>(length), available);
  return TRUE;
}

gboolean Stop(GstBaseSrc* base) {
  FileRangeSrc* self = Self(base);
  if (self->fd >= 0) ::close(self->fd);
  self->fd = -1;
  return TRUE;
}

gboolean GetSize(GstBaseSrc* base, guint64* size) {
  *size = Self(base)->size;
  return TRUE;
}

gboolean IsSeekable(GstBaseSrc*) { return TRUE; }

GstFlowReturn Fill(GstBaseSrc* base, guint64 offset, guint length, GstBuffer* buffer) {
  FileRangeSrc* self = Self(base);
  if (offset >= self->size) return GST_FLOW_EOS;
  const guint64 wanted = std::min<guint64>(length, self->size - offset);
  GstMapInfo map;
  if (!gst_buffer_map(buffer, &map, GST_MAP_WRITE)) return GST_FLOW_ERROR;
  guint64 got = 0;
  while (got < wanted) {
    const ssize_t n = ::pread(self->fd, map.data + got, wanted - got,
                              static_cast<off_t>(self->begin + offset + got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<guint64>(n);
  }
  gst_buffer_unmap(buffer, &map);
  if (got == 0) {
    // The file shrank under us, or the disk failed: the stream ends here.
    GST_ELEMENT_ERROR(self, RESOURCE, READ, (nullptr),
                      ("read failed at %" G_GUINT64_FORMAT, offset));
    return GST_FLOW_ERROR;
  }
  gst_buffer_resize(buffer, 0, static_cast<gssize>(got));
  GST_BUFFER_OFFSET(buffer) = offset;
  GST_BUFFER_OFFSET_END(buffer) = offset + got;
  return GST_FLOW_OK;
}

void file_range_src_class_init(FileRangeSrcClass* klass) {
  GObjectClass* object = G_OBJECT_CLASS(klass);
  object->set_property = SetProperty;
  object->get_property = GetProperty;
  object->finalize = Finalize;
  const auto flags = static_cast<GParamFlags>(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS);
  g_object_class_install_property(
      object, kPropLocation,
      g_param_spec_string("location", "Location", "File to read", nullptr, flags));
  g_object_class_install_property(
      object, kPropOffset,
      g_param_spec_int64("offset", "Offset", "First byte of the range", 0, G_MAXINT64, 0, flags));
  g_object_class_install_property(
      object, kPropLength,
      g_param_spec_int64("length", "Length", "Bytes of the range, -1 to the end of the file", -1,
                         G_MAXINT64, -1, flags));
  GstElementClass* element = GST_ELEMENT_CLASS(klass);
  gst_element_class_set_static_metadata(element, "File range source", "Source/File",
                                        "Reads one byte range of a file", "Ondrake");
  gst_element_class_add_static_pad_template(element, &src_template);
  GstBaseSrcClass* base = GST_BASE_SRC_CLASS(klass);
  base->start = Start;
  base->stop = Stop;
  base->get_size = GetSize;
  base->is_seekable = IsSeekable;
  base->fill = Fill;
}

}  // namespace

namespace audio {

bool RegisterFileRangeSource() {
  static std::once_flag once;
  static bool ok = false;
  std::call_once(once, [] {
    ok = gst_element_register(nullptr, kFileRangeSourceName, GST_RANK_NONE,
                              file_range_src_get_type()) != FALSE;
  });
  return ok;
}

}  // namespace audio
