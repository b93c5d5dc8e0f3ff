#pragma once

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/message_receiver.h"
#include "playout/engine_ports.h"
#include "playout/playout_engine.h"
#include "playout/process_ports.h"
#include "playout/view/main_layout.h"
#include "playout/view/session_probe.h"

class QAction;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace platform {
class PictureBox;
}  // namespace platform
namespace widgets {
class UC_Buttons;
class UC_TextPicture;
}  // namespace widgets
namespace lists {
class UC_apsbar;
class UC_ListView;
}  // namespace lists
namespace settings {
class SystemDeviceLists;
}  // namespace settings

namespace playout {

class CloseSignals;
class EngineRunningSettings;

// The main window's controls, named as the window knows them. Children of the window; null
// until start-up has made them.
struct FrmMainControls {
  platform::PictureBox* client = nullptr;  // the client area, whose background is painted
  platform::PictureBox* PictureF = nullptr;
  widgets::UC_TextPicture* TextClock = nullptr;
  lists::UC_apsbar* ApsBar = nullptr;
  widgets::UC_TextPicture* TextOA = nullptr;
  std::array<lists::UC_ListView*, kListCount> LVS{};
  platform::PictureBox* PictureLoad = nullptr;
  widgets::UC_Buttons* LoadButton = nullptr;
  widgets::UC_TextPicture* TextMes = nullptr;
  widgets::UC_Buttons* DelButton = nullptr;
  widgets::UC_Buttons* OPButtons = nullptr;
  widgets::UC_Buttons* SWButtons = nullptr;
  QPlainTextEdit* TextCom = nullptr;
  QPushButton* Command1 = nullptr;
  QAction* MenuConf = nullptr;
  QAction* MenuLoad = nullptr;
  QMenu* MenuRCSWP = nullptr;  // the channel buttons' menu: "CO/CI", "FO/CI", "CO/FI", "FO/FI"
};

// The playout's main window: a thin view over the engine. Start-up (Form_Load) decides the
// session, reads the settings, builds the controls, opens the equipment and starts the 50 ms
// clock: a single-shot precise timer that runs one pass of the engine through the error guard
// and is armed again after it, so passes never overlap and go on while a modal dialog runs its
// own loop. The controls' events go to the handlers below; the engine's notifications redraw
// the controls. Closing asks first when the operator closes the window, never when the system
// does (a signal, the end of the desktop session); then the unload saves the layout, closes the
// equipment and the player and gives the session's caption back.
class FrmMain final : public QMainWindow, private ViewNotifications, private MessageNotices {
  Q_OBJECT

 public:
  // How a close came: the window's close box (or the keyboard), the program itself, the end of
  // the desktop session, a signal from outside.
  static constexpr int32_t kCloseFromControlMenu = 0;
  static constexpr int32_t kCloseFromCode = 1;
  static constexpr int32_t kCloseByWindows = 2;
  static constexpr int32_t kCloseByTaskManager = 3;
  // The clock's period in ms.
  static constexpr int32_t kTickMs = 50;

  // Everything the window and its engine log goes to `log`, which must outlive the window.
  explicit FrmMain(platform::LogSink& log, QWidget* parent = nullptr);
  ~FrmMain() override;

  // Start-up, before the window is shown. False when the program must end: every session is
  // taken (nothing has been written; the reason is printed on standard error), or a step failed
  // while errors are not trapped.
  bool Form_Load();
  // A close that asks nothing (`mode` kCloseByWindows or kCloseByTaskManager).
  void SystemClose(int32_t mode);
  // Catches SIGTERM and SIGINT as system closes. Start-up does it; the watch goes with the
  // window.
  void WatchCloseSignals();

  // ---- the operator's handlers (what a click on the control does) -----------------------
  void OPButtons_ButtonClicked(int32_t clickedIndex);
  void TextOA_MouseUD(int32_t button, bool isDown, int32_t pIndex);
  void MenuConf_Click();
  void MenuLoad_Click();
  void LoadButton_ButtonClicked(int32_t clickedIndex);
  void DelButton_ButtonClicked(int32_t clickedIndex);
  void LVS_DblClicked(int32_t index);
  void LVS_RightClicked(int32_t index);
  void LVS_TabMoved(int32_t index);
  void LVS_Clicked(int32_t index);
  void SWButtons_ButtonClicked(int32_t clickedIndex);
  void SWButtons_RightClicked(int32_t clickedIndex);
  void MenuRCSW_Click(int32_t index);
  void Command1_Click();
  // A line on top of the serial and HID trace.
  void AddTraceLine(const std::string& text);
  // Lays the controls out for the client area as it is now.
  void Form_Resize();

  // ---- what tests and pictures look at -------------------------------------------------
  PlayoutEngine& Engine() { return *engine_; }
  ExternalDevices& Devices() { return ports_->Devices(); }
  const FrmMainControls& Controls() const { return ctl_; }
  const MainLayout& Layout() const { return layout_; }
  const Session& CurrentSession() const { return session_; }
  int32_t WindowHandle() const { return hWnd_; }
  int32_t FormReady() const { return formReady_; }
  float SizeRate() const { return sizeRate_; }
  int32_t NumSWCH() const { return numSWCH_; }
  const QTimer& TimerClock() const { return timerClock_; }
  // Passes run since start-up.
  int64_t PassCount() const { return passes_; }
  bool Unloaded() const { return unloaded_; }

 signals:
  // The unload has written the program's final line; only quick steps follow.
  void FinalLineWritten();
  // The unload has run: the program may end.
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // frm_main_load.cpp
  bool ProbeSession();
  PlayoutSettings ReadSettings();
  void OpenDevices();
  void DecideTimeSync();
  void StartClock();
  // frm_main_controls.cpp
  void BuildControls();
  void ConnectControls();
  void SetUpLists();
  void SetUpPanels();
  void SetUpStrips();
  void ApplyLayout();
  void PaintBackgrounds();
  QWidget* WidgetOf(MainControl control) const;
  // frm_main_unload.cpp
  int32_t Form_QueryUnload(int32_t unloadMode);
  void Form_Unload();

  void TimerClock_Timer();
  // Runs a handler of a control's event through the error guard.
  void Trapped(const char* where, const std::function<void()>& work);

  // ViewNotifications
  void ClockCell(int32_t cell, const std::string& text) override;
  void CountDown(int32_t colorType, int32_t seconds, const std::string& text) override;
  void OnAirBox(int32_t onAir) override;
  void ListChanged(int32_t list) override;
  void OnAirStyle(int32_t foreColor, int32_t backColor) override;
  void Trace(const std::string& text) override;
  void LoadPanelText(const std::string& text) override;
  void BlockCaptionClick(int32_t flag) override;
  // MessageNotices
  void Post(const std::string& title, const std::string& text) override;

  platform::LogSink& log_;
  Session session_;
  int32_t hWnd_ = 0;
  std::unique_ptr<platform::MessageReceiver> receiver_;
  std::unique_ptr<ProcessPorts> ports_;
  std::unique_ptr<PlayoutEngine> engine_;
  std::unique_ptr<CloseSignals> closeSignals_;
  // What the settings dialog is handed: made when it first opens.
  std::unique_ptr<EngineRunningSettings> settingsLink_;
  std::unique_ptr<settings::SystemDeviceLists> deviceLists_;
  FrmMainControls ctl_;
  MainLayout layout_;
  QTimer timerClock_;
  int32_t tpp_ = 15;
  int32_t formReady_ = 0;
  float sizeRate_ = 1.0F;
  int32_t clockColor_ = 0;
  int32_t numSWCH_ = 8;
  int32_t closeMode_ = kCloseFromControlMenu;
  bool unloaded_ = false;
  int64_t passes_ = 0;
};

}  // namespace playout
