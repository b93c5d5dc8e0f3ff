// What the operator's buttons and clicks change.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/playout/engine_fixture.h"

namespace playouttest {
namespace {

std::vector<Entry> Rows(int n) {
  std::vector<Entry> rows;
  for (int i = 0; i < n; ++i)
    rows.push_back(
        {"12:00:0" + std::to_string(i), "0", "0", "1000", "", std::string(1, 'a' + i) + ".wav"});
  return rows;
}

TEST(OperatorCommandsTest, DeleteUpToHereTakesExactlyTheRowsAbove) {
  EngineHarness h;
  h.Make();
  h.Queue(Rows(6));
  lists::ListModel& q = h.queue();
  q.PressSelect(3, 0, false);
  q.PressSelect(5, lists::kCtrlKey, false);  // a second selection below
  q.SetSelectedItem(3);
  h.engine().DelButton_ButtonClicked(0);
  EXPECT_EQ(Titles(q), (std::vector<std::string>{"e", "f"}));
  EXPECT_NE(h.Snapshot().find("\"e\""), std::string::npos);

  std::filesystem::remove(h.engine().SnapshotPath());
  q.SetSelectedItem(-1);
  q.UnSelectAll();
  h.engine().DelButton_ButtonClicked(0);  // nothing selected: nothing happens
  EXPECT_EQ(q.ItemCount(), 2);
  EXPECT_FALSE(std::filesystem::exists(h.engine().SnapshotPath()));
  h.engine().DelButton_ButtonClicked(1);  // the selection, even an empty one, refreshes
  EXPECT_TRUE(std::filesystem::exists(h.engine().SnapshotPath()));
}

TEST(OperatorCommandsTest, ButtonsByRemoteDeviceAndState) {
  struct Case {
    int32_t noRemote, onAir, button;
    int32_t simCnt, fsReq;
  } cases[] = {{1, 1, 0, 0, 1}, {0, 1, 0, 1, 0}, {0, 1, 1, 0, 1}, {1, 0, 0, 0, 0}};
  for (const Case& c : cases) {
    EngineHarness h;
    h.Make();
    h.Queue(Rows(1));
    h.engine().SetNoRemoteDevice(c.noRemote);
    h.Build().OnAir(c.onAir);
    h.engine().OPButtons_ButtonClicked(c.button);
    EXPECT_EQ(h.state().SimCNT, c.simCnt);
    EXPECT_EQ(h.state().FSReq, c.fsReq);
  }
}

TEST(OperatorCommandsTest, OnAirToggleDropsPendingRequests) {
  EngineHarness h;
  h.Make();
  h.Queue(Rows(1));
  h.engine().TextOA_MouseUD(2, 0);  // right button: nothing
  h.engine().TextOA_MouseUD(1, 1);  // press: nothing
  EXPECT_EQ(h.state().OnAir, 0);
  h.engine().TextOA_MouseUD(1, 0);
  EXPECT_EQ(h.state().OnAir, 1);
  EXPECT_EQ(h.view.onAirBox, 1);
  h.engine().OperatorFunction(playout::OpFunction::kStart);
  h.engine().TextOA_MouseUD(1, 0);
  EXPECT_EQ(h.state().FSReq, 0);
  EXPECT_EQ(h.view.cells[2], "OAオフ");
  EXPECT_TRUE(h.log.Has("OP TextOA_MouseUD OAActive=0"));
}

TEST(OperatorCommandsTest, LoadPanel) {
  for (int32_t forceOA : {0, 1}) {
    EngineHarness h;
    h.settings.ForceOA = forceOA;
    h.Make();
    h.inbox.messages.push_back(Message(Rows(4)));
    h.engine().ReceiveSchedule();
    h.Build().OnAir(1);
    h.engine().LoadButton_ButtonClicked(0);  // no row chosen
    EXPECT_EQ(h.queue().ItemCount(), 0);
    h.load().SetSelectedItem(2);
    h.engine().LVS_Clicked(playout::kListLoad);
    EXPECT_EQ(h.view.loadPanel, " 2024/05/01 08:00:00Morning (2024/05/01)");
    h.engine().LVS_DblClicked(playout::kListQueue);
    EXPECT_EQ(h.queue().ItemCount(), 0);
    h.engine().LVS_DblClicked(playout::kListLoad);
    EXPECT_EQ(Titles(h.queue()), (std::vector<std::string>{"c", "d"}));
    EXPECT_EQ(h.state().OnAir, forceOA);
    EXPECT_EQ(playout::ConstHeldItem(h.state().CurValue, h.state().CurAux).Title(), "b");
  }
}

TEST(OperatorCommandsTest, TraceKeepsAboutThreeHundredCharacters) {
  EngineHarness h;
  h.Make();
  h.Build().Trace(std::string(280, 'x') + "\r\n" + std::string(19, 'y') + "\r\n");
  h.engine().AddTraceLine("new");
  EXPECT_EQ(h.view.trace, "32400.00new\r\n" + std::string(280, 'x') + "\r\n");
}

}  // namespace
}  // namespace playouttest
