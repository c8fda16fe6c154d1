#pragma once
// Symbols name the columns of the tableau: a kind in the top two bits and a
// serial number in the low 30.

#include <cstdint>

namespace solver::detail {

using Symbol = std::uint32_t;

enum SymbolKind : std::uint32_t {
    symExternal = 0,  // stands for a Variable; the only unrestricted kind
    symSlack = 1,     // slack of an inequality, and phase one's artificial variable
    symError = 2,     // error of a constraint that is not required
    symDummy = 3,     // marker of a required equality; never enters the basis
};

// Serial numbers start at 1, so the code 0 is never a real symbol.
inline constexpr Symbol noSymbol = 0;
inline constexpr std::uint32_t serialMask = 0x3FFFFFFFu;
inline constexpr std::uint32_t largestSerial = serialMask;

constexpr Symbol makeSymbol(SymbolKind kind, std::uint32_t serial) {
    return (serial & serialMask) | (static_cast<std::uint32_t>(kind) << 30);
}
constexpr SymbolKind kindOf(Symbol symbol) { return static_cast<SymbolKind>(symbol >> 30); }
constexpr std::uint32_t serialOf(Symbol symbol) { return symbol & serialMask; }

// Every kind but the external one stands for a variable restricted to be >= 0.
constexpr bool isRestricted(Symbol symbol) { return kindOf(symbol) != symExternal; }

// The kinds that phase one may pivot its artificial variable against.
constexpr bool isPivotable(Symbol symbol) { return kindOf(symbol) == symSlack || kindOf(symbol) == symError; }

}  // namespace solver::detail
