#include "controls/widgets/path_text_model.h"

#include <gtest/gtest.h>

#include "foundation/user_dialogs.h"
#include "tests/fakes/platform/fake_dialog_service.h"

namespace widgets {
namespace {

class PathTextModelTest : public ::testing::Test {
 protected:
  void SetUp() override { foundation::SetDialogService(&dialogs_); }
  void TearDown() override { foundation::SetDialogService(nullptr); }
  platform::FakeDialogService dialogs_;
};

TEST_F(PathTextModelTest, ExtensionFilterAndStartFolder) {
  PathTextModel m;
  m.SetExt(".wav");
  EXPECT_EQ(m.Ext(), "wav");
  m.SetExt("..w.a.v.");
  EXPECT_EQ(m.Ext(), "wav");
  EXPECT_EQ(m.DialogFilter(), "wavファイル|*.wav");
  m.Filter = "Cue|*.cue|All|*.*";
  EXPECT_EQ(m.DialogFilter(), "Cue|*.cue|All|*.*");
  m.SetExt("");
  m.Filter.clear();
  EXPECT_EQ(m.DialogFilter(), "");

  EXPECT_EQ(m.StartFolder("/srv/audio/song.wav"), "/srv/audio");
  EXPECT_EQ(m.StartFolder("\\\\host\\share\\a.wav"), "\\\\host\\share");
  EXPECT_EQ(m.StartFolder("song.wav"), "");
  EXPECT_EQ(m.StartFolder(""), "");
  m.InitDir = "/home/air";
  EXPECT_EQ(m.StartFolder("/srv/audio/song.wav"), "/home/air");
}

TEST_F(PathTextModelTest, EachUsageRunsItsPicker) {
  PathTextModel m;
  m.Usage = PathTextModel::kNoDialog;
  auto s = m.Select("/srv/a.wav", nullptr);
  EXPECT_TRUE(s.raise);
  EXPECT_FALSE(s.text.has_value());

  m.Usage = PathTextModel::kFolder;
  dialogs_.folderAnswers = {std::string("/mnt/air"), std::nullopt};
  s = m.Select("/srv/audio/a.wav", nullptr);
  EXPECT_TRUE(s.raise);
  EXPECT_EQ(s.text, "/mnt/air/");
  ASSERT_EQ(dialogs_.folderRequests.size(), 1U);
  EXPECT_EQ(dialogs_.folderRequests[0].startFolder, "/srv/audio");
  s = m.Select("/srv/audio/a.wav", nullptr);  // cancelled
  EXPECT_FALSE(s.raise);
  EXPECT_FALSE(s.text.has_value());

  m.SetExt(".wav");
  m.Usage = PathTextModel::kOpenFile;
  dialogs_.fileAnswers = {std::string("/srv/b"), std::string("/srv/C.WAV"), std::nullopt};
  s = m.Select("/srv/audio/a.wav", nullptr);
  EXPECT_EQ(s.text, "/srv/b.wav");
  m.Usage = PathTextModel::kSaveFile;
  s = m.Select("/srv/audio/a.wav", nullptr);
  EXPECT_EQ(s.text, "/srv/C.WAV");  // already has it, in any case
  s = m.Select("/srv/audio/a.wav", nullptr);
  EXPECT_FALSE(s.raise);
  ASSERT_EQ(dialogs_.fileRequests.size(), 3U);
  EXPECT_FALSE(dialogs_.fileRequests[0].save);
  EXPECT_TRUE(dialogs_.fileRequests[1].save);
  const auto& filters = dialogs_.fileRequests[0].filters;
  ASSERT_EQ(filters.size(), 1U);
  EXPECT_EQ(filters[0].description, "wavファイル");
  EXPECT_EQ(filters[0].patterns, "*.wav");
  EXPECT_EQ(dialogs_.fileRequests[0].startFolder, "/srv/audio");
  EXPECT_EQ(dialogs_.fileRequests[0].fileName, "/srv/audio/a.wav");

  m.Usage = 3;  // no such picker: nothing
  s = m.Select("/srv/audio/a.wav", nullptr);
  EXPECT_FALSE(s.raise);
  EXPECT_EQ(dialogs_.fileRequests.size() + dialogs_.folderRequests.size(), 5U);
}

TEST_F(PathTextModelTest, ButtonPressAndRelease) {
  using R = PathTextModel::Release;
  const auto same = [](R a, R b) { return a.redraw == b.redraw && a.select == b.select; };
  PathTextModel m;
  EXPECT_TRUE(m.Press(1));
  EXPECT_TRUE(same(m.Up(1), {true, true}));
  EXPECT_TRUE(same(m.Up(1), {false, false}));  // no press
  EXPECT_FALSE(m.Press(2));
  EXPECT_TRUE(same(m.Up(2), {false, false}));
  // Another button's release leaves the left press going.
  EXPECT_TRUE(m.Press(1));
  EXPECT_TRUE(same(m.Up(2), {false, false}));
  EXPECT_TRUE(m.Pressed());
  // Disabled while held: drawn released, no picker.
  m.ButtonDisabled = 1;
  EXPECT_TRUE(same(m.Up(1), {true, false}));
  EXPECT_FALSE(m.Pressed());
  EXPECT_FALSE(m.Press(1));
  m.ButtonDisabled = 0;
  m.Enabled = false;
  EXPECT_FALSE(m.Press(1));

  // The box is locked while the control or the text is disabled.
  struct Lock {
    bool enabled;
    int32_t textDisabled;
    bool locked;
  } const locks[] = {{true, 0, false}, {true, 1, true}, {false, 0, true}, {true, 2, false}};
  for (const Lock& l : locks) {
    m.Enabled = l.enabled;
    m.TextDisabled = l.textDisabled;
    EXPECT_EQ(m.TextLocked(), l.locked) << l.enabled << " " << l.textDisabled;
  }
}

}  // namespace
}  // namespace widgets
