#pragma once
// Event numbers. Platform messages keep their own numbers; the toolkit's own
// events are numbered from 0x8000 up. Portable code names the few platform
// messages it needs here instead of including the platform's headers.

#include <cstdint>

namespace toolkit {

// Platform messages.
inline constexpr std::int32_t wmQuit = 0x0012;
inline constexpr std::int32_t wmSize = 0x0005;
inline constexpr std::int32_t wmCommand = 0x0111;
inline constexpr std::int32_t wmMouseMove = 0x0200;
inline constexpr std::int32_t wmLeftButtonDown = 0x0201;
inline constexpr std::int32_t wmLeftButtonUp = 0x0202;
inline constexpr std::int32_t wmMouseLeave = 0x02A3;

// WM_SIZE size types.
inline constexpr std::uintptr_t sizeRestored = 0;
inline constexpr std::uintptr_t sizeMinimized = 1;
inline constexpr std::uintptr_t sizeMaximized = 2;

// The toolkit's events.
inline constexpr std::int32_t msgLoopExit = 0x8011;  // ends the loop whose id is the long parameter
inline constexpr std::int32_t evtMouseEnter = 0x8015;
inline constexpr std::int32_t evtSize = 0x8016;
inline constexpr std::int32_t evtMinimize = 0x8017;
inline constexpr std::int32_t evtMaximize = 0x8018;
inline constexpr std::int32_t evtDragEnter = 0x8034;
inline constexpr std::int32_t evtDragOver = 0x8035;
inline constexpr std::int32_t evtDragLeave = 0x8036;
inline constexpr std::int32_t evtDrop = 0x8037;
inline constexpr std::int32_t evtButton = 0x8096;

// Drop effects (the platform's DROPEFFECT values).
inline constexpr std::uint32_t dropEffectNone = 0;
inline constexpr std::uint32_t dropEffectCopy = 1;
inline constexpr std::uint32_t dropEffectMove = 2;
inline constexpr std::uint32_t dropEffectLink = 4;

// Keyboard state bits of an event.
inline constexpr std::uint32_t keyShift = 1;
inline constexpr std::uint32_t keyControl = 2;
inline constexpr std::uint32_t keyAlt = 4;
inline constexpr std::uint32_t keyLeftButton = 8;
inline constexpr std::uint32_t keyRightButton = 16;
inline constexpr std::uint32_t keyMiddleButton = 32;

}  // namespace toolkit
