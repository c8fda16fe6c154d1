// Events from tokens: sections, pairs, options and the first error.

#include "app/config/cfg_parser.h"

namespace app {

namespace {

CfgEvent errorEvent(const CfgParser& parser, const std::string& message) {
    CfgEvent event;
    event.kind = CfgEventKind::ErrorEvent;
    event.msg = configErrorText(parser, message);
    return event;
}

bool tokenIs(const CfgParser& parser, CfgTokenKind kind) { return parser.token.kind == kind; }

// "key", "key = value" or "key: value" of the given kind, from the current
// token on.
CfgEvent readPair(CfgParser& parser, CfgEventKind kind) {
    if (!tokenIs(parser, CfgTokenKind::SymbolToken)) {
        CfgEvent event = errorEvent(parser, "symbol expected, but found: " + parser.token.literal);
        readConfigToken(parser);
        return event;
    }
    CfgEvent event;
    event.kind = kind;
    event.key = parser.token.literal;
    readConfigToken(parser);
    if (tokenIs(parser, CfgTokenKind::EqualsToken) || tokenIs(parser, CfgTokenKind::ColonToken)) {
        readConfigToken(parser);
        if (tokenIs(parser, CfgTokenKind::SymbolToken)) {
            event.value = parser.token.literal;
        } else {
            event = errorEvent(parser, "symbol expected, but found: " + parser.token.literal);
        }
        readConfigToken(parser);
    }
    // Without a sign the key stands alone; the token after it is the next
    // call's.
    return event;
}

// "[name]", from the opening bracket on.
CfgEvent readSection(CfgParser& parser) {
    readConfigToken(parser);
    CfgEvent event;
    if (tokenIs(parser, CfgTokenKind::SymbolToken)) {
        event.kind = CfgEventKind::SectionEvent;
        event.section = parser.token.literal;
    } else {
        event = errorEvent(parser, "symbol expected, but found: " + parser.token.literal);
    }
    readConfigToken(parser);
    if (!tokenIs(parser, CfgTokenKind::CloseBracketToken)) {
        return errorEvent(parser, "']' expected, but found: " + parser.token.literal);
    }
    readConfigToken(parser);
    return event;
}

}  // namespace

void openConfigParser(CfgParser& parser, std::unique_ptr<ByteSource> input, const std::string& fileName,
                      std::size_t bufferSize) {
    parser.lexer.open(std::move(input), bufferSize);
    parser.fileName = fileName;
    parser.token = CfgToken{};
    readConfigToken(parser);
}

CfgEvent nextConfigEvent(CfgParser& parser) {
    switch (parser.token.kind) {
        case CfgTokenKind::EndToken:
            return CfgEvent{};
        case CfgTokenKind::SymbolToken:
            return readPair(parser, CfgEventKind::PairEvent);
        case CfgTokenKind::DoubleDashToken:
            readConfigToken(parser);
            return readPair(parser, CfgEventKind::OptionEvent);
        case CfgTokenKind::OpenBracketToken:
            return readSection(parser);
        case CfgTokenKind::InvalidToken:
        case CfgTokenKind::EqualsToken:
        case CfgTokenKind::ColonToken:
        case CfgTokenKind::CloseBracketToken:
            break;
    }
    CfgEvent event = errorEvent(parser, "invalid token: " + parser.token.literal);
    readConfigToken(parser);
    return event;
}

void closeConfigParser(CfgParser& parser) { parser.lexer.close(); }

std::string configErrorText(const CfgParser& parser, const std::string& message) {
    return parser.fileName + "(" + std::to_string(parser.lexer.lineNumber()) + ", " +
           std::to_string(parser.lexer.column()) + ") Error: " + message;
}

}  // namespace app
