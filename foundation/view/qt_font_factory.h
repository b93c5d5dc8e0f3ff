#pragma once

#include <QFont>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <map>

#include "foundation/font_table.h"

namespace foundation {

// The font table's factory over toolkit fonts. The Windows faces the system names are not
// installed here: "ＭＳ Ｐゴシック" and "メイリオ" resolve to the IPA Gothic faces
// (IPAPGothic, then IPAGothic), "ＭＳ ゴシック" to IPAGothic, and "Impact" to a condensed bold
// sans face. A font needs the toolkit's application object: without one no font is made.
class QtFontFactory final : public FontFactory {
 public:
  int32_t CreateFont(const FontRequest& request) override;
  void DeleteFont(int32_t handle) override;
  // The font of a handle; the toolkit's default font for an unknown one.
  QFont FontOf(int32_t handle) const;

 private:
  std::map<int32_t, QFont> fonts_;
  int32_t nextHandle_ = 1;
};

// Registers the face substitutions with the toolkit (once per process; later calls do nothing).
void InstallFontSubstitutions();

// The toolkit font for a request: the face (substituted as above), sized so its cell height
// (ascent plus descent) is request.height pixels at most (a negative height is the character
// height, 0 the default size), with the weight and slant asked for. Condensed and at least bold
// for "Impact".
QFont BuildQFont(const FontRequest& request);

// Installs one process-wide QtFontFactory as the font table's factory (and the substitutions).
void InstallQtFontFactory();
// The font of a handle of the installed factory, or of a table entry; the toolkit's default font
// when there is none.
QFont FontOfHandle(int32_t handle);
QFont FontOfEntry(int32_t index);

// A widget seen as a window of the font table: it takes the font as its own.
class WidgetFontWindow final : public FontWindow {
 public:
  explicit WidgetFontWindow(QWidget* widget) : widget_(widget) {}
  void SetWindowFont(int32_t handle) override;

 private:
  QPointer<QWidget> widget_;
};

}  // namespace foundation
