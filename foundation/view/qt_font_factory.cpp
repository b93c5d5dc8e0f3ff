#include "foundation/view/qt_font_factory.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace foundation {

namespace {

constexpr const char kImpactFace[] = "Impact";

QtFontFactory* g_installed = nullptr;

// Pixel size whose cell height comes closest to `cell` without exceeding it (faces with a large
// line gap need an em smaller than the cell).
int FitPixelSize(QFont font, int cell) {
  int pixels = cell;
  for (int attempt = 0; attempt < 4 && pixels > 1; ++attempt) {
    font.setPixelSize(pixels);
    const int measured = QFontMetrics(font).height();
    if (measured <= cell || measured <= 0) break;
    const int smaller =
        static_cast<int>(std::nearbyint(static_cast<double>(pixels) * cell / measured));
    pixels = std::max(1, std::min(pixels - 1, smaller));
  }
  return pixels;
}

}  // namespace

void InstallFontSubstitutions() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  const QStringList proportional = {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")};
  QFont::insertSubstitutions(QString::fromUtf8(kDefaultUiFace), proportional);
  QFont::insertSubstitutions(QString::fromUtf8(kLargeCellFace), proportional);
  QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"),
                             {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")});
  QFont::insertSubstitutions(
      QString::fromUtf8(kImpactFace),
      {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans"),
       QStringLiteral("Liberation Sans Narrow")});
}

QFont BuildQFont(const FontRequest& request) {
  QFont font(QString::fromStdString(request.face));
  const bool impact = request.face == kImpactFace;
  int weight =
      request.weight <= 0 ? static_cast<int>(QFont::Normal) : std::min(request.weight, 1000);
  if (impact) {
    font.setStretch(QFont::Condensed);
    weight = std::max(weight, static_cast<int>(QFont::Bold));
  }
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setItalic(request.italic);
  if (request.height > 0) {
    font.setPixelSize(FitPixelSize(font, request.height));
  } else if (request.height < 0 && request.height > INT32_MIN) {
    font.setPixelSize(-request.height);
  }
  return font;
}

int32_t QtFontFactory::CreateFont(const FontRequest& request) {
  // Fonts are resolved against the screen's font database, which only exists with the GUI
  // application; handles are never reused, so a stale handle never names another font.
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return 0;
  if (nextHandle_ == INT32_MAX) return 0;
  InstallFontSubstitutions();
  const int32_t handle = nextHandle_++;
  fonts_.emplace(handle, BuildQFont(request));
  return handle;
}

void QtFontFactory::DeleteFont(int32_t handle) { fonts_.erase(handle); }

QFont QtFontFactory::FontOf(int32_t handle) const {
  const auto found = fonts_.find(handle);
  return found == fonts_.end() ? QFont() : found->second;
}

void InstallQtFontFactory() {
  static QtFontFactory factory;
  InstallFontSubstitutions();
  g_installed = &factory;
  SetFontFactory(&factory);
}

QFont FontOfHandle(int32_t handle) {
  return g_installed == nullptr ? QFont() : g_installed->FontOf(handle);
}

QFont FontOfEntry(int32_t index) {
  const std::vector<FontHandleEntry>& table = FontHandles();
  if (index < 0 || static_cast<size_t>(index) >= table.size()) return QFont();
  return FontOfHandle(table[static_cast<size_t>(index)].handle);
}

void WidgetFontWindow::SetWindowFont(int32_t handle) {
  if (widget_ != nullptr) widget_->setFont(FontOfHandle(handle));
}

}  // namespace foundation
