#include "app/config/config_table.h"

#include <sstream>

#include "app/config/cfg_parser.h"
#include "runtime/errors.h"
#include "runtime/fs.h"

namespace app {

namespace {

// Closes the parser's input on every exit, errors included.
class ParserSession {
public:
    explicit ParserSession(CfgParser& parser) : parser_(parser) {}
    ~ParserSession() { closeConfigParser(parser_); }
    ParserSession(const ParserSession&) = delete;
    ParserSession& operator=(const ParserSession&) = delete;

private:
    CfgParser& parser_;
};

}  // namespace

ConfigTable readConfigStream(std::unique_ptr<ByteSource> input, const std::string& fileName, std::size_t bufferSize) {
    ConfigTable table;
    std::string section;
    CfgParser parser;
    ParserSession session(parser);
    openConfigParser(parser, std::move(input), fileName, bufferSize);
    for (;;) {
        CfgEvent event = nextConfigEvent(parser);
        switch (event.kind) {
            case CfgEventKind::SectionEvent:
                section = std::move(event.section);
                break;
            case CfgEventKind::PairEvent:
                table[section].set(event.key, std::move(event.value));
                break;
            case CfgEventKind::OptionEvent:
                table[section].set("--" + event.key, std::move(event.value));
                break;
            case CfgEventKind::EndEvent:
            case CfgEventKind::ErrorEvent:
                return table;
        }
    }
}

ConfigTable readConfigStream(std::istream& input, const std::string& fileName) {
    return readConfigStream(std::make_unique<IstreamSource>(input), fileName);
}

ConfigTable readConfigFile(const std::string& path) {
    std::string content;
    try {
        content = runtime::readWholeFile(path, configFileLimit);
    } catch (const runtime::OSError&) {
        throw runtime::IOError("cannot open: " + path);
    }
    std::istringstream stream(std::move(content));
    return readConfigStream(std::make_unique<IstreamSource>(stream), path);
}

std::string configValue(const ConfigTable& table, std::string_view section, std::string_view key,
                        std::string_view fallback) {
    if (const ConfigSection* pairs = table.find(section)) {
        if (const std::string* value = pairs->find(key)) return *value;
    }
    return std::string(fallback);
}

}  // namespace app
