#include "playout/view/frm_main.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSessionManager>

#include "controls/lists/view/uc_apsbar.h"
#include "controls/lists/view/uc_list_view.h"
#include "controls/widgets/view/uc_buttons.h"
#include "controls/widgets/view/uc_text_picture.h"
#include "foundation/debug_log.h"
#include "foundation/error_traps.h"
#include "foundation/sub_class.h"
#include "platform/view/picture_box.h"
#include "playout/channel_buttons.h"
#include "playout/settings_link.h"
#include "playout/view/close_signals.h"
#include "settings/process_dialog_ports.h"
#include "settings/view/show_settings_dialog.h"

namespace playout {

FrmMain::FrmMain(platform::LogSink& log, QWidget* parent) : QMainWindow(parent), log_(log) {
  timerClock_.setSingleShot(true);
  timerClock_.setTimerType(Qt::PreciseTimer);
  connect(&timerClock_, &QTimer::timeout, this, &FrmMain::TimerClock_Timer);
}

FrmMain::~FrmMain() {
  timerClock_.stop();
  closeSignals_.reset();
  // The views go before the engine whose lists they show.
  for (lists::UC_ListView* lv : ctl_.LVS) delete lv;
  ctl_.LVS = {};
  engine_.reset();
  ports_.reset();
  if (!unloaded_ && hWnd_ != 0) foundation::SubClassUnhook(hWnd_);
  receiver_.reset();
}

void FrmMain::WatchCloseSignals() {
  if (closeSignals_) return;
  closeSignals_ =
      std::make_unique<CloseSignals>([this](int) { SystemClose(kCloseByTaskManager); }, this);
  // The end of the desktop session closes the window like a shutdown did.
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    connect(app, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { SystemClose(kCloseByWindows); });
  }
}

void FrmMain::Trapped(const char* where, const std::function<void()>& work) {
  foundation::RunTrapped(where, work);
}

void FrmMain::TimerClock_Timer() {
  if (unloaded_ || !engine_) return;
  ++passes_;
  Trapped("TimerClock_Timer", [this] { engine_->TimerClock_Timer(); });
  if (!unloaded_) timerClock_.start(kTickMs);
}

// ---- closing ------------------------------------------------------------------------------

void FrmMain::SystemClose(int32_t mode) {
  closeMode_ = mode;
  close();
}

void FrmMain::closeEvent(QCloseEvent* event) {
  // A window whose start-up ended early has nothing to unload.
  if (unloaded_ || !engine_) {
    event->accept();
    return;
  }
  int32_t cancel = 0;
  Trapped("Form_QueryUnload", [&] { cancel = Form_QueryUnload(closeMode_); });
  closeMode_ = kCloseFromControlMenu;
  if (cancel != 0) {
    event->ignore();
    return;
  }
  Form_Unload();
  event->accept();
}

void FrmMain::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // A window coming back from the task bar may keep its size and get no resize.
  if (event->type() == QEvent::WindowStateChange && !isMinimized()) Form_Resize();
}

// ---- the operator's handlers ---------------------------------------------------------------

void FrmMain::OPButtons_ButtonClicked(int32_t clickedIndex) {
  Trapped("OPButtons_ButtonClicked", [&] { engine_->OPButtons_ButtonClicked(clickedIndex); });
}

void FrmMain::TextOA_MouseUD(int32_t button, bool isDown, int32_t) {
  Trapped("TextOA_MouseUD", [&] { engine_->TextOA_MouseUD(button, isDown ? -1 : 0); });
}

void FrmMain::MenuConf_Click() {
  Trapped("MenuConf_Click", [&] {
    if (!settingsLink_)
      settingsLink_ = std::make_unique<EngineRunningSettings>(*engine_, &Devices());
    if (!deviceLists_)
      deviceLists_ = std::make_unique<settings::SystemDeviceLists>(Devices().Midi().Ports());
    settings::ShowSettingsDialog(this, *settingsLink_, *deviceLists_);
  });
}

void FrmMain::MenuLoad_Click() {
  Trapped("MenuLoad_Click", [&] {
    // The panel's own flag: the window itself may not be on screen (yet).
    const bool show = ctl_.PictureLoad->isHidden();
    ctl_.PictureLoad->setVisible(show);
    if (show) ctl_.PictureLoad->raise();
  });
}

void FrmMain::LoadButton_ButtonClicked(int32_t clickedIndex) {
  Trapped("LoadButton_ButtonClicked", [&] {
    engine_->LoadButton_ButtonClicked(clickedIndex);
    ctl_.PictureLoad->hide();
  });
}

void FrmMain::DelButton_ButtonClicked(int32_t clickedIndex) {
  Trapped("DelButton_ButtonClicked", [&] { engine_->DelButton_ButtonClicked(clickedIndex); });
}

void FrmMain::LVS_DblClicked(int32_t index) {
  if (index == kListLoad) LoadButton_ButtonClicked(kLoadButtonLoad);
}

void FrmMain::LVS_RightClicked(int32_t index) {
  Trapped("LVS_RightClicked", [&] { engine_->LVS_RightClicked(index); });
}

void FrmMain::LVS_TabMoved(int32_t index) {
  if (index != kListOnAir) return;
  Trapped("LVS_TabMoved", [&] {
    // The queue always has the on-air list's column widths.
    lists::UC_ListView& onAir = *ctl_.LVS[kListOnAir];
    lists::UC_ListView& queue = *ctl_.LVS[kListQueue];
    for (int32_t j = 0; j < kRowCells; ++j) queue.SetTabWidth(j, onAir.TabWidth(j));
    queue.ReDraw();
    queue.ReDrawTab(-1);
  });
}

void FrmMain::LVS_Clicked(int32_t index) {
  Trapped("LVS_Clicked", [&] { engine_->LVS_Clicked(index); });
}

void FrmMain::SWButtons_ButtonClicked(int32_t clickedIndex) {
  Trapped("SWButtons_ButtonClicked", [&] { engine_->SWButtons_ButtonClicked(clickedIndex); });
}

void FrmMain::SWButtons_RightClicked(int32_t clickedIndex) {
  Trapped("SWButtons_RightClicked", [&] {
    engine_->SWButtons_RightClicked(clickedIndex);
    ctl_.MenuRCSWP->popup(QCursor::pos());
  });
}

void FrmMain::MenuRCSW_Click(int32_t index) {
  Trapped("MenuRCSW_Click", [&] { engine_->MenuRCSW_Click(index); });
}

void FrmMain::AddTraceLine(const std::string& text) {
  Trapped("AddTraceLine", [&] { engine_->AddTraceLine(text); });
}

void FrmMain::Command1_Click() {
  // By hand, for debugging: the window stops taking the schedule message.
  foundation::SubClassUnhook(hWnd_);
}

// ---- what the engine shows -----------------------------------------------------------------

void FrmMain::ClockCell(int32_t cell, const std::string& text) {
  ctl_.TextClock->DispMes(cell, text);
}

void FrmMain::CountDown(int32_t colorType, int32_t seconds, const std::string& text) {
  ctl_.ApsBar->SetColorType(colorType);
  ctl_.ApsBar->Draw(seconds, text);
}

void FrmMain::OnAirBox(int32_t onAir) { ctl_.TextOA->SetColor(onAir, 1); }

void FrmMain::ListChanged(int32_t list) {
  if (list < 0 || list >= kListCount || ctl_.LVS[list] == nullptr) return;
  ctl_.LVS[list]->Refresh();
}

void FrmMain::OnAirStyle(int32_t foreColor, int32_t backColor) {
  lists::UC_ListView& onAir = *ctl_.LVS[kListOnAir];
  onAir.SetStyle(static_cast<float>(engine_->Settings().LVFontSize), true, "", foreColor,
                 backColor);
  // A new style takes its row metrics from InitTab.
  onAir.InitTab();
  onAir.Refresh();
}

void FrmMain::Trace(const std::string& text) {
  // The trace keeps its lines in CR LF; the box shows them as lines.
  ctl_.TextCom->setPlainText(QString::fromStdString(text).replace(QStringLiteral("\r\n"), "\n"));
}

void FrmMain::LoadPanelText(const std::string& text) { ctl_.TextMes->DispMes(0, text); }

void FrmMain::BlockCaptionClick(int32_t flag) { foundation::SetBlockCaptionClick(hWnd_, flag); }

void FrmMain::Post(const std::string& title, const std::string& text) {
  // Shown without waiting: the passes go on while the operator reads it.
  auto* box = new QMessageBox(QMessageBox::Warning, QString::fromStdString(title),
                              QString::fromStdString(text), QMessageBox::Ok, this);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setModal(false);
  box->show();
}

}  // namespace playout
