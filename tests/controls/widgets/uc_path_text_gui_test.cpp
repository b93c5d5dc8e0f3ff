#include <gtest/gtest.h>

#include <QTest>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/widgets/view/uc_path_text.h"
#include "foundation/user_dialogs.h"
#include "foundation/view/qt_font_factory.h"
#include "platform/system_colors.h"
#include "signal_log.h"
#include "tests/fakes/platform/fake_dialog_service.h"

namespace widgets {
namespace {

using Log = std::vector<std::string>;

struct PathEvents : SignalLog {
  explicit PathEvents(UC_PathText& path) {
    Watch(&path, &UC_PathText::SelectButtonClicked, "Select");
    Watch(&path, &UC_PathText::TextDblClicked, "Dbl");
    Watch(&path, &UC_PathText::TextChange, "Change");
  }
};

class UcPathTextGuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    foundation::InstallQtFontFactory();
    foundation::SetDialogService(&dialogs_);
  }
  void TearDown() override { foundation::SetDialogService(nullptr); }

  // 3000 × 300 twips: a box of 180 × 20 pixels and the button square beside it.
  static std::unique_ptr<UC_PathText> MakePath() {
    auto path = std::make_unique<UC_PathText>();
    path->Move(0, 0, 3000, 300);
    path->Init();
    path->show();
    return path;
  }
  static QPoint Button() { return QPoint(190, 10); }
  platform::FakeDialogService dialogs_;
};

TEST_F(UcPathTextGuiTest, LayoutAndButtonDrawing) {
  auto path = MakePath();
  EXPECT_EQ(path->TextPath->geometry(), QRect(0, 0, 180, 20));
  const platform::PictureSurface& s = path->Surface();
  const int32_t highlight = 0xFFFFFF;
  const int32_t shadow = 0x808080;
  EXPECT_EQ(s.GetPixelPx(185, 0), highlight);
  EXPECT_EQ(s.GetPixelPx(185, 19), shadow);
  int dots = 0;
  for (int x = 181; x < 199; ++x) {
    for (int y = 1; y < 19; ++y) dots += (s.GetPixelPx(x, y) & 0xFF) < 0x60 ? 1 : 0;
  }
  EXPECT_GT(dots, 2);
  // Pressed, the frame is the other way round until the release.
  path->SetUsage(PathTextModel::kNoDialog);
  QTest::mousePress(path.get(), Qt::LeftButton, {}, Button());
  EXPECT_EQ(s.GetPixelPx(185, 0), shadow);
  QTest::mouseRelease(path.get(), Qt::LeftButton, {}, Button());
  EXPECT_EQ(s.GetPixelPx(185, 0), highlight);

  path->resize(260, 20);
  EXPECT_EQ(path->TextPath->geometry(), QRect(0, 0, 240, 20));
  EXPECT_EQ(s.GetPixelPx(245, 0), highlight);
  path->SetTextHeight(450.4F);
  path->Init();
  EXPECT_EQ(path->TextPath->height(), 30);
}

TEST_F(UcPathTextGuiTest, TheButtonPutsTheChosenPathIntoTheBox) {
  auto path = MakePath();
  PathEvents events(*path);
  path->SetText("/srv/audio/a.wav");
  EXPECT_EQ(events.Take(), (Log{"Change"}));
  dialogs_.folderAnswers = {std::string("/mnt/air"), std::nullopt};
  QTest::mouseClick(path.get(), Qt::LeftButton, {}, Button());
  EXPECT_EQ(path->Text(), "/mnt/air/");
  EXPECT_EQ(events.Take(), (Log{"Change", "Select"}));
  QTest::mouseClick(path.get(), Qt::LeftButton, {}, Button());  // cancelled
  EXPECT_EQ(path->Text(), "/mnt/air/");
  EXPECT_TRUE(events.Take().empty());
  ASSERT_EQ(dialogs_.folderRequests.size(), 2U);
  EXPECT_EQ(dialogs_.folderRequests[1].startFolder, "/mnt/air");
  EXPECT_EQ(dialogs_.folderRequests[1].owner, path.get());

  path->SetUsage(PathTextModel::kSaveFile);
  path->SetExt(".cue");
  dialogs_.fileAnswers = {std::string("/srv/sched/today")};
  QTest::mouseClick(path.get(), Qt::LeftButton, {}, Button());
  EXPECT_EQ(path->Text(), "/srv/sched/today.cue");
  EXPECT_TRUE(dialogs_.fileRequests.at(0).save);

  // With the button disabled clicks do nothing; the box stays editable.
  events.Take();
  path->SetButtonDisabled(1);
  QTest::mouseClick(path.get(), Qt::LeftButton, {}, Button());
  QTest::mouseDClick(path.get(), Qt::LeftButton, {}, Button());
  EXPECT_TRUE(events.Take().empty());
  EXPECT_EQ(dialogs_.fileRequests.size(), 1U);
  EXPECT_FALSE(path->TextPath->isReadOnly());
  path->TextPath->clear();
  QTest::keyClicks(path->TextPath, "ab");
  EXPECT_EQ(path->Text(), "ab");
  EXPECT_EQ(events.Take(), (Log{"Change", "Change", "Change"}));
  QTest::mouseDClick(path->TextPath, Qt::LeftButton, {}, QPoint(20, 10));
  EXPECT_EQ(events.Take(), (Log{"Dbl"}));
}

TEST_F(UcPathTextGuiTest, LockingTheText) {
  auto path = MakePath();
  PathEvents events(*path);
  const auto base = [&] { return path->TextPath->palette().color(QPalette::Base).rgb(); };
  EXPECT_FALSE(path->TextPath->isReadOnly());
  path->SetTextDisabled(1);
  EXPECT_TRUE(path->TextPath->isReadOnly());
  EXPECT_EQ(base(), qRgb(0xC0, 0xC0, 0xC0));
  path->SetEnabled(false);
  path->SetTextDisabled(0);
  EXPECT_TRUE(path->TextPath->isReadOnly());  // still disabled as a whole
  path->SetUsage(PathTextModel::kNoDialog);
  QTest::mouseClick(path.get(), Qt::LeftButton, {}, Button());
  EXPECT_TRUE(events.Take().empty());
  path->SetEnabled(true);
  EXPECT_FALSE(path->TextPath->isReadOnly());
  EXPECT_EQ(base(), qRgb(0xFF, 0xFF, 0xFF));
  QTest::mouseClick(path.get(), Qt::LeftButton, {}, Button());
  EXPECT_EQ(events.Take(), (Log{"Select"}));

  // The text lock lays the control out first when Init has not run.
  UC_PathText fresh;
  fresh.Move(0, 0, 3000, 300);
  fresh.SetTextDisabled(1);
  EXPECT_EQ(fresh.TextPath->height(), 20);
  fresh.SetTextIMEMode(3);
  EXPECT_FALSE(fresh.TextPath->testAttribute(Qt::WA_InputMethodEnabled));
}

}  // namespace
}  // namespace widgets
