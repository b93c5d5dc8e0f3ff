#include "playout/playout_settings.h"

#include <gtest/gtest.h>

#include <map>

namespace playout {
namespace {

class MapReader final : public SettingsReader {
 public:
  explicit MapReader(std::map<std::string, std::string> values) : values_(std::move(values)) {}
  std::string Text(const std::string& key, const std::string& defaultValue) override {
    auto it = values_.find(key);
    return it == values_.end() ? defaultValue : it->second;
  }
  int32_t Int(const std::string& key, int32_t defaultValue) override {
    auto it = values_.find(key);
    return it == values_.end() ? defaultValue : std::stoi(it->second);
  }

 private:
  std::map<std::string, std::string> values_;
};

TEST(PlayoutSettingsTest, KeysAndTheirConversions) {
  MapReader defaults({});
  const PlayoutSettings d = LoadPlayoutSettings(defaults);
  EXPECT_EQ(d.AirID, "A");
  EXPECT_EQ(d.SelectedAir, 0);
  EXPECT_EQ(d.FadeTime, 6000);
  EXPECT_EQ(d.FadeMargin, 3000);

  MapReader stored({{"SelectedAir", "2"},
                    {"OverSec", "-7"},
                    {"PlayerType", "5"},
                    {"CancelCNT", "12"},
                    {"CNTFunction_3_2", "4"},
                    {"CueActive_3", "1"},
                    {"DefaultFadeTime", "0"}});
  const PlayoutSettings s = LoadPlayoutSettings(stored);
  EXPECT_EQ(s.SelectedAir, 1);
  EXPECT_EQ(s.OverSec, 7);
  EXPECT_EQ(s.PlayerType, 1);
  EXPECT_EQ(s.CancelCNT, 12);
  EXPECT_EQ(s.CNTFunction[3 + 4 * 1], 4);
  EXPECT_EQ(s.CueActive[2], 1);
  EXPECT_EQ(s.FadeTime, 0);
}

}  // namespace
}  // namespace playout
