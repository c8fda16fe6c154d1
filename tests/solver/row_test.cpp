// Symbols and rows: the encoding, the near-zero rule and the row operations.

#include "solver/detail/row.h"

#include <gtest/gtest.h>

#include <vector>

#include "solver/detail/solver_impl.h"
#include "solver/detail/symbol.h"
#include "solver/solver.h"
#include "tests/solver/solver_test_support.h"

namespace {

using namespace solver;
using namespace solver::detail;
using solvertest::linear;

const Symbol s1 = makeSymbol(symSlack, 1);
const Symbol s2 = makeSymbol(symError, 2);
const Symbol s3 = makeSymbol(symExternal, 3);
const Symbol s4 = makeSymbol(symDummy, 4);

std::vector<Symbol> symbolsOf(const Row& row) {
    std::vector<Symbol> symbols;
    for (const auto& cell : row.cells()) symbols.push_back(cell.first);
    return symbols;
}

TEST(SymbolEncoding, KindInTheTopTwoBitsAndSerialBelow) {
    EXPECT_EQ(makeSymbol(symExternal, 7), 0x00000007u);
    EXPECT_EQ(makeSymbol(symSlack, 7), 0x40000007u);
    EXPECT_EQ(makeSymbol(symError, 7), 0x80000007u);
    EXPECT_EQ(makeSymbol(symDummy, 7), 0xC0000007u);
    EXPECT_EQ(kindOf(0xC0000007u), symDummy);
    EXPECT_EQ(serialOf(0xC0000007u), 7u);
    EXPECT_FALSE(isRestricted(makeSymbol(symExternal, 1)));
    EXPECT_TRUE(isRestricted(makeSymbol(symDummy, 1)));
}

TEST(SymbolEncoding, SymbolsAreNumberedFromOneInTheOrderTheyAreMade) {
    Solver s = newSolver();
    VariableRef x = makeVariable(0), y = makeVariable(0);
    // Externals in term order, then the slack, then the error symbol.
    ConstraintRef soft = makeConstraint(expressionOfTerms(makeTerm(y, 1.0), makeTerm(x, 1.0)), relLessEqual, 1.0);
    addConstraint(s, soft);
    const SolverImpl& impl = implOf(s);
    EXPECT_EQ(impl.symbolOf(y.get()), makeSymbol(symExternal, 1));
    EXPECT_EQ(impl.symbolOf(x.get()), makeSymbol(symExternal, 2));
    EXPECT_EQ(impl.markersOf(soft.get())->primary, makeSymbol(symSlack, 3));
    EXPECT_EQ(impl.markersOf(soft.get())->secondary, makeSymbol(symError, 4));

    // A soft equality: plus then minus error; a required one: a dummy.
    ConstraintRef softEqual = makeConstraint(linear(x, 1.0, -3.0), relEqual, 1.0);
    addConstraint(s, softEqual);
    EXPECT_EQ(impl.markersOf(softEqual.get())->primary, makeSymbol(symError, 5));
    EXPECT_EQ(impl.markersOf(softEqual.get())->secondary, makeSymbol(symError, 6));
    VariableRef z = makeVariable(0);
    ConstraintRef hardEqual = makeConstraint(linear(z, 1.0, -3.0), relEqual);
    addConstraint(s, hardEqual);
    EXPECT_EQ(impl.symbolOf(z.get()), makeSymbol(symExternal, 7));
    EXPECT_EQ(impl.markersOf(hardEqual.get())->primary, makeSymbol(symDummy, 8));
    EXPECT_EQ(impl.markersOf(hardEqual.get())->secondary, noSymbol);
    EXPECT_EQ(impl.symbolCounter(), 8u);
}

TEST(RowNearZero, ASumBelowTheLimitRemovesTheCell) {
    Row row;
    row.insertSymbol(s1, 1.0);
    row.insertSymbol(s1, -1.0 + 5e-9);
    EXPECT_TRUE(row.cells().empty());
    row.insertSymbol(s2, 9e-9);
    EXPECT_TRUE(row.cells().empty());
    row.insertSymbol(s2, -9e-9);
    EXPECT_TRUE(row.cells().empty());
}

TEST(RowNearZero, TheLimitItselfIsNotNearZero) {
    Row row;
    row.insertSymbol(s1, 1e-8);
    row.insertSymbol(s2, -1e-8);
    EXPECT_EQ(row.coefficientFor(s1), 1e-8);
    EXPECT_EQ(row.coefficientFor(s2), -1e-8);
}

TEST(RowNearZero, InsertingARowAppliesTheRuleCellByCell) {
    for (int extra : {0, 6}) {  // a short row, and one long enough to be merged in one pass
        Row target(1.0);
        target.insertSymbol(s1, 2.0);
        target.insertSymbol(s2, 3.0);
        Row source(4.0);
        source.insertSymbol(s1, -1.0);  // 2 - 2 × 1 cancels
        source.insertSymbol(s2, 1.0);   // 3 + 2
        source.insertSymbol(s3, 4e-9);  // 2 × 4e-9 is near zero: never stored
        for (int i = 0; i < extra; ++i) source.insertSymbol(makeSymbol(symSlack, 10 + i), 1.0);
        target.insertRow(source, 2.0);
        EXPECT_EQ(target.constant(), 9.0);
        EXPECT_FALSE(target.cells().contains(s1));
        EXPECT_EQ(target.coefficientFor(s2), 5.0);
        EXPECT_FALSE(target.cells().contains(s3));
        EXPECT_EQ(target.cells().size(), 1u + extra);
    }
}

TEST(RowNearZero, SolvingAndNegatingApplyNoRule) {
    Row row(2.0);
    row.insertSymbol(s1, 1e-4);
    row.insertSymbol(s2, 1e5);
    row.solveFor(s2);  // s2 = -(2 + 1e-4 s1) / 1e5
    EXPECT_FALSE(row.cells().contains(s2));
    EXPECT_DOUBLE_EQ(row.coefficientFor(s1), -1e-9);
    EXPECT_DOUBLE_EQ(row.constant(), -2e-5);
    row.negate();
    EXPECT_DOUBLE_EQ(row.coefficientFor(s1), 1e-9);
}

TEST(RowOperations, SolvingForAPairMovesTheBasicSymbolAcross) {
    // b = 6 + 2a  solved for a: a = -3 + b/2
    Row row(6.0);
    row.insertSymbol(s1, 2.0);
    row.solveFor(s2, s1);
    EXPECT_EQ(row.constant(), -3.0);
    EXPECT_EQ(row.coefficientFor(s2), 0.5);
    EXPECT_FALSE(row.cells().contains(s1));
}

TEST(RowOperations, SubstitutionReplacesOnlyAPresentSymbol) {
    Row row(1.0);
    row.insertSymbol(s1, 3.0);
    Row definition(2.0);
    definition.insertSymbol(s2, 1.0);
    row.substitute(s3, definition);
    EXPECT_EQ(row.constant(), 1.0);
    row.substitute(s1, definition);  // 1 + 3 (2 + s2)
    EXPECT_EQ(row.constant(), 7.0);
    EXPECT_EQ(row.coefficientFor(s2), 3.0);
    EXPECT_FALSE(row.cells().contains(s1));
    EXPECT_EQ(row.addConstant(-8.0), -1.0);
}

TEST(RowOperations, CellsRunInTheOrderTheSymbolsWereMade) {
    Row row;
    row.insertSymbol(s4, 1.0);
    row.insertSymbol(s2, 1.0);
    row.insertSymbol(s3, 1.0);
    row.insertSymbol(s1, 1.0);
    EXPECT_EQ(symbolsOf(row), (std::vector<Symbol>{s1, s2, s3, s4}));
}

}  // namespace
