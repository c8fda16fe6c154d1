#pragma once
// The main window's texts: its title, the links' captions and targets, and
// the help text, plain and as rich text.

#include <string>
#include <string_view>

#include "quenmarl_version.h"

namespace app {

inline constexpr std::string_view mainFrameTitle = "Quenmarl " QUENMARL_VERSION_TEXT;
inline constexpr std::string_view openFolderCaption = "Open folder";
inline constexpr std::string_view openFileCaption = "Open file";
inline constexpr std::string_view homeLinkCaption = "Visit Home";
inline constexpr std::string_view contactLinkCaption = "Contact Author";
inline constexpr std::string_view homePageUrl = "https://quenmarl.example.org/";
inline constexpr std::string_view supportUrl = "mailto:support@quenmarl.example.org";

// The seven lines of help, each ended by a line feed; the words between
// double asterisks are the ones the rich text shows in bold.
std::string helpText();

// The help text as RTF: each line a paragraph, the words between double
// asterisks in bold (the asterisks dropped), in the face and point size
// given. The face and size are written into the RTF because a rich edit
// takes neither from the control's font when it reads RTF. Characters
// outside ASCII are written as \u escapes.
std::string helpTextRtf(std::string_view plainText, std::string_view faceName, double pointSize);

}  // namespace app
