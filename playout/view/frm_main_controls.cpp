// The main window's controls: made, set up in start-up's order, placed from the layout table,
// and laid out again for each client size.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cmath>

#include "controls/lists/view/uc_apsbar.h"
#include "controls/lists/view/uc_list_view.h"
#include "controls/widgets/view/uc_buttons.h"
#include "controls/widgets/view/uc_text_picture.h"
#include "foundation/colors.h"
#include "foundation/list_layout_keys.h"
#include "foundation/server_config.h"
#include "foundation/settings_store.h"
#include "foundation/view/design_painter.h"
#include "platform/twips.h"
#include "platform/view/picture_box.h"
#include "playout/view/frm_main.h"
#include "settings/setting_table.h"

namespace playout {

namespace {

using C = MainControl;

// A scaled text position of the clock panel: whole twips, -1 kept (centred).
int32_t ScaledPosition(int32_t twips, float rate) {
  if (twips == -1) return -1;
  return static_cast<int32_t>(std::nearbyint(twips * static_cast<double>(rate)));
}

// Places a widget by a twips box: whole pixels toward zero, a negative size as 0.
void Place(QWidget* widget, const TwipsBox& box, int32_t tpp) {
  if (widget == nullptr) return;
  const int w = platform::TwipsToPixels(box.Width, tpp);
  const int h = platform::TwipsToPixels(box.Height, tpp);
  widget->setGeometry(platform::TwipsToPixels(box.Left, tpp), platform::TwipsToPixels(box.Top, tpp),
                      w < 0 ? 0 : w, h < 0 ? 0 : h);
}

void SetCaptions(widgets::UC_Buttons& strip, const std::vector<std::string>& captions) {
  strip.SetNumButtons(static_cast<int32_t>(captions.size()));
  for (size_t i = 0; i < captions.size(); ++i) {
    strip.SetButtonChar(static_cast<int32_t>(i), captions[i]);
  }
}

}  // namespace

void FrmMain::BuildControls() {
  const int32_t tpp = tpp_;
  ctl_.client = new platform::PictureBox(this, tpp);
  setCentralWidget(ctl_.client);
  ctl_.MenuConf = menuBar()->addAction(QStringLiteral("設定(&C)"));
  ctl_.MenuLoad = menuBar()->addAction(QStringLiteral("読み込み(&L)"));

  ctl_.PictureF = new platform::PictureBox(ctl_.client, tpp);
  ctl_.TextClock = new widgets::UC_TextPicture(ctl_.PictureF);
  ctl_.ApsBar = new lists::UC_apsbar(ctl_.PictureF);
  ctl_.TextOA = new widgets::UC_TextPicture(ctl_.PictureF);
  ctl_.LVS[kListOnAir] = new lists::UC_ListView(ctl_.client, &engine_->LVS(kListOnAir));
  ctl_.LVS[kListQueue] = new lists::UC_ListView(ctl_.client, &engine_->LVS(kListQueue));
  ctl_.OPButtons = new widgets::UC_Buttons(ctl_.client);
  ctl_.SWButtons = new widgets::UC_Buttons(ctl_.client);
  ctl_.DelButton = new widgets::UC_Buttons(ctl_.client);
  // Made after the queue so that it lies over it.
  ctl_.PictureLoad = new platform::PictureBox(ctl_.client, tpp);
  ctl_.PictureLoad->hide();
  ctl_.LVS[kListLoad] = new lists::UC_ListView(ctl_.PictureLoad, &engine_->LVS(kListLoad));
  ctl_.LoadButton = new widgets::UC_Buttons(ctl_.PictureLoad);
  ctl_.TextMes = new widgets::UC_TextPicture(ctl_.PictureLoad);
  ctl_.TextCom = new QPlainTextEdit(ctl_.client);
  ctl_.TextCom->setReadOnly(true);
  ctl_.TextCom->hide();
  ctl_.Command1 = new QPushButton(QStringLiteral("UnSubClass"), ctl_.client);
  ctl_.Command1->hide();
  ctl_.MenuRCSWP = new QMenu(this);
  for (const char* caption : {"CO/CI", "FO/CI", "CO/FI", "FO/FI"}) {
    ctl_.MenuRCSWP->addAction(QString::fromUtf8(caption));
  }
  ConnectControls();
}

void FrmMain::ConnectControls() {
  connect(ctl_.client, &platform::PictureBox::Resized, this, &FrmMain::Form_Resize);
  connect(ctl_.MenuConf, &QAction::triggered, this, &FrmMain::MenuConf_Click);
  connect(ctl_.MenuLoad, &QAction::triggered, this, &FrmMain::MenuLoad_Click);
  connect(ctl_.OPButtons, &widgets::UC_Buttons::ButtonClicked, this,
          &FrmMain::OPButtons_ButtonClicked);
  connect(ctl_.SWButtons, &widgets::UC_Buttons::ButtonClicked, this,
          &FrmMain::SWButtons_ButtonClicked);
  connect(ctl_.SWButtons, &widgets::UC_Buttons::RightClicked, this,
          &FrmMain::SWButtons_RightClicked);
  connect(ctl_.DelButton, &widgets::UC_Buttons::ButtonClicked, this,
          &FrmMain::DelButton_ButtonClicked);
  connect(ctl_.LoadButton, &widgets::UC_Buttons::ButtonClicked, this,
          &FrmMain::LoadButton_ButtonClicked);
  connect(ctl_.TextOA, &widgets::UC_TextPicture::MouseUD, this, &FrmMain::TextOA_MouseUD);
  connect(ctl_.Command1, &QPushButton::clicked, this, &FrmMain::Command1_Click);
  const QList<QAction*> items = ctl_.MenuRCSWP->actions();
  for (int i = 0; i < items.size(); ++i) {
    connect(items[i], &QAction::triggered, this, [this, i] { MenuRCSW_Click(i); });
  }
  for (int32_t i = 0; i < kListCount; ++i) {
    lists::UC_ListView* lv = ctl_.LVS[i];
    connect(lv, &lists::UC_ListView::DblClicked, this, [this, i] { LVS_DblClicked(i); });
    connect(lv, &lists::UC_ListView::RightClicked, this, [this, i] { LVS_RightClicked(i); });
    connect(lv, &lists::UC_ListView::TabMoved, this, [this, i] { LVS_TabMoved(i); });
    connect(lv, &lists::UC_ListView::Clicked, this, [this, i] { LVS_Clicked(i); });
  }
}

void FrmMain::SetUpLists() {
  std::array<lists::UC_ListView*, kListCount>& lvs = ctl_.LVS;
  const PlayoutSettings& settings = engine_->Settings();
  const float lvFont = static_cast<float>(settings.LVFontSize);
  // Colours: dark or white background for the on-air list and the queue, and for the load list.
  if (settings.ColorMode != 0) {
    lvs[kListOnAir]->SetStyle(lvFont, true, "", 0x000000, 0xFFFFFF);
    lvs[kListQueue]->SetStyle(lvFont, true, "", 0x000000, 0xFFFFFF);
  } else {
    lvs[kListOnAir]->SetStyle(lvFont, true, "", 0xFFFFFF, 0x000000);
    lvs[kListQueue]->SetStyle(lvFont, true, "", 0xFFFFFF, 0x000000);
    lvs[kListQueue]->SetSelectedColorMode(15);
    lvs[kListQueue]->SetSelectedColor(0x404040);
  }
  if (settings.ColorModeR != 0) {
    lvs[kListLoad]->SetStyle(9 * sizeRate_, false, "", 0x000000, 0xFFFFFF);
  } else {
    lvs[kListLoad]->SetStyle(9 * sizeRate_, false, "", 0xFFFFFF, 0x000000);
    lvs[kListLoad]->SetSelectedColorMode(15);
    lvs[kListLoad]->SetSelectedColor(0x404040);
  }
  lvs[kListOnAir]->SetClickDisabled(1);
  lvs[kListOnAir]->SetUseTabOrder(1);
  lvs[kListOnAir]->SetVbarDisabled(1);
  lvs[kListQueue]->SetTabDisabled(1);
  lvs[kListLoad]->SetNoMultiSelect(1);
  // One saved column order serves all three lists.
  const std::vector<int32_t> order = foundation::LoadListColumnOrder("LVS_1_", 0, kRowCells);
  for (int32_t i = 0; i < kListCount; ++i) {
    lists::UC_ListView& lv = *lvs[i];
    lv.SetNumData(kRowCells);
    lv.SetNumAux(kRowCells);
    lv.SetUseUCBar(1);
    lv.SetHbarDisabled(1);
    lv.SetSortDisabled(1);
    lv.SetIconDisabled(1);
    lv.Init();
    lv.InitTab();
    lv.RestoreTabOrder(order);
    const std::vector<int32_t> widths =
        foundation::LoadListColumnWidths("LVS_" + std::to_string(i + 1) + "_", 0, kRowCells);
    for (int32_t j = 0; j < kRowCells; ++j) {
      lv.SetTabName(j, foundation::Conf().DisplayColumnCaption[static_cast<size_t>(j)]);
      lv.SetTabWidth(j, widths[static_cast<size_t>(j)]);
      const std::string show = "ShowColumn_" + std::to_string(j + 1);
      if (foundation::LoadSettingInt(show, settings::DefaultNumber(show)) == 0) {
        lv.SetTabHidden(j, 1);
      }
    }
    lv.ReDrawTab(-1);
  }
}

void FrmMain::SetUpPanels() {
  const float rate = sizeRate_;
  for (const C c : {C::kPictureF, C::kTextClock, C::kApsBar, C::kTextOA, C::kTextMes}) {
    Place(WidgetOf(c), layout_[c], tpp_);
  }
  widgets::UC_TextPicture& clock = *ctl_.TextClock;
  if (clockColor_ != 0) {
    clock.AddColorSet(clockColor_, 0, foundation::BlendColor(clockColor_, -160, -160, -160, -1.0F));
  } else {
    clock.AddStdColorSet(1);
  }
  struct Cell {
    float size;
    const char* face;
    int32_t left;
    int32_t top;
  };
  // 0 unused, 1 the time, 2 the date of the item, 3 its programme.
  static constexpr Cell kClockCells[] = {
      {11, "", 270, 75}, {26, "Impact", 210, -1}, {11, "", 1950, 90}, {11, "", 1950, 345}};
  for (const Cell& cell : kClockCells) {
    clock.AddTextSpace(cell.size * rate, false, false, cell.face, ScaledPosition(cell.left, rate),
                       ScaledPosition(cell.top, rate));
  }
  clock.Init();

  lists::UC_apsbar& bar = *ctl_.ApsBar;
  bar.SetFontStyle(20 * rate, true, "");
  bar.SetCountDown(10);
  bar.Init();
  bar.SetColorType(0);
  bar.Draw(10, "");

  widgets::UC_TextPicture& onAir = *ctl_.TextOA;
  onAir.SetDesignType(1);
  onAir.AddTextSpace(20 * rate, false, false, "Impact");
  onAir.AddColorSet(0xB0B0B0, 0x000000, 0xB0B0B0);  // off
  onAir.AddColorSet(0xC0C0FF, 0x202050, 0xA0A0FF);  // on air
  onAir.Init();
  onAir.DispMes(0, "ON AIR");

  for (const C c : {C::kDelButton, C::kLoadButton}) Place(WidgetOf(c), layout_[c], tpp_);
  widgets::UC_Buttons& del = *ctl_.DelButton;
  del.SetMimiWidth(0);
  SetCaptions(del, {"ここまで削除", "選択を削除"});
  del.SetFontSize(9 * rate);
  del.Init();
  widgets::UC_Buttons& load = *ctl_.LoadButton;
  load.SetFontSize(9 * rate);
  SetCaptions(load, {"ここから読み込み", "キャンセル"});
  load.Init();

  widgets::UC_TextPicture& mes = *ctl_.TextMes;
  mes.AddStdColorSet(1);
  mes.AddTextSpace(9 * rate, false, false, "", ScaledPosition(120, rate), -1);
  mes.Init();

  platform::PictureSurface& top = ctl_.PictureF->Surface();
  foundation::PaintPictureDesign(top, 7, -1, -1, -1);
}

void FrmMain::SetUpStrips() {
  const float rate = sizeRate_;
  const int32_t noRemote = engine_->State().NoRemoteDevice;
  std::vector<std::string> captions;
  if (noRemote == 0) captions.push_back("CNT");
  captions.push_back("START");
  captions.push_back("STOP");
  if (engine_->Settings().UseFade != 0) captions.push_back("FO");
  StartUpMeasures m;
  m.onAirRowTwips = ctl_.LVS[kListOnAir]->OneHeight();
  m.opButtons = static_cast<int32_t>(captions.size());
  m.numSWCH = numSWCH_;
  m.sizeRate = rate;
  layout_ = PlaceAtStartUp(layout_, m, tpp_);

  widgets::UC_Buttons& op = *ctl_.OPButtons;
  Place(&op, layout_[C::kOPButtons], tpp_);
  op.SetFontSize(9 * rate);
  op.SetMimiWidth(0);
  SetCaptions(op, captions);
  op.Init();
  layout_[C::kOPButtons].Width = op.width() * tpp_;

  widgets::UC_Buttons& sw = *ctl_.SWButtons;
  TwipsBox& swBox = layout_[C::kSWButtons];
  swBox.Left = layout_[C::kOPButtons].Left + layout_[C::kOPButtons].Width + 4 * tpp_;
  Place(&sw, swBox, tpp_);
  sw.SetFontSize(9 * rate);
  std::vector<std::string> channels;
  for (int32_t ch = 1; ch <= numSWCH_; ++ch) channels.push_back(std::to_string(ch));
  SetCaptions(sw, channels);
  sw.SetMimiWidth(0);
  sw.Init();
  swBox.Width = sw.width() * tpp_;
  // One channel needs no switching.
  sw.setVisible(numSWCH_ > 1);
  layout_[C::kDelButton].Width = ctl_.DelButton->width() * tpp_;
  layout_[C::kLoadButton].Width = ctl_.LoadButton->width() * tpp_;

  const ClientSize minimum =
      MinimumClientSize(layout_, ctl_.LVS[kListQueue]->OneHeight(), 3, numSWCH_ > 1, tpp_);
  ctl_.client->setMinimumSize(static_cast<int>(std::ceil(minimum.width / tpp_)),
                              static_cast<int>(std::ceil(minimum.height / tpp_)));
}

QWidget* FrmMain::WidgetOf(MainControl control) const {
  switch (control) {
    case C::kPictureF:
      return ctl_.PictureF;
    case C::kTextClock:
      return ctl_.TextClock;
    case C::kApsBar:
      return ctl_.ApsBar;
    case C::kTextOA:
      return ctl_.TextOA;
    case C::kLVS0:
      return ctl_.LVS[kListOnAir];
    case C::kLVS1:
      return ctl_.LVS[kListQueue];
    case C::kPictureLoad:
      return ctl_.PictureLoad;
    case C::kLVS2:
      return ctl_.LVS[kListLoad];
    case C::kLoadButton:
      return ctl_.LoadButton;
    case C::kTextMes:
      return ctl_.TextMes;
    case C::kDelButton:
      return ctl_.DelButton;
    case C::kOPButtons:
      return ctl_.OPButtons;
    case C::kSWButtons:
      return ctl_.SWButtons;
    case C::kTextCom:
      return ctl_.TextCom;
    case C::kCommand1:
      return ctl_.Command1;
    case C::kCount:
      break;
  }
  return nullptr;
}

void FrmMain::ApplyLayout() {
  for (size_t i = 0; i < layout_.boxes.size(); ++i) {
    const auto c = static_cast<C>(i);
    Place(WidgetOf(c), layout_[c], tpp_);
  }
}

void FrmMain::PaintBackgrounds() {
  platform::PictureSurface& form = ctl_.client->Surface();
  form.Cls();
  foundation::PaintPictureDesign(form, -2, -1, -1, -1);
  foundation::PaintPictureDesign(form, 0, -1, -1, -1);
  platform::PictureSurface& load = ctl_.PictureLoad->Surface();
  load.Cls();
  foundation::PaintPictureDesign(load, 14, -1, -1, -1);
}

void FrmMain::Form_Resize() {
  if (formReady_ == 0 || isMinimized() || ctl_.client == nullptr) return;
  Trapped("Form_Resize", [&] {
    const double W = static_cast<double>(ctl_.client->width()) * tpp_;
    const double H = static_cast<double>(ctl_.client->height()) * tpp_;
    const std::optional<MainLayout> fitted = FitToClient(layout_, W, H, tpp_);
    if (!fitted) return;
    layout_ = *fitted;
    ApplyLayout();
    PaintBackgrounds();
  });
}

}  // namespace playout
