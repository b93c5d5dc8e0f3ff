#pragma once

#include <cstdint>
#include <string>

namespace foundation {

// The choice between Japanese and English texts, made once per process.

inline constexpr int32_t kLangJapanese = 0;
inline constexpr int32_t kLangEnglish = 1;

// 0 Japanese texts, 1 English texts (0 until DetectLangMode has run).
int32_t LangMode();
// 1 when the toolkit's Japanese translation is not where the toolkit library is; the settings
// dialog then gives its window the user-interface font explicitly.
int32_t LangResourceMissing();

// What DetectLangMode looks at.
struct LangEnvironment {
  // The system locale's primary language is Japanese.
  bool systemJapanese = false;
  // Each with a trailing '/': the program's folder, and the system folders of the toolkit's
  // libraries and of its translations.
  std::string programFolder;
  std::string systemLibraryFolder;
  std::string systemTranslationFolder;
};

// File names of the toolkit's Japanese translation and of its core library.
inline constexpr const char kLangResourceFile[] = "qtbase_ja.qm";
inline constexpr const char kLangRuntimeFile[] = "libQt6Core.so.6";

// The environment of this process: Japanese when the system locale's language is Japanese
// (whatever its country or script), the folders from the toolkit's installation.
LangEnvironment SystemLangEnvironment();

// Sets LangMode and LangResourceMissing, once per process (later calls do nothing). A system
// whose language is not Japanese gets English texts. Otherwise the setting "LangMode" (default
// 0) decides; when it asks for Japanese, the translation counts as missing when the program
// folder holds the library without the translation, or when neither the system nor the program
// folder holds both.
void DetectLangMode();
void DetectLangMode(const LangEnvironment& environment);

// The Japanese text for LangMode 0; for LangMode 1 the English one, or the Japanese one when the
// English one is empty; "" for any other LangMode.
std::string PickByLangMode(const std::string& japanese, const std::string& english);

// Puts the mode, the flag and the once-flag back (tests), or sets the mode directly.
void ResetLangModeForTest();
void SetLangModeForTest(int32_t mode);

}  // namespace foundation
