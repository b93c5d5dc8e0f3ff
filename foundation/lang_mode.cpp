#include "foundation/lang_mode.h"

#include <QLibraryInfo>
#include <QLocale>

#include "foundation/files.h"
#include "foundation/paths.h"
#include "foundation/settings_store.h"

namespace foundation {

namespace {

int32_t g_langMode = 0;
int32_t g_resourceMissing = 0;
bool g_detected = false;

bool Holds(const std::string& folder, const char* name) {
  return !folder.empty() && FileExists(folder + name) != 0;
}

std::string FolderOf(QLibraryInfo::LibraryPath which) {
  return SetTrailingSeparator(QLibraryInfo::path(which).toStdString(), false);
}

}  // namespace

int32_t LangMode() { return g_langMode; }

int32_t LangResourceMissing() { return g_resourceMissing; }

LangEnvironment SystemLangEnvironment() {
  LangEnvironment environment;
  // The primary language alone decides: a Japanese system in any country, or with any script or
  // sort order, is Japanese.
  environment.systemJapanese = QLocale::system().language() == QLocale::Japanese;
  environment.programFolder = GetAppFolder();
  environment.systemLibraryFolder = FolderOf(QLibraryInfo::LibrariesPath);
  environment.systemTranslationFolder = FolderOf(QLibraryInfo::TranslationsPath);
  return environment;
}

void DetectLangMode() {
  if (g_detected) return;
  DetectLangMode(SystemLangEnvironment());
}

void DetectLangMode(const LangEnvironment& environment) {
  if (g_detected) return;
  g_detected = true;
  if (!environment.systemJapanese) {
    g_langMode = kLangEnglish;
    return;
  }
  g_langMode = LoadSettingInt("LangMode", 0);
  if (g_langMode != 0) {
    g_resourceMissing = 0;
    return;
  }
  const std::string& program = environment.programFolder;
  const bool programHasResource = Holds(program, kLangResourceFile);
  const bool programHasRuntime = Holds(program, kLangRuntimeFile);
  if (!programHasResource && programHasRuntime) {
    g_resourceMissing = 1;
  } else if ((Holds(environment.systemTranslationFolder, kLangResourceFile) &&
              Holds(environment.systemLibraryFolder, kLangRuntimeFile)) ||
             (programHasResource && programHasRuntime)) {
    // Found together: nothing to make up for.
  } else {
    g_resourceMissing = 1;
  }
}

std::string PickByLangMode(const std::string& japanese, const std::string& english) {
  if (g_langMode == kLangJapanese) return japanese;
  if (g_langMode == kLangEnglish) return english.empty() ? japanese : english;
  return "";
}

void ResetLangModeForTest() {
  g_langMode = 0;
  g_resourceMissing = 0;
  g_detected = false;
}

void SetLangModeForTest(int32_t mode) { g_langMode = mode; }

}  // namespace foundation
