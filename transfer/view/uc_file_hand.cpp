#include "transfer/view/uc_file_hand.h"

#include <algorithm>

#include "foundation/app_globals.h"
#include "foundation/conversions.h"
#include "foundation/error_traps.h"
#include "foundation/font_table.h"
#include "foundation/view/design_painter.h"
#include "platform/system_colors.h"

namespace transfer {

namespace {

// The panel as designed, in pixels at scale 1.0.
constexpr double kWidth = 320;
constexpr double kHeight = 100;
// The cancel button of mode 0.
constexpr double kButtonWidth = 90;
constexpr double kButtonHeight = 24;
// Text is printed this far below the bar's track.
constexpr double kTextGapTwips = 120;
// A centred text wider than the panel still starts this far from its left edge.
constexpr double kMinTextLeftTwips = 30;

}  // namespace

// Carries the engine's calls to the panel and its signals (on the calling thread).
class UC_FileHand::Relay : public FileHandObserver {
 public:
  explicit Relay(UC_FileHand& owner) : owner_(owner) {}
  void MirrorProg(float pRate) override { emit owner_.MirrorProg(pRate); }
  void HikakuProg(float pRate) override { emit owner_.HikakuProg(pRate); }
  void ShowFileHandMessage(const std::string& message, bool leftAligned) override {
    owner_.ShowFileHandMessage(message, leftAligned);
  }
  void ShowFileHandRate(float pRate) override { owner_.ShowFileHandRate(pRate); }

 private:
  UC_FileHand& owner_;
};

UC_FileHand::UC_FileHand(platform::LogSink& log, QWidget* parent, FileHandVariant variant,
                         TransferFileSystem& fs)
    : platform::PictureBox(parent, foundation::Globals().TwipsPerPixel),
      FileHand(log, std::move(variant), fs),
      relay_(std::make_unique<Relay>(*this)),
      fontWindow_(this) {
  SetObserver(relay_.get());
  cancelButton_ = new QPushButton(QString::fromStdString(Variant().cancelCaption), this);
  connect(cancelButton_, &QPushButton::clicked, this, [this] {
    foundation::RunTrapped("UC_FileHand.CancelButton_Click", [this] { ProcCancel(); });
  });
}

UC_FileHand::~UC_FileHand() { SetObserver(nullptr); }

int32_t UC_FileHand::Px(double designed) const {
  return foundation::NearestInt32Saturated(sizeRate_ * designed);
}

int32_t UC_FileHand::AdjustX() const { return Px(kWidth / 2) * Surface().TwipsPerPixel(); }

int32_t UC_FileHand::AdjustY() const { return Px(kHeight / 2) * Surface().TwipsPerPixel(); }

void UC_FileHand::SetSizeRate(float pValue) {
  if (!Variant().companion) sizeRate_ = pValue;
}

void UC_FileHand::Init(int32_t pMode) {
  const int32_t tpp = Surface().TwipsPerPixel();
  Move(Left(), Top(), static_cast<double>(Px(kWidth)) * tpp,
       static_cast<double>(Px(kHeight)) * tpp);
  const int32_t font =
      foundation::SetControlFont(&fontWindow_, -2, nullptr, 0, 0, 0, std::string());
  // Without a font table (no toolkit factory) the surface keeps its own font.
  if (font >= 0) Surface().SetFont(foundation::FontOfEntry(font));
  mode_ = pMode;
  if (mode_ == 1) {
    cancelButton_->hide();
    BuildChildren();
    return;
  }
  PlaceCancelButton();
  cancelButton_->show();
}

void UC_FileHand::PlaceCancelButton() {
  foundation::WidgetFontWindow buttonFont(cancelButton_);
  foundation::SetControlFont(&buttonFont, -2, nullptr, 0, 0, 0, std::string());
  const int w = Px(kButtonWidth);
  const int h = Px(kButtonHeight);
  cancelButton_->setGeometry((width() - w) / 2, height() - h - Px(20) / 2, w, h);
}

void UC_FileHand::BuildChildren() {
  const int32_t tpp = Surface().TwipsPerPixel();
  const double r = sizeRate_;
  const auto twips = [tpp](double pixels) { return pixels * tpp; };

  // Each child is made once; a second Init places and sets up the same children again.
  if (pictureParent_.isNull()) pictureParent_ = new platform::PictureBox(this, tpp);
  platform::PictureBox& parent = *pictureParent_;
  parent.SetBorderStyle(platform::PictureBox::kBorderNone);
  parent.Move(0, 0, twips(Px(kWidth)), twips(Px(kHeight)));

  if (textMes_.isNull()) {
    textMes_ = new widgets::UC_TextPicture(&parent);
    textMes_->setFocusPolicy(Qt::NoFocus);
    textMes_->Move(twips(Px(20)), twips(Px(20)), r * 280 * tpp, twips(Px(20)));
    textMes_->AddStdColorSet(1);
    textMes_->AddTextSpace(static_cast<float>(9 * r), false, false, std::string(), 90);
    textMes_->Init();
  }
  if (progBar_.isNull()) {
    progBar_ = new UC_Bar(&parent);
    progBar_->setFocusPolicy(Qt::NoFocus);
    progBar_->Move(twips(Px(20)), twips(Px(45)), r * 280 * tpp, twips(Px(20)));
    progBar_->Init();
  }
  if (cancelButtonEx_.isNull()) {
    cancelButtonEx_ = new widgets::UC_Buttons(&parent);
    cancelButtonEx_->setFocusPolicy(Qt::NoFocus);
    cancelButtonEx_->Move(twips(Px(220)), r * 70 * tpp, twips(Px(100)), twips(Px(20)));
    cancelButtonEx_->SetNumButtons(1);
    cancelButtonEx_->SetFontSize(static_cast<float>(9 * r));
    cancelButtonEx_->SetButtonChar(0, Variant().cancelCaption);
    cancelButtonEx_->SetMimiWidth(0);
    cancelButtonEx_->Init();
    connect(cancelButtonEx_, &widgets::UC_Buttons::ButtonClicked, this, [this](int16_t) {
      foundation::RunTrapped("UC_FileHand.CancelButtonEx1_ObjectEvent", [this] { ProcCancel(); });
    });
  }
  textMes_->show();
  progBar_->show();
  cancelButtonEx_->show();
  foundation::PaintPictureDesign(parent.Surface(), 14, -1, -1, -1);
  parent.show();
}

void UC_FileHand::ShowFileHandMessage(const std::string& message, bool leftAligned) {
  if (mode_ == 1) {
    if (!textMes_.isNull()) textMes_->DispMes(0, message);
    return;
  }
  platform::PictureSurface& s = Surface();
  const int32_t tpp = s.TwipsPerPixel();
  if (tpp <= 0) return;
  s.Cls();
  const int w = s.PixelWidth();
  const int h = s.PixelHeight();
  s.FillRectPx(0, 0, w, 1, 0);
  s.FillRectPx(0, h - 1, w, h, 0);
  s.FillRectPx(0, 0, 1, h, 0);
  s.FillRectPx(w - 1, 0, w, h, 0);
  // The bar's track.
  s.DrawEdge(Px(20), Px(20), w - Px(20), Px(30), platform::EDGE_ETCHED, platform::BF_RECT);
  if (message.empty()) return;
  s.SetCurrentY(static_cast<double>(Px(30)) * tpp + kTextGapTwips);
  if (leftAligned) {
    s.SetCurrentX(static_cast<double>(Px(20)) * tpp);
  } else {
    s.SetCurrentX(std::max((s.ScaleWidth() - s.TextWidth(message)) / 2, kMinTextLeftTwips));
  }
  s.Print(message);
}

void UC_FileHand::ShowFileHandRate(float pRate) {
  if (mode_ == 1) {
    if (!progBar_.isNull()) progBar_->SetValue(pRate * 1000.0F);
    return;
  }
  platform::PictureSurface& s = Surface();
  const int32_t tpp = s.TwipsPerPixel();
  if (tpp <= 0) return;
  const double r = sizeRate_;
  s.Box(static_cast<double>(Px(22)) * tpp, static_cast<double>(Px(22)) * tpp,
        r * 22 * tpp + (s.ScaleWidth() - r * 44 * tpp) * pRate, r * 27 * tpp,
        platform::SystemColorRef(platform::COLOR_ACTIVECAPTION));
}

}  // namespace transfer
