// The MPEG frame walk behind the graph player's Length: frame sizes of every version and layer,
// the tags and junk around the frames, the counts info headers give, and the bound on what it
// reads. Files are built here byte by byte from the frame header layout.
#include "audio/mpeg_audio_scan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/audio/mp3_tag_fixture.h"

namespace {

// A frame kind: its 4 header bytes and what they mean, worked out by hand from the header
// layout (bytes = 144 x bit rate / rate, 72 x for MPEG-2 layer III, 4 x 12 x for layer I).
struct Kind {
  const char* name;
  std::string header;
  int frameBytes;
  int samplesPerFrame;
  int rate;
};

const Kind kMpeg1L3{"MPEG-1 III 128k 44.1k", "\xFF\xFB\x90\x64", 417, 1152, 44100};
const Kind kKinds[] = {
    kMpeg1L3,
    {"MPEG-1 III 128k 44.1k padded", "\xFF\xFB\x92\x64", 418, 1152, 44100},
    {"MPEG-2 III 64k 22.05k mono", "\xFF\xF3\x80\xC4", 208, 576, 22050},
    {"MPEG-2.5 III 8k 8k", "\xFF\xE3\x18\x44", 72, 576, 8000},
    {"MPEG-1 II 192k 48k", "\xFF\xFD\xA4\x04", 576, 1152, 48000},
    {"MPEG-1 I 128k 32k", "\xFF\xFF\x48\x04", 192, 384, 32000},
};

std::string Frames(const Kind& k, int count) {
  std::string one = k.header + std::string(static_cast<size_t>(k.frameBytes) - 4, '\x55');
  std::string out;
  for (int i = 0; i < count; ++i) out += one;
  return out;
}

// The first frame of `k` carrying an info header at `at` (after the side information).
std::string InfoFrame(const Kind& k, size_t at, const std::string& info) {
  std::string frame = Frames(k, 1);
  frame.replace(4, frame.size() - 4, std::string(frame.size() - 4, '\0'));
  frame.replace(at, info.size(), info);
  return frame;
}

std::string Be32(uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
          static_cast<char>(v)};
}

audio::MpegAudioInfo Scan(const std::string& bytes, int64_t cap = audio::kMaxMpegScanBytes) {
  const audio::ByteReader read = [&bytes](int64_t offset, uint8_t* dst, int64_t count) {
    if (offset < 0 || count < 0 || offset + count > static_cast<int64_t>(bytes.size())) {
      ADD_FAILURE() << "read outside the file at " << offset;
      return false;
    }
    std::memcpy(dst, bytes.data() + offset, static_cast<size_t>(count));
    return true;
  };
  return audio::ScanMpegAudio(read, 0, static_cast<int64_t>(bytes.size()), cap);
}

TEST(MpegAudioScan, FrameSizesOfEveryVersionAndLayer) {
  for (const Kind& k : kKinds) {
    SCOPED_TRACE(k.name);
    audio::MpegFrameHeader h;
    ASSERT_TRUE(audio::ParseMpegFrameHeader(reinterpret_cast<const uint8_t*>(k.header.data()), &h));
    EXPECT_EQ(h.frameBytes, k.frameBytes);
    const audio::MpegAudioInfo info = Scan(Frames(k, 40));
    ASSERT_TRUE(info.found);
    EXPECT_EQ(info.samples, 40 * k.samplesPerFrame);
    EXPECT_EQ(info.sampleRate, k.rate);
  }
  // Free-format, reserved version, reserved rate and reserved emphasis are no frame headers.
  for (const char* bad : {"\xFF\xFB\x00\x64", "\xFF\xEB\x90\x64", "\xFF\xFB\x9C\x64",
                          "\xFF\xFB\x90\x66", "\xFF\xF9\x90\x64", "\xFF\xFB\xF0\x64"}) {
    audio::MpegFrameHeader h;
    EXPECT_FALSE(audio::ParseMpegFrameHeader(reinterpret_cast<const uint8_t*>(bad), &h));
  }
}

// Tags and junk around the frames are in the players' table; here what only a walk meets.
TEST(MpegAudioScan, WalkStepsOverJunkAndStopsAtTheStreamsEnd) {
  const std::string frames = Frames(kMpeg1L3, 50);
  // A lone frame-like pattern in junk: followed by nothing that continues it.
  const std::string junk = "junk\xFF\xFB\x90\x64" + std::string(300, 'j');
  const std::pair<const char*, std::string> cases[] = {
      {"junk between frames", Frames(kMpeg1L3, 20) + junk + Frames(kMpeg1L3, 30)},
      {"cut last frame", frames + Frames(kMpeg1L3, 1).substr(0, 200)},
      {"another stream after the first", frames + Frames(kKinds[2], 30)},
      {"ID3v2.4 with a footer first, APEv2, Lyrics3 and ID3v1 last",
       mp3test::Id3v2(4, {{"APIC", mp3test::Picture(4, 3000)}}, true) + frames + mp3test::ApeTag() +
           "000011" + "LYRICS200" + mp3test::Id3v1("t")},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    const audio::MpegAudioInfo info = Scan(bytes);
    ASSERT_TRUE(info.found);
    EXPECT_EQ(info.samples, 50 * 1152);
  }
  for (const std::string& none : {std::string(), junk, std::string(5000, '\xFF')}) {
    EXPECT_FALSE(Scan(none).found);
  }
}

TEST(MpegAudioScan, InfoHeadersGiveTheCountLessTheEncoderPadding) {
  const std::string toc(100, '\0');
  const std::string xing = "Xing" + Be32(0x0F) + Be32(60) + Be32(25000) + toc + Be32(50);
  // LAME tag: version, 12 bytes, then delay 576 and padding 1000 (12 bits each).
  const std::string lame = "LAME3.100" + std::string(12, '\0') + std::string("\x24\x03\xE8", 3);
  const std::string body = Frames(kMpeg1L3, 10);
  struct Case {
    const char* name;
    std::string first;
    int64_t samples;
    bool fromHeader;
  };
  const Case cases[] = {
      {"Xing", InfoFrame(kMpeg1L3, 36, xing), 60 * 1152, true},
      {"Info with a LAME tag", InfoFrame(kMpeg1L3, 36, "Info" + xing.substr(4) + lame),
       60 * 1152 - 576 - 1000, true},
      {"Xing in an MPEG-2 mono frame", InfoFrame(kKinds[2], 13, xing), 60 * 576, true},
      {"VBRI", InfoFrame(kMpeg1L3, 36, "VBRI" + std::string(10, '\0') + Be32(50)), 50 * 1152, true},
      // No count, or one the bytes cannot hold: the frames are walked; the info frame is silent.
      {"Xing without a count", InfoFrame(kMpeg1L3, 36, "Xing" + Be32(0x06)), 10 * 1152, false},
      {"Xing count past the file", InfoFrame(kMpeg1L3, 36, "Xing" + Be32(1) + Be32(0xFFFFFFFF)),
       10 * 1152, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const audio::MpegAudioInfo info =
        Scan(c.first + (c.first[1] == '\xF3' ? Frames(kKinds[2], 10) : body));
    ASSERT_TRUE(info.found);
    EXPECT_EQ(info.samples, c.samples);
    EXPECT_EQ(info.fromHeader, c.fromHeader);
  }
}

TEST(MpegAudioScan, WalkStopsAtItsBoundAndReckonsTheRest) {
  const std::string bytes = Frames(kMpeg1L3, 2000);  // 834 kB
  const audio::MpegAudioInfo info = Scan(bytes, 100000);
  ASSERT_TRUE(info.found);
  EXPECT_TRUE(info.estimated);
  EXPECT_NEAR(static_cast<double>(info.samples), 2000.0 * 1152, 1152.0);
  EXPECT_EQ(info.LengthMs(), 52245);  // 2000 x 1152 / 44100 s
}

}  // namespace
