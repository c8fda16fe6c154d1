#include "resources/man/man_page.h"

#include <stdexcept>
#include <vector>

namespace resources {

namespace {

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool isIndented(std::string_view line) { return !line.empty() && line.front() == ' '; }
bool isOptionLine(std::string_view line) { return isIndented(line) && startsWith(trimmed(line), "-"); }

// "--output PATH" or "-o, --output=PATH": the options bold, their values
// italic, as man pages set them.
std::string optionTerm(std::string_view term) {
    std::string roff;
    while (!term.empty()) {
        const std::size_t end = term.find(' ');
        std::string_view word = term.substr(0, end);
        term = end == std::string_view::npos ? std::string_view{} : term.substr(end + 1);
        if (word.empty()) continue;
        if (!roff.empty()) roff += ' ';
        const bool comma = word.back() == ',';
        if (comma) word.remove_suffix(1);
        if (startsWith(word, "-")) {
            const std::size_t equals = word.find('=');
            roff += "\\fB" + roffEscaped(word.substr(0, equals)) + "\\fR";
            if (equals != std::string_view::npos) roff += "=\\fI" + roffEscaped(word.substr(equals + 1)) + "\\fR";
        } else {
            roff += "\\fI" + roffEscaped(word) + "\\fR";
        }
        if (comma) roff += ',';
    }
    return roff;
}

// Writes the lines' sections in order, each section heading once.
class PageWriter {
public:
    explicit PageWriter(std::string& page) : page_(page) {}

    void section(std::string_view name) {
        if (name == current_) return;
        page_ += ".SH " + std::string(name) + "\n";
        current_ = name;
        paragraphOpen_ = false;
    }
    // Prose: consecutive lines run together into one paragraph.
    void text(std::string_view line) {
        if (!paragraphOpen_) page_ += ".PP\n";
        page_ += roffEscaped(trimmed(line)) + "\n";
        paragraphOpen_ = true;
    }
    void endParagraph() { paragraphOpen_ = false; }
    void subsection(std::string_view heading) {
        page_ += ".SS " + roffEscaped(heading) + "\n";
        paragraphOpen_ = false;
    }
    void option(std::string_view line) {
        const std::string_view body = trimmed(line);
        const std::size_t gap = body.find("  ");
        page_ += ".TP\n" + optionTerm(body.substr(0, gap)) + "\n";
        if (gap != std::string_view::npos) page_ += roffEscaped(trimmed(body.substr(gap))) + "\n";
        paragraphOpen_ = true;  // continuation lines join the meaning
    }

private:
    std::string& page_;
    std::string_view current_;
    bool paragraphOpen_ = false;
};

}  // namespace

std::string roffEscaped(std::string_view text) {
    std::string out;
    if (!text.empty() && (text.front() == '.' || text.front() == '\'')) out += "\\&";
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    return out;
}

std::string cliManPage(std::string_view helpText, const ManPageParts& parts) {
    const std::vector<std::string_view> lines = splitLines(helpText);
    constexpr std::string_view usagePrefix = "usage: ";
    if (lines.empty() || !startsWith(lines[0], usagePrefix))
        throw std::invalid_argument("the help text does not start with \"usage: \"");
    const std::string_view synopsis = trimmed(lines[0].substr(usagePrefix.size()));
    const std::string_view program = synopsis.substr(0, synopsis.find(' '));
    std::string upperName(program);
    for (char& c : upperName)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');

    std::string page =
        ".TH " + roffEscaped(upperName) + " 1 \"\" \"Quenmarl " + std::string(parts.version) + "\" \"User Commands\"\n";
    PageWriter writer(page);
    writer.section("NAME");
    page += roffEscaped(program) + " \\- " + roffEscaped(parts.summary) + "\n";
    writer.section("SYNOPSIS");
    page += "\\fB" + roffEscaped(program) + "\\fR" + roffEscaped(synopsis.substr(program.size())) + "\n";

    bool optionsSeen = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (trimmed(line).empty()) {
            writer.endParagraph();
        } else if (isOptionLine(line)) {
            writer.section("OPTIONS");
            writer.option(line);
            optionsSeen = true;
        } else if (isIndented(line) && optionsSeen) {
            page += roffEscaped(trimmed(line)) + "\n";
        } else if (line.back() == ':') {
            if (trimmed(line) != "Options:") writer.subsection(line.substr(0, line.size() - 1));
        } else if (!optionsSeen) {
            writer.section("DESCRIPTION");
            writer.text(line);
        } else {
            constexpr std::string_view exitPrefix = "Exit status:";
            if (startsWith(line, exitPrefix)) {
                writer.section("EXIT STATUS");
                writer.text(line.substr(exitPrefix.size()));
            } else {
                writer.section("NOTES");
                writer.text(line);
            }
        }
    }
    page += parts.extraSections;
    if (!page.ends_with('\n')) page += '\n';
    writer.section("COPYRIGHT");
    page += "(c) The Quenmarl authors. Distributed under the " + roffEscaped(parts.license) +
            " licence: see the LICENSE file that comes with the program.\n";
    return page;
}

}  // namespace resources
