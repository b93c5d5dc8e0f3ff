#pragma once

#include <QLineEdit>
#include <cstdint>
#include <string>

#include "controls/widgets/path_text_model.h"
#include "foundation/view/qt_font_factory.h"
#include "platform/view/picture_box.h"

namespace widgets {

// A one-line text box (TextPath) for a folder or file path with a drawn "..." button at its
// right that opens the folder picker or a file dialog and puts the chosen path into the box.
// The settings dialog reads and writes Text.
//
// Events (Qt signals), numbered as the owner knows them:
//   1 SelectButtonClicked: the button chose a path (already in the box), or was clicked with
//     Usage -1; a cancelled picker raises nothing;
//   2 TextDblClicked: a double click in the box;
//   3 TextChange: the box's text changed, by typing or by code.
class UC_PathText : public platform::PictureBox {
  Q_OBJECT

 public:
  // The scale is the process's TwipsPerPixel at creation.
  explicit UC_PathText(QWidget* parent = nullptr);
  ~UC_PathText() override;

  // Fonts of the control and the box at FontSize, the box TextHeight high, layout, first draw.
  void Init();
  // Paints the button, pressed or not.
  void Draw();
  bool Enabled() const { return model_.Enabled; }
  // Locks or unlocks the box (see PathTextModel::TextLocked) and redraws.
  void SetEnabled(bool pEnabled);
  int32_t Usage() const { return model_.Usage; }
  void SetUsage(int32_t usage) { model_.Usage = usage; }
  // Whole points and twips; used by the next Init.
  void SetFontSize(float pSize);
  void SetTextHeight(float pSize);
  std::string Text() const { return TextPath->text().toStdString(); }
  void SetText(const std::string& pStr) { TextPath->setText(QString::fromStdString(pStr)); }
  int32_t ButtonDisabled() const { return model_.ButtonDisabled; }
  void SetButtonDisabled(int32_t value) { model_.ButtonDisabled = value; }
  int32_t TextDisabled() const { return model_.TextDisabled; }
  void SetTextDisabled(int32_t value);
  const std::string& Ext() const { return model_.Ext(); }
  void SetExt(const std::string& pStr) { model_.SetExt(pStr); }
  const std::string& Filter() const { return model_.Filter; }
  void SetFilter(const std::string& filter) { model_.Filter = filter; }
  const std::string& InitDir() const { return model_.InitDir; }
  void SetInitDir(const std::string& dir) { model_.InitDir = dir; }
  // 3 switches the input method off for the box; any other mode leaves it on.
  void SetTextIMEMode(int16_t pMode);
  // Runs the picker (see PathTextModel::Select).
  void SelectButtonClick();

  // The text box, and the model for the owner's tests.
  QLineEdit* const TextPath;
  const PathTextModel& Model() const { return model_; }

 signals:
  void SelectButtonClicked();
  void TextDblClicked();
  void TextChange();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void LayOut();
  void ApplyTextLock();
  void Pressed(int32_t button);
  void Released(int32_t button);

  PathTextModel model_;
  bool fontsSet_ = false;
  foundation::WidgetFontWindow fontWindow_;
  foundation::WidgetFontWindow boxFontWindow_;
};

}  // namespace widgets
