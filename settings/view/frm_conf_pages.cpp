// The layout of the four pages of the settings dialog.

#include <algorithm>
#include <cmath>

#include "foundation/app_globals.h"
#include "settings/cnt_functions.h"
#include "settings/view/frm_conf.h"

namespace settings {

namespace {

// Designed left of each page's field column, pixels: its captions stand left of it
// (room for nine or ten characters of the interface face, which may be the large-cell one).
constexpr int kGeneralColumn = 145;
constexpr int kDisplayColumn = 160;
constexpr int kExternalColumn = 150;
constexpr int kTop = 12;
// Extra gaps between groups of rows.
constexpr int kGroupGap = 8;
constexpr int kPortTableGap = 32;
// Room around a cell's text in the function list, twips.
constexpr double kCellPadding = 240;

}  // namespace

void FrmConf::BuildGeneral(PageLayout& l) {
  const int x = kGeneralColumn;
  auto* srv = l.Path("SrvPath", x, kTop, 395);
  auto* local = l.Path("LocalPath", x, 0, 395);
  PageLayout::Below(*local, *srv);
  auto* air = l.Combo("SelectedAir", x, 0, 120);
  PageLayout::Below(*air, *local);
  auto* airId = l.Text("AirID", x + 250, 0, 60);
  airId->move(airId->x(), air->y());
  auto* prep = l.Text("PrepDay", x, 0, 40);
  PageLayout::Below(*prep, *air);
  QWidget* above = prep;
  for (const auto& [key, caption] : {std::pair{"ForceLoad", "強制読み込み"},
                                     {"ForceOA", "常にOAオン"},
                                     {"NoTimeSkip", "TIMEをSKIPしない"},
                                     {"NoCNTSkip", "CNTをSKIPしない"}}) {
    auto* check = l.Check(key, caption);
    PageLayout::Below(*check, *above);
    above = check;
  }
  auto* stopAdj = l.Text("StopAdjMS", x, 0, 60);
  PageLayout::Below(*stopAdj, *above);
  auto* over = l.Text("OverSec", x, 0, 60);
  PageLayout::Below(*over, *stopAdj);
  widgets::UC_Check* cue[3] = {l.Check("CueActive_1", "STBY"), l.Check("CueActive_2", "END"),
                               l.Check("CueActive_3", "STOP")};
  PageLayout::Below(*cue[0], *over, kGroupGap);
  PageLayout::RightOf(*cue[1], *cue[0]);
  PageLayout::RightOf(*cue[2], *cue[1]);
  auto* player = l.Combo("PlayerType", x, 0, 110);
  PageLayout::Below(*player, *cue[0], kGroupGap);
  auto* device = l.Combo("WaveDeviceName", x, 0, 270);
  PageLayout::RightOf(*device, *player);
  auto* fade = l.Text("DefaultFadeTime", x, 0, 50);
  PageLayout::Below(*fade, *player, kGroupGap);
  auto* margin = l.Text("FadeMargin", x + 160, 0, 50);
  PageLayout::CentredOn(*margin, *fade);
  auto* useFade = l.Check("UseFade", "FO使用", x + 270);
  PageLayout::CentredOn(*useFade, *fade);

  l.Caption(*srv, "サーバーフォルダ");
  l.Caption(*local, "ローカルフォルダ");
  l.Caption(*air, "系統");
  l.Caption(*airId, "端末ID");
  l.Caption(*prep, "スケジュール読込");
  l.After(*prep, "日");
  l.Caption(*stopAdj, "再生停止調整");
  l.After(*stopAdj, "ms");
  l.After(*over, "秒以上過ぎたら再生しない");
  l.Caption(*cue[0], "キュー");
  l.Caption(*player, "Player");
  l.Caption(*fade, "FO時間");
  l.After(*fade, "ms");
  l.Caption(*margin, "マージン");
  l.After(*margin, "ms");
}

void FrmConf::BuildDisplay(PageLayout& l) {
  const int x = kDisplayColumn;
  auto* sizeRate = l.Text("SizeRate", x, kTop, 50);
  auto* font = l.Combo("AltFont", x, 40, 150);
  auto* listFont = l.Text("LVFontSize", x, 70, 50);
  l.Check("ColorMode", "背景を白", x, 100);
  l.Check("ColorModeR", "読み込み画面を白", x, 124);
  clockColor_ =
      new platform::PictureBox(PictureTab(kPageDisplay), foundation::Globals().TwipsPerPixel);
  clockColor_->setGeometry(x, 150, 40, PageLayout::kTextHeight);
  clockColor_->SetBorderStyle(platform::PictureBox::kBorderFixed3D);
  if (const Field* colour = model_.Find("ClockColor"))
    clockColor_->Surface().SetBackColor(colour->value);
  connect(clockColor_, &platform::PictureBox::MouseUp, this,
          [this](int32_t button, int32_t, double, double) {
            if (button == 1) PictureClockColor_Click();
          });
  QWidget* above = nullptr;
  for (int32_t n = 1; n <= 6; ++n) {
    const std::string caption = conf_.DisplayColumnCaption[static_cast<size_t>(n - 1)] + "表示";
    auto* show = l.Check("ShowColumn_" + std::to_string(n), caption, x, 182);
    if (above != nullptr) PageLayout::Below(*show, *above);
    above = show;
  }

  l.Caption(*sizeRate, "表示サイズ");
  l.Caption(*font, "表示フォント");
  l.Caption(*listFont, "リストフォントサイズ");
  l.Caption(*clockColor_, "時計色");
}

void FrmConf::BuildExternal(PageLayout& l) {
  const int x = kExternalColumn;
  auto* minute = l.Text("AMinute", x, kTop, 40);
  auto* second = l.Text("ASecond", x + 80, 0, 40);
  PageLayout::CentredOn(*second, *minute);
  auto* cancel = l.Text("CancelCNT", x, 0, 40);
  PageLayout::Below(*cancel, *minute);
  auto* command = l.Text("CommandMargin", x, 0, 60);
  PageLayout::Below(*command, *cancel);
  auto* noPlay = l.Text("NoPlayMS", x, 0, 60);
  PageLayout::Below(*noPlay, *command);
  auto* channels = l.Text("NumSWCH", x, 0, 40);
  PageLayout::Below(*channels, *noPlay);

  const char* rowNames[3] = {"BCD", "シリアル1", "シリアル2"};
  QComboBox* com = nullptr;
  for (int32_t n = 1; n <= 3; ++n) {
    const std::string row = std::to_string(n);
    auto* port = l.Combo("ComNo_" + row, x, 0, 80);
    auto* baud = l.Combo("ComBaud_" + row, x, 0, 90);
    auto* type = l.Combo("SWType_" + row, x, 0, 100);
    if (com == nullptr) {
      PageLayout::Below(*port, *channels, kPortTableGap);
    } else {
      PageLayout::Below(*port, *com);
    }
    PageLayout::RightOf(*baud, *port);
    PageLayout::RightOf(*type, *baud);
    l.Caption(*port, rowNames[n - 1]);
    if (n == 1) {
      l.Head(*port, "Port");
      l.Head(*baud, "Baud");
      l.Head(*type, "機種");
      type->hide();  // the time-code port speaks no switcher protocol
    }
    com = port;
  }
  auto* hid = l.Combo("USBHIDID", x, 0, 80);
  PageLayout::Below(*hid, *com);
  auto* pulse = l.Text("CNTPulseMS", x + 200, 0, 50);
  pulse->move(pulse->x(), hid->y());
  auto* midiOut = l.Combo("MidiOutDeviceName", x, 0, 240);
  PageLayout::Below(*midiOut, *hid, kGroupGap);
  auto* useOut = l.Check("UseMIDIF", "MIDI使用 OUT", x + 250);
  PageLayout::CentredOn(*useOut, *midiOut);
  auto* midiIn = l.Combo("MidiInDeviceName", x, 0, 240);
  PageLayout::Below(*midiIn, *midiOut);
  auto* useIn = l.Check("UseMidiIn", "MIDI使用 IN", x + 250);
  PageLayout::CentredOn(*useIn, *midiIn);
  auto* reso = l.Text("MidifReso", x, 0, 40);
  PageLayout::Below(*reso, *midiIn);
  auto* stereo = l.Check("MIDIStereo", "ステレオ");
  PageLayout::Below(*stereo, *reso);
  auto* chOffset = l.Text("MIDIChOffset", x + 200, 0, 40);
  PageLayout::CentredOn(*chOffset, *stereo);
  auto* mode = l.Combo("MidiMode", x, 0, 150);
  PageLayout::Below(*mode, *stereo);

  l.Caption(*minute, "時刻較正 毎時");
  l.After(*minute, "分");
  l.After(*second, "秒");
  l.Caption(*cancel, "定時イベントの前後");
  l.After(*cancel, "秒の制御入力をキャンセル");
  l.Caption(*command, "コマンド隙間");
  l.After(*command, "ms");
  l.Caption(*noPlay, "二度押し回避");
  l.After(*noPlay, "ms");
  l.Caption(*channels, "スイッチャch使用数");
  l.Caption(*hid, "Tarnwick HID");
  l.Caption(*pulse, "パルス");
  l.After(*pulse, "ms");
  l.Caption(*reso, "フェーダー解像度");
  l.After(*reso, "bit");
  l.Caption(*chOffset, "Chオフセット");
  l.Caption(*mode, "パラメーター");
}

void FrmConf::BuildCnt() {
  platform::PictureBox& page = *PictureTab(kPageCnt);
  const int inset = 150 / foundation::Globals().TwipsPerPixel;
  lvsc_ = new lists::UC_ListView(&page);
  lvsc_->setGeometry(inset, inset, page.width() - 2 * inset, page.height() - 2 * inset);
  lvsc_->SetNumData(2);
  lvsc_->SetSortDisabled(1);
  lvsc_->SetIconDisabled(1);
  lvsc_->Init();
  lvsc_->SetTabName(1, "機能");
  // Designed 1200 twips wide; a wider interface face gets room for the longest input name.
  SetSurfaceFont(page);
  const double names = page.Surface().TextWidth(CntInputName(1, kCntInputs)) + kCellPadding;
  lvsc_->SetTabWidth(0, std::max(1200, static_cast<int32_t>(std::ceil(names))));
  lvsc_->SetTabWidth(1, 1500);
  lvsc_->SetUseTextCombo(1, lists::kEditorList);
  lvsc_->InitTab();
  for (const std::string& name : CNTFunctionName) lvsc_->AddListItem(1, name);
  const std::vector<Field>& cells = model_.Page(kPageCnt);
  for (int32_t row = 0; row < kContactInputCount; ++row) {
    const ContactInput input = ContactInput::AtRow(row);
    const size_t cell = static_cast<size_t>(row);
    lvsc_->AddItem(1);
    lvsc_->SetValue(-2, 0, CntInputName(input.group, input.input));
    lvsc_->SetValue(-2, 1, cell < cells.size() ? cells[cell].text : std::string());
  }
  lvsc_->Refresh();
}

}  // namespace settings
