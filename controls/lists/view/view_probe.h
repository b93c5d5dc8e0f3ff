#pragma once

#include <QObject>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QFileSystemWatcher;
class QWidget;

namespace lists {

class UC_ListView;

// The environment variable that names the folder a probe watches.
inline constexpr char kViewProbeVariable[] = "ONDRAKE_VIEW_PROBE";

// Lets a test that runs the programs as they are see a window as its user would: when the file
// `<name>.request` appears in the watched folder, the window's picture goes to `<name>.png`,
// its lists' texts and their measures to `<name>.txt` (see ListViewCensus), and the request is
// removed once both are complete.
class ViewProbe final : public QObject {
  Q_OBJECT

 public:
  using NamedList = std::pair<std::string, UC_ListView*>;

  ViewProbe(const std::string& folder, const std::string& name, QWidget& window,
            std::vector<NamedList> lists);
  ~ViewProbe() override;

  // A probe on the folder the environment names; none when it names none.
  static std::unique_ptr<ViewProbe> FromEnvironment(const std::string& name, QWidget& window,
                                                    std::vector<NamedList> lists);

 private:
  void Answer();

  std::string folder_;
  std::string name_;
  QWidget& window_;
  std::vector<NamedList> lists_;
  QFileSystemWatcher* watcher_ = nullptr;
};

// One line per list, per column, per caption and per cell text in use, tab-separated:
//   list     <list> <rows> <header shown 0/1> <width the columns have together>
//   column   <list> <column> <right edge>
//   caption  <list> <column> <text width> <room> <text>
//   cell     <list> <row> <column> <text width> <room> <text>
// Widths are twips measured in the list's own fonts; the room is what the drawing leaves the
// text before it cuts it. The columns have the width of the rows area together when the list
// cannot scroll sideways, else no limit (0). Hidden columns are left out.
std::string ListViewCensus(const std::vector<ViewProbe::NamedList>& lists);

}  // namespace lists
