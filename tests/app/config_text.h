#pragma once
// Runs the configuration reader over text held in memory.

#include <cstddef>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/config/cfg_parser.h"
#include "app/config/config_table.h"

namespace configtest {

inline std::unique_ptr<app::ByteSource> sourceOf(std::string_view text) {
    // The stream must outlive the source: it is kept by the source's owner.
    struct OwningSource : app::ByteSource {
        explicit OwningSource(std::string_view text) : stream(std::string(text)), inner(stream) {}
        std::size_t read(char* dest, std::size_t count) override { return inner.read(dest, count); }
        std::istringstream stream;
        app::IstreamSource inner;
    };
    return std::make_unique<OwningSource>(text);
}

// Every event up to and including the first EndEvent or ErrorEvent.
inline std::vector<app::CfgEvent> eventsOf(std::string_view text,
                                           std::size_t bufferSize = app::BaseLexer::initialBufferSize) {
    app::CfgParser parser;
    app::openConfigParser(parser, sourceOf(text), "test.config", bufferSize);
    std::vector<app::CfgEvent> events;
    do {
        events.push_back(app::nextConfigEvent(parser));
    } while (events.back().kind != app::CfgEventKind::EndEvent && events.back().kind != app::CfgEventKind::ErrorEvent);
    app::closeConfigParser(parser);
    return events;
}

// The message of the first error, or the empty text when there is none.
inline std::string errorOf(std::string_view text) {
    const app::CfgEvent last = eventsOf(text).back();
    return last.kind == app::CfgEventKind::ErrorEvent ? last.msg : std::string();
}

inline app::ConfigTable tableOf(std::string_view text) { return app::readConfigStream(sourceOf(text), "test.config"); }

// Section, key and value of every pair, in table order, as "section/key=value".
inline std::vector<std::string> pairsOf(const app::ConfigTable& table) {
    std::vector<std::string> pairs;
    for (const auto& [section, keys] : table) {
        for (const auto& [key, value] : keys) pairs.push_back(section + "/" + key + "=" + value);
    }
    return pairs;
}

inline std::vector<std::string> pairsOf(std::string_view text) { return pairsOf(tableOf(text)); }

}  // namespace configtest
