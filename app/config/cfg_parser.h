#pragma once
// The configuration text as a stream of events. The text is a sequence of
// tokens (line breaks are only white space): "[name]" starts a section,
// "key = value" or "key: value" makes a pair, "--key[=value]" an option.
// Malformed text never raises: it yields one error event, whose message
// names the file, the line and the column just after the offending token.

#include <cstddef>
#include <memory>
#include <string>

#include "app/config/base_lexer.h"

namespace app {

enum class CfgTokenKind {
    InvalidToken,
    EndToken,
    SymbolToken,
    EqualsToken,
    ColonToken,
    OpenBracketToken,
    CloseBracketToken,
    DoubleDashToken,
};

struct CfgToken {
    CfgTokenKind kind = CfgTokenKind::InvalidToken;
    std::string literal;
};

enum class CfgEventKind { EndEvent, SectionEvent, PairEvent, OptionEvent, ErrorEvent };

// One event. Which texts are set depends on the kind: section (SectionEvent),
// key and value (PairEvent, OptionEvent; value empty when none was given),
// msg (ErrorEvent, the complete message of configErrorText).
struct CfgEvent {
    CfgEventKind kind = CfgEventKind::EndEvent;
    std::string section;
    std::string key;
    std::string value;
    std::string msg;
};

struct CfgParser {
    BaseLexer lexer;
    CfgToken token;
    std::string fileName;  // for error messages only
};

// Starts the lexer on the input, keeps the file name and scans the first
// token. The buffer size is for tests of refills; the program uses the
// default. Raises what the input raises.
void openConfigParser(CfgParser& parser, std::unique_ptr<ByteSource> input, const std::string& fileName,
                      std::size_t bufferSize = BaseLexer::initialBufferSize);

// The next event. At the end of the input every call yields EndEvent. Raises
// only what the input raises.
CfgEvent nextConfigEvent(CfgParser& parser);

// Releases the input (closing a file the parser owns).
void closeConfigParser(CfgParser& parser);

// "<file>(<line>, <column>) Error: <message>" at the parser's position.
std::string configErrorText(const CfgParser& parser, const std::string& message);

// Scans the next token into parser.token. Raises what the input raises.
void readConfigToken(CfgParser& parser);

}  // namespace app
