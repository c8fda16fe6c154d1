// Token scanning for the configuration text: white space and comments,
// punctuation, symbols, and the three kinds of strings with their escapes.

#include "app/config/cfg_parser.h"

namespace app {

namespace {

bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Letters, digits, "_", ".", "/", "\", "-" and every byte of 128 and above
// continue a symbol; everything else (blanks, punctuation, quotes) ends it.
bool isSymbolByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || isDigit(c) || byte == '_' || byte == '.' ||
           byte == '/' || byte == '\\' || byte == '-' || byte >= 128;
}

int hexValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Blanks, tabs, line breaks and comments ("#" or ";" to the end of the line).
void skipWhiteSpace(BaseLexer& lexer) {
    for (;;) {
        const char c = lexer.peek();
        if (c == ' ' || c == '\t') {
            lexer.advance();
        } else if (isLineBreak(c)) {
            lexer.skipLineBreak();
        } else if (c == '#' || c == ';') {
            while (!isLineBreak(lexer.peek()) && lexer.peek() != BaseLexer::endMarker) lexer.advance();
        } else {
            return;
        }
    }
}

// The escape after a backslash (the lexer stands on the byte after it).
void readEscape(BaseLexer& lexer, CfgToken& token) {
    const char c = lexer.peek();
    char plain = 0;
    // One escape a line reads as a table.
    // clang-format off
    switch (c) {
        case 'n': case 'N': case 'l': case 'L': plain = '\n'; break;
        case 'r': case 'R': case 'c': case 'C': plain = '\r'; break;
        case 'f': case 'F': plain = '\f'; break;
        case 'e': case 'E': plain = '\x1B'; break;
        case 'a': case 'A': plain = '\a'; break;
        case 'b': case 'B': plain = '\b'; break;
        case 'v': case 'V': plain = '\v'; break;
        case 't': case 'T': plain = '\t'; break;
        case '"': case '\'': case '\\': plain = c; break;
        default: break;
    }
    // clang-format on
    if (plain != 0) {
        lexer.advance();
        token.literal += plain;
        return;
    }
    if (c == 'x' || c == 'X') {
        lexer.advance();
        int value = 0;
        for (int i = 0; i < 2 && hexValue(lexer.peek()) >= 0; ++i) {
            value = value * 16 + hexValue(lexer.peek());
            lexer.advance();
        }
        token.literal += static_cast<char>(value);
        return;
    }
    if (isDigit(c)) {
        // Saturates above 255, so any run of digits stays a small number.
        int value = 0;
        while (isDigit(lexer.peek())) {
            if (value <= 255) value = value * 10 + (lexer.peek() - '0');
            lexer.advance();
        }
        if (value > 255) {
            token.kind = CfgTokenKind::InvalidToken;
        } else {
            token.literal += static_cast<char>(value);
        }
        return;
    }
    // Unknown escape: the byte after the backslash stays and is read as text.
    token.kind = CfgTokenKind::InvalidToken;
}

// """...""": no escapes; each line break adds one LF.
void readTripleQuotedString(BaseLexer& lexer, CfgToken& token) {
    lexer.advance(3);
    if (isLineBreak(lexer.peek())) lexer.skipLineBreak();
    for (;;) {
        const char c = lexer.peek();
        if (c == '"') {
            // A quote is never the buffer's last byte, so two more can be read.
            if (lexer.peek(1) == '"' && lexer.peek(2) == '"') {
                lexer.advance(3);
                return;
            }
            token.literal += c;
            lexer.advance();
        } else if (isLineBreak(c)) {
            lexer.skipLineBreak();
            token.literal += '\n';
        } else if (c == BaseLexer::endMarker) {
            token.kind = CfgTokenKind::InvalidToken;
            return;
        } else {
            token.literal += c;
            lexer.advance();
        }
    }
}

// "..." on one line; escapes unless raw. The lexer stands on the opening quote.
void readString(BaseLexer& lexer, CfgToken& token, bool raw) {
    token.kind = CfgTokenKind::SymbolToken;
    if (lexer.peek(1) == '"' && lexer.peek(2) == '"') return readTripleQuotedString(lexer, token);
    lexer.advance();
    for (;;) {
        const char c = lexer.peek();
        if (c == '"') {
            lexer.advance();
            return;
        }
        if (isLineBreak(c) || c == BaseLexer::endMarker) {
            token.kind = CfgTokenKind::InvalidToken;
            return;
        }
        lexer.advance();
        if (c == '\\' && !raw) {
            readEscape(lexer, token);
        } else {
            token.literal += c;
        }
    }
}

void readSymbol(BaseLexer& lexer, CfgToken& token) {
    token.kind = CfgTokenKind::SymbolToken;
    token.literal += lexer.peek();
    lexer.advance();
    while (isSymbolByte(lexer.peek())) {
        token.literal += lexer.peek();
        lexer.advance();
    }
}

void setPunctuation(BaseLexer& lexer, CfgToken& token, CfgTokenKind kind, const char* literal, std::size_t length) {
    token.kind = kind;
    token.literal = literal;
    lexer.advance(length);
}

}  // namespace

void readConfigToken(CfgParser& parser) {
    BaseLexer& lexer = parser.lexer;
    CfgToken& token = parser.token;
    token.literal.clear();
    token.kind = CfgTokenKind::InvalidToken;
    skipWhiteSpace(lexer);
    const char c = lexer.peek();
    // One token a line reads as a table.
    // clang-format off
    switch (c) {
        case BaseLexer::endMarker:
            token.kind = CfgTokenKind::EndToken;
            token.literal = "[EOF]";
            return;
        case '=': return setPunctuation(lexer, token, CfgTokenKind::EqualsToken, "=", 1);
        case ':': return setPunctuation(lexer, token, CfgTokenKind::ColonToken, ":", 1);
        case '[': return setPunctuation(lexer, token, CfgTokenKind::OpenBracketToken, "[", 1);
        case ']': return setPunctuation(lexer, token, CfgTokenKind::CloseBracketToken, "]", 1);
        case '-':
            if (lexer.peek(1) == '-') return setPunctuation(lexer, token, CfgTokenKind::DoubleDashToken, "--", 2);
            return readSymbol(lexer, token);
        case '"': return readString(lexer, token, false);
        case 'r':
        case 'R':
            if (lexer.peek(1) == '"') {
                lexer.advance();
                return readString(lexer, token, true);
            }
            return readSymbol(lexer, token);
        default: return readSymbol(lexer, token);
    }
    // clang-format on
}

}  // namespace app
