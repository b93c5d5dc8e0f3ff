#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// Tags that tag editors put around MPEG audio frames, written by hand the way the tag formats
// lay them out, for the tests of the MPEG length scan and of the players on tagged files.
namespace mp3test {

// One tag frame: its id (3 characters for version 2, else 4) and its payload.
using TagFrame = std::pair<std::string, std::string>;

// An ID3v2 tag of major version 2, 3 or 4 holding `frames`; `footer` (version 4 only) adds the
// closing copy of the header that some editors write.
std::string Id3v2(int version, const std::vector<TagFrame>& frames, bool footer = false);

// The payload of a picture frame ("APIC"; "PIC" for version 2) of `bytes` bytes of image-like
// data: a JPEG start followed by bytes full of 0xFF, as compressed pictures are, which look like
// MPEG frame starts to a scan that does not skip the tag.
std::string Picture(int version, size_t bytes);

// The payload of a text frame.
std::string Text(const std::string& text);

// The 128-byte ID3v1 tag that ends a file.
std::string Id3v1(const std::string& title);

// `mp3` (MPEG-1 layer III whose first frame is an info frame, as xingmux writes it) with that
// frame replaced by a 128 kbit/s one that keeps its frame count and table and adds the LAME tag
// an encoder writes for gapless play: `delay` and `padding` samples, with its checksum. "" when
// `mp3` does not start with such a frame.
std::string WithLameTag(const std::string& mp3, int delay, int padding);

// An APEv2 tag (header, one item, footer) as some editors append it.
std::string ApeTag();

}  // namespace mp3test
