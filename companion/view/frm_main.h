#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>
#include <string>

#include "companion/companion_engine.h"
#include "companion/process_ports.h"
#include "controls/lists/view/uc_list_view.h"
#include "foundation/view/qt_font_factory.h"
#include "platform/window_registry.h"
#include "transfer/view/uc_file_hand.h"

namespace companion {

// The companion's main window: a thin view over the CompanionEngine. It shows the engine's five
// lists (status messages, server schedule files, schedule contents, on-air monitor, copy queue)
// one below the other, with the copy panel in the middle while a file is copied, runs the
// engine's timers from a 100 ms timer, and closes when the engine lets it (the playout window
// gone, or the user, unless a list is being rebuilt or a pass is under way).
class FrmMain : public QWidget, private CompanionView {
  Q_OBJECT

 public:
  // Claims the window caption; `ports` null uses the program's own outside world (tests bring
  // theirs). The transfer panels, and the program's own outside world, write to `log`, which
  // must outlive the window.
  FrmMain(const CompanionSettings& settings, platform::LogSink& log,
          const CompanionPorts* ports = nullptr, QWidget* parent = nullptr);
  ~FrmMain() override;

  // False when the caption is taken (a companion of this session already runs).
  bool HasCaption() const { return registration_ != nullptr; }
  // Lists set up, window placement restored, then the engine's start-up. Shown minimised unless
  // `minimised` is false.
  void Form_Load(bool minimised = true);

  CompanionEngine& Engine() { return *engine_; }
  lists::UC_ListView& View(CompanionList list) { return *views_[static_cast<size_t>(list)]; }
  transfer::UC_FileHand& FH1() { return *fh1_; }
  // Draws every list from the engine's models now.
  void RedrawAll();

 signals:
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // CompanionView
  void ListChanged(CompanionList list) override;
  void CopyPanelVisible(bool visible) override;
  void RequestClose() override;

  void SetUpList(CompanionList list, const std::string& widthInfix);
  void Form_Resize();
  void RedrawDirty();

  std::unique_ptr<platform::WindowRegistration> registration_;
  transfer::UC_FileHand* fh0_ = nullptr;
  transfer::UC_FileHand* fh1_ = nullptr;
  std::unique_ptr<ProcessPorts> processPorts_;
  std::unique_ptr<CompanionEngine> engine_;
  std::array<lists::UC_ListView*, 5> views_{};
  std::array<bool, 5> dirty_{};
  bool redrawQueued_ = false;
  bool resizeReady_ = false;
  QTimer timer_;
  foundation::WidgetFontWindow fontWindow_{this};
};

}  // namespace companion
