#include "audio/wave_cue_chunks.h"

#include <dirent.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "tests/audio/riff_fixture.h"
#include "tests/support/temp_dir.h"

namespace audio {
namespace {

using rifftest::Chunk;
using rifftest::CueData;
using rifftest::FileSubChunk;
using rifftest::LablSubChunk;
using rifftest::ListChunk;
using rifftest::Riff;

// "テスト" in the double-byte code page.
const std::string kTestCp932 = "\x83\x65\x83\x58\x83\x67";

std::string WaveBody() {
  return Chunk("fmt ", rifftest::FmtData(1, 2, 44100, 16)) + Chunk("data", std::string(64, 'a'));
}

int OpenDescriptors() {
  int count = 0;
  if (DIR* d = opendir("/proc/self/fd")) {
    while (readdir(d) != nullptr) ++count;
    closedir(d);
  }
  return count;
}

TEST(WaveCueChunks, PointsPlayListLabelsAndFiles) {
  testsupport::TempDir dir;
  const std::string adtl =
      LablSubChunk(10, "intro") + LablSubChunk(99, "nobody's") +  // no such cue point
      LablSubChunk(20, kTestCp932) + LablSubChunk(30, "odd") +    // "odd"+NUL: 8 bytes, even
      LablSubChunk(30, "later wins!") +                           // 4 + 12 = 16
      LablSubChunk(10, "intro2", false) +                         // size 10
      Chunk("labl", "") +                                         // empty: stepped over
      FileSubChunk(20, 0x5678, "C:\\take.wav\r\nmore") + Chunk("note", "xyz") +
      LablSubChunk(40, "ab", false);  // size 6: too small to attach
  const std::string body =
      WaveBody() + Chunk("cue ", CueData({{10, 0}, {20, 4410}, {30, 88200}, {40, 5}})) +
      Chunk("plst", rifftest::PlstData({{30, 100, 2}, {77, 1, 1}, {10, 5, 0}})) +
      ListChunk("INFO", Chunk("INAM", "title")) + ListChunk("adtl", adtl) +
      ListChunk("adtl", LablSubChunk(20, "second list"));
  const std::string path = dir.WriteFile("m.wav", Riff(body));

  std::vector<CuePoint> cues;
  ASSERT_EQ(ReadWaveCueChunks(path, 0, cues), 4);
  ASSERT_EQ(cues.size(), 4u);
  // CueID, SampleOffset, Length, Repeats, Label, HasFile, MediaType, FileText
  using Fields =
      std::tuple<int32_t, int32_t, int32_t, int32_t, std::string, int32_t, int32_t, std::string>;
  const Fields expected[] = {
      {10, 0, 5, 0, "intro2", 0, 0, ""},
      {20, 4410, 0, 0, "テスト", 1, 0x5678, "C:\\take.wav"},  // the second list is not read
      {30, 88200, 100, 2, "later wins!", 0, 0, ""},
      {40, 5, 0, 0, "", 0, 0, ""},
  };
  for (size_t i = 0; i < cues.size(); ++i) {
    const CuePoint& c = cues[i];
    EXPECT_EQ(Fields(c.CueID, c.SampleOffset, c.Length, c.Repeats, c.Label, c.HasFile, c.MediaType,
                     c.FileText),
              expected[i])
        << i;
  }
}

TEST(WaveCueChunks, NoMarkersGivesZero) {
  testsupport::TempDir dir;
  const std::string entries = CueData({{1, 0}, {2, 1}, {3, 2}});
  struct Case {
    const char* name;
    std::string bytes;
    size_t elements;  // what the caller finds in the (ignored) array
  };
  const Case cases[] = {
      {"no cue chunk", Riff(WaveBody()), 1},
      {"under 50 bytes", Riff(Chunk("cue ", CueData({{1, 0}}))), 1},
      {"count 0", Riff(WaveBody() + Chunk("cue ", CueData({}, 0))), 1},
      {"count 101", Riff(WaveBody() + Chunk("cue ", CueData({{1, 0}, {2, 0}}, 101))), 1},
      {"count 2^32-1", Riff(WaveBody() + Chunk("cue ", CueData({{1, 0}}, 0xFFFFFFFF))), 1},
      {"entries cut by the end",
       Riff(WaveBody() + Chunk("cue ", entries)).substr(0, 12 + 96 + 8 + 4 + 30), 3},
      {"garbage", std::string(80, '\xA5'), 1},
  };
  for (const Case& c : cases) {
    std::vector<CuePoint> cues(7);
    EXPECT_EQ(ReadWaveCueChunks(dir.WriteFile("n.wav", c.bytes), 0, cues), 0) << c.name;
    EXPECT_EQ(cues.size(), c.elements) << c.name;
  }
  std::vector<CuePoint> cues;
  EXPECT_EQ(ReadWaveCueChunks(dir.Sub("missing.wav"), 0, cues), 0);
  ASSERT_EQ(cues.size(), 1u);
  EXPECT_EQ(cues[0].CueID, 0);

  // Cue points without play list or labels.
  ASSERT_EQ(
      ReadWaveCueChunks(dir.WriteFile("c.wav", Riff(WaveBody() + Chunk("cue ", entries))), 0, cues),
      3);
  for (const CuePoint& cue : cues) {
    EXPECT_EQ(cue.Length, 0);
    EXPECT_EQ(cue.Repeats, 0);
    EXPECT_EQ(cue.Label, "");
  }
  // A play list of 101 entries is no play list; one cut by the end keeps the entries before.
  const std::string cueChunk = Chunk("cue ", entries);
  ASSERT_EQ(ReadWaveCueChunks(
                dir.WriteFile("p.wav", Riff(WaveBody() + cueChunk +
                                            Chunk("plst", rifftest::PlstData({{1, 9, 9}}, 101)))),
                0, cues),
            3);
  EXPECT_EQ(cues[0].Length, 0);
  const std::string cut =
      Riff(WaveBody() + cueChunk + Chunk("plst", rifftest::PlstData({{1, 9, 8}, {2, 7, 6}})));
  ASSERT_EQ(ReadWaveCueChunks(dir.WriteFile("q.wav", cut.substr(0, cut.size() - 4)), 0, cues), 3);
  EXPECT_EQ(cues[0].Length, 9);
  EXPECT_EQ(cues[1].Length, 0);
}

TEST(WaveCueChunks, TextsAreCutAt512BytesOnCharacterBoundaries) {
  testsupport::TempDir dir;
  struct Case {
    const char* name;
    std::string subChunk;
    std::string label, fileText;
  };
  const std::string a511(511, 'a');
  const Case cases[] = {
      {"600 bytes", LablSubChunk(1, std::string(600, 'x')), std::string(512, 'x'), ""},
      // The cut falls between a lead byte and its trail byte: the lead byte goes.
      {"lead byte at the cut", LablSubChunk(1, a511 + kTestCp932), a511, ""},
      {"whole pair at the cut", LablSubChunk(1, std::string(510, 'a') + kTestCp932),
       std::string(510, 'a') + "テ", ""},
      {"file text at the cut", FileSubChunk(1, 7, a511 + kTestCp932), "", a511},
      {"file text ends at CR", FileSubChunk(1, 7, "x\ry"), "", "x"},
      {"file of 8 bytes", FileSubChunk(1, 7, ""), "", ""},
      // No whole media type and no text, but attached.
      {"file of 7 bytes", Chunk("file", rifftest::Le32(1) + "abc"), "", ""},
  };
  for (const Case& c : cases) {
    const std::string body = WaveBody() + Chunk("cue ", CueData({{1, 0}})) +
                             ListChunk("adtl", c.subChunk + LablSubChunk(2, "x"));
    std::vector<CuePoint> cues;
    ASSERT_EQ(ReadWaveCueChunks(dir.WriteFile("t.wav", Riff(body)), 0, cues), 1) << c.name;
    EXPECT_EQ(cues[0].Label, c.label) << c.name;
    EXPECT_EQ(cues[0].FileText, c.fileText) << c.name;
    EXPECT_EQ(cues[0].HasFile, c.subChunk.starts_with("file") ? 1 : 0) << c.name;
  }
}

TEST(WaveCueChunks, ListWalkStaysInsideTheList) {
  testsupport::TempDir dir;
  const std::string head = WaveBody() + Chunk("cue ", CueData({{1, 0}, {2, 0}}));
  std::vector<CuePoint> cues;

  // A chunk right behind the list is not one of its sub-chunks, even when it looks like one.
  std::string path = dir.WriteFile(
      "a.wav", Riff(head + ListChunk("adtl", LablSubChunk(1, "in")) + LablSubChunk(2, "out")));
  ASSERT_EQ(ReadWaveCueChunks(path, 0, cues), 2);
  EXPECT_EQ(cues[0].Label, "in");
  EXPECT_EQ(cues[1].Label, "");

  // A list whose size covers only part of a label: the text stops at the list's end.
  const std::string inner = LablSubChunk(1, "abcdefgh") + LablSubChunk(2, "next");
  path = dir.WriteFile("b.wav",
                       Riff(head + rifftest::ChunkWithSize("LIST", 4 + 8 + 4 + 3, "adtl" + inner)));
  ASSERT_EQ(ReadWaveCueChunks(path, 0, cues), 2);
  EXPECT_EQ(cues[0].Label, "abc");
  EXPECT_EQ(cues[1].Label, "");

  // A list that claims more than the file holds is walked up to the end of the file.
  path =
      dir.WriteFile("c.wav", Riff(head + rifftest::ChunkWithSize("LIST", 100000, "adtl" + inner)));
  ASSERT_EQ(ReadWaveCueChunks(path, 0, cues), 2);
  EXPECT_EQ(cues[0].Label, "abcdefgh");
  EXPECT_EQ(cues[1].Label, "next");

  // A label that claims more than the file holds keeps the bytes that are there.
  path = dir.WriteFile("d.wav",
                       Riff(head + rifftest::ChunkWithSize("LIST", 100000, "adtl") +
                            rifftest::ChunkWithSize("labl", 300, rifftest::Le32(2) + "tail")));
  ASSERT_EQ(ReadWaveCueChunks(path, 0, cues), 2);
  EXPECT_EQ(cues[1].Label, "tail");
}

TEST(WaveCueChunks, HandlesAreLeftAsFound) {
  testsupport::TempDir dir;
  const std::string path =
      dir.WriteFile("h.wav", Riff(WaveBody() + Chunk("cue ", CueData({{5, 6}})) +
                                  ListChunk("adtl", LablSubChunk(5, "mark"))));
  std::vector<CuePoint> cues;
  const int before = OpenDescriptors();
  ASSERT_EQ(ReadWaveCueChunks(path, 0, cues), 1);
  EXPECT_EQ(OpenDescriptors(), before) << "a file opened here is closed";

  foundation::FileHandleId handle = foundation::OpenFileHandle(path, 0);
  ASSERT_NE(handle, 0);
  ASSERT_EQ(ReadWaveCueChunks("", handle, cues), 1);
  EXPECT_EQ(cues[0].Label, "mark");
  EXPECT_GT(foundation::GetFileSizeOfHandle(handle), 0) << "the caller's handle stays open";
  foundation::CloseFileHandle(handle);
}

}  // namespace
}  // namespace audio
