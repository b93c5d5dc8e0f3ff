#pragma once

#include <QPointer>
#include <QPushButton>
#include <cstdint>
#include <memory>
#include <string>

#include "controls/widgets/view/uc_buttons.h"
#include "controls/widgets/view/uc_text_picture.h"
#include "foundation/view/qt_font_factory.h"
#include "platform/view/picture_box.h"
#include "transfer/file_hand.h"
#include "transfer/view/uc_bar.h"

namespace transfer {

// The file transfer panel: the engine (FileHand) with a small panel of its own showing a status
// text, a progress bar and a cancel button, 320 × 100 pixels × SizeRate.
//
// Mode 0 draws the panel itself: a black frame, the bar's etched track, the text, and a push
// button. Mode 1 builds it from child controls at run time: a text panel, a bar and a button
// strip on a picture of design 14. Both programs carry the panel; the companion's copy (the
// companion variant) is drawn at scale 1.0 only and says "Cancel".
//
// The operations, cancel and the error codes are FileHand's: they return when done, while the
// window's pending work (and with it a click on the cancel button) goes on. MirrorProg and
// HikakuProg are re-raised as signals on the calling thread.
class UC_FileHand : public platform::PictureBox, public FileHand {
  Q_OBJECT

 public:
  // The scale is the process's TwipsPerPixel at creation; failed transfers go to `log`.
  explicit UC_FileHand(platform::LogSink& log, QWidget* parent = nullptr,
                       FileHandVariant variant = PlayoutVariant(),
                       TransferFileSystem& fs = DiskFileSystem());
  // Cancels an operation still running.
  ~UC_FileHand() override;

  // Sizes and builds the panel; pMode 0 draws it itself, 1 builds it from child controls.
  void Init(int32_t pMode = 0);
  int32_t Mode() const { return mode_; }

  // Half the panel's width and height in twips, for centring it in a window.
  int32_t AdjustX() const;
  int32_t AdjustY() const;
  float SizeRate() const { return sizeRate_; }
  // Takes effect at the next Init and drawing; the companion's panel keeps 1.0.
  void SetSizeRate(float pValue);

  // The status text: mode 0 clears the panel (bar included) and prints the text left-aligned
  // or centred; mode 1 shows it in the text panel.
  void ShowFileHandMessage(const std::string& message, bool leftAligned);
  // The bar at pRate (0 to 1): mode 0 draws it over what is there, so a lower rate leaves the
  // longer bar standing until the next message; mode 1 sets the bar's value.
  void ShowFileHandRate(float pRate);

  // For the owner's tests and for looking at.
  QPushButton* CancelButton() const { return cancelButton_; }
  platform::PictureBox* PictureParent() const { return pictureParent_; }
  widgets::UC_TextPicture* TextMes() const { return textMes_; }
  UC_Bar* ProgBar() const { return progBar_; }
  widgets::UC_Buttons* CancelButtonEx() const { return cancelButtonEx_; }

 signals:
  void MirrorProg(float pRate);
  void HikakuProg(float pRate);

 private:
  class Relay;

  // round(SizeRate × designed pixels), halves to even.
  int32_t Px(double designed) const;
  void PlaceCancelButton();
  void BuildChildren();

  std::unique_ptr<Relay> relay_;
  int32_t mode_ = 0;
  float sizeRate_ = 1.0F;
  QPointer<QPushButton> cancelButton_;
  QPointer<platform::PictureBox> pictureParent_;
  QPointer<widgets::UC_TextPicture> textMes_;
  QPointer<UC_Bar> progBar_;
  QPointer<widgets::UC_Buttons> cancelButtonEx_;
  foundation::WidgetFontWindow fontWindow_;
};

}  // namespace transfer
