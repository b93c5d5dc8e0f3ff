#include "foundation/user_dialogs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/fakes/platform/fake_dialog_service.h"
#include "tests/support/app_test_env.h"

namespace foundation {
namespace {

using platform::FakeDialogService;
using testsupport::FakeForm;

class UserDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMonitorProvider([] { return std::vector<MonitorRect>{{0, 0, 1024, 768}}; });
    SetDialogService(&fake_);
  }
  void TearDown() override { SetDialogService(nullptr); }

  testsupport::AppTestEnv env_;
  FakeDialogService fake_;
};

TEST_F(UserDialogsTest, BoxCentreComesFromTheOwnersTwipsRoundedHalfToEven) {
  struct Case {
    double left, top, width, height;
    int16_t state;
    int32_t twipsPerPixel;
    bool centred;
    int32_t x, y;
  };
  const Case cases[] = {
      {3000, 1500, 6000, 4500, PlacementForm::kMaximized, 15, true, 400, 250},
      // R(2.5) = 2 (even), 2 \ 2 = 1; R(1 + 0.5) = 2; 2 \ 1 = 2.
      {0.5, 0.5, 2.5, 2.5, PlacementForm::kNormal, 1, true, 2, 2},
      // Truncating division of a negative sum (owner on a monitor left of the main one).
      {-3000, 0, 2970, 30, PlacementForm::kNormal, 15, true, -101, 1},
      {3000, 1500, 6000, 4500, PlacementForm::kMinimized, 15, false, 0, 0},
      {3000, 1500, 6000, 4500, PlacementForm::kNormal, 0, false, 0, 0},
      {1e12, 0, 6000, 4500, PlacementForm::kNormal, 15, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.left << " " << c.width << " tpp " << c.twipsPerPixel);
    FakeForm owner(c.left, c.top, c.width, c.height);
    owner.state = c.state;
    const auto centre = MessageBoxCentreOf(owner, c.twipsPerPixel);
    ASSERT_EQ(centre.has_value(), c.centred);
    if (!centre) continue;
    EXPECT_EQ(centre->x, c.x);
    EXPECT_EQ(centre->y, c.y);
    EXPECT_EQ(centre->desktopRight, 1024);
    EXPECT_EQ(centre->desktopBottom, 768);
  }
}

TEST_F(UserDialogsTest, MessageBoxPassesTextsStyleAndCentreAndReturnsTheAnswer) {
  FakeForm owner(3000, 1500, 6000, 4500);
  int ownerWidget = 0;
  fake_.messageBoxAnswers = {platform::kIdYes, platform::kIdNo};

  EXPECT_EQ(MsgBoxCentered("終了しますか？", 36, "Ondrake", &owner, &ownerWidget),
            platform::kIdYes);
  ASSERT_EQ(fake_.messageBoxes.size(), 1u);
  const platform::MessageBoxRequest& shown = fake_.messageBoxes[0];
  EXPECT_EQ(shown.prompt, "終了しますか？");
  EXPECT_EQ(shown.title, "Ondrake");
  EXPECT_EQ(shown.style, 36u);
  EXPECT_EQ(shown.owner, &ownerWidget);
  ASSERT_TRUE(shown.centre.has_value());
  EXPECT_EQ(shown.centre->x, 400);

  // A minimised owner, or none, gets an uncentred box; with no service there is none at all.
  owner.state = PlacementForm::kMinimized;
  EXPECT_EQ(MsgBoxCentered("x", 4, "t", &owner), platform::kIdNo);
  EXPECT_FALSE(fake_.messageBoxes[1].centre.has_value());
  EXPECT_EQ(MsgBoxCentered("x", 16, "t", nullptr), platform::kIdOk);
  EXPECT_FALSE(fake_.messageBoxes[2].centre.has_value());
  SetDialogService(nullptr);
  EXPECT_EQ(MsgBoxCentered("x", 0, "t", &owner), 0);
}

TEST_F(UserDialogsTest, FolderPickerPreselectsWithoutSeparatorAndReturnsWithOne) {
  fake_.folderAnswers = {std::string("/srv/lists"), std::nullopt, std::string("/tmp/")};
  EXPECT_EQ(BrowseForFolder("/srv/work/", ""), "/srv/lists/");
  EXPECT_EQ(fake_.folderRequests[0].startFolder, "/srv/work");
  EXPECT_EQ(fake_.folderRequests[0].title, "フォルダを選択してください");

  EXPECT_EQ(BrowseForFolder("", "Pick"), "");
  EXPECT_EQ(fake_.folderRequests[1].startFolder, std::filesystem::current_path().string());
  EXPECT_EQ(fake_.folderRequests[1].title, "Pick");
  EXPECT_EQ(BrowseForFolder("/srv", ""), "/tmp/") << "no second separator";
}

TEST_F(UserDialogsTest, FileFilterBecomesPairsUpToTheFirstGap) {
  using Pairs = std::vector<std::pair<std::string, std::string>>;
  const std::pair<std::string, Pairs> cases[] = {
      {"Wave|*.wav|All|*.*", {{"Wave", "*.wav"}, {"All", "*.*"}}},
      {"wavファイル|*.wav;*.mp3|", {{"wavファイル", "*.wav;*.mp3"}}},
      {"A|*.a|B", {{"A", "*.a"}}},
      {"A||B|*.b", {}},
      {"|||", {}},
  };
  for (const auto& [filter, expected] : cases) {
    SCOPED_TRACE(filter);
    Pairs got;
    for (const platform::FileFilter& f : ParseFileFilter(filter)) {
      got.emplace_back(f.description, f.patterns);
    }
    EXPECT_EQ(got, expected);
  }
}

TEST_F(UserDialogsTest, FileDialogModesFlagsAndLongPaths) {
  EXPECT_EQ(FileDialogFlags(1, 0x1000), 0x1000u);
  const std::string longPath = "/srv/" + std::string(400, 'a') + ".wav";
  fake_.fileAnswers = {std::nullopt, longPath, std::string("/x/y.txt")};

  // Save with the defaults: the save dialog with the overwrite prompt; cancel gives "".
  EXPECT_EQ(ShowFileDialog(nullptr, 1, "Wave|*.wav", "/srv/in/", "take.wav", -1), "");
  const platform::FileDialogRequest& save = fake_.fileRequests[0];
  EXPECT_TRUE(save.save);
  EXPECT_EQ(save.flags, 0x80006u);
  EXPECT_EQ(save.startFolder, "/srv/in");
  EXPECT_EQ(save.fileName, "take.wav");
  ASSERT_EQ(save.filters.size(), 1u);

  // A path far beyond 255 characters comes back whole.
  EXPECT_EQ(ShowFileDialog(nullptr, 0, "", "/srv", "", -1), longPath);
  EXPECT_FALSE(fake_.fileRequests[1].save);
  EXPECT_EQ(fake_.fileRequests[1].flags, 0x81104u);

  // Any non-zero save shows the save dialog, but only 1 brings the save defaults.
  EXPECT_EQ(ShowFileDialog(nullptr, 2, "", "", "", -1), "/x/y.txt");
  EXPECT_TRUE(fake_.fileRequests[2].save);
  EXPECT_EQ(fake_.fileRequests[2].flags, 0x81104u);
}

TEST_F(UserDialogsTest, ColourPickerSeedsCustomColoursAndKeepsTheColourOnCancel) {
  fake_.colourAnswers = {0x00FF00u, std::nullopt};
  EXPECT_EQ(PickColor(0x123456), 0x00FF00);
  const platform::ColourRequest& request = fake_.colourRequests[0];
  EXPECT_EQ(request.initial, 0x123456u);
  EXPECT_TRUE(request.fullOpen);
  EXPECT_EQ(request.customColours[0], 0x123456u);
  EXPECT_EQ(request.customColours.back(), 0xFFFFFFu);
  EXPECT_EQ(PickColor(0x123456), 0x123456);
  SetDialogService(nullptr);
  EXPECT_EQ(PickColor(0x654321), 0x654321);
}

}  // namespace
}  // namespace foundation
