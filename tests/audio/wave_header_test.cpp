#include "audio/wave_header.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/audio_file_type.h"
#include "audio/riff_file.h"
#include "tests/audio/riff_fixture.h"
#include "tests/support/temp_dir.h"

namespace audio {
namespace {

using rifftest::Chunk;
using rifftest::FmtData;
using rifftest::Riff;

TEST(WaveHeader, PlayableLayoutsAndTheirFields) {
  struct Case {
    uint16_t channels, bits;
    int32_t kind;
  };
  const Case cases[] = {{1, 8, 0},  {2, 8, 1},  {1, 16, 2}, {2, 16, 3}, {1, 24, 4},
                        {2, 24, 5}, {6, 16, 6}, {8, 16, 7}, {6, 24, 8}, {8, 24, 9}};
  testsupport::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.channels << " ch " << c.bits << " bit");
    const std::string bytes = rifftest::SimpleWave(c.channels, 48000, c.bits, 4800);
    const WaveInfo info = ReadWaveHeader(dir.WriteFile("a.wav", bytes));
    const int32_t align = c.channels * c.bits / 8;
    EXPECT_EQ(info.Valid, 1);
    EXPECT_EQ(info.SampleKind, c.kind);
    EXPECT_EQ(info.BlockAlign, align);
    EXPECT_EQ(info.DataOffset, 44);
    EXPECT_EQ(info.DataBytes, 4800 * align);
    EXPECT_EQ(info.Frames, 4800);
    EXPECT_EQ(info.FileSize, static_cast<int64_t>(bytes.size()));
    EXPECT_EQ(info.LengthMS, 100);
    EXPECT_TRUE(IsPcmFormat(info));
  }

  // Other layouts keep the format fields (the graph builder types files by them) but are not
  // valid.
  for (const auto& [channels, bits] :
       std::vector<std::pair<uint16_t, uint16_t>>{{2, 32}, {4, 16}, {1, 12}, {3, 24}, {0, 16}}) {
    const WaveInfo info =
        ReadWaveHeader(dir.WriteFile("b.wav", rifftest::SimpleWave(channels, 44100, bits, 2)));
    EXPECT_EQ(info.Valid, 0) << channels << "/" << bits;
    EXPECT_EQ(info.FormatTag, 1);
    EXPECT_EQ(info.Channels, channels);
    EXPECT_EQ(info.BitsPerSample, bits);
    EXPECT_EQ(SampleKindOf(channels, bits), -1);
  }
}

TEST(WaveHeader, ChunkOrderPaddingAndEmptyChunks) {
  testsupport::TempDir dir;
  const std::string fmt = Chunk("fmt ", FmtData(1, 2, 44100, 16));
  const std::string data = Chunk("data", std::string(400, '\x01'));
  struct Case {
    const char* name;
    std::string body;
    int32_t dataOffset, frames;
  };
  const Case cases[] = {
      {"usual", fmt + data, 44, 100},
      {"data before format", data + fmt, 20, 100},
      // An odd chunk is followed by its pad byte; the next chunk sits behind it.
      {"odd chunk", Chunk("junk", "abc") + fmt + data, 12 + 12 + 24 + 8, 100},
      // Empty chunks are stepped over, also ahead of the format chunk.
      {"empty chunks", Chunk("fact", "") + Chunk("bext", "") + fmt + data, 12 + 16 + 24 + 8, 100},
      {"empty data", fmt + Chunk("data", ""), 44, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const WaveInfo info = ReadWaveHeader(dir.WriteFile("c.wav", Riff(c.body)));
    EXPECT_EQ(info.Valid, 1);
    EXPECT_EQ(info.DataOffset, c.dataOffset);
    EXPECT_EQ(info.Frames, c.frames);
    EXPECT_EQ(info.LengthMS, c.frames == 0 ? 0 : 2);  // 100 frames at 44.1 kHz
  }
}

TEST(WaveHeader, FormatTagsAndExtensibleSubFormats) {
  testsupport::TempDir dir;
  const std::string data = Chunk("data", std::string(64, '\x02'));
  struct Case {
    std::string fmt;
    int32_t tag, subFormat, valid;
    bool pcm;
  };
  const Case cases[] = {
      {rifftest::FmtExtensibleData(8, 48000, 24, 1), -2, 1, 1, true},
      {rifftest::FmtExtensibleData(2, 44100, 24, 3), -2, 3, 1, false},  // float
      // Extensible with a chunk too short to hold its GUID: the sub-format is unknown.
      {FmtData(0xFFFE, 2, 44100, 16), -2, 0, 1, false},
      {FmtData(0x55, 2, 44100, 16), 0x55, 0, 1, false},  // compressed data in a PCM layout
      {FmtData(0x50, 1, 44100, 0), 0x50, 0, 0, false},
      {FmtData(0x8001, 2, 44100, 16), -32767, 0, 1, false},
  };
  for (const Case& c : cases) {
    const WaveInfo info = ReadWaveHeader(dir.WriteFile("t.wav", Riff(Chunk("fmt ", c.fmt) + data)));
    SCOPED_TRACE(c.tag);
    EXPECT_EQ(info.FormatTag, c.tag);
    EXPECT_EQ(info.SubFormatTag, c.subFormat);
    EXPECT_EQ(info.Valid, c.valid);
    EXPECT_EQ(IsPcmFormat(info), c.pcm);
  }
  // The extensible 16-bit stereo file is read like a plain one.
  const WaveInfo ext = ReadWaveHeader(dir.WriteFile(
      "e.wav", Riff(Chunk("fmt ", rifftest::FmtExtensibleData(2, 44100, 16, 1)) + data)));
  EXPECT_EQ(ext.SampleKind, 3);
  EXPECT_EQ(ext.Frames, 16);
}

TEST(WaveHeader, DataSizeFramesAndLength) {
  testsupport::TempDir dir;
  const std::string fmt = Chunk("fmt ", FmtData(1, 2, 2000, 16));
  auto read = [&](const std::string& body) {
    return ReadWaveHeader(dir.WriteFile("d.wav", Riff(body)));
  };

  // A size field beyond the end of the file counts the bytes that are there.
  WaveInfo info = read(fmt + rifftest::ChunkWithSize("data", 0xFFFFFFF0u, std::string(10, 'x')));
  EXPECT_EQ(info.Valid, 1);
  EXPECT_EQ(info.DataBytes, 10);
  EXPECT_EQ(info.Frames, 2) << "a partial frame is not counted";
  EXPECT_EQ(info.FileSize, 12 + 24 + 8 + 10);

  // Lengths round half to even: 1 frame at 2000 Hz is 0.5 ms, 3 frames 1.5 ms, 5 frames 2.5 ms.
  for (const auto& [frames, ms] :
       std::vector<std::pair<int, int>>{{1, 0}, {3, 2}, {5, 2}, {7, 4}}) {
    info = read(fmt + Chunk("data", std::string(frames * 4, 'y')));
    EXPECT_EQ(info.LengthMS, ms) << frames;
  }

  // A sample rate of 0 leaves nothing to play, and no division by it.
  info = read(Chunk("fmt ", FmtData(1, 2, 0, 16)) + Chunk("data", std::string(8, 'z')));
  EXPECT_EQ(info.Valid, 0);
  EXPECT_EQ(info.LengthMS, 0);
  info = read(Chunk("fmt ", FmtData(1, 2, 0x80000000u, 16)) + Chunk("data", std::string(8, 'z')));
  EXPECT_EQ(info.Valid, 0);
}

TEST(WaveHeader, BrokenFilesAreInvalidWithoutFailing) {
  testsupport::TempDir dir;
  const std::string fmt = Chunk("fmt ", FmtData(1, 1, 8000, 8));
  const std::string data = Chunk("data", "abcd");
  const std::string whole = Riff(fmt + data);
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty", ""},
      {"riff header only", std::string("RIFF\x04\x00\x00\x00WAVE", 12)},
      {"format chunk under 16 bytes",
       Riff(Chunk("fmt ", FmtData(1, 1, 8000, 8).substr(0, 14)) + data)},
      {"format data cut by the end", whole.substr(0, 12 + 8 + 10)},
      {"format header cut by the end", whole.substr(0, 12 + 6)},
      {"data header cut by the end", whole.substr(0, 12 + 24 + 6)},
      {"no data chunk", Riff(fmt + Chunk("junk", "abcd"))},
      {"no format chunk", Riff(data + Chunk("junk", "abcd"))},
      {"chunk size past the end hides the rest",
       Riff(rifftest::ChunkWithSize("junk", 1000, "") + fmt + data)},
      {"garbage", std::string("\xff\xfe\x00\x01garbage garbage garbage", 27)},
  };
  for (const Case& c : cases) {
    const WaveInfo info = ReadWaveHeader(dir.WriteFile("broken.wav", c.bytes));
    EXPECT_EQ(info.Valid, 0) << c.name;
  }
  EXPECT_EQ(ReadWaveHeader(dir.Sub("missing.wav")).Valid, 0);
  EXPECT_EQ(ReadWaveHeader(dir.path()).Valid, 0) << "a folder";
  // A short format chunk leaves no format behind: the type then comes from the name.
  EXPECT_EQ(ReadWaveHeader(dir.WriteFile("short.wav", cases[2].bytes)).FormatTag, 0);
}

TEST(WaveHeader, CallerHandleIsUsedAndLeftOpen) {
  testsupport::TempDir dir;
  const std::string path = dir.WriteFile("h.wav", rifftest::SimpleWave(2, 44100, 16, 441));
  foundation::FileHandleId handle = foundation::OpenFileHandle(path, 0);
  ASSERT_NE(handle, 0);
  // The path is not used when a handle is given.
  EXPECT_EQ(ReadWaveHeader(dir.Sub("other"), handle).LengthMS, 10);
  EXPECT_EQ(FindRiffChunk("", handle, FourCC("data"), 0), 12 + 24 + 1);
  EXPECT_EQ(foundation::GetFileSizeOfHandle(handle), 12 + 24 + 8 + 441 * 4);
  foundation::CloseFileHandle(handle);
}

TEST(RiffChunks, FindsTheNthChunkBehindPadsAndEmptyChunks) {
  testsupport::TempDir dir;
  const std::string path =
      dir.WriteFile("c.wav", Riff(Chunk("cue ", "") + Chunk("junk", "abc") +
                                  Chunk("cue ", "12345") + Chunk("LIST", "adtl")));
  EXPECT_EQ(FindRiffChunk(path, 0, FourCC("cue "), 0), 13);
  EXPECT_EQ(FindRiffChunk(path, 0, FourCC("junk"), 0), 21);
  EXPECT_EQ(FindRiffChunk(path, 0, FourCC("cue "), 1), 33) << "behind the pad byte";
  EXPECT_EQ(FindRiffChunk(path, 0, FourCC("LIST"), 0), 47);
  EXPECT_EQ(FindRiffChunk(path, 0, FourCC("cue "), 2), -1);
  EXPECT_EQ(FindRiffChunk(path, 0, FourCC("cue "), -1), -1);
  EXPECT_EQ(FindRiffChunk(path, 0, FourCC("data"), 0), -1);
  EXPECT_EQ(FindRiffChunk(dir.Sub("missing"), 0, FourCC("cue "), 0), -1);
}

TEST(RiffChunks, FindsAnIdInTheLastFourBytes) {
  // The id needs no size field behind it to be found; the size is read only to step over a
  // chunk. Shorter tails, and ids that are not the wanted one or not its n-th, find nothing.
  testsupport::TempDir dir;
  const std::string body = Riff(Chunk("junk", "abc") + Chunk("cue ", ""));
  const std::string tailed = dir.WriteFile("t.wav", body + "LIST");
  EXPECT_EQ(FindRiffChunk(tailed, 0, FourCC("LIST"), 0), static_cast<int64_t>(body.size()) + 1);
  EXPECT_EQ(FindRiffChunk(tailed, 0, FourCC("LIST"), 1), -1);
  EXPECT_EQ(FindRiffChunk(tailed, 0, FourCC("cue "), 1), -1);
  EXPECT_EQ(FindRiffChunk(tailed, 0, FourCC("cue "), 0), 25);
  const std::string second = dir.WriteFile("s.wav", body + "cue ");
  EXPECT_EQ(FindRiffChunk(second, 0, FourCC("cue "), 1), static_cast<int64_t>(body.size()) + 1);
  EXPECT_EQ(FindRiffChunk(dir.WriteFile("u.wav", body + "LIS"), 0, FourCC("LIST"), 0), -1);
  // Past a chunk whose size runs beyond the end, nothing is read.
  const std::string over =
      dir.WriteFile("o.wav", Riff(rifftest::ChunkWithSize("junk", 0xFFFF, "LIST")));
  EXPECT_EQ(FindRiffChunk(over, 0, FourCC("LIST"), 0), -1);
}

TEST(AudioFileType, ByFormatTagThenByExtension) {
  testsupport::TempDir dir;
  struct Case {
    const char* name;
    std::string bytes;
    const char* type;
  };
  const std::string data = Chunk("data", "abcd");
  auto withTag = [&](uint16_t tag, uint16_t bits) {
    return Riff(Chunk("fmt ", FmtData(tag, 2, 44100, bits)) + data);
  };
  const Case cases[] = {
      {"pcm.mp3", withTag(1, 16), "wav"},
      {"pcm32.dat", withTag(1, 32), "wav"},  // not playable, still typed by its tag
      {"layer2.wav", withTag(0x50, 0), "mp2"},
      {"layer3.wav", withTag(0x55, 0), "mp3"},
      {"wma.wav", withTag(0x160, 16), "wmariff"},
      {"wma2.wav", withTag(0x161, 16), "wmariff"},
      {"adpcm.WAV", withTag(2, 4), "wav"},
      {"song.MP3", "\xff\xfb\x90\x64 not a riff file", "mp3"},
      {"noextension", "plain", ""},
      {"short.Wma", Riff(Chunk("fmt ", FmtData(0x55, 2, 44100, 0).substr(0, 12)) + data), "wma"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetAudioFileType(dir.WriteFile(c.name, c.bytes)), c.type) << c.name;
  }
  EXPECT_EQ(GetAudioFileType(dir.Sub("gone.ogg")), "ogg");
}

}  // namespace
}  // namespace audio
