#pragma once

#include <QDialog>
#include <QPointer>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "controls/lists/view/uc_list_view.h"
#include "controls/widgets/view/uc_buttons.h"
#include "controls/widgets/view/uc_tab.h"
#include "platform/view/picture_box.h"
#include "settings/settings_dialog_model.h"
#include "settings/view/page_layout.h"

namespace settings {

// The settings dialog "アプリケーション設定": four pages on a tab strip ("一般", "表示",
// "外部制御", "CNT"), each built the first time it is shown, and an OK/Cancel pair. OK takes the
// entries of every built page into the model, which writes and applies them, and closes; an
// entry OK refuses is reported in a message box and the dialog stays open. Cancel closes
// without writing. Every handler runs under the error trap.
class FrmConf : public QDialog {
  Q_OBJECT

 public:
  // Builds the frame and page 0, and shows page 0's surface.
  explicit FrmConf(const DialogPorts& ports, QWidget* owner = nullptr);
  ~FrmConf() override;

  // Handlers of the tab strip, the button strip (0 Cancel, anything else OK) and the colour
  // swatch.
  void TabConf_TabClicked(int32_t pIndex);
  void OKCancelButtons_ButtonClicked(int16_t ClickedIndex);
  void PictureClockColor_Click();

  // The parts, for the window's tests and for looking at.
  widgets::UC_Tab& TabConf() { return *tabConf_; }
  widgets::UC_Buttons& OKCancelButtons() { return *okCancel_; }
  // A page's surface, null until the page is built.
  platform::PictureBox* PictureTab(int32_t tab) const;
  platform::PictureBox* PictureClockColor() { return clockColor_; }
  lists::UC_ListView* LVSC() { return lvsc_; }
  // The control bound to a field of a built page (null when none).
  QLineEdit* TextOf(const std::string& key) const;
  QComboBox* ComboOf(const std::string& key) const;
  widgets::UC_Check* CheckOf(const std::string& key) const;
  widgets::UC_PathText* PathOf(const std::string& key) const;
  SettingsDialogModel& Model() { return model_; }

  // Designed sizes, pixels.
  static constexpr int kMargin = 8;
  static constexpr int kPageWidth = 560;
  static constexpr int kPageHeight = 400;
  static constexpr int kTabHeight = 24;

 private:
  void Form_Load();
  void BuildTabPage(int32_t tab);
  void PreparePage(int32_t tab);
  void BuildGeneral(PageLayout& l);
  void BuildDisplay(PageLayout& l);
  void BuildExternal(PageLayout& l);
  void BuildCnt();
  // The entries of the built pages into the model's fields.
  void TakeEntries();
  template <typename T>
  T ControlOf(const std::string& key) const;

  SettingsDialogModel model_;
  const foundation::ConfTables& conf_;
  platform::PictureBox* form_ = nullptr;
  widgets::UC_Tab* tabConf_ = nullptr;
  widgets::UC_Buttons* okCancel_ = nullptr;
  std::array<platform::PictureBox*, kPageCount> pictureTab_{};
  platform::PictureBox* clockColor_ = nullptr;
  lists::UC_ListView* lvsc_ = nullptr;
  std::vector<Binding> bindings_;
};

}  // namespace settings
