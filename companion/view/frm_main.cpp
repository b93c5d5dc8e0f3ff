#include "companion/view/frm_main.h"

#include <QCloseEvent>
#include <QPainter>

#include "foundation/app_globals.h"
#include "foundation/conversions.h"
#include "foundation/font_table.h"
#include "foundation/list_layout_keys.h"
#include "foundation/view/widget_placement.h"
#include "foundation/window_placement.h"

namespace companion {

namespace {

constexpr int kTimerMs = 100;
// The status list as designed, twips.
constexpr int32_t kMesLeftTwips = 15;
constexpr int32_t kMesTopTwips = 15;
constexpr int32_t kMesHeightTwips = 2100;
constexpr int32_t kDesignWidthTwips = 12000;
constexpr int32_t kDesignHeightTwips = 11000;

size_t Index(CompanionList list) { return static_cast<size_t>(list); }

// The captions printed above the lists.
const char* CaptionOf(CompanionList list) {
  switch (list) {
    case CompanionList::kServerFiles:
      return "スケジュール";
    case CompanionList::kSchedule:
      return "スケジュール内容";
    case CompanionList::kOnAir:
      return "OA画面";
    case CompanionList::kCopy:
      return "転送";
    default:
      return "";
  }
}

}  // namespace

FrmMain::FrmMain(const CompanionSettings& settings, platform::LogSink& log,
                 const CompanionPorts* ports, QWidget* parent)
    : QWidget(parent) {
  setWindowTitle(QString::fromStdString(settings.names.Caption));
  registration_ = platform::WindowRegistration::Claim(settings.names.Caption);
  fh1_ = new transfer::UC_FileHand(log, this, transfer::CompanionVariant());
  fh0_ = new transfer::UC_FileHand(log, this, transfer::CompanionVariant());
  fh1_->Init();
  fh0_->Init();
  fh1_->hide();
  fh0_->hide();
  CompanionPorts own;
  if (ports == nullptr) {
    processPorts_ =
        std::make_unique<ProcessPorts>(log, *fh0_, *fh1_, static_cast<CompanionView&>(*this));
    own = processPorts_->Ports();
  } else {
    own = *ports;
    own.view = this;
  }
  engine_ = std::make_unique<CompanionEngine>(own, settings);
  for (size_t i = 0; i < views_.size(); ++i) {
    views_[i] = new lists::UC_ListView(this, &engine_->List(static_cast<CompanionList>(i)));
  }
  timer_.setInterval(kTimerMs);
  connect(&timer_, &QTimer::timeout, this, [this] {
    engine_->RunDueTimers();
    RedrawDirty();
  });
}

FrmMain::~FrmMain() {
  timer_.stop();
  // The views draw the engine's models: they go first.
  for (lists::UC_ListView*& view : views_) {
    delete view;
    view = nullptr;
  }
}

void FrmMain::SetUpList(CompanionList list, const std::string& widthInfix) {
  lists::UC_ListView& lv = View(list);
  const std::vector<std::string>& names = CompanionColumnNames(list);
  lv.SetIconDisabled(1);
  if (list == CompanionList::kSchedule || list == CompanionList::kOnAir) lv.SetUseTabOrder(0);
  if (list == CompanionList::kMessages) lv.SetStyle(9, false, "", 0x407060, 0xD5FFF1);
  lv.Init();
  const std::vector<int32_t> widths =
      foundation::LoadListColumnWidths(widthInfix, 0, static_cast<int32_t>(names.size()));
  for (size_t j = 0; j < names.size(); ++j) {
    lv.SetTabName(static_cast<int32_t>(j), names[j]);
    lv.SetTabWidth(static_cast<int32_t>(j), widths[j]);
  }
  // Every list gets its row height here, the copy queue and the file list included.
  lv.InitTab();
  lv.ReDrawTab(-1);
}

void FrmMain::Form_Load(bool minimised) {
  foundation::SetControlFont(&fontWindow_, 0, nullptr, 0, 0, 0, "");
  // Both schedule lists take the widths saved for the schedule contents.
  SetUpList(CompanionList::kSchedule, "LVS_1_");
  SetUpList(CompanionList::kOnAir, "LVS_1_");
  SetUpList(CompanionList::kMessages, "LVmes_");
  SetUpList(CompanionList::kCopy, "LVCopy_");
  SetUpList(CompanionList::kServerFiles, "LVcue_");
  const int32_t tpp = foundation::Globals().TwipsPerPixel;
  resize(kDesignWidthTwips / tpp, kDesignHeightTwips / tpp);
  foundation::WidgetPlacementForm placement(*this);
  foundation::LoadWindowPlacement(placement);
  resizeReady_ = true;
  if (minimised) {
    showMinimized();
  } else {
    showNormal();
  }
  Form_Resize();
  engine_->Form_Load();
  RedrawAll();
  timer_.start();
}

void FrmMain::Form_Resize() {
  if (!resizeReady_) return;
  const int32_t t = foundation::Globals().TwipsPerPixel;
  const int32_t w = width() * t;
  const int32_t h = height() * t;
  const auto place = [t](QWidget& widget, int32_t left, int32_t top, int32_t wd, int32_t ht) {
    widget.setGeometry(left / t, top / t, std::max(wd / t, 1), std::max(ht / t, 1));
  };
  const int32_t listWidth = w - 2 * t;
  place(View(CompanionList::kMessages), kMesLeftTwips, kMesTopTwips, listWidth, kMesHeightTwips);
  int32_t top = kMesTopTwips + kMesHeightTwips + 4 * t + 255;
  const int32_t listHeight =
      foundation::NearestInt32Saturated(static_cast<double>(h - top)) / 4 - 4 * t - 195;
  for (CompanionList list : {CompanionList::kServerFiles, CompanionList::kSchedule,
                             CompanionList::kOnAir, CompanionList::kCopy}) {
    place(View(list), kMesLeftTwips, top, listWidth, listHeight);
    View(list).UserControl_Resize();
    top += listHeight + 4 * t + 255;
  }
  View(CompanionList::kMessages).UserControl_Resize();
  fh1_->move(width() / 2 - fh1_->AdjustX() / t, height() / 2 - fh1_->AdjustY() / t);
  update();
}

void FrmMain::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!isMinimized()) Form_Resize();
}

void FrmMain::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  QPainter painter(this);
  painter.setFont(foundation::FontOfEntry(0));
  const int gap = painter.fontMetrics().descent() + 2;
  for (CompanionList list : {CompanionList::kServerFiles, CompanionList::kSchedule,
                             CompanionList::kOnAir, CompanionList::kCopy}) {
    const QRect r = View(list).geometry();
    painter.drawText(r.left(), r.top() - gap, QString::fromUtf8(CaptionOf(list)));
  }
}

void FrmMain::ListChanged(CompanionList list) {
  dirty_[Index(list)] = true;
  if (redrawQueued_) return;
  redrawQueued_ = true;
  QMetaObject::invokeMethod(this, &FrmMain::RedrawDirty, Qt::QueuedConnection);
}

void FrmMain::RedrawDirty() {
  redrawQueued_ = false;
  for (size_t i = 0; i < views_.size(); ++i) {
    if (!dirty_[i]) continue;
    dirty_[i] = false;
    views_[i]->Refresh();
  }
}

void FrmMain::RedrawAll() {
  dirty_.fill(true);
  RedrawDirty();
}

void FrmMain::CopyPanelVisible(bool visible) {
  fh1_->setVisible(visible);
  if (visible) fh1_->raise();
}

void FrmMain::RequestClose() {
  QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void FrmMain::closeEvent(QCloseEvent* event) {
  if (!engine_->Form_Unload()) {
    event->ignore();  // tried again by the next watch of the playout window
    return;
  }
  timer_.stop();
  foundation::SaveListColumnWidths(engine_->LVS(kScheduleList), "LVS_1_", 0, 1.0F);
  foundation::SaveListColumnWidths(engine_->LVcue(), "LVcue_", 0, 1.0F);
  foundation::SaveListColumnWidths(engine_->LVCopy(), "LVCopy_", 0, 1.0F);
  foundation::SaveListColumnWidths(engine_->LVmes(), "LVmes_", 0, 1.0F);
  foundation::WidgetPlacementForm placement(*this);
  foundation::SaveWindowPlacement(placement);
  event->accept();
  emit Closed();
}

}  // namespace companion
