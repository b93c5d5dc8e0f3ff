#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace foundation {

// The playout's receipt of the companion's schedule message. A window takes part once it is
// hooked (SubClassHook, at start-up; SubClassUnhook at unload): from then on the payload of the
// latest message sent to it is kept until the main window fetches it with GetCopyDataText.
// Nothing is announced on receipt; the window asks when it processes schedule input.
//
// A "window" here is a registered caption (platform::WindowRegistration) whose messages reach
// ReceiveCopyData through the receiver of sub_class_receiver.h; its handle is the 32-bit number
// SubClassWindowHandle gives. The table is process-wide and used on the user-interface thread
// only: a receipt runs between two statements of the window's code, never inside a fetch, so no
// lock is needed.
//
// The table has one entry per hooked window; an unhooked window's entry becomes free and is
// reused by the next hook (the first free entry from index 0). The table never shrinks.

// Adds the window to the table. A handle of 0, or a window that is already hooked, is left as
// it is (a second hook would give one window two entries).
void SubClassHook(int32_t hWnd);

// Frees the window's entry, dropping a payload not yet fetched. An unknown window is ignored.
void SubClassUnhook(int32_t hWnd);

// The window's entry index, or -1 for a handle of 0 or a window not in the table.
int32_t FindSubClassIndex(int32_t hWnd);

// Stores the caption-click blocking flag (0 off) of a hooked window; an unknown window is
// ignored. Blocking presses on a caption is not possible under a window manager (it draws the
// caption), so the flag is only kept and a debug line says so when it is switched on.
void SetBlockCaptionClick(int32_t hWnd, int32_t flag);

// The stored caption-click flag of the window; 0 for an unknown window.
int32_t GetBlockCaptionClick(int32_t hWnd);

// The pending payload of the window as UTF-8 text: its CP932 bytes up to (not including) the
// first NUL, converted (bytes that are no CP932 become '?'). The payload is cleared, so it is
// returned once. Empty when nothing is pending or the window is not hooked.
std::string GetCopyDataText(int32_t hWnd);

// One message received for the window (what the window procedure does with WM_COPYDATA): a
// non-empty payload replaces whatever is pending, an empty one discards it. The bytes are kept
// unchanged; the data type is not looked at. Returns the answer for the sender: 1 when the
// window is hooked, 0 (and the payload dropped) when it is not.
int64_t ReceiveCopyData(int32_t hWnd, std::string_view payload);

// Number of entries, free ones included.
int32_t SubClassTableSize();

// Empties the table (tests).
void ResetSubClassTableForTest();

}  // namespace foundation
