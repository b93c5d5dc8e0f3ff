// The tree view at 100,000 items in three levels (1,000 programmes of 9 corners of 10 items),
// everything open: one repaint scrolled to the middle (the rows laid out and painted and the
// widget drawn, as every scroll step, hover or click redraws; under 4 ms per frame), and
// opening or closing one programme, which re-sorts, lays out, paints and sets the bar.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench/offscreen_application.h"
#include "controls/lists/view/uc_tree_view.h"

namespace {

constexpr int32_t kProgrammes = 1000;
constexpr int32_t kCorners = 9;
constexpr int32_t kItems = 10;

std::string Key(int32_t p, int32_t c = -1, int32_t i = -1) {
  char key[32];
  if (c < 0) {
    std::snprintf(key, sizeof key, "%04d", p);
  } else if (i < 0) {
    std::snprintf(key, sizeof key, "%04d.%d", p, c);
  } else {
    std::snprintf(key, sizeof key, "%04d.%d.%02d", p, c, i);
  }
  return key;
}

// Adds one item under the item with identifier `parent` (-1: at the top); its identifier.
int32_t Add(lists::UC_TreeView& tv, const std::string& caption, const std::string& key,
            int32_t parent) {
  tv.AddItem();
  tv.SetDispStr(-2, caption);
  tv.SetDataStr(-2, key);
  tv.SetSortStr(-2, key);
  tv.SetIconType2(-2, parent == -1 ? 0 : 2);
  tv.SetIsOpened(-2, 1);
  tv.SetParentItem(-2, parent);
  return tv.Model().NextItemID();
}

std::unique_ptr<lists::UC_TreeView> MakeLibrary() {
  bench::EnsureApplication("tree_view_bench");
  auto tv = std::make_unique<lists::UC_TreeView>();
  tv->resize(420, 600);
  tv->SetOneHeight(300);
  tv->Init();
  tv->SetTabName("番組ライブラリ");
  for (int32_t p = 0; p < kProgrammes; ++p) {
    const int32_t programme = Add(*tv, "番組 " + Key(p), Key(p), -1);
    for (int32_t c = 0; c < kCorners; ++c) {
      const int32_t corner = Add(*tv, "コーナー " + Key(p, c), Key(p, c), programme);
      for (int32_t i = 0; i < kItems; ++i) {
        Add(*tv, "朝のニュースと天気予報 " + Key(p, c, i), Key(p, c, i), corner);
      }
    }
  }
  tv->show();
  tv->Refresh();
  return tv;
}

void BM_RepaintMiddleOf100kItems(benchmark::State& state) {
  auto tv = MakeLibrary();
  tv->VBar().SetValue(tv->VBar().Max() / 2);
  tv->SetSelectedItemByValue(Key(kProgrammes / 2, 3, 4));
  for (auto _ : state) {
    tv->ReDraw();
    tv->PictureList().repaint();
  }
  state.counters["items"] = tv->Model().Count();
  state.counters["shown_rows"] = tv->TreeHeight() / tv->OneHeight();
}
BENCHMARK(BM_RepaintMiddleOf100kItems)->Unit(benchmark::kMillisecond);

void BM_OpenOrCloseOneOf100kItems(benchmark::State& state) {
  auto tv = MakeLibrary();
  tv->VBar().SetValue(tv->VBar().Max() / 2);
  const int32_t programme =
      tv->GetIndexFromID(1 + (kProgrammes / 2) * (1 + kCorners * (1 + kItems)));
  for (auto _ : state) {
    // What a double click on the programme does.
    tv->SetIsOpened(programme, tv->IsOpened(programme) != 1 ? 1 : 0);
    tv->Refresh();
    tv->PictureList().repaint();
  }
  state.counters["items"] = tv->Model().Count();
}
BENCHMARK(BM_OpenOrCloseOneOf100kItems)->Unit(benchmark::kMillisecond);

}  // namespace
