#pragma once
// The manual page of quenmarl-cli in roff (the man macros), made from its
// --help text, so that every option the program knows is on the page
// without anyone writing it there twice.

#include <string>
#include <string_view>

namespace resources {

// What the page holds besides the help text.
struct ManPageParts {
    std::string_view version;        // as the program shows it
    std::string_view summary;        // the NAME line's words after the dash
    std::string_view license;        // the licence's short name
    std::string_view extraSections;  // roff put after the help's sections
};

// The text with roff's escape character and hyphens escaped, and a leading
// dot or quote kept from starting a request.
std::string roffEscaped(std::string_view text);

// The page, section by section:
// - SYNOPSIS: the help's first line, "usage: PROGRAM ARGUMENTS";
// - DESCRIPTION: the lines before the first option;
// - OPTIONS: each indented line starting with a dash, its term and meaning
//   split at the first run of two blanks; a line indented without a dash
//   continues the meaning before it;
// - EXIT STATUS: an unindented line after the options starting "Exit
//   status:"; other such lines go under NOTES;
// - then extraSections, and COPYRIGHT with the licence.
// A line "Options:" is dropped; other unindented lines ending in a colon
// become subsection headings. Raises std::invalid_argument when the first
// line is not a usage line.
std::string cliManPage(std::string_view helpText, const ManPageParts& parts);

}  // namespace resources
