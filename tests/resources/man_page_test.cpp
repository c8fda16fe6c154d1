// The manual page made from a help text: known answers for each kind of
// line the help text has, with roff's special characters escaped.
#include "resources/man/man_page.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace resources {
namespace {

const ManPageParts parts{"1.02.03", "do a thing", "MIT", ".SH FILES\nextra\n"};

TEST(ManPage, TurnsEachKindOfHelpLineIntoItsSection) {
    const std::string help =
        "usage: tool [OPTIONS] INPUT...\n"
        "Does a thing to each INPUT.\n"
        ".hidden files and C:\\dir too.\n"
        "\n"
        "Options:\n"
        "  -o, --output=PATH  where to write\n"
        "                     (one INPUT only)\n"
        "  --quiet            say nothing\n"
        "Exit status: 0 done, 1 error.\n"
        "See the README.";
    EXPECT_EQ(cliManPage(help, parts),
              ".TH TOOL 1 \"\" \"Quenmarl 1.02.03\" \"User Commands\"\n"
              ".SH NAME\ntool \\- do a thing\n"
              ".SH SYNOPSIS\n\\fBtool\\fR [OPTIONS] INPUT...\n"
              ".SH DESCRIPTION\n.PP\nDoes a thing to each INPUT.\n\\&.hidden files and C:\\edir too.\n"
              ".SH OPTIONS\n"
              ".TP\n\\fB\\-o\\fR, \\fB\\-\\-output\\fR=\\fIPATH\\fR\nwhere to write\n(one INPUT only)\n"
              ".TP\n\\fB\\-\\-quiet\\fR\nsay nothing\n"
              ".SH EXIT STATUS\n.PP\n0 done, 1 error.\n"
              ".SH NOTES\n.PP\nSee the README.\n"
              ".SH FILES\nextra\n"
              ".SH COPYRIGHT\n(c) The Quenmarl authors. Distributed under the MIT licence: see the LICENSE file that "
              "comes with the program.\n");
}

TEST(ManPage, RefusesAHelpTextWithoutAUsageLine) {
    EXPECT_THROW(cliManPage("tool [OPTIONS]\n  --help  show this\n", parts), std::invalid_argument);
}

}  // namespace
}  // namespace resources
