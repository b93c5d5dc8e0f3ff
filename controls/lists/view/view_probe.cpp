#include "controls/lists/view/view_probe.h"

#include <QFileSystemWatcher>
#include <QPixmap>
#include <QWidget>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "controls/lists/view/uc_list_view.h"

namespace lists {

namespace {

namespace fs = std::filesystem;

std::string Twips(double value) { return std::to_string(std::lround(value)); }

// Written beside its place and renamed into it, so a reader never sees half a file.
bool Publish(const fs::path& path, const std::function<bool(const fs::path&)>& write) {
  const fs::path part = path.string() + ".part";
  std::error_code ec;
  if (!write(part)) {
    fs::remove(part, ec);
    return false;
  }
  fs::rename(part, path, ec);
  return !ec;
}

}  // namespace

std::string ListViewCensus(const std::vector<ViewProbe::NamedList>& lists) {
  std::string out;
  for (const auto& [name, view] : lists) {
    UC_ListView& lv = *view;
    const bool header = lv.TabDisabled() != 1;
    const platform::PictureSurface& tab = lv.PictureTab().Surface();
    const platform::PictureSurface& rows = lv.PictureList().Surface();
    const double across = lv.HbarDisabled() != 0 ? rows.ScaleWidth() : 0;
    out += "list\t" + name + "\t" + std::to_string(lv.ItemCount()) + "\t" + (header ? "1" : "0") +
           "\t" + Twips(across) + "\n";
    const ListColumns& columns = lv.Model().Columns();
    for (int32_t c = 0; c < lv.NumData(); ++c) {
      if (lv.TabHidden(c) != 0) continue;
      out += "column\t" + name + "\t" + std::to_string(c) + "\t" +
             std::to_string(columns.Column(c)->TabRight) + "\n";
      if (!header) continue;
      const std::string caption = lv.TabName(c);
      out += "caption\t" + name + "\t" + std::to_string(c) + "\t" + Twips(tab.TextWidth(caption)) +
             "\t" + Twips(lv.CaptionRoom(c)) + "\t" + caption + "\n";
    }
    for (int32_t r = 0; r < lv.ItemCount(); ++r) {
      for (int32_t c = 0; c < lv.NumData(); ++c) {
        if (lv.TabHidden(c) != 0) continue;
        const std::string text = lv.Value(r, c).Text();
        out += "cell\t" + name + "\t" + std::to_string(r) + "\t" + std::to_string(c) + "\t" +
               Twips(rows.TextWidth(text)) + "\t" + Twips(lv.CellTextRoom(c)) + "\t" + text + "\n";
      }
    }
  }
  return out;
}

ViewProbe::ViewProbe(const std::string& folder, const std::string& name, QWidget& window,
                     std::vector<NamedList> lists)
    : folder_(folder), name_(name), window_(window), lists_(std::move(lists)) {
  watcher_ = new QFileSystemWatcher(this);
  watcher_->addPath(QString::fromStdString(folder_));
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &ViewProbe::Answer);
  // A request left before the window was up.
  Answer();
}

ViewProbe::~ViewProbe() = default;

std::unique_ptr<ViewProbe> ViewProbe::FromEnvironment(const std::string& name, QWidget& window,
                                                      std::vector<NamedList> lists) {
  const char* folder = std::getenv(kViewProbeVariable);
  if (folder == nullptr || folder[0] == '\0') return nullptr;
  return std::make_unique<ViewProbe>(folder, name, window, std::move(lists));
}

void ViewProbe::Answer() {
  const fs::path base = fs::path(folder_) / name_;
  const fs::path request = base.string() + ".request";
  std::error_code ec;
  if (!fs::exists(request, ec)) return;
  const bool picture = Publish(base.string() + ".png", [&](const fs::path& part) {
    return window_.grab().save(QString::fromStdString(part.string()), "PNG");
  });
  const bool census = Publish(base.string() + ".txt", [&](const fs::path& part) {
    std::ofstream file(part, std::ios::binary | std::ios::trunc);
    file << ListViewCensus(lists_);
    return static_cast<bool>(file.flush());
  });
  // A request that could not be answered stays, and says so by staying.
  if (picture && census) fs::remove(request, ec);
}

}  // namespace lists
